#pragma once
// The shell port on the Windows shell (shell32): the notification area of the taskbar.

#include "platform/Shell.h"

namespace platform::win32 {

class Win32Shell final : public IShell {
 public:
  bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
  bool Execute(WindowHandle owner, const std::string& verb, const std::string& file,
               int showCommand) override;
};

}  // namespace platform::win32
