#include "app/Tamik.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "framework/SysUtils.h"
#include "framework/TypInfo.h"
#include "platform/Screen.h"

namespace {

// What the main window's store keeps, in the order it saves and restores them: the slots, the
// bar height and interval, both bars' fonts and their 16 colours each (the bar's colour table
// gives the colours in their stored order). docs/SETTINGS.md gives each entry's counterpart in the
// options dialog's store and which copy wins.
std::vector<std::string> MainFormStoredProps() {
  std::vector<std::string> props = {
      "RarBar1.Height",  "Timer1.Interval",   "CheckBox1.Checked", "CheckBox2.Checked",
      "SpinEdit1.Value", "RarBar1.Font",      "RarBar2.Font",      "CheckBox3.Checked",
      "Label3.Caption",  "CheckBox4.Checked", "CheckBox5.Checked", "Label5.Caption",
      "Label6.Caption",  "Label4.Caption",
  };
  AppendStoredBarColors("RarBar1", props);
  AppendStoredBarColors("RarBar2", props);
  props.push_back("Label7.Caption");
  return props;
}

// The load in percent as a bar value: truncated toward zero first, then its absolute value, so
// -0.7 shows as 0, -1.3 as 1 and 99.99 as 99. Values beyond the integer range saturate.
std::int32_t LoadToProgress(double percent) {
  if (std::isnan(percent)) return 0;
  const double truncated = std::trunc(std::fabs(percent));
  if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(truncated);
}

// The low 8 bits of a truncated value, as an opacity; 0 for what is not a number.
std::uint8_t LowByte(long double truncated) {
  if (std::isnan(truncated) || std::fabs(truncated) >= 9.2e18L) return 0;
  return static_cast<std::uint8_t>(static_cast<std::int64_t>(truncated) & 0xFF);
}

}  // namespace

const TClassInfo& TMainForm::StaticClassInfo() {
  static const TClassInfo info("TMainForm", &TForm::StaticClassInfo(), {});
  return info;
}

TMainForm::TMainForm(TComponent* owner, CpuUsage& cpuUsage, platform::ISystem& system)
    : TForm(owner), cpuUsage_(cpuUsage), system_(system) {
  SetName("MainForm");
  SetBorderStyle(bsNone);
  SetCaption("Tamik");
  SetBounds(198, 107, 124, 135);
  SetColor(clBlack);
  SetAlphaBlend(false);
  SetAlphaBlendValue(200);
  SetTransparentColor(false);

  RarBar1 = MakeBar("RarBar1", 0, 63, DEFAULT_CHARSET);
  RarBar2 = MakeBar("RarBar2", 63, 65, ANSI_CHARSET);

  // Setting slots, all outside the 124-pixel client width.
  Label1 = MakeSlot("Label1", 0, "OS version");
  Label2 = MakeSlot("Label2", 16, "NbCPU");
  Label3 = MakeSlot("Label3", 32, "1000");
  Label4 = MakeSlot("Label4", 48, "255");
  Label5 = MakeSlot("Label5", 64, "200");
  Label6 = MakeSlot("Label6", 80, "100");
  Label7 = MakeSlot("Label7", 96, "16777215");
  CheckBox1 = MakeSlot("CheckBox1", 112, "AOT", false);
  CheckBox2 = MakeSlot("CheckBox2", 128, "SIT", false);
  CheckBox3 = MakeSlot("CheckBox3", 144, "SP", true);
  CheckBox4 = MakeSlot("CheckBox4", 160, "TF", true);
  CheckBox5 = MakeSlot("CheckBox5", 176, "UA", false);
  SpinEdit1 = new TSpinEdit(this);
  SpinEdit1->SetName("SpinEdit1");
  SpinEdit1->SetBounds(136, 192, 49, 21);
  SpinEdit1->SetParent(this);
  SpinEdit1->SetValue(100);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetOnTimer([this](TObject* sender) { Timer1Timer(sender); });

  FormStorage1 = new TFormStorage(this);
  FormStorage1->SetName("FormStorage1");
  FormStorage1->SetUseRegistry(true);
  FormStorage1->SetStoredProps(MainFormStoredProps());
  FormStorage1->OnRestorePlacement = [this](TObject* sender) { FormCreate(sender); };

  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  Options1 = MakeMenuItem("Options1", "Options", true);
  N1 = MakeMenuItem("N1", "-", true);
  Maximize1 = MakeMenuItem("Maximize1", "Maximize", false);
  Minimize1 = MakeMenuItem("Minimize1", "Minimize", true);
  Exit1 = MakeMenuItem("Exit1", "Exit", true);
  Maximize1->OnClick = [this](TObject* sender) { Maximize1Click(sender); };
  Minimize1->OnClick = [this](TObject* sender) { Minimize1Click(sender); };
  Exit1->OnClick = [this](TObject* sender) { Exit1Click(sender); };
  SetPopupMenu(PopupMenu1);

  TrayIcon1 = new TTrayIcon(this);
  TrayIcon1->SetName("TrayIcon1");
  TrayIcon1->SetActive(false);
  TrayIcon1->SetPopupMenu(PopupMenu1);
  TrayIcon1->OnDblClick = [this](TObject* sender) { Maximize1Click(sender); };
  TrayIcon1->Icon()->SetHandle(
      PortsOf(Application()).Windows.LoadIconResource(kIconResource, kIconSize));

  // The window and both bars drag the window.
  for (TControl* control : {static_cast<TControl*>(this), static_cast<TControl*>(RarBar1),
                            static_cast<TControl*>(RarBar2)}) {
    control->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x,
                                  int y) { FormMouseDown(sender, button, shift, x, y); };
    control->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
      FormMouseMove(sender, shift, x, y);
    };
    control->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x,
                                int y) { FormMouseUp(sender, button, shift, x, y); };
  }

  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  // The layout is complete: the store attaches to the window, then FormCreate runs with the
  // layout's slot values.
  DoCreate();
}

