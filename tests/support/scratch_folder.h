// A fresh folder per test, files as byte vectors, and the process-wide state put back.
#pragma once

#include "config/factory_config.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Every name in the folder, sorted.
    std::vector<std::string> Names() const;

  private:
    std::string path_;
};

bool FileExists(const std::string& path);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

Bytes RecordBytes(const FactoryConfig& config);
FactoryConfig RecordFromBytes(const Bytes& bytes);

// Puts g_sFactoryConfig and g_szSavePath back to their values at start.
void ResetProcessState();
