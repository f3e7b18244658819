#include "window_table.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace standin {

namespace {

// Far from null and from small integers, so that a mixed-up id or index never names a window.
constexpr std::uintptr_t FIRST_HANDLE = 0x20000;
constexpr std::uintptr_t HANDLE_STEP = 4;

std::map<HWND, Window>& Windows() {
    static std::map<HWND, Window> windows;
    return windows;
}

std::uintptr_t& NextHandle() {
    static std::uintptr_t next = FIRST_HANDLE;
    return next;
}

HWND& Focus() {
    static HWND focus = nullptr;
    return focus;
}

} // namespace

Window MakeWindow(WindowKind kind, HWND parent, int id, DWORD style, DWORD exStyle,
                  const std::string& text) {
    Window window{};
    window.parent = parent;
    window.kind = kind;
    window.id = id;
    window.style = style;
    window.exStyle = exStyle;
    window.text = text;
    window.typingLimit = DEFAULT_TYPING_LIMIT;
    window.selection = -1;
    window.check = BST_UNCHECKED;
    return window;
}

HWND AddWindow(Window window) {
    const HWND handle = reinterpret_cast<HWND>(NextHandle());
    NextHandle() += HANDLE_STEP;
    window.handle = handle;
    if (Window* parent = LookUpWindow(window.parent)) {
        parent->children.push_back(handle);
    }
    Windows().emplace(handle, std::move(window));
    return handle;
}

Window* LookUpWindow(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    const auto found = Windows().find(hWnd);
    return found == Windows().end() ? nullptr : &found->second;
}

void RemoveWindow(HWND hWnd) {
    Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return;
    }
    const std::vector<HWND> children = window->children;
    for (const HWND child : children) {
        RemoveWindow(child);
    }
    if (Window* parent = LookUpWindow(window->parent)) {
        std::erase(parent->children, hWnd);
    }
    if (Focus() == hWnd) {
        Focus() = nullptr;
    }
    Windows().erase(hWnd);
}

HWND FocusedWindow() {
    return Focus();
}

void SetFocusedWindow(HWND hWnd) {
    Focus() = hWnd;
}

int CopyText(const std::string& text, char* buffer, int size) {
    if (buffer == nullptr || size < 1) {
        return 0;
    }
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

} // namespace standin
