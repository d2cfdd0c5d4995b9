#pragma once
// The system port: kernel services the program asks of the operating system.

#include <cstdint>
#include <string>

namespace platform {

// The basic version record (OSVERSIONINFOA). The program always passes `size` = 148, the size of
// the basic record; `csdVersion` is the service-pack text, zero-terminated.
struct OsVersionInfo {
  std::uint32_t size = 148;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  char csdVersion[128] = {};
};

// Platform ids of OsVersionInfo::platformId.
inline constexpr std::uint32_t kVerPlatformWin32s = 0;
inline constexpr std::uint32_t kVerPlatformWin32Windows = 1;
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

class ISystem {
 public:
  virtual ~ISystem() = default;

  // GetVersionExA with info.size as given. Returns false when the query fails.
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;

  // GetModuleFileNameA of the program's own module: the full path of the running executable;
  // empty when the system cannot tell.
  virtual std::string ExecutablePath() = 0;

  // The first character of the user's decimal separator (GetLocaleInfoA, LOCALE_SDECIMAL of the
  // user's default locale); '.' when the system cannot tell.
  virtual char DecimalSeparator() = 0;

  // GetTickCount: milliseconds since the system started, wrapping to 0 after 4294967295.
  virtual std::uint32_t TickCount() = 0;
};

}  // namespace platform
