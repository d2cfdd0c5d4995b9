// The settings store's text forms on arbitrary texts (settings/PropsStorage, settings/FormStorage):
// integers, enumerations, sets, strings, floats, references to components, the seven values of a
// font, and the placement texts.
//
// The input is a list of lines; line i is the stored text of the i-th value name of kValueNames.
// A line starting with byte 1 is stored as binary data instead of a string (a value of another
// type), one starting with byte 2 as an expandable string, one starting with byte 3 as a string
// without its terminating zero.
//
// 1. Each text of a listed property is applied directly through TPropsStorage: a text the setter
//    refuses raises the framework's Exception, nothing else may escape; the written text of the
//    value it leaves must read back to the same text.
// 2. The texts are put in the fake registry and a window with its store is shown (the store
//    restores everything, errors go to the error box), then saved, as the program does.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeScreen.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "framework/ComCtrls.h"
#include "framework/Exception.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "framework/TypInfo.h"
#include "gauge/RarBar.h"
#include "settings/FormStorage.h"
#include "settings/PropsStorage.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr const char* kSection = "Software\\Tamik\\TFuzzForm";

// The placement values, then the listed properties (a font as its seven values).
constexpr const char* kPlacementNames[] = {
    "FormVersion", "Flags",   "ShowCmd",           "PixelsPerInch", "MinMaxPos(1024x768)",
    "MinMaxPos",   "NormPos", "NormPos(1024x768)", "Visible",
};
constexpr const char* kStoredProps[] = {
    "RarBar1.Height",
    "Timer1.Interval",
    "Timer1.Enabled",
    "CheckBox1.Checked",
    "SpinEdit1.Value",
    "SpinEdit1.MaxValue",
    "Label1.Caption",
    "RarBar1.Font",
    "RarBar1.TopColor",
    "RarBar1.Color",
    "PageControl1.ActivePage",
    "FormStorage1.Options",
    "FormStorage1.RegistryRoot",
};
constexpr const char* kFontProps[] = {"Charset", "Color", "Height", "Name",
                                      "Pitch",   "Size",  "Style"};

// A window with one component of every kind the store keeps.
class TFuzzForm : public TForm {
 public:
  explicit TFuzzForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsSizeable);
    SetBounds(10, 20, 200, 100);
    RarBar1 = Add(new TRarBar(this), "RarBar1");
    Timer1 = Add(new TTimer(this), "Timer1");
    CheckBox1 = Add(new TCheckBox(this), "CheckBox1");
    SpinEdit1 = Add(new TSpinEdit(this), "SpinEdit1");
    Label1 = Add(new TLabel(this), "Label1");
    PageControl1 = Add(new TPageControl(this), "PageControl1");
    for (const char* name : {"TabSheet1", "TabSheet2"}) {
      Add(new TTabSheet(this), name)->SetPageControl(PageControl1);
    }
    for (TControl* control :
         std::initializer_list<TControl*>{RarBar1, CheckBox1, SpinEdit1, Label1, PageControl1}) {
      control->SetParent(this);
    }
    FormStorage1 = Add(new TFormStorage(this), "FormStorage1");
    FormStorage1->SetUseRegistry(true);
    FormStorage1->SetStoredProps({std::begin(kStoredProps), std::end(kStoredProps)});
    DoCreate();
  }

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TFuzzForm", &TForm::StaticClassInfo(), {});
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TRarBar* RarBar1;
  TTimer* Timer1;
  TCheckBox* CheckBox1;
  TSpinEdit* SpinEdit1;
  TLabel* Label1;
  TPageControl* PageControl1;
  TFormStorage* FormStorage1;

 private:
  template <class T>
  T* Add(T* component, const char* name) {
    component->SetName(name);
    return component;
  }
};

// Another window, so that "<window>.<name>" references have something to find.
class TOtherForm : public TForm {
 public:
  explicit TOtherForm(TComponent* owner) : TForm(owner) {
    SetName("Other");
    auto* pages = new TPageControl(this);
    pages->SetName("PageControl1");
    auto* sheet = new TTabSheet(this);
    sheet->SetName("TabSheet3");
    sheet->SetPageControl(pages);
  }
};

// The fake window system, except that a placement's window is kept within the size the fake's
// drawing surface can hold (16384 pixels each way), as Windows keeps a window within its largest
// tracking size. The rectangle is measured in 64 bits, so the code under test is still the first
// to compute its size in int.
class TFuzzWindowSystem : public FakeWindowSystem {
 public:
  std::unique_ptr<platform::IWindowPeer> CreateWindowPeer(
      const platform::WindowParams& params, platform::IWindowEvents& events) override {
    auto peer = std::make_unique<Peer>(params, &events, nextHandle_++, this);
    windows.push_back(peer.get());
    return peer;
  }

