#include "framework/Dialogs.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "platform/Dialogs.h"

bool ForceCurrentDirectory = false;

// ---------------------------------------------------------------------------------------------
// TCommonDialog

const TClassInfo& TCommonDialog::StaticClassInfo() {
  static const TClassInfo info("TCommonDialog", &TComponent::StaticClassInfo(), {});
  return info;
}

platform::IDialogs& TCommonDialog::Port() const { return PortsOf(this).Dialogs; }

platform::WindowHandle TCommonDialog::OwnerWindow() const {
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(c)) {
      return form->HandleAllocated() ? form->Peer()->Handle() : platform::WindowHandle{};
    }
  }
  return {};
}

// ---------------------------------------------------------------------------------------------
// TColorDialog

const TClassInfo& TColorDialog::StaticClassInfo() {
  static const TClassInfo info("TColorDialog", &TCommonDialog::StaticClassInfo(), {});
  return info;
}

bool TColorDialog::Execute() {
  std::uint32_t rgb = ColorToRGB(color_, PortsOf(this).Graphics.Screen());
  if (!Port().ChooseColor(OwnerWindow(), rgb)) return false;
  color_ = static_cast<TColor>(rgb & 0x00FFFFFFu);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TFontDialog

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(new TFont) {}

TFontDialog::~TFontDialog() = default;

const TClassInfo& TFontDialog::StaticClassInfo() {
  static const TClassInfo info("TFontDialog", &TCommonDialog::StaticClassInfo(), {});
  return info;
}

bool TFontDialog::Execute() {
  platform::WidgetFont chosen = DescribeFont(*font_, PortsOf(this).Graphics.Screen());
  if (!Port().ChooseFont(OwnerWindow(), chosen)) return false;
  TFontStyles style;
  if (chosen.bold) style.Include(fsBold);
  if (chosen.italic) style.Include(fsItalic);
  if (chosen.underline) style.Include(fsUnderline);
  if (chosen.strikeOut) style.Include(fsStrikeOut);
  font_->SetName(chosen.name);
  font_->SetHeight(chosen.height);
  font_->SetStyle(style);
  font_->SetCharset(chosen.charset);
  font_->SetColor(static_cast<TColor>(chosen.color & 0x00FFFFFFu));
  return true;
}

// ---------------------------------------------------------------------------------------------
// TOpenDialog, TSaveDialog

const TClassInfo& TOpenDialog::StaticClassInfo() {
  static const TClassInfo info("TOpenDialog", &TCommonDialog::StaticClassInfo(), {});
  return info;
}

bool TOpenDialog::Execute() { return Show(Port()); }

namespace {

platform::FileDialogParams DialogParams(platform::IDialogs& dialogs, const TOpenDialog& dialog) {
  platform::FileDialogParams params;
  params.filter = dialog.Filter();
  std::string ext = dialog.DefaultExt();
  if (ext.starts_with("*")) ext.erase(0, 1);
  if (ext.starts_with(".")) ext.erase(0, 1);
  params.defaultExt = ext;
  params.initialDir = dialog.InitialDir();
  if (params.initialDir.empty() && ForceCurrentDirectory) {
    params.initialDir = dialogs.CurrentDirectory();
  }
  params.fileName = dialog.FileName();
  return params;
}

}  // namespace

bool TOpenDialog::Show(platform::IDialogs& dialogs) {
  platform::FileDialogParams params = DialogParams(dialogs, *this);
  if (!dialogs.GetOpenFileName(OwnerWindow(), params)) return false;
  fileName_ = params.fileName;
  return true;
}

const TClassInfo& TSaveDialog::StaticClassInfo() {
  static const TClassInfo info("TSaveDialog", &TOpenDialog::StaticClassInfo(), {});
  return info;
}

bool TSaveDialog::Show(platform::IDialogs& dialogs) {
  platform::FileDialogParams params = DialogParams(dialogs, *this);
  if (!dialogs.GetSaveFileName(OwnerWindow(), params)) return false;
  SetFileName(params.fileName);
  return true;
}
