#pragma once
// The system's common dialogs: the colour picker, the font picker and the open and save file
// dialogs. Each is modal to its owner window and answers whether the user confirmed; only then
// are the values passed in replaced by the user's choice.

#include <cstdint>
#include <string>

#include "platform/Widgets.h"
#include "platform/Windowing.h"

namespace platform {

// What a file dialog shows and takes back.
struct FileDialogParams {
  // Pairs of label and pattern, each part ended by "|": "Text (*.txt)|*.txt". The last "|" may be
  // left out.
  std::string filter;
  // The extension added to a typed name that has none, without dot ("cpu"); empty: none.
  std::string defaultExt;
  // The folder the dialog starts in; empty: the system's choice.
  std::string initialDir;
  // The name preset in the dialog; on confirmation, the full path the user chose.
  std::string fileName;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;

  // The colour picker preset with `rgb` (0x00BBGGRR, a plain colour). On confirmation `rgb` is the
  // chosen colour. The custom colours are kept from one call to the next.
  virtual bool ChooseColor(WindowHandle owner, std::uint32_t& rgb) = 0;

  // The font picker (screen fonts, with the effects underline, strike-out and colour, no size
  // limits) preset with `font`. On confirmation `font` holds the choice: face, height (negative:
  // character height in pixels), bold (weight 700 and above), italic, underline, strike-out,
  // character set and colour.
  virtual bool ChooseFont(WindowHandle owner, WidgetFont& font) = 0;

  // The open dialog (a name of a file that does not exist is accepted) and the save dialog (an
  // existing file is replaced without a question).
  virtual bool GetOpenFileName(WindowHandle owner, FileDialogParams& params) = 0;
  virtual bool GetSaveFileName(WindowHandle owner, FileDialogParams& params) = 0;

  // The process's current directory.
  virtual std::string CurrentDirectory() = 0;
};

}  // namespace platform
