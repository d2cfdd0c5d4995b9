#pragma once
// An in-memory file system: files by name, reads and replaces that fail as the test says. Its ANSI
// code page is Latin-1 (the first 256 code points, one byte each), so that tests see both a
// converted character and one the code page cannot hold.

#include <map>
#include <string>
#include <string_view>

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

  bool ToAnsi(std::string_view text, std::string& ansi) override {
    ansi.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte < 0x80) {
        ansi += static_cast<char>(byte);
      } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size() &&
                 (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
        ansi += static_cast<char>(((byte & 0x03) << 6) | (text[++i] & 0x3F));
      } else {
        return false;
      }
    }
    return true;
  }
  std::string FromAnsi(std::string_view ansi) override {
    std::string text;
    for (const char c : ansi) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        text += c;
      } else {
        text += static_cast<char>(0xC0 | (byte >> 6));
        text += static_cast<char>(0x80 | (byte & 0x3F));
      }
    }
    return text;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, platform::FileResult> readFailures;
  std::map<std::string, platform::FileResult> writeFailures;
};
