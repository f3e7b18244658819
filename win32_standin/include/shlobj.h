// The shell's folder browser.
#pragma once

#include <windows.h>

// What an item holds is the shell's business; callers only pass it on and free it.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

using BFFCALLBACK = int(CALLBACK*)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFOA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName;
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};

#define BIF_RETURNONLYFSDIRS 0x00000001

LPITEMIDLIST WINAPI SHBrowseForFolderA(BROWSEINFOA* lpbi);
BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);
void WINAPI ILFree(LPITEMIDLIST pidl);
