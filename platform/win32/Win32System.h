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
};

}  // namespace platform::win32
