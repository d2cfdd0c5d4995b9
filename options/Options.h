#pragma once
// The options dialog: one hidden tool window, created after the main window, shown from the main
// window's menu. Its pages act on the main window at once through MainWindowLink, whose verbs also
// copy every new value into the main window's setting slots (kept by the main window's settings
// store); the dialog's own controls are kept by the dialog's settings store and restored each
// time it is shown. docs/SETTINGS.md follows each setting through both.

#include <string>

#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Slider.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "gauge/RarBar.h"
#include "options/MainWindowLink.h"
#include "platform/System.h"
#include "settings/FormStorage.h"

class TCredit;

// The registry value of "Run At Startup", in HKLM's Run key or, when that cannot be written by
// the user, in HKCU's.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "ZEPHO";

// The dialog is the main window's OpacitySettings: the refresh reads the Opacity page's choice.
class TOption : public TForm, public OpacitySettings {
 public:
  // Builds the layout, page by page, and runs FormCreate. The composition root then binds the
  // main window's "Options" menu entry to Options1Click.
  TOption(TComponent* owner, MainWindowLink& mainWindow);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  void FormCreate(TObject* sender);
  // Every show, after the store's restore: the colour list and the preview from the main window's
  // first bar, then the debug page's tray hint.
  void FormShow(TObject* sender);
  // The main window's "Options": shows the dialog, or only brings it to the front when shown.
  void Options1Click(TObject* sender);

  // The Options page.
  void CheckBox1Click(TObject* sender);
  void CheckBox2Click(TObject* sender);
  void CheckBox3Click(TObject* sender);
  void CheckBox4Click(TObject* sender);
  void SpinEdit1Change(TObject* sender);
  void Slider1Change(TObject* sender);
  // Writes the program's value in one Run key of the registry (HKLM's when the user may write it,
  // else HKCU's, and never both), or removes it from both.
  void SetRunAtStartup(bool on);
  // "Refresh Frequency (N sec.)" for a slider position, with the user's decimal separator.
  static std::string RefreshFrequencyText(int position);

  // The Colors page. Every edit acts on the preview bar; "Apply Changes" hands the preview to the
  // main window.
  // One item of the colour list: a swatch of the preview's colour with the property's name on it.
  void ComboBox1DrawItem(TWinControl* control, int index, TRect rect, TOwnerDrawState state);
  void SpeedButton3Click(TObject* sender);  // "Change Colors"
  void SpeedButton2Click(TObject* sender);  // "Change Fonts"
  void SpeedButton5Click(TObject* sender);  // "Reset Bar"
  void SpeedButton4Click(TObject* sender);  // "Apply Changes"
  void SpeedButton6Click(TObject* sender);  // "Open": loads a scheme file into the preview
  void SpeedButton7Click(TObject* sender);  // "Save": saves the preview to a scheme file

  // The About page: the credits window and the two author links.
  void SpeedButton8Click(TObject* sender);
  void Label3Click(TObject* sender);
  void Label4Click(TObject* sender);

  // The debug page: "Refresh" measures the clock again and reads the memory and the tray hint.
  void SpeedButton1Click(TObject* sender);
  // The processor's clock from its time-stamp counter over half a second, at real-time priority
  // (both priorities restored however the measurement ends).
  double MeasureClockMHz();
  // "N Mhz measured": 4 significant digits, fixed notation, the user's decimal separator.
  static std::string ClockText(double mhz);
  // The three lines of the memory status, separated by a carriage return.
  static std::string MemoryText(const platform::MemoryStatus& status);

  // The Opacity page.
  void CheckBox5Click(TObject* sender);
  void CheckBox6Click(TObject* sender);
  void SpinEdit2Change(TObject* sender);
  void SpinEdit3Change(TObject* sender);
  void SpinEdit4Change(TObject* sender);

  TPageControl* PageControl1 = nullptr;
  TTabSheet* Options = nullptr;    // "Options"
  TTabSheet* TabSheet2 = nullptr;  // "Colors"
  TTabSheet* TabSheet1 = nullptr;  // "Opacity"
  TTabSheet* About = nullptr;      // "About"
  TTabSheet* TabSheet3 = nullptr;  // "debug"

  TGroupBox* GroupBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;  // "Show Icon in Tray"
  TCheckBox* CheckBox1 = nullptr;  // "Always On Top"
  TCheckBox* CheckBox3 = nullptr;  // "Run At Startup"
  TCheckBox* CheckBox4 = nullptr;  // "Show Percentage"
  TLabel* Label5 = nullptr;        // "Bar Height"
  TSpinEdit* SpinEdit1 = nullptr;  // bar height, 50..200
  TLabel* Label9 = nullptr;        // refresh frequency text
  TSlider* Slider1 = nullptr;      // refresh frequency, 0..6

