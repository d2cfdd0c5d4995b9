#pragma once
// The file port on the Windows file API.

#include "platform/Files.h"

namespace platform::win32 {

class Win32FileSystem final : public IFileSystem {
 public:
  FileResult ReadFile(const std::string& name, std::string& bytes) override;
  FileResult ReplaceFile(const std::string& name, const std::string& bytes) override;
  bool ToAnsi(std::string_view text, std::string& ansi) override;
  std::string FromAnsi(std::string_view ansi) override;
};

}  // namespace platform::win32
