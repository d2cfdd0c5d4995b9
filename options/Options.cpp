#include "options/Options.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "TamikVersion.h"
#include "framework/Exception.h"
#include "framework/GifImage.h"
#include "framework/SysUtils.h"
#include "options/Credits.h"
#include "options/Links.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "tamik_options_embedded.h"

namespace {

// What the dialog's store keeps, in the order it saves and restores them. docs/SETTINGS.md gives
// each entry's counterpart in the main window's store and which copy wins.
const char* const kOptionStoredProps[] = {
    "PageControl1.ActivePage", "SpinEdit1.Value",   "CheckBox1.Checked", "CheckBox2.Checked",
    "CheckBox3.Checked",       "CheckBox4.Checked", "CheckBox5.Checked", "CheckBox6.Checked",
    "Slider1.Value",           "SpinEdit2.Value",   "SpinEdit3.Value",   "SpinEdit4.Value",
};

// A spin edit's value as the handlers use it: truncated toward zero.
std::int64_t Truncated(const TSpinEdit& edit) {
  return static_cast<std::int64_t>(std::trunc(edit.Value()));
}

}  // namespace

const TClassInfo& TOption::StaticClassInfo() {
  static const TClassInfo info("TOption", &TForm::StaticClassInfo(), {});
  return info;
}

TOption::TOption(TComponent* owner, MainWindowLink& mainWindow) : TForm(owner), main_(mainWindow) {
  SetName("Option");
  SetCaption("Options");
  SetBorderStyle(bsToolWindow);
  SetBounds(332, 107, 0, 0);
  SetClientSize(279, 184);
  SetColor(clBtnFace);

  PageControl1 = Make<TPageControl>("PageControl1", this, 0, 0, 305, 193);
  Options = MakePage("Options", "Options");
  TabSheet2 = MakePage("TabSheet2", "Colors");
  TabSheet1 = MakePage("TabSheet1", "Opacity");
  About = MakePage("About", "About");
  TabSheet3 = MakePage("TabSheet3", "debug");
  BuildOptionsPage();
  BuildColorsPage();
  BuildOpacityPage();
  BuildAboutPage();
  BuildDebugPage();
  PageControl1->SetActivePage(About);

  FormStorage1 = new TFormStorage(this);
  FormStorage1->SetName("FormStorage1");
  FormStorage1->SetUseRegistry(true);
  FormStorage1->SetStoredProps({std::begin(kOptionStoredProps), std::end(kOptionStoredProps)});

  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  // Bound before the layout completes: the store then restores first and runs FormShow after.
  OnShow = [this](TObject* sender) { FormShow(sender); };
  DoCreate();
}

// Each page binds its handlers once its controls' layout values are in place, as a loaded layout
// binds them: setting a value while building raises no change event.

void TOption::BuildOptionsPage() {
  GroupBox1 = Make<TGroupBox>("GroupBox1", Options, 0, 0, 129, 113);
  CheckBox2 = MakeCheckBox("CheckBox2", GroupBox1, 8, 16, 120, "Show Icon in Tray", false);
  CheckBox1 = MakeCheckBox("CheckBox1", GroupBox1, 8, 40, 120, "Always On Top", false);
  CheckBox3 = MakeCheckBox("CheckBox3", GroupBox1, 8, 64, 120, "Run At Startup", false);
  CheckBox4 = MakeCheckBox("CheckBox4", GroupBox1, 8, 88, 120, "Show Percentage", true);
  Label5 = MakeLabel("Label5", Options, 152, 8, 120, "Bar Height");
  SpinEdit1 = MakeSpinEdit("SpinEdit1", Options, 176, 24, 49, 50, 200, 100);
  Label9 = MakeLabel("Label9", Options, 136, 64, 156, "Refresh Frequency (in sec.)");
  Slider1 = Make<TSlider>("Slider1", Options, 136, 80, 137, 33);
  Slider1->SetMaxValue(6);
  Slider1->SetValue(2);

  CheckBox1->OnClick = [this](TObject* sender) { CheckBox1Click(sender); };
  CheckBox2->OnClick = [this](TObject* sender) { CheckBox2Click(sender); };
  CheckBox3->OnClick = [this](TObject* sender) { CheckBox3Click(sender); };
  CheckBox4->OnClick = [this](TObject* sender) { CheckBox4Click(sender); };
  SpinEdit1->OnChange = [this](TObject* sender) { SpinEdit1Change(sender); };
  Slider1->OnChange = [this](TObject* sender) { Slider1Change(sender); };
}

