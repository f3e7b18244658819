// What the harness has set or recorded, shared by the files that act on it.
#pragma once

#include "win32_standin/harness.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace standin {

struct HarnessState {
    std::string resourceScript;
    std::string templateError;
    LANGID systemLanguage;
    UINT ansiCodePage;
    std::optional<std::string> workingDirectory;
    std::function<void(HWND)> modalUser;
    std::optional<std::string> folderAnswer;
    std::vector<SeenMessageBox> messageBoxes;
    bool commonControlsInitialised;
};

HarnessState& Harness();

// Kept by the shell file, which owns the items.
int LiveFolderItems();
void FreeAllFolderItems();

} // namespace standin
