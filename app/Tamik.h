#pragma once
// The main window: a borderless strip with two bar gauges, the left one for processor 0 and the
// right one for processor 1, refreshed by a timer. Its settings live in hidden controls (setting
// slots) placed outside the visible area, which the settings store keeps and FormCreate applies.

#include <cstdint>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "gauge/RarBar.h"
#include "platform/System.h"
#include "sampler/CpuUsage.h"
#include "settings/FormStorage.h"
#include "tray/TrayIcon.h"

class TOption;

inline constexpr const char* kApplicationTitle = "Tamik - a cOOL CPU Monitor";
// The program's icon (window and tray) in its resources, and the size the tray shows.
inline constexpr const char* kIconResource = "MAINICON";
inline constexpr int kIconSize = 16;

class TMainForm : public TForm {
 public:
  // Builds the window's layout, then runs FormCreate with the layout's slot values.
  TMainForm(TComponent* owner, CpuUsage& cpuUsage, platform::ISystem& system);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Applies the setting slots to the window. Runs at creation and after every restore of the
  // stored settings.
  void FormCreate(TObject* sender);
  // One refresh: a sample, each bar's value, the opacity, then the tray icon's hint.
  void Timer1Timer(TObject* sender);
  // Copies the window colour into its slot; the close action is left as it is.
  void FormClose(TObject* sender, TCloseAction& action);

  // Dragging: a press anywhere (window or bar) remembers the grabbed point in window coordinates
  // and captures the mouse; a move with the left button held puts the grabbed point under the
  // pointer; the release ends the capture.
  void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void FormMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  // "Minimize": hides the window to the notification area.
  void Minimize1Click(TObject* sender);
  // "Maximize" and the tray icon's double click: shows the hidden window again.
  void Maximize1Click(TObject* sender);
  // "Exit": closes the window through the framework, which saves the settings and ends the
  // program.
  void Exit1Click(TObject* sender);

  // The opacity step of the refresh: the window's opacity from the options dialog's Opacity page,
  // constant or following processor 0's load (in percent).
  void ApplyOpacity(double load0);
  // The system's uptime as "Uptime: D Days H Hours M Minutes S Seconds". The text is kept by the
  // window and rewritten in place at each call, so that a refresh tick allocates nothing for it;
  // the reference is valid until the next call.
  const std::string& BuildUptimeText();

  // The operating system's name from the version query.
  std::string GetOsVersionText();
  // Puts the window into the topmost band or takes it out.
  void SetAlwaysOnTop(bool on);

  // Added to the sampler's processor count wherever the window uses it: -1 on the systems whose
  // performance data lists a summary instance beside the processors, else 0.
  std::int32_t CpuCountCorrection = 0;
  // The options dialog, once it exists; the refresh reads its opacity settings.
  TOption* Option = nullptr;
  // The tray icon's state remembered while the window is hidden.
  bool SavedTrayActive = false;
  // The last press inside the window, in window coordinates.
  std::int32_t DragOffsetX = 0;
  std::int32_t DragOffsetY = 0;

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
  TTrayIcon* TrayIcon1;
  TPopupMenu* PopupMenu1;
  TMenuItem* Options1;
  TMenuItem* N1;
  TMenuItem* Maximize1;
  TMenuItem* Minimize1;
  TMenuItem* Exit1;

 protected:
  // The options dialog going away is forgotten.
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* MakeMenuItem(const char* name, const char* caption, bool enabled);
  TRarBar* MakeBar(const char* name, int left, int width, TFontCharset charset);
  TLabel* MakeSlot(const char* name, int top, const char* caption);
  TCheckBox* MakeSlot(const char* name, int top, const char* caption, bool checked);

  CpuUsage& cpuUsage_;
  platform::ISystem& system_;
  std::string uptimeText_;
};
