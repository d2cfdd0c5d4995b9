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
#include "options/MainWindowLink.h"
#include "platform/System.h"
#include "sampler/CpuUsage.h"
#include "settings/FormStorage.h"
#include "tray/TrayIcon.h"

inline constexpr const char* kApplicationTitle = "Tamik - a cOOL CPU Monitor";
// The program's icon (window and tray) in its resources, and the size the tray shows.
inline constexpr const char* kIconResource = "MAINICON";
inline constexpr int kIconSize = 16;

// The main window is the options dialog's MainWindowLink: the dialog's pages change its settings
// through the link's verbs.
class TMainForm : public TForm, public MainWindowLink {
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
  // The options dialog, from AttachOptionsDialog on: the refresh reads its opacity choice, the
  // "Options" entry shows it. Forgotten when the dialog goes.
  void AttachOptionsDialog(TComponent& dialog, const OpacitySettings& opacity,
                           TNotifyEvent showDialog);
  const OpacitySettings* Option = nullptr;

  // MainWindowLink
  const std::string& OsVersionText() const override { return Label1->Caption(); }
  const std::string& ProcessorCountText() const override { return Label2->Caption(); }
  const std::string& TrayHint() const override { return TrayIcon1->Hint(); }
  const TRarBar& FirstBar() const override { return *RarBar1; }
  void SetAlwaysOnTopSetting(bool on) override;
  void SetTrayIconSetting(bool on) override;
  void SetPercentageSetting(bool on) override;
  void SetBarHeightSetting(double value) override;
  void SetIntervalSetting(std::uint32_t milliseconds) override;
  void SetColourKeySetting(bool on) override;
  void SetAlphaBlendSetting(bool on) override;
  void SetConstantOpacitySetting(std::int64_t value) override;
  void SetOpacityAtNoLoadSetting(std::int64_t value) override;
  void SetOpacityAtFullLoadSetting(std::int64_t value) override;
  void ApplyBarLook(const TRarBar& preview, std::span<const std::string> colours,
                    bool colourKeyOn) override;
  // The tray icon's state remembered while the window is hidden.
  bool SavedTrayActive = false;
  // The last press inside the window, in window coordinates.
  std::int32_t DragOffsetX = 0;
  std::int32_t DragOffsetY = 0;

  TRarBar* RarBar1 = nullptr;
  TRarBar* RarBar2 = nullptr;
  TLabel* Label1 = nullptr;        // operating-system version text
  TLabel* Label2 = nullptr;        // processor-count text
  TLabel* Label3 = nullptr;        // timer interval in milliseconds
  TLabel* Label4 = nullptr;        // opacity for 100 % load
  TLabel* Label5 = nullptr;        // constant opacity
  TLabel* Label6 = nullptr;        // opacity for 0 % load
  TLabel* Label7 = nullptr;        // window colour, signed decimal
  TCheckBox* CheckBox1 = nullptr;  // "AOT": always on top
  TCheckBox* CheckBox2 = nullptr;  // "SIT": tray icon shown
  TCheckBox* CheckBox3 = nullptr;  // "SP": percentage text on the bars
  TCheckBox* CheckBox4 = nullptr;  // "TF": colour-key transparency of the window colour
  TCheckBox* CheckBox5 = nullptr;  // "UA": alpha blending on
  TSpinEdit* SpinEdit1 = nullptr;  // bar height in pixels
  TTimer* Timer1 = nullptr;
  // Keeps the window's position, the slots, the bar height and interval, and the bars' fonts and
  // colours; restores them on every show and then runs FormCreate again.
  TFormStorage* FormStorage1 = nullptr;
  TTrayIcon* TrayIcon1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Options1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* Maximize1 = nullptr;
  TMenuItem* Minimize1 = nullptr;
  TMenuItem* Exit1 = nullptr;

 protected:
  // The options dialog going away is forgotten.
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* MakeMenuItem(const char* name, const char* caption, bool enabled);
  TRarBar* MakeBar(const char* name, int left, int width, TFontCharset charset);
  TLabel* MakeSlot(const char* name, int top, const char* caption);
  TCheckBox* MakeSlot(const char* name, int top, const char* caption, bool checked);

  // The options dialog as a component, so that its going is noticed.
  TComponent* optionDialog_ = nullptr;
  CpuUsage& cpuUsage_;
  platform::ISystem& system_;
  std::string uptimeText_;
};
