#pragma once
// The shell port: the notification area of the taskbar (Shell_NotifyIcon) and the opening of
// documents and links (ShellExecute). Texts are UTF-8 (docs/TEXT.md).

#include <cstdint>
#include <string>

#include "platform/Windowing.h"

namespace platform {

// Messages of Shell_NotifyIconA.
inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;
// Fields of the record that the call uses.
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

// The size of NOTIFYICONDATAA in its first form: 88 bytes with 32-bit handles, 104 with 64-bit
// ones (the handles are 8 bytes wide and aligned to 8).
inline constexpr std::uint32_t kNotifyIconDataV1Size = sizeof(void*) == 8 ? 104 : 88;

// NOTIFYICONDATAA in its first form, without <windows.h> types; the tip holds UTF-8 (the backend
// hands the shell the first form of NOTIFYICONDATAW).
// Fields keep the Win32 names (cbSize, hWnd, ...): the struct mirrors that record byte for byte.
struct NotifyIconData {
  std::uint32_t cbSize = kNotifyIconDataV1Size;
  WindowHandle hWnd;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  IconHandle hIcon;
  char szTip[64] = {};
};

// Show commands for Execute.
inline constexpr int kSwShowDefault = 10;

class IShell {
 public:
  virtual ~IShell() = default;

  // Shell_NotifyIconA: adds, modifies or deletes an icon of the notification area. Returns
  // whether the shell accepted the call.
  virtual bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;

  // ShellExecuteA with `verb` ("open") on `file` (a web address, a "mailto:" link), owned by
  // `owner`, without parameters or working directory. Returns whether the shell succeeded.
  virtual bool Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                       int showCommand) = 0;
};

}  // namespace platform