 private:
  class Peer : public FakeWindowPeer {
   public:
    using FakeWindowPeer::FakeWindowPeer;
    bool SetPlacement(const platform::WindowPlacement& placement) override {
      constexpr std::int64_t kLimit = 16384;
      platform::WindowPlacement kept = placement;
      const std::int64_t width = std::int64_t{kept.normalRight} - kept.normalLeft;
      const std::int64_t height = std::int64_t{kept.normalBottom} - kept.normalTop;
      if (width < 0 || width > kLimit) kept.normalRight = kept.normalLeft;
      if (height < 0 || height > kLimit) kept.normalBottom = kept.normalTop;
      return FakeWindowPeer::SetPlacement(kept);
    }
  };
  std::uintptr_t nextHandle_ = 0x7000;
};

struct Value {
  std::string name;
  std::uint32_t type = platform::kRegSz;
  bool terminated = true;  // stored with the terminating zero of a string
  std::string text;
};

std::vector<Value> ValuesOf(std::string_view input) {
  std::vector<std::string> names(std::begin(kPlacementNames), std::end(kPlacementNames));
  for (const char* entry : kStoredProps) {
    const std::string_view prop(entry);
    const std::size_t dot = prop.find('.');
    const std::string valueName =
        std::string(prop.substr(0, dot)) + "_" + std::string(prop.substr(dot + 1));
    if (prop.ends_with(".Font")) {
      for (const char* fontProp : kFontProps) names.push_back(valueName + fontProp);
    } else {
      names.push_back(valueName);
    }
  }
  std::vector<Value> values;
  std::size_t start = 0;
  for (const std::string& name : names) {
    if (start > input.size()) break;
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    std::string_view line = input.substr(start, end - start);
    start = end + 1;
    Value value;
    value.name = name;
    if (!line.empty() && line[0] >= 1 && line[0] <= 3) {
      value.type = line[0] == 1   ? platform::kRegBinary
                   : line[0] == 2 ? platform::kRegExpandSz
                                  : platform::kRegSz;
      value.terminated = line[0] == 2;
      line.remove_prefix(1);
    }
    value.text = std::string(line);
    values.push_back(std::move(value));
  }
  return values;
}

// The object and property a value name stands for, or null for a placement value.
struct Target {
  TObject* object = nullptr;
  const TPropInfo* prop = nullptr;
};

Target TargetOf(TFuzzForm& form, const std::string& valueName) {
  const std::size_t underscore = valueName.find('_');
  if (underscore == std::string::npos) return {};
  TComponent* component = form.FindComponent(valueName.substr(0, underscore));
  if (component == nullptr) return {};
  std::string propName = valueName.substr(underscore + 1);
  TObject* object = component;
  if (propName.starts_with("Font") && propName != "Font") {
    object = GetObjectProp(*component, GetPropInfo(*component, "Font"));
    propName = propName.substr(4);
  }
  return {object, &GetPropInfo(*object, propName)};
}

void ApplyDirectly(TFuzzForm& form, const std::vector<Value>& values) {
  TPropsStorage props(
      &form, [](const std::string&, const std::string& fallback) { return fallback; },
      [](const std::string&, const std::string&) {});
  for (const Value& value : values) {
    const Target target = TargetOf(form, value.name);
    if (target.object == nullptr) continue;
    try {
      props.SetPropertyText(*target.object, *target.prop, Trim(value.text));
    } catch (const Exception&) {
    }
    // What is written now must read back to itself.
    const std::string written = props.PropertyText(*target.object, *target.prop);
    props.SetPropertyText(*target.object, *target.prop, written);
    Check(props.PropertyText(*target.object, *target.prop) == written);
  }
}

void ThroughTheStore(const std::vector<Value>& values) {
  FakeRegistry registry;
  TFuzzWindowSystem windows;
  FakeScreen screen;
  FakeSystem system;
  for (const Value& value : values) {
    if (!value.terminated) {
      registry.PutValue(platform::kHkeyCurrentUser, kSection, value.name, value.type,
                        std::vector<std::uint8_t>(value.text.begin(), value.text.end()));
    } else {
      registry.PutString(platform::kHkeyCurrentUser, kSection, value.name, value.text, value.type);
    }
  }
  TApplication::Ports ports;
  ports.Windows = &windows;
  ports.Graphics = TGraphicsPorts(&screen);
  ports.Registry = &registry;
  ports.System = &system;
  TApplication application(ports);
  application.SetTitle("Tamik");
  TFuzzForm* form = application.CreateForm<TFuzzForm>();
  application.CreateForm<TOtherForm>();
  application.Guard([form] { form->Show(); });
  application.Guard([form] { form->FormStorage1->SaveStoredState(); });
  application.Guard([form] { form->FormStorage1->LoadStoredState(); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<Value> values =
      ValuesOf(std::string_view(reinterpret_cast<const char*>(data), size));
  {
    TApplication application(TApplication::Ports{});
    TFuzzForm* form = application.CreateForm<TFuzzForm>();
    application.CreateForm<TOtherForm>();
    ApplyDirectly(*form, values);
  }
  ThroughTheStore(values);
  return 0;
}
