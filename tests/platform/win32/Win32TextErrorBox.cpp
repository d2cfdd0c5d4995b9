// The framework's side of Win32TextTest's error box: an application on the real window system
// shows the conversion error of StrToInt as every event handler's error is shown.

#ifdef _WIN32

#include <string>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "platform/Windowing.h"

void ShowStrToIntErrorBox(platform::IWindowSystem& windows, const std::string& title) {
  TApplication::Ports ports;
  ports.Windows = &windows;
  TApplication application(ports);
  application.SetTitle(title);
  application.Guard([] { StrToInt("abc"); });
}

#endif  // _WIN32
