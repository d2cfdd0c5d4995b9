#pragma once
// The system port: kernel services the program asks of the operating system.

#include <cstdint>
#include <string>

namespace platform {

// The size of the basic version record (OSVERSIONINFOA), which the program always passes: it asks
// for nothing the extended record adds.
inline constexpr std::uint32_t kOsVersionInfoSize = 148;

// The basic version record (OSVERSIONINFOA); `size` is kOsVersionInfoSize, `csdVersion` the
// service-pack text in UTF-8, zero-terminated.
struct OsVersionInfo {
  std::uint32_t size = kOsVersionInfoSize;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  char csdVersion[128] = {};
};
static_assert(sizeof(OsVersionInfo) == kOsVersionInfoSize,
              "OsVersionInfo is laid out as the basic record it stands for");

// Platform ids of OsVersionInfo::platformId.
inline constexpr std::uint32_t kVerPlatformWin32s = 0;
inline constexpr std::uint32_t kVerPlatformWin32Windows = 1;
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

// The memory status (GlobalMemoryStatus): the load in percent and the physical memory in bytes.
struct MemoryStatus {
  std::uint32_t memoryLoad = 0;
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
};

// Priority classes and thread priorities that the clock measurement uses.
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;
inline constexpr int kThreadPriorityNormal = 0;
inline constexpr int kThreadPriorityTimeCritical = 15;

class ISystem {
 public:
  virtual ~ISystem() = default;

  // GetVersionExA with info.size as given. Returns false when the query fails.
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;

  // GetModuleFileName of the program's own module: the full path of the running executable in
  // UTF-8; empty when the system cannot tell.
  virtual std::string ExecutablePath() = 0;

  // The first character of the user's decimal separator (GetLocaleInfo, LOCALE_SDECIMAL of the
  // user's default locale); '.' when the system cannot tell or the character is not ASCII (it
  // would not be one character of the program's UTF-8).
  virtual char DecimalSeparator() = 0;

  // GetTickCount: milliseconds since the system started, wrapping to 0 after 4294967295.
  virtual std::uint32_t TickCount() = 0;

  // GlobalMemoryStatus.
  virtual MemoryStatus QueryMemoryStatus() = 0;

  // The process's priority class and the calling thread's priority (Get/SetPriorityClass,
  // Get/SetThreadPriority on the current process and thread).
  virtual std::uint32_t PriorityClass() = 0;
  virtual void SetPriorityClass(std::uint32_t priorityClass) = 0;
  virtual int ThreadPriority() = 0;
  virtual void SetThreadPriority(int priority) = 0;
  // Sleep: suspends the calling thread for `milliseconds`.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // The processor's time-stamp counter (RDTSC).
  virtual std::uint64_t TimeStampCounter() = 0;
};

}  // namespace platform