TRarBar* TMainForm::MakeBar(const char* name, int left, int width, TFontCharset charset) {
  auto* bar = new TRarBar(this);
  bar->SetName(name);
  bar->SetParent(this);
  // The stored layout of a bar, in the order it is applied: bounds, the 15 colours, the range,
  // the font, the switches, and the scheme last but one, which sets the colours once more.
  bar->SetBounds(left, 0, width, 129);
  bar->SetColorScheme(rcPurpleBlue);
  bar->SetMin(0);
  bar->SetMax(100);
  bar->SetProgress(0);
  TFont* font = bar->Font();
  font->SetCharset(charset);
  font->SetColor(clPurple);
  font->SetHeight(-9);
  font->SetName("Small Fonts");
  font->SetStyle({fsBold});
  bar->SetShowPercentage(true);
  bar->SetX(0);
  bar->SetY(5);
  bar->SetColorScheme(rcPurpleBlue);
  bar->SetColor(clBlack);
  return bar;
}

TMenuItem* TMainForm::MakeMenuItem(const char* name, const char* caption, bool enabled) {
  auto* item = new TMenuItem(this);
  item->SetName(name);
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  PopupMenu1->Add(item);
  return item;
}

TLabel* TMainForm::MakeSlot(const char* name, int top, const char* caption) {
  auto* label = new TLabel(this);
  label->SetName(name);
  label->SetBounds(136, top, 60, 13);
  label->SetCaption(caption);
  label->SetParent(this);
  return label;
}

TCheckBox* TMainForm::MakeSlot(const char* name, int top, const char* caption, bool checked) {
  auto* box = new TCheckBox(this);
  box->SetName(name);
  box->SetBounds(136, top, 60, 17);
  box->SetCaption(caption);
  box->SetChecked(checked);
  box->SetParent(this);
  return box;
}

std::string TMainForm::GetOsVersionText() {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  system_.GetVersionEx(info);  // the result is not examined: a failed query reads as zeros
  switch (info.platformId) {
    case platform::kVerPlatformWin32s:
      return "Windows 3.11";
    case platform::kVerPlatformWin32Windows:
      switch (info.minorVersion) {
        case 0:
          return "Windows 95";
        case 10:
          return info.csdVersion[1] == 'A' ? "Windows 98 SE" : "Windows 98";
        case 90:
          return "Windows Millenium";
        default:
          return "Unknown Version";
      }
    case platform::kVerPlatformWin32Nt:
      if (info.majorVersion == 3 || info.majorVersion == 4) {
        return "Windows NT " + IntToStr(info.majorVersion) + "." + IntToStr(info.minorVersion);
      }
      if (info.majorVersion == 5) {
        if (info.minorVersion == 0) return "Windows 2000";
        if (info.minorVersion == 1) return "Windows XP";
      }
      return "Unknown Version";
    default:
      return "Unknown Platform";
  }
}

void TMainForm::SetAlwaysOnTop(bool on) {
  if (platform::IWindowPeer* peer = Peer()) {
    peer->SetPosition(on ? platform::kHwndTopmost : platform::kHwndNoTopmost, 0, 0, 0, 0,
                      platform::kSwpNoMove | platform::kSwpNoSize);
  }
}

