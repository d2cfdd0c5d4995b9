#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/win32/Win32Text.h"

// <windows.h> maps ReplaceFile to ReplaceFileA, which would rename the port's method below.
#undef ReplaceFile

namespace platform::win32 {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

FileHandle Open(const std::string& name, DWORD access, DWORD share, DWORD disposition) {
  HANDLE handle = CreateFileW(Widen(name).c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Files larger than this are not read: the program's files are a few hundred bytes.
constexpr LONGLONG kLargestFile = 16 * 1024 * 1024;

}  // namespace

FileResult Win32FileSystem::ReadFile(const std::string& name, std::string& bytes) {
  const FileHandle file = Open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!file) return GetLastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
  if (size.QuadPart > kLargestFile) return ERROR_FILE_TOO_LARGE;
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  if (!content.empty() &&
      !::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &done, nullptr)) {
    return GetLastError();
  }
  content.resize(done);
  bytes = std::move(content);
  return ERROR_SUCCESS;
}

FileResult Win32FileSystem::ReplaceFile(const std::string& name, const std::string& bytes) {
  // The new content goes to a file beside the old one, which it replaces only when complete.
  const std::string temporary = name + ".~new";
  {
    const FileHandle file = Open(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file) return GetLastError();
    DWORD done = 0;
    const bool written =
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
        done == bytes.size() && FlushFileBuffers(file.get());
    if (!written) {
      const DWORD error = GetLastError();
      DeleteFileW(Widen(temporary).c_str());
      return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
    }
  }
  if (!MoveFileExW(Widen(temporary).c_str(), Widen(name).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(Widen(temporary).c_str());
    return error;
  }
  return ERROR_SUCCESS;
}

bool Win32FileSystem::ToAnsi(std::string_view text, std::string& ansi) {
  return win32::ToAnsi(text, ansi);
}

std::string Win32FileSystem::FromAnsi(std::string_view ansi) { return win32::FromAnsi(ansi); }

static_assert(kFileOk == ERROR_SUCCESS && kFileNotFound == ERROR_FILE_NOT_FOUND &&
              kPathNotFound == ERROR_PATH_NOT_FOUND && kAccessDenied == ERROR_ACCESS_DENIED);

}  // namespace platform::win32
