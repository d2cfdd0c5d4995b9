#pragma once
// The system port on the Windows kernel (kernel32).

#include "platform/System.h"

namespace platform::win32 {

class Win32System final : public ISystem {
 public:
  bool GetVersionEx(OsVersionInfo& info) override;
  std::string ExecutablePath() override;
  char DecimalSeparator() override;
  std::uint32_t TickCount() override;
  MemoryStatus QueryMemoryStatus() override;
  std::uint32_t PriorityClass() override;
  void SetPriorityClass(std::uint32_t priorityClass) override;
  int ThreadPriority() override;
  void SetThreadPriority(int priority) override;
  void Sleep(std::uint32_t milliseconds) override;
  std::uint64_t TimeStampCounter() override;
};

}  // namespace platform::win32