void TMainForm::FormCreate(TObject*) {
  // 1. No taskbar button: the application window that carries it becomes a tool window.
  {
    platform::IWindowPeer& appWindow = PortsOf(Application()).Windows.ApplicationWindow();
    appWindow.Show(platform::kSwHide);
    appWindow.SetExStyle(appWindow.ExStyle() | platform::kWsExToolWindow);
    appWindow.Show(platform::kSwShow);
  }
  // 2-3. The version text and the processor-count correction.
  Label1->SetCaption(GetOsVersionText());
  CpuCountCorrection =
      (Label1->Caption() == "Windows 2000" || Label1->Caption() == "Windows XP") ? -1 : 0;
  // 4. One processor: only the first bar shows.
  if (cpuUsage_.ProcessorCount() + CpuCountCorrection == 1) SetWidth(RarBar1->Width() - 1);
  // 5.
  Label2->SetCaption("# CPUs : " + IntToStr(cpuUsage_.ProcessorCount() + CpuCountCorrection));
  // 6. Bar height: both bars and the window.
  const auto barHeight = static_cast<int>(std::trunc(SpinEdit1->Value()));
  RarBar1->SetHeight(barHeight);
  SetHeight(barHeight);
  RarBar2->SetHeight(barHeight);
  // 7.
  SetAlwaysOnTop(CheckBox1->Checked());
  // 8.
  TrayIcon1->SetActive(CheckBox2->Checked());
  // 9.
  RarBar1->SetShowPercentage(CheckBox3->Checked());
  RarBar2->SetShowPercentage(CheckBox3->Checked());
  // 10.
  Timer1->SetInterval(static_cast<std::uint32_t>(StrToInt(Label3->Caption())));
  // 11.
  SetColor(StrToInt(Label7->Caption()));
  // 12-13. Colour key: the window colour, the bars' backgrounds included, is keyed out.
  SetTransparentColor(CheckBox4->Checked());
  if (CheckBox4->Checked()) {
    RarBar1->SetColor(StrToInt(Label7->Caption()));
    RarBar2->SetColor(StrToInt(Label7->Caption()));
    SetTransparentColorValue(StrToInt(Label7->Caption()));
  }
  // 14.
  SetAlphaBlend(CheckBox5->Checked());
}

void TMainForm::Timer1Timer(TObject*) {
  cpuUsage_.TakeLoadSample();
  const std::int32_t count = cpuUsage_.ProcessorCount() + CpuCountCorrection;
  const double load0 = cpuUsage_.ProcessorLoad(0) * 100;
  const double load1 = count == 1 ? load0 : cpuUsage_.ProcessorLoad(1) * 100;
  RarBar1->SetProgress(LoadToProgress(load0));
  RarBar2->SetProgress(LoadToProgress(load1));
  if (Option != nullptr) ApplyOpacity(load0);
  TrayIcon1->SetHint(BuildUptimeText());
}

void TMainForm::FormClose(TObject*, TCloseAction&) { Label7->SetCaption(IntToStr(Color())); }

void TMainForm::ApplyOpacity(double load0) {
  // The dialog's radio buttons are one group: exactly one of the two steps acts.
  if (Option->ConstantOpacityChosen()) {
    SetAlphaBlendValue(LowByte(std::trunc(Option->ConstantOpacity())));
  }
  if (Option->DynamicOpacityChosen()) {
    // In extended precision and in this order, so that the values truncate as they always have.
    const long double a = Option->OpacityAtNoLoad();
    const long double b = Option->OpacityAtFullLoad();
    long double value = b - a;
    value *= std::fabs(static_cast<long double>(load0));
    value /= 100;
    value += a;
    SetAlphaBlendValue(LowByte(std::trunc(value)));
  }
}

const std::string& TMainForm::BuildUptimeText() {
  std::uint32_t t = system_.TickCount();
  const std::uint32_t days = t / 86400000;
  t -= days * 86400000;
  const std::uint32_t hours = t / 3600000;
  t -= hours * 3600000;
  const std::uint32_t minutes = t / 60000;
  t -= minutes * 60000;
  const std::uint32_t seconds = t / 1000;
  char text[64];
  const int length =
      std::snprintf(text, sizeof text, "Uptime: %u Days %u Hours %u Minutes %u Seconds",
                    static_cast<unsigned>(days), static_cast<unsigned>(hours),
                    static_cast<unsigned>(minutes), static_cast<unsigned>(seconds));
  uptimeText_.assign(text, static_cast<std::size_t>(std::clamp(length, 0, int{sizeof text} - 1)));
  return uptimeText_;
}

void TMainForm::FormMouseDown(TObject* sender, TMouseButton, TShiftState, int x, int y) {
  if (sender == RarBar1 || sender == RarBar2) {
    const auto* bar = static_cast<const TRarBar*>(sender);
    DragOffsetX = x + bar->Left();
    DragOffsetY = y + bar->Top();
  } else {
    DragOffsetX = x;
    DragOffsetY = y;
  }
  SetCapture();
}

