// What the system tells about itself: language, code page, working directory, and whether the
// common controls were set up.
#include "code_page.h"
#include "harness_state.h"

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

using namespace standin;

LANGID WINAPI GetSystemDefaultLangID() {
    return Harness().systemLanguage;
}

UINT WINAPI GetACP() {
    return Harness().ansiCodePage;
}

BOOL WINAPI IsDBCSLeadByte(BYTE TestChar) {
    return IsLeadByteIn(Harness().ansiCodePage, TestChar) ? TRUE : FALSE;
}

// Too small a buffer, or none, gets the size needed with the zero; otherwise the length
// written without it; 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    std::string directory;
    if (Harness().workingDirectory) {
        directory = *Harness().workingDirectory;
    } else {
        std::error_code error;
        directory = std::filesystem::current_path(error).string();
        if (error) {
            return 0;
        }
    }
    if (directory.size() >= std::numeric_limits<DWORD>::max()) {
        return 0;
    }
    const DWORD needed = static_cast<DWORD>(directory.size() + 1);
    if (lpBuffer == nullptr || nBufferLength < needed) {
        return needed;
    }
    std::memcpy(lpBuffer, directory.c_str(), needed);
    return needed - 1;
}

void WINAPI InitCommonControls() {
    Harness().commonControlsInitialised = true;
}
