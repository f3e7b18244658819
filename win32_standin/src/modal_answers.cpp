// The modal windows the user answers: message boxes and the shell's folder browser. The harness
// answers for the user; the folder browser's items are counted until they are freed.
#include "harness_state.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

struct ITEMIDLIST {
    std::string path;
};

namespace standin {

namespace {

std::vector<std::unique_ptr<ITEMIDLIST>>& LiveItems() {
    static std::vector<std::unique_ptr<ITEMIDLIST>> items;
    return items;
}

const ITEMIDLIST* FindLiveItem(LPCITEMIDLIST pidl) {
    for (const std::unique_ptr<ITEMIDLIST>& item : LiveItems()) {
        if (item.get() == pidl) {
            return item.get();
        }
    }
    return nullptr;
}

} // namespace

int LiveFolderItems() {
    return static_cast<int>(LiveItems().size());
}

void FreeAllFolderItems() {
    LiveItems().clear();
}

} // namespace standin

using namespace standin;

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    // The system's caption when the caller gives none.
    Harness().messageBoxes.push_back(
        {hWnd, lpText == nullptr ? "" : lpText, lpCaption == nullptr ? "Error" : lpCaption, uType});
    return IDOK;
}

LPITEMIDLIST WINAPI SHBrowseForFolderA(BROWSEINFOA* lpbi) {
    std::optional<std::string> answer = std::exchange(Harness().folderAnswer, std::nullopt);
    if (lpbi == nullptr || !answer) {
        return nullptr;
    }
    LiveItems().push_back(std::make_unique<ITEMIDLIST>(ITEMIDLIST{std::move(*answer)}));
    return LiveItems().back().get();
}

// The caller's buffer has MAX_PATH bytes, as the system expects of it.
BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
    if (pszPath == nullptr) {
        return FALSE;
    }
    const ITEMIDLIST* item = FindLiveItem(pidl);
    if (item == nullptr || item->path.size() >= MAX_PATH) {
        pszPath[0] = '\0';
        return FALSE;
    }
    std::memcpy(pszPath, item->path.c_str(), item->path.size() + 1);
    return TRUE;
}

void WINAPI ILFree(LPITEMIDLIST pidl) {
    if (pidl == nullptr) {
        return;
    }
    std::vector<std::unique_ptr<ITEMIDLIST>>& items = LiveItems();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const auto& item) { return item.get() == pidl; });
    if (found == items.end()) {
        std::fprintf(stderr, "win32 stand-in: ILFree of an item that is not live: freed twice, "
                             "or never handed out by the shell\n");
        return;
    }
    items.erase(found);
}
