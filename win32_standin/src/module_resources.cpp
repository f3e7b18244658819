#include "module_resources.h"

#include "harness_state.h"

namespace standin {

namespace {

// Where 32-bit Windows loads an exe; any value other than null would do.
constexpr std::uintptr_t MODULE_HANDLE = 0x400000;
constexpr std::uintptr_t FIRST_ICON_HANDLE = 0x30000;

bool IsThisModule(HINSTANCE hInstance) {
    return hInstance == nullptr || hInstance == ThisModule();
}

} // namespace

HMODULE ThisModule() {
    return reinterpret_cast<HMODULE>(MODULE_HANDLE);
}

std::string FindDialogTemplate(HINSTANCE hInstance, LPCSTR name, DialogTemplate& out) {
    if (!IsThisModule(hInstance)) {
        return "the instance handle names no module";
    }
    std::vector<ScriptResource> resources;
    const std::string& path = Harness().resourceScript;
    const std::string error = ReadResourceScript(path, resources);
    if (!error.empty()) {
        return error;
    }
    const ResourceName wanted = ResourceNameFromArgument(name);
    for (const ScriptResource& resource : resources) {
        if (resource.dialog && SameResourceName(resource.name, wanted)) {
            out = *resource.dialog;
            return "";
        }
    }
    return path + ": no DIALOG named " + DescribeResourceName(wanted);
}

} // namespace standin

using namespace standin;

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    return lpModuleName == nullptr ? ThisModule() : nullptr;
}

// Icons of the system (a null module) are not needed by anything here.
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (hInstance == nullptr || !IsThisModule(hInstance)) {
        return nullptr;
    }
    std::vector<ScriptResource> resources;
    if (!ReadResourceScript(Harness().resourceScript, resources).empty()) {
        return nullptr;
    }
    const ResourceName wanted = ResourceNameFromArgument(lpIconName);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        if (resources[i].type == "ICON" && SameResourceName(resources[i].name, wanted)) {
            return reinterpret_cast<HICON>(FIRST_ICON_HANDLE + i);
        }
    }
    return nullptr;
}
