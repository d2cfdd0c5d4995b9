#pragma once
// The options dialog: one hidden tool window, created after the main window, shown from the main
// window's menu. Its pages act on the main window at once and copy every new value into the main
// window's setting slots, which the main window's settings store keeps; the dialog's own controls
// are kept by the dialog's settings store and restored each time it is shown.

#include <string>

#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Slider.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "gauge/RarBar.h"
#include "platform/System.h"
#include "settings/FormStorage.h"

class TCredit;
class TMainForm;

// The registry value of "Run At Startup", in HKLM's Run key or, when that cannot be written by
// the user, in HKCU's.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "ZEPHO";

class TOption : public TForm {
 public:
  // Builds the layout, binds the main window's "Options" menu entry and runs FormCreate.
  TOption(TComponent* owner, TMainForm& mainForm);

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
  // Writes or removes the program's value in a Run key of the registry.
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

  TPageControl* PageControl1;
  TTabSheet* Options;    // "Options"
  TTabSheet* TabSheet2;  // "Colors"
  TTabSheet* TabSheet1;  // "Opacity"
  TTabSheet* About;      // "About"
  TTabSheet* TabSheet3;  // "debug"

  TGroupBox* GroupBox1;
  TCheckBox* CheckBox2;  // "Show Icon in Tray"
  TCheckBox* CheckBox1;  // "Always On Top"
  TCheckBox* CheckBox3;  // "Run At Startup"
  TCheckBox* CheckBox4;  // "Show Percentage"
  TLabel* Label5;        // "Bar Height"
  TSpinEdit* SpinEdit1;  // bar height, 50..200
  TLabel* Label9;        // refresh frequency text
  TSlider* Slider1;      // refresh frequency, 0..6

  TRarBar* RarBar2;            // Colors: the reset source, never changed, never shown
  TRarBar* RarBar1;            // Colors: the preview
  TLabel* Label12;             // Colors: "Preview"
  TSpeedButton* SpeedButton6;  // Colors: "Open"
  TSpeedButton* SpeedButton7;  // Colors: "Save"
  TComboBox* ComboBox1;        // Colors: the colour list
  TSpeedButton* SpeedButton3;  // Colors: "Change Colors"
  TSpeedButton* SpeedButton2;  // Colors: "Change Fonts"
  TSpeedButton* SpeedButton5;  // Colors: "Reset Bar"
  TSpeedButton* SpeedButton4;  // Colors: "Apply Changes"
  TColorDialog* ColorDialog1;
  TFontDialog* FontDialog1;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

  TCheckBox* CheckBox5;  // "Transparent Form"
  TLabel* Label14;       // "For Windows 2000 or XP"
  TGroupBox* GroupBox2;
  TCheckBox* CheckBox6;        // "Use AlphaBlend (Opacity)"
  TRadioButton* RadioButton1;  // "Constant"
  TSpinEdit* SpinEdit4;        // constant opacity
  TRadioButton* RadioButton2;  // "Dynamic"
  TLabel* Label10;             // "Opacity for 0%"
  TSpinEdit* SpinEdit2;        // opacity at 0 % load
  TLabel* Label11;             // "Opacity for 100%"
  TSpinEdit* SpinEdit3;        // opacity at 100 % load
  TLabel* Label13;             // the opacity range note

  TImage* Image1;              // About: the banner
  TSpeedButton* SpeedButton8;  // About: "Credits"
  TLabel* Label1;              // About: the version
  TLabel* Label4;              // About: the e-mail link
  TLabel* Label3;              // About: the web site link
  TLabel* Label2;              // About: the program's origin

  TLabel* Label6;              // debug: operating system
  TLabel* Label7;              // debug: processor count
  TLabel* Label8;              // debug: the measured clock
  TLabel* Label15;             // debug: the memory status, three lines
  TLabel* Label16;             // debug: the tray icon's hint
  TSpeedButton* SpeedButton1;  // debug: "Refresh"

  // The credits window, once it exists (SetCredit); forgotten when it goes.
  TCredit* Credit = nullptr;
  void SetCredit(TCredit* credit);

  TFormStorage* FormStorage1;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTabSheet* MakePage(const char* name, const char* caption);
  void BuildColorsPage();
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

  TMainForm& main_;
};

template <class T>
T* TOption::Make(const char* name, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(this);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}
