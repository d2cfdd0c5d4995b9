#pragma once
// An in-memory file system: files by name, reads and replaces that fail as the test says.

#include <map>
#include <string>

#include "platform/Files.h"

class FakeFileSystem : public platform::IFileSystem {
 public:
  platform::FileResult ReadFile(const std::string& name, std::string& bytes) override {
    if (const auto it = readFailures.find(name); it != readFailures.end()) return it->second;
    const auto it = files.find(name);
    if (it == files.end()) return platform::kFileNotFound;
    bytes = it->second;
    return platform::kFileOk;
  }
  // A refused replace leaves the old content, as the real one does.
  platform::FileResult ReplaceFile(const std::string& name, const std::string& bytes) override {
    if (const auto it = writeFailures.find(name); it != writeFailures.end()) return it->second;
    files[name] = bytes;
    return platform::kFileOk;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, platform::FileResult> readFailures;
  std::map<std::string, platform::FileResult> writeFailures;
};