  TRarBar* RarBar2 = nullptr;            // Colors: the reset source, never changed, never shown
  TRarBar* RarBar1 = nullptr;            // Colors: the preview
  TLabel* Label12 = nullptr;             // Colors: "Preview"
  TSpeedButton* SpeedButton6 = nullptr;  // Colors: "Open"
  TSpeedButton* SpeedButton7 = nullptr;  // Colors: "Save"
  TComboBox* ComboBox1 = nullptr;        // Colors: the colour list
  TSpeedButton* SpeedButton3 = nullptr;  // Colors: "Change Colors"
  TSpeedButton* SpeedButton2 = nullptr;  // Colors: "Change Fonts"
  TSpeedButton* SpeedButton5 = nullptr;  // Colors: "Reset Bar"
  TSpeedButton* SpeedButton4 = nullptr;  // Colors: "Apply Changes"
  TColorDialog* ColorDialog1 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;

  TCheckBox* CheckBox5 = nullptr;  // "Transparent Form"
  TLabel* Label14 = nullptr;       // "For Windows 2000 or XP"
  TGroupBox* GroupBox2 = nullptr;
  TCheckBox* CheckBox6 = nullptr;        // "Use AlphaBlend (Opacity)"
  TRadioButton* RadioButton1 = nullptr;  // "Constant"
  TSpinEdit* SpinEdit4 = nullptr;        // constant opacity
  TRadioButton* RadioButton2 = nullptr;  // "Dynamic"
  TLabel* Label10 = nullptr;             // "Opacity for 0%"
  TSpinEdit* SpinEdit2 = nullptr;        // opacity at 0 % load
  TLabel* Label11 = nullptr;             // "Opacity for 100%"
  TSpinEdit* SpinEdit3 = nullptr;        // opacity at 100 % load
  TLabel* Label13 = nullptr;             // the opacity range note

  TImage* Image1 = nullptr;              // About: the banner
  TSpeedButton* SpeedButton8 = nullptr;  // About: "Credits"
  TLabel* Label1 = nullptr;              // About: the version
  TLabel* Label4 = nullptr;              // About: the e-mail link
  TLabel* Label3 = nullptr;              // About: the web site link
  TLabel* Label2 = nullptr;              // About: the program's origin

  TLabel* Label6 = nullptr;              // debug: operating system
  TLabel* Label7 = nullptr;              // debug: processor count
  TLabel* Label8 = nullptr;              // debug: the measured clock
  TLabel* Label15 = nullptr;             // debug: the memory status, three lines
  TLabel* Label16 = nullptr;             // debug: the tray icon's hint
  TSpeedButton* SpeedButton1 = nullptr;  // debug: "Refresh"

  // OpacitySettings: the radio buttons and spin edits of the Opacity page.
  bool ConstantOpacityChosen() const override { return RadioButton1->Checked(); }
  double ConstantOpacity() const override { return SpinEdit4->Value(); }
  bool DynamicOpacityChosen() const override { return RadioButton2->Checked(); }
  double OpacityAtNoLoad() const override { return SpinEdit2->Value(); }
  double OpacityAtFullLoad() const override { return SpinEdit3->Value(); }

  // The credits window, once it exists (SetCredit); forgotten when it goes.
  TCredit* Credit = nullptr;
  void SetCredit(TCredit* credit);

  TFormStorage* FormStorage1 = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTabSheet* MakePage(const char* name, const char* caption);
  // The pages' controls, in the order the layout creates them.
  void BuildOptionsPage();
  void BuildColorsPage();  // ColorsPage.cpp
  void BuildOpacityPage();
  void BuildAboutPage();
  void BuildDebugPage();
  // Fills the colour list from the preview's property table and loads the preview's colours from
  // the main window's first bar.
  void LoadPreview();
  TRarBar* MakePreviewBar(const char* name, int left, int top, int width, int height,
                          TColor background);
  // The file port; raises when the program has none.
  platform::IFileSystem& Files() const;
  template <class T>
  T* Make(const char* name, TWinControl* parent, int left, int top, int width, int height);
  TCheckBox* MakeCheckBox(const char* name, TWinControl* parent, int left, int top, int width,
                          const char* caption, bool checked);
  TLabel* MakeLabel(const char* name, TWinControl* parent, int left, int top, int width,
                    const char* caption);
  TLabel* MakeLink(const char* name, int left, int top, const char* caption);
  TSpeedButton* MakeButton(const char* name, TWinControl* parent, int left, int top, int width,
                           int height, const char* caption);
  TSpinEdit* MakeSpinEdit(const char* name, TWinControl* parent, int left, int top, int width,
                          int minValue, int maxValue, int value);

  MainWindowLink& main_;
};

template <class T>
T* TOption::Make(const char* name, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(this);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}
