#pragma once
// The main window: a borderless strip with two bar gauges, the left one for processor 0 and the
// right one for processor 1, refreshed by a timer. Its settings live in hidden controls (setting
// slots) placed outside the visible area, which the settings store keeps and FormCreate applies.

#include <cstdint>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "gauge/RarBar.h"
#include "platform/System.h"
#include "sampler/CpuUsage.h"
#include "settings/FormStorage.h"

inline constexpr const char* kApplicationTitle = "Tamik - a cOOL CPU Monitor";

class TMainForm : public TForm {
 public:
  // Builds the window's layout, then runs FormCreate with the layout's slot values.
  TMainForm(TComponent* owner, CpuUsage& cpuUsage, platform::ISystem& system);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Applies the setting slots to the window. Runs at creation and after every restore of the
  // stored settings.
  void FormCreate(TObject* sender);
  // One refresh: a sample, then each bar's value.
  void Timer1Timer(TObject* sender);
  // Copies the window colour into its slot; the close action is left as it is.
  void FormClose(TObject* sender, TCloseAction& action);

  // The operating system's name from the version query.
  std::string GetOsVersionText();
  // Puts the window into the topmost band or takes it out.
  void SetAlwaysOnTop(bool on);

  // Added to the sampler's processor count wherever the window uses it: -1 on the systems whose
  // performance data lists a summary instance beside the processors, else 0.
  std::int32_t CpuCountCorrection = 0;
  // The tray icon's state remembered while the window is hidden.
  bool SavedTrayActive = false;

  TRarBar* RarBar1;
  TRarBar* RarBar2;
  TLabel* Label1;        // operating-system version text
  TLabel* Label2;        // processor-count text
  TLabel* Label3;        // timer interval in milliseconds
  TLabel* Label4;        // opacity for 100 % load
  TLabel* Label5;        // constant opacity
  TLabel* Label6;        // opacity for 0 % load
  TLabel* Label7;        // window colour, signed decimal
  TCheckBox* CheckBox1;  // "AOT": always on top
  TCheckBox* CheckBox2;  // "SIT": tray icon shown
  TCheckBox* CheckBox3;  // "SP": percentage text on the bars
  TCheckBox* CheckBox4;  // "TF": colour-key transparency of the window colour
  TCheckBox* CheckBox5;  // "UA": alpha blending on
  TSpinEdit* SpinEdit1;  // bar height in pixels
  TTimer* Timer1;
  // Keeps the window's position, the slots, the bar height and interval, and the bars' fonts and
  // colours; restores them on every show and then runs FormCreate again.
  TFormStorage* FormStorage1;

 private:
  TRarBar* MakeBar(const char* name, int left, int width, TFontCharset charset);
  TLabel* MakeSlot(const char* name, int top, const char* caption);
  TCheckBox* MakeSlot(const char* name, int top, const char* caption, bool checked);

  CpuUsage& cpuUsage_;
  platform::ISystem& system_;
};
