#include "platform/win32/Win32System.h"

#include <windows.h>

#include <cstring>
#include <string>

// <windows.h> maps GetVersionEx to GetVersionExA, which would rename the port's method below; the
// ANSI function is called by its own name.
#undef GetVersionEx

namespace platform::win32 {

static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OsVersionInfo::csdVersion) == 128);
static_assert(kVerPlatformWin32s == VER_PLATFORM_WIN32s &&
              kVerPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS &&
              kVerPlatformWin32Nt == VER_PLATFORM_WIN32_NT);

bool Win32System::GetVersionEx(OsVersionInfo& info) {
  // Only the basic record is offered: a caller asking for any other size would have the system
  // write past the record, so such a query fails as the system fails an unknown size.
  if (info.size != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExA(&version)) return false;
  info.majorVersion = version.dwMajorVersion;
  info.minorVersion = version.dwMinorVersion;
  info.buildNumber = version.dwBuildNumber;
  info.platformId = version.dwPlatformId;
  std::memcpy(info.csdVersion, version.szCSDVersion, sizeof(info.csdVersion));
  info.csdVersion[sizeof(info.csdVersion) - 1] = '\0';
  return true;
}

std::string Win32System::ExecutablePath() {
  // The path may be longer than MAX_PATH; a full buffer means it was cut, so the buffer grows up
  // to the longest path the system allows.
  constexpr DWORD kLongestPath = 32768;
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

char Win32System::DecimalSeparator() {
  char separator[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 0 ||
      separator[0] == '\0') {
    return '.';
  }
  return separator[0];
}

std::uint32_t Win32System::TickCount() { return GetTickCount(); }

}  // namespace platform::win32
