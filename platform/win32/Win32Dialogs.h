#pragma once
// The common dialogs port on the system's common dialog library (comdlg32).

#include <array>

#include "platform/Dialogs.h"

namespace platform::win32 {

class Win32Dialogs final : public IDialogs {
 public:
  Win32Dialogs();

  bool ChooseColor(WindowHandle owner, std::uint32_t& rgb) override;
  bool ChooseFont(WindowHandle owner, WidgetFont& font) override;
  bool GetOpenFileName(WindowHandle owner, FileDialogParams& params) override;
  bool GetSaveFileName(WindowHandle owner, FileDialogParams& params) override;
  std::string CurrentDirectory() override;

 private:
  // The colour picker's sixteen custom colours (COLORREF values), kept from one call to the next.
  std::array<unsigned long, 16> customColours_;
};

}  // namespace platform::win32
