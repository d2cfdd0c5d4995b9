#pragma once
// The file port: whole files read and written as bytes. Results are Win32 error codes (0 for
// success), so the framework can name the system's reason. File names are UTF-8, as every text
// of the program; file contents are bytes, and text formats that are 8-bit text in the system's
// ANSI code page (scheme files) are converted with ToAnsi and FromAnsi (docs/TEXT.md).

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

using FileResult = std::uint32_t;
inline constexpr FileResult kFileOk = 0;
inline constexpr FileResult kFileNotFound = 2;
inline constexpr FileResult kPathNotFound = 3;
inline constexpr FileResult kAccessDenied = 5;

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Reads the whole file into `bytes` (replaced). On failure `bytes` is unchanged.
  virtual FileResult ReadFile(const std::string& name, std::string& bytes) = 0;

  // Writes `bytes` as the whole content of the file `name`, replacing an existing file only once
  // the new content is complete: the bytes go to a new file beside it, which then takes the old
  // one's place. On failure the old file is as it was and nothing else is left behind.
  virtual FileResult ReplaceFile(const std::string& name, const std::string& bytes) = 0;

  // The UTF-8 `text` in the system's ANSI code page. Answers false when a character of the text
  // has no form in that code page (it would otherwise be written as a stand-in); `ansi` is then
  // unspecified.
  virtual bool ToAnsi(std::string_view text, std::string& ansi) = 0;
  // Text in the system's ANSI code page as UTF-8.
  virtual std::string FromAnsi(std::string_view ansi) = 0;
};

}  // namespace platform
