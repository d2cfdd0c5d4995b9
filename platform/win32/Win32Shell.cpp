#include "platform/win32/Win32Shell.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstring>

namespace platform::win32 {

static_assert(kSwShowDefault == SW_SHOWDEFAULT);
static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP);
static_assert(kNotifyIconDataV1Size == NOTIFYICONDATAA_V1_SIZE);
static_assert(sizeof(NotifyIconData::szTip) == 64);

bool Win32Shell::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  // The shell reads cbSize bytes of the record; a size beyond the record built here would have it
  // read past its end, so such a call fails as the shell fails a record it does not know.
  NOTIFYICONDATAA native{};
  if (data.cbSize > sizeof native) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  native.cbSize = data.cbSize;
  native.hWnd = reinterpret_cast<HWND>(data.hWnd.value);
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = reinterpret_cast<HICON>(data.hIcon.value);
  // The first form of the record holds 64 characters of tip, the last of them the terminator,
  // which is set whatever the caller left there.
  std::memcpy(native.szTip, data.szTip, sizeof data.szTip);
  native.szTip[sizeof data.szTip - 1] = '\0';
  return Shell_NotifyIconA(message, &native) != 0;
}

bool Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                         int showCommand) {
  // Values above 32 mean success; anything else is one of the shell's error codes.
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(reinterpret_cast<HWND>(owner.value), verb.c_str(),
                                              file.c_str(), nullptr, nullptr, showCommand));
  return result > 32;
}

}  // namespace platform::win32
