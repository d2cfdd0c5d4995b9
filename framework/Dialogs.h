#pragma once
// The common dialogs as components: the colour picker, the font picker and the open and save
// file dialogs. Each holds what the dialog is preset with and, after the user confirms, what was
// chosen; Execute shows the system's dialog through the application's dialogs port, modal to the
// window of the form that owns the component.

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Graphics.h"

namespace platform {
class IDialogs;
struct WindowHandle;
}  // namespace platform

// The framework option that makes a file dialog without an initial directory start in the
// process's current directory. Off at start; once switched on it stays on.
extern bool ForceCurrentDirectory;

class TCommonDialog : public TComponent {
 public:
  using TComponent::TComponent;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

 protected:
  // The application's dialogs port (without one, the null dialogs: Execute answers "cancelled").
  platform::IDialogs& Port() const;
  // The window of the form owning the dialog; a null handle when it has none.
  platform::WindowHandle OwnerWindow() const;
};

class TColorDialog : public TCommonDialog {
 public:
  using TCommonDialog::TCommonDialog;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

  // Shows the picker preset with Color (a system colour as its current value). On confirmation
  // Color is the plain colour chosen; on a cancel it is unchanged.
  bool Execute();

 private:
  TColor color_ = clBlack;
};

class TFontDialog : public TCommonDialog {
 public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TFont* Font() const { return font_.get(); }

  // Shows the picker (with the effects underline, strike-out and colour, no size limits) preset
  // with Font. On confirmation Font takes the face, height, style, character set and colour
  // chosen; on a cancel it is unchanged.
  bool Execute();

 private:
  std::unique_ptr<TFont> font_;
};

class TOpenDialog : public TCommonDialog {
 public:
  using TCommonDialog::TCommonDialog;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // "Label|pattern" pairs joined by "|".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter) { filter_ = filter; }
  // The extension given to a typed name without one; a leading "*." or "." is not part of it
  // ("*.cpu" and "cpu" mean the same).
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
  // The name preset; after a confirmation, the file chosen.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }

  // Shows the dialog; starts in InitialDir, or in the current directory when there is none and
  // ForceCurrentDirectory is on. Answers whether the user confirmed.
  bool Execute();

 protected:
  virtual bool Show(platform::IDialogs& dialogs);

 private:
  std::string filter_;
  std::string defaultExt_;
  std::string initialDir_;
  std::string fileName_;
};

// The save dialog: as the open dialog; an existing file is chosen without a question.
class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

 protected:
  bool Show(platform::IDialogs& dialogs) override;
};