void TOption::BuildOpacityPage() {
  CheckBox5 = MakeCheckBox("CheckBox5", TabSheet1, 8, 8, 125, "Transparent Form", true);
  Label14 = MakeLabel("Label14", TabSheet1, 136, 0, 150, "For Windows 2000 or XP");
  Label14->Font()->SetName("Small Fonts");
  Label14->Font()->SetHeight(-9);
  Label14->Font()->SetStyle({fsBold});
  GroupBox2 = Make<TGroupBox>("GroupBox2", TabSheet1, 0, 24, 265, 121);
  CheckBox6 = MakeCheckBox("CheckBox6", GroupBox2, 8, 16, 160, "Use AlphaBlend (Opacity)", false);
  RadioButton1 = Make<TRadioButton>("RadioButton1", GroupBox2, 48, 32, 113, 17);
  RadioButton1->SetCaption("Constant");
  RadioButton1->SetChecked(true);
  SpinEdit4 = MakeSpinEdit("SpinEdit4", GroupBox2, 168, 32, 49, 0, 255, 200);
  RadioButton2 = Make<TRadioButton>("RadioButton2", GroupBox2, 48, 56, 113, 17);
  RadioButton2->SetCaption("Dynamic");
  Label10 = MakeLabel("Label10", GroupBox2, 80, 72, 86, "Opacity for 0%");
  SpinEdit2 = MakeSpinEdit("SpinEdit2", GroupBox2, 167, 68, 50, 0, 255, 100);
  Label11 = MakeLabel("Label11", GroupBox2, 80, 93, 86, "Opacity for 100%");
  SpinEdit3 = MakeSpinEdit("SpinEdit3", GroupBox2, 167, 92, 49, 0, 255, 255);
  Label13 = MakeLabel("Label13", TabSheet1, 3, 145, 290,
                      "Choose Opacity between 0 (full transparent) and 255 (full solid)");
  Label13->Font()->SetName("Small Fonts");
  Label13->Font()->SetHeight(-9);

  CheckBox5->OnClick = [this](TObject* sender) { CheckBox5Click(sender); };
  CheckBox6->OnClick = [this](TObject* sender) { CheckBox6Click(sender); };
  SpinEdit2->OnChange = [this](TObject* sender) { SpinEdit2Change(sender); };
  SpinEdit3->OnChange = [this](TObject* sender) { SpinEdit3Change(sender); };
  SpinEdit4->OnChange = [this](TObject* sender) { SpinEdit4Change(sender); };
}

void TOption::BuildAboutPage() {
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetBounds(8, 1, 201, 89);
  Image1->SetParent(About);
  Image1->SetTransparent(true);
  {
    const TGifPicture banner = DecodeGif({art::kAboutGif, art::kAboutGifSize});
    Image1->SetPicture(banner.Bitmap, banner.Mask);
  }
  SpeedButton8 = MakeButton("SpeedButton8", About, 8, 88, 57, 22, "Credits");
  SpeedButton8->SetHint("Credits");
  Label1 = MakeLabel("Label1", About, 144, 80, 120, "Version " TAMIK_VERSION_TEXT);
  Label1->Font()->SetStyle({fsBold});
  Label4 = MakeLink("Label4", 8, 120, links::kEmailText);
  Label3 = MakeLink("Label3", 152, 120, links::kWebSiteText);
  Label2 = MakeLabel("Label2", About, 56, 136, 230, links::kOrigin);

  SpeedButton8->OnClick = [this](TObject* sender) { SpeedButton8Click(sender); };
  Label3->OnClick = [this](TObject* sender) { Label3Click(sender); };
  Label4->OnClick = [this](TObject* sender) { Label4Click(sender); };
}

void TOption::BuildDebugPage() {
  Label6 = MakeLabel("Label6", TabSheet3, 16, 16, 180, "OS Version");
  Label7 = MakeLabel("Label7", TabSheet3, 16, 37, 180, "# CPU");
  Label8 = MakeLabel("Label8", TabSheet3, 16, 58, 180, "Label8");
  Label15 = MakeLabel("Label15", TabSheet3, 16, 80, 270, "Label15");
  Label15->SetHeight(3 * 13 + 2);
  Label16 = MakeLabel("Label16", TabSheet3, 16, 136, 275, "Label16");
  SpeedButton1 = MakeButton("SpeedButton1", TabSheet3, 208, 8, 57, 25, "Refresh");

  SpeedButton1->OnClick = [this](TObject* sender) { SpeedButton1Click(sender); };
}

TTabSheet* TOption::MakePage(const char* name, const char* caption) {
  auto* page = new TTabSheet(this);
  page->SetName(name);
  page->SetCaption(caption);
  page->SetPageControl(PageControl1);
  return page;
}

TCheckBox* TOption::MakeCheckBox(const char* name, TWinControl* parent, int left, int top,
                                 int width, const char* caption, bool checked) {
  auto* box = Make<TCheckBox>(name, parent, left, top, width, 17);
  box->SetCaption(caption);
  box->SetChecked(checked);
  return box;
}

