#include "platform/win32/Win32Shell.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstring>

#include "platform/win32/Win32Text.h"

namespace platform::win32 {

static_assert(kSwShowDefault == SW_SHOWDEFAULT);
static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP);
static_assert(kNotifyIconDataV1Size == NOTIFYICONDATAA_V1_SIZE);
static_assert(sizeof(NotifyIconData::szTip) == 64);

bool Win32Shell::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  // The port's record is the first form of NOTIFYICONDATAA with a UTF-8 tip; the shell is given
  // the first form of NOTIFYICONDATAW (its tip 64 UTF-16 units), whose size the port's size stands
  // for. Any other size is not one the port's record can have, so such a call fails as the shell
  // fails a record it does not know.
  NOTIFYICONDATAW native{};
  if (data.cbSize != kNotifyIconDataV1Size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  native.cbSize = NOTIFYICONDATAW_V1_SIZE;
  native.hWnd = reinterpret_cast<HWND>(data.hWnd.value);
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = reinterpret_cast<HICON>(data.hIcon.value);
  // The tip is the text up to its terminator, or the whole 64 bytes without one, cut at a whole
  // character where a cut sequence ends it.
  std::size_t length = 0;
  while (length < sizeof data.szTip && data.szTip[length] != '\0') ++length;
  CopyToField(WholeCharacters(std::string_view(data.szTip, length)), native.szTip,
              sizeof native.szTip / sizeof native.szTip[0]);
  return Shell_NotifyIconW(message, &native) != 0;
}

bool Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                         int showCommand) {
  // Values above 32 mean success; anything else is one of the shell's error codes.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(reinterpret_cast<HWND>(owner.value), Widen(verb).c_str(), Widen(file).c_str(),
                    nullptr, nullptr, showCommand));
  return result > 32;
}

}  // namespace platform::win32
