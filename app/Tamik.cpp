#include "app/Tamik.h"

#include <cmath>
#include <iterator>
#include <limits>

#include "framework/SysUtils.h"

namespace {

// What the main window's store keeps, in the order it saves and restores them: the slots, the
// bar height and interval, both bars' fonts and their 16 colours each.
const char* const kMainFormStoredProps[] = {
    "RarBar1.Height",
    "Timer1.Interval",
    "CheckBox1.Checked",
    "CheckBox2.Checked",
    "SpinEdit1.Value",
    "RarBar1.Font",
    "RarBar2.Font",
    "CheckBox3.Checked",
    "Label3.Caption",
    "CheckBox4.Checked",
    "CheckBox5.Checked",
    "Label5.Caption",
    "Label6.Caption",
    "Label4.Caption",
    "RarBar1.TopColor",
    "RarBar1.SideColor2",
    "RarBar1.SideColor1",
    "RarBar1.FilledSideColor2",
    "RarBar1.FilledSideColor1",
    "RarBar1.FilledLineColor",
    "RarBar1.FilledFrameColor",
    "RarBar1.FilledColor",
    "RarBar1.EmptyLineColor",
    "RarBar1.EmptyFrameColor2",
    "RarBar1.EmptyFrameColor1",
    "RarBar1.EmptyColor2",
    "RarBar1.EmptyColor1",
    "RarBar1.Color",
    "RarBar1.BottomFrameColor",
    "RarBar1.BottomColor",
    "RarBar2.TopColor",
    "RarBar2.SideColor2",
    "RarBar2.SideColor1",
    "RarBar2.FilledSideColor2",
    "RarBar2.FilledSideColor1",
    "RarBar2.FilledLineColor",
    "RarBar2.FilledFrameColor",
    "RarBar2.FilledColor",
    "RarBar2.EmptyLineColor",
    "RarBar2.EmptyFrameColor2",
    "RarBar2.EmptyFrameColor1",
    "RarBar2.EmptyColor2",
    "RarBar2.EmptyColor1",
    "RarBar2.Color",
    "RarBar2.BottomFrameColor",
    "RarBar2.BottomColor",
    "Label7.Caption",
};

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
  FormStorage1->SetStoredProps({std::begin(kMainFormStoredProps), std::end(kMainFormStoredProps)});
  FormStorage1->OnRestorePlacement = [this](TObject* sender) { FormCreate(sender); };

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
  info.size = 148;
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
  if (platform::IWindowPeer* appWindow =
          Application() ? Application()->ApplicationWindow() : nullptr) {
    appWindow->Show(platform::kSwHide);
    appWindow->SetExStyle(appWindow->ExStyle() | platform::kWsExToolWindow);
    appWindow->Show(platform::kSwShow);
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
}

void TMainForm::FormClose(TObject*, TCloseAction&) { Label7->SetCaption(IntToStr(Color())); }