TLabel* TOption::MakeLabel(const char* name, TWinControl* parent, int left, int top, int width,
                           const char* caption) {
  auto* label = Make<TLabel>(name, parent, left, top, width, 13);
  label->SetCaption(caption);
  label->Font()->Assign(*Font());
  return label;
}

TLabel* TOption::MakeLink(const char* name, int left, int top, const char* caption) {
  TLabel* label = MakeLabel(name, About, left, top, 130, caption);
  label->Font()->SetColor(clBlue);
  label->Font()->SetStyle({fsUnderline});
  label->SetCursor(crHandPoint);
  return label;
}

TSpeedButton* TOption::MakeButton(const char* name, TWinControl* parent, int left, int top,
                                  int width, int height, const char* caption) {
  auto* button = Make<TSpeedButton>(name, parent, left, top, width, height);
  button->SetCaption(caption);
  return button;
}

TSpinEdit* TOption::MakeSpinEdit(const char* name, TWinControl* parent, int left, int top,
                                 int width, int minValue, int maxValue, int value) {
  auto* edit = Make<TSpinEdit>(name, parent, left, top, width, 21);
  edit->SetMinValue(minValue);
  edit->SetMaxValue(maxValue);
  edit->SetValue(value);
  return edit;
}

void TOption::SetCredit(TCredit* credit) {
  if (Credit != nullptr) RemoveFreeNotification(static_cast<TComponent*>(Credit));
  Credit = credit;
  FreeNotification(static_cast<TComponent*>(credit));
}

void TOption::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == opRemove && component == static_cast<TComponent*>(Credit)) {
    Credit = nullptr;
  }
}

void TOption::FormCreate(TObject*) {
  Label6->SetCaption(main_.OsVersionText() + " detected.");
  Label7->SetCaption(main_.ProcessorCountText());
  Label8->SetCaption(ClockText(MeasureClockMHz()));
  Label9->SetCaption(RefreshFrequencyText(Slider1->Value()));
  SpeedButton1->Click();
}

void TOption::FormShow(TObject*) {
  LoadPreview();
  Label16->SetCaption(main_.TrayHint());
}

void TOption::Options1Click(TObject*) {
  // Only a hidden dialog is shown (and so restored); a shown one just comes to the front.
  if (!Visible()) Show();
  BringToFront();
}

// ---------------------------------------------------------------------------------------------
// The Options page

void TOption::CheckBox1Click(TObject*) { main_.SetAlwaysOnTopSetting(CheckBox1->Checked()); }

void TOption::CheckBox2Click(TObject*) { main_.SetTrayIconSetting(CheckBox2->Checked()); }

void TOption::CheckBox3Click(TObject*) { SetRunAtStartup(CheckBox3->Checked()); }

void TOption::CheckBox4Click(TObject*) { main_.SetPercentageSetting(CheckBox4->Checked()); }

void TOption::SpinEdit1Change(TObject*) {
  // A value below the range (while the user is still typing it) changes nothing.
  if (Truncated(*SpinEdit1) < SpinEdit1->MinValue()) return;
  main_.SetBarHeightSetting(SpinEdit1->Value());
}

std::string TOption::RefreshFrequencyText(int position) {
  return "Refresh Frequency (" + FloatToStrGeneral(position * 0.5L, 15) + " sec.)";
}

void TOption::Slider1Change(TObject*) {
  const int position = Slider1->Value();
  Label9->SetCaption(RefreshFrequencyText(position));
  // Position 0 is the fastest refresh: 150 ms, not 0.
  main_.SetIntervalSetting(position > 0 ? static_cast<std::uint32_t>(position) * 500 : 150);
}

void TOption::SetRunAtStartup(bool on) {
  platform::IRegistry& registry = PortsOf(Application()).Registry;
  const auto open = [&registry](platform::RegKey root, std::uint32_t access, bool create) {
    return (create ? platform::CreateScopedKey(registry, root, kRunKey, access)
                   : platform::OpenScopedKey(registry, root, kRunKey, access))
        .key;
  };
  const auto removeFrom = [&registry](const platform::ScopedRegKey& key) {
    // A missing value is not an error.
    if (key.IsOpen()) registry.DeleteValue(key.Get(), kRunValueName);
  };
  // The machine-wide key when the user may write it, else the user's own: an ordinary user's
  // tick then still starts the program with the next logon.
  platform::ScopedRegKey machine =
      open(platform::kHkeyLocalMachine, platform::kKeyAllAccess, false);
  if (!on) {
    // Removed wherever it is.
    removeFrom(machine);
    removeFrom(open(platform::kHkeyCurrentUser, platform::kKeyAllAccess, false));
    return;
  }
  // One entry, so the program starts once at logon: a machine-wide value this user cannot change
  // already starts it, and a per-user value goes when the machine-wide one is written.
  const bool machineWide = machine.IsOpen();
  if (!machineWide) {
    const platform::ScopedRegKey readable =
        open(platform::kHkeyLocalMachine, platform::kKeyRead, false);
    if (readable.IsOpen() && registry.QueryValue(readable.Get(), kRunValueName, nullptr, nullptr,
                                                 nullptr) == platform::kErrorSuccess) {
      return;
    }
  }
  platform::ScopedRegKey key =
      machineWide ? std::move(machine)
                  : open(platform::kHkeyCurrentUser, platform::kKeyAllAccess, true);
  if (!key.IsOpen()) return;
  // Quoted, so that a path with spaces names this program and nothing shorter.
  const std::string path = PortsOf(Application()).System.ExecutablePath();
  const std::string data = "\"" + path + "\"";
  if (registry.SetValue(key.Get(), kRunValueName, platform::kRegSz,
                        reinterpret_cast<const std::uint8_t*>(data.c_str()),
                        static_cast<std::uint32_t>(data.size() + 1)) != platform::kErrorSuccess) {
    throw ERegistryException(Format("Echec à la définition des données pour '%s'", kRunValueName));
  }
  if (machineWide) removeFrom(open(platform::kHkeyCurrentUser, platform::kKeyAllAccess, false));
}

