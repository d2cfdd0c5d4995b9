// The port's header comes before <windows.h>: <commdlg.h> defines ChooseColor, ChooseFont,
// GetOpenFileName and GetSaveFileName as macros for their ANSI functions, which would rename the
// port's methods in this file only. They are undefined below and the functions called by their
// Unicode names.
#include "platform/win32/Win32Dialogs.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <type_traits>
#include <vector>

#include "platform/win32/Win32Text.h"

#undef ChooseColor
#undef ChooseFont
#undef GetOpenFileName
#undef GetSaveFileName

namespace platform::win32 {

namespace {

static_assert(std::is_same_v<COLORREF, unsigned long>);

// The buffer the file dialogs write the chosen path into, in characters.
constexpr DWORD kFileNameChars = 4096;

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }

// The common dialog library is loaded at the first dialog, not with the program: it brings the
// print spooler's client with it (and under Wine the printing system's libraries), megabytes a
// gadget that seldom shows a dialog would otherwise hold from its start to its end. Loaded from
// the system folder by its full name, and kept once loaded. Null when the library or the function
// cannot be had; the dialog then answers as if cancelled.
HMODULE DialogLibrary() {
  static const HMODULE library = [] {
    wchar_t path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return static_cast<HMODULE>(nullptr);
    std::wcscpy(path + length, L"\\comdlg32.dll");
    return LoadLibraryW(path);
  }();
  return library;
}

template <typename Function>
Function DialogFunction(const char* name) {
  const HMODULE library = DialogLibrary();
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

using ChooseColorFn = BOOL(WINAPI*)(CHOOSECOLORW*);
using ChooseFontFn = BOOL(WINAPI*)(CHOOSEFONTW*);
using FileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);

// "Label|*.ext|Label 2|*.ext2" as the dialogs take it: each part ended by a zero, and one more
// zero after the last. The last "|" may be left out. Converted whole, so the zeros stay where the
// bars were.
std::wstring FilterList(const std::string& filter) {
  std::wstring list = Widen(filter);
  if (!list.empty() && list.back() != L'|') list += L'|';
  std::replace(list.begin(), list.end(), L'|', L'\0');
  list += L'\0';
  return list;
}

// Shows the open or save dialog (`show`, null when the library could not be had); both take the
// same structure and answer alike.
bool ShowFileDialog(FileDialogFn show, WindowHandle owner, FileDialogParams& params) {
  if (show == nullptr) return false;
  const std::wstring filter = FilterList(params.filter);
  const std::wstring initialDir = Widen(params.initialDir);
  const std::wstring defaultExt = Widen(params.defaultExt);
  std::vector<wchar_t> fileName(kFileNameChars, L'\0');
  CopyToField(params.fileName, fileName.data(), fileName.size());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ToHwnd(owner);
  dialog.lpstrFilter = params.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = kFileNameChars;
  dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  // A name of a file that does not exist is accepted, an existing file is replaced without a
  // question, and the chosen folder becomes the current one.
  dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  if (!show(&dialog)) return false;
  params.fileName = NarrowField(fileName.data(), fileName.size());
  return true;
}

}  // namespace

Win32Dialogs::Win32Dialogs() { customColours_.fill(RGB(255, 255, 255)); }

bool Win32Dialogs::ChooseColor(WindowHandle owner, std::uint32_t& rgb) {
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ToHwnd(owner);
  dialog.rgbResult = rgb;
  dialog.lpCustColors = customColours_.data();
  dialog.Flags = CC_RGBINIT | CC_ANYCOLOR;
  static const auto chooseColor = DialogFunction<ChooseColorFn>("ChooseColorW");
  if (chooseColor == nullptr || !chooseColor(&dialog)) return false;
  rgb = dialog.rgbResult;
  return true;
}

bool Win32Dialogs::ChooseFont(WindowHandle owner, WidgetFont& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = font.height;
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic ? TRUE : FALSE;
  logFont.lfUnderline = font.underline ? TRUE : FALSE;
  logFont.lfStrikeOut = font.strikeOut ? TRUE : FALSE;
  logFont.lfCharSet = font.charset;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  CopyToField(font.name, logFont.lfFaceName, LF_FACESIZE);

  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ToHwnd(owner);
  dialog.lpLogFont = &logFont;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  dialog.rgbColors = font.color;
  static const auto chooseFont = DialogFunction<ChooseFontFn>("ChooseFontW");
  if (chooseFont == nullptr || !chooseFont(&dialog)) return false;
  font.name = NarrowField(logFont.lfFaceName, LF_FACESIZE);
  font.height = logFont.lfHeight;
  font.bold = logFont.lfWeight >= FW_BOLD;
  font.italic = logFont.lfItalic != 0;
  font.underline = logFont.lfUnderline != 0;
  font.strikeOut = logFont.lfStrikeOut != 0;
  font.charset = logFont.lfCharSet;
  font.color = dialog.rgbColors;
  return true;
}

bool Win32Dialogs::GetOpenFileName(WindowHandle owner, FileDialogParams& params) {
  static const auto show = DialogFunction<FileDialogFn>("GetOpenFileNameW");
  return ShowFileDialog(show, owner, params);
}

bool Win32Dialogs::GetSaveFileName(WindowHandle owner, FileDialogParams& params) {
  static const auto show = DialogFunction<FileDialogFn>("GetSaveFileNameW");
  return ShowFileDialog(show, owner, params);
}

std::string Win32Dialogs::CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {};
  std::wstring directory(size, L'\0');
  const DWORD length = GetCurrentDirectoryW(size, directory.data());
  directory.resize(length < size ? length : 0);
  return Narrow(directory);
}

}  // namespace platform::win32
