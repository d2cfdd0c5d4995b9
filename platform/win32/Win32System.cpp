#include "platform/win32/Win32System.h"

#include <windows.h>

#include <cstring>
#include <iterator>
#include <string>

#include <intrin.h>

#include "platform/win32/Win32Text.h"

// <windows.h> maps these names to their ANSI functions or to its own macros, which would rename
// the port's methods below; the system functions are called by their own names.
#undef GetVersionEx

namespace platform::win32 {

static_assert(sizeof(OSVERSIONINFOA) == kOsVersionInfoSize &&
              sizeof(OsVersionInfo::csdVersion) == sizeof(OSVERSIONINFOA::szCSDVersion));
static_assert(kNormalPriorityClass == NORMAL_PRIORITY_CLASS &&
              kRealtimePriorityClass == REALTIME_PRIORITY_CLASS &&
              kThreadPriorityNormal == THREAD_PRIORITY_NORMAL &&
              kThreadPriorityTimeCritical == THREAD_PRIORITY_TIME_CRITICAL);
static_assert(kVerPlatformWin32s == VER_PLATFORM_WIN32s &&
              kVerPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS &&
              kVerPlatformWin32Nt == VER_PLATFORM_WIN32_NT);

bool Win32System::GetVersionEx(OsVersionInfo& info) {
  // Only the basic record is offered (the port's record mirrors OSVERSIONINFOA, its text in
  // UTF-8): a caller asking for any other size fails as the system fails an unknown size.
  if (info.size != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExW(&version)) return false;
  info.majorVersion = version.dwMajorVersion;
  info.minorVersion = version.dwMinorVersion;
  info.buildNumber = version.dwBuildNumber;
  info.platformId = version.dwPlatformId;
  const std::string csd = NarrowField(version.szCSDVersion, std::size(version.szCSDVersion));
  const std::string_view kept =
      WholeCharacters(std::string_view(csd).substr(0, sizeof(info.csdVersion) - 1));
  std::memcpy(info.csdVersion, kept.data(), kept.size());
  info.csdVersion[kept.size()] = '\0';
  return true;
}

std::string Win32System::ExecutablePath() {
  // The path may be longer than MAX_PATH; a full buffer means it was cut, so the buffer grows up
  // to the longest path the system allows.
  constexpr DWORD kLongestPath = 32768;
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    if (path.size() >= kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

char Win32System::DecimalSeparator() {
  // One character of the program's text: a separator outside ASCII has no one-byte UTF-8 form,
  // and the point stands in for it.
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, std::size(separator)) <= 0 ||
      separator[0] == L'\0' || separator[0] > 0x7F) {
    return '.';
  }
  return static_cast<char>(separator[0]);
}

std::uint32_t Win32System::TickCount() { return GetTickCount(); }

MemoryStatus Win32System::QueryMemoryStatus() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return {static_cast<std::uint32_t>(status.dwMemoryLoad), status.dwTotalPhys, status.dwAvailPhys};
}

std::uint32_t Win32System::PriorityClass() {
  return static_cast<std::uint32_t>(GetPriorityClass(GetCurrentProcess()));
}

void Win32System::SetPriorityClass(std::uint32_t priorityClass) {
  ::SetPriorityClass(GetCurrentProcess(), priorityClass);
}

int Win32System::ThreadPriority() { return GetThreadPriority(GetCurrentThread()); }

void Win32System::SetThreadPriority(int priority) {
  ::SetThreadPriority(GetCurrentThread(), priority);
}

void Win32System::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint64_t Win32System::TimeStampCounter() { return __rdtsc(); }

}  // namespace platform::win32