void TMainForm::FormMouseMove(TObject*, TShiftState shift, int, int) {
  if (!shift.Contains(ssLeft)) return;
  platform::IScreen& screen = PortsOf(Application()).Graphics.Screen();
  // Two readings: the top follows the first, the left the second.
  SetTop(screen.CursorPos().y - DragOffsetY);
  SetLeft(screen.CursorPos().x - DragOffsetX);
}

void TMainForm::FormMouseUp(TObject*, TMouseButton, TShiftState, int, int) { ReleaseCapture(); }

void TMainForm::Minimize1Click(TObject*) {
  Hide();
  SavedTrayActive = TrayIcon1->Active();
  TrayIcon1->SetActive(true);
  Maximize1->SetEnabled(true);
  Minimize1->SetEnabled(false);
}

void TMainForm::Maximize1Click(TObject*) {
  if (Visible()) return;
  // Showing restores the stored settings and runs FormCreate, which sets the tray icon from its
  // slot; the state from before the hide wins.
  Show();
  BringToFront();
  TrayIcon1->SetActive(SavedTrayActive);
  Maximize1->SetEnabled(false);
  Minimize1->SetEnabled(true);
}

void TMainForm::Exit1Click(TObject*) { Close(); }

void TMainForm::AttachOptionsDialog(TComponent& dialog, const OpacitySettings& opacity,
                                    TNotifyEvent showDialog) {
  if (optionDialog_ != nullptr) optionDialog_->RemoveFreeNotification(this);
  optionDialog_ = &dialog;
  Option = &opacity;
  // The window forgets the dialog when it goes (and the other way round).
  dialog.FreeNotification(this);
  Options1->OnClick = std::move(showDialog);
}

void TMainForm::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == opRemove && component == optionDialog_) {
    optionDialog_ = nullptr;
    Option = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// The settings the options dialog changes: each acts on the live window, then its slot.

void TMainForm::SetAlwaysOnTopSetting(bool on) {
  SetAlwaysOnTop(on);
  CheckBox1->SetChecked(on);
}

void TMainForm::SetTrayIconSetting(bool on) {
  TrayIcon1->SetActive(on);
  CheckBox2->SetChecked(on);
}

void TMainForm::SetPercentageSetting(bool on) {
  RarBar1->SetShowPercentage(on);
  RarBar2->SetShowPercentage(on);
  CheckBox3->SetChecked(on);
}

void TMainForm::SetBarHeightSetting(double value) {
  const auto height = static_cast<int>(std::trunc(value));
  RarBar1->SetHeight(height);
  SetHeight(height);
  RarBar2->SetHeight(height);
  SpinEdit1->SetValue(value);
}

void TMainForm::SetIntervalSetting(std::uint32_t milliseconds) {
  Timer1->SetInterval(milliseconds);
  Label3->SetCaption(IntToStr(Timer1->Interval()));
}

void TMainForm::SetColourKeySetting(bool on) {
  SetTransparentColor(on);
  CheckBox4->SetChecked(on);
  if (!on) return;
  const TColor key = StrToInt(Label7->Caption());
  SetTransparentColorValue(key);
  RarBar1->SetColor(key);
  RarBar2->SetColor(key);
}

void TMainForm::SetAlphaBlendSetting(bool on) {
  SetAlphaBlend(on);
  SetAlphaBlendValue(200);
  CheckBox5->SetChecked(on);
}

void TMainForm::SetConstantOpacitySetting(std::int64_t value) {
  SetAlphaBlendValue(static_cast<std::uint8_t>(value & 0xFF));
  Label5->SetCaption(IntToStr(value));
}

void TMainForm::SetOpacityAtNoLoadSetting(std::int64_t value) {
  Label6->SetCaption(IntToStr(value));
}

void TMainForm::SetOpacityAtFullLoadSetting(std::int64_t value) {
  Label4->SetCaption(IntToStr(value));
}

void TMainForm::ApplyBarLook(const TRarBar& preview, std::span<const std::string> colours,
                             bool colourKeyOn) {
  for (const std::string& name : colours) {
    const std::int64_t colour = GetOrdProp(preview, GetPropInfo(preview, name));
    SetOrdProp(*RarBar1, GetPropInfo(*RarBar1, name), colour);
    SetOrdProp(*RarBar2, GetPropInfo(*RarBar2, name), colour);
  }
  const TColor background = preview.Color();
  SetColor(background);
  Label7->SetCaption(IntToStr(background));
  RarBar1->Font()->Assign(*preview.Font());
  RarBar2->Font()->Assign(*preview.Font());
  if (colourKeyOn) SetTransparentColorValue(background);
}