// ---------------------------------------------------------------------------------------------
// The About and debug pages

void TOption::SpeedButton8Click(TObject*) {
  if (Credit == nullptr) return;
  if (!Credit->Visible()) Credit->Show();
  Credit->BringToFront();
}

void TOption::Label3Click(TObject*) { links::Open(Application(), links::kWebSite); }

void TOption::Label4Click(TObject*) { links::Open(Application(), links::kEmail); }

void TOption::SpeedButton1Click(TObject*) {
  Label8->SetCaption(ClockText(MeasureClockMHz()));
  Label15->SetCaption(MemoryText(PortsOf(Application()).System.QueryMemoryStatus()));
  Label16->SetCaption(main_.TrayHint());
}

double TOption::MeasureClockMHz() {
  platform::ISystem& system = PortsOf(Application()).System;
  const std::uint32_t priorityClass = system.PriorityClass();
  const int threadPriority = system.ThreadPriority();
  // Real-time priority keeps the half second from being stretched by other work; the priorities
  // go back however the measurement ends.
  struct Restore {
    platform::ISystem& system;
    std::uint32_t priorityClass;
    int threadPriority;
    ~Restore() {
      system.SetThreadPriority(threadPriority);
      system.SetPriorityClass(priorityClass);
    }
  } restore{system, priorityClass, threadPriority};
  system.SetPriorityClass(platform::kRealtimePriorityClass);
  system.SetThreadPriority(platform::kThreadPriorityTimeCritical);
  system.Sleep(10);
  const std::uint64_t start = system.TimeStampCounter();
  system.Sleep(500);
  const std::uint64_t end = system.TimeStampCounter();
  // The whole 64-bit difference: its low 32 bits alone would wrap above 8589.9 MHz.
  return static_cast<double>(end - start) / 500000.0;
}

std::string TOption::ClockText(double mhz) {
  // Four significant digits in fixed notation: as many decimals as the integer part leaves, or
  // rounded to tens, hundreds... for five digits and more.
  const int integerDigits = mhz >= 1 ? static_cast<int>(std::floor(std::log10(mhz))) + 1 : 1;
  const int decimals = std::max(0, 4 - integerDigits);
  std::string text;
  if (integerDigits > 4) {
    const double unit = std::pow(10.0, integerDigits - 4);
    text = Format("%.0f", std::nearbyint(mhz / unit) * unit);
  } else {
    text = Format("%.*f", decimals, mhz);
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
  }
  for (char& c : text) {
    if (c == '.') c = FormatSettings.DecimalSeparator;
  }
  return text + " Mhz measured";
}

std::string TOption::MemoryText(const platform::MemoryStatus& status) {
  return " Memory Load : " + std::to_string(status.memoryLoad) +
         " %\r Total Memory : " + std::to_string(status.totalPhys / 1024) +
         " KB\r Avai. Memory : " + std::to_string(status.availPhys / 1024) + " KB";
}

// ---------------------------------------------------------------------------------------------
// The Opacity page

void TOption::CheckBox5Click(TObject*) { main_.SetColourKeySetting(CheckBox5->Checked()); }

void TOption::CheckBox6Click(TObject*) { main_.SetAlphaBlendSetting(CheckBox6->Checked()); }

void TOption::SpinEdit4Change(TObject*) { main_.SetConstantOpacitySetting(Truncated(*SpinEdit4)); }

void TOption::SpinEdit2Change(TObject*) { main_.SetOpacityAtNoLoadSetting(Truncated(*SpinEdit2)); }

void TOption::SpinEdit3Change(TObject*) {
  main_.SetOpacityAtFullLoadSetting(Truncated(*SpinEdit3));
}
