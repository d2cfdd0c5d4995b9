// The text forms of the settings store: each kind of property written as text and read back,
// with the texts that do not fit.

#include "settings/PropsStorage.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/SysUtils.h"

namespace {

enum TSampleMode : std::uint8_t { smOff, smSlow, smFast };
constexpr std::string_view kSampleModeNames[] = {"smOff", "smSlow", "smFast"};
const TTypeInfo kSampleModeType{"TSampleMode", TTypeKind::Enumeration, kSampleModeNames};
const TTypeInfo kComponentRefType{"TComponent", TTypeKind::Class, {}, &TComponent::StaticClassInfo};

// One property of every kind the store knows, with plain accessors (the float keeps its value
// exactly, unlike a spin edit, which rounds).
class TSample : public TComponent {
 public:
  using TComponent::TComponent;

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info(
        "TSample", &TComponent::StaticClassInfo(),
        {
            OrdProperty<&TSample::Number, &TSample::SetNumber>("Number", kIntegerType),
            OrdProperty<&TSample::Count, &TSample::SetCount>("Count", kCardinalType),
            OrdProperty<&TSample::Flag, &TSample::SetFlag>("Flag", kBooleanType),
            OrdProperty<&TSample::Mode, &TSample::SetMode>("Mode", kSampleModeType),
            FloatProperty<&TSample::Amount, &TSample::SetAmount>("Amount", kExtendedType),
            StrProperty<&TSample::Text, &TSample::SetText>("Text", kStringType),
            OrdProperty<&TSample::Styles, &TSample::SetStyles>("Styles", kFontStylesType),
            ObjProperty<&TSample::Font, &TSample::SetFont>("Font", kFontType),
            ObjProperty<&TSample::Target, &TSample::SetTarget>("Target", kComponentRefType),
            MethodProperty<&TSample::OnPing>("OnPing", kNotifyEventType),
        });
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  std::int32_t Number() const { return number_; }
  void SetNumber(std::int32_t value) { number_ = value; }
  std::uint32_t Count() const { return count_; }
  void SetCount(std::uint32_t value) { count_ = value; }
  bool Flag() const { return flag_; }
  void SetFlag(bool value) { flag_ = value; }
  TSampleMode Mode() const { return mode_; }
  void SetMode(TSampleMode value) { mode_ = value; }
  long double Amount() const { return amount_; }
  void SetAmount(long double value) { amount_ = value; }
  const std::string& Text() const { return text_; }
  // Refuses one text, as a setter that validates would.
  void SetText(const std::string& value) {
    if (value == "boom") throw Exception("refused");
    text_ = value;
  }
  TFontStyles Styles() const { return styles_; }
  void SetStyles(TFontStyles value) { styles_ = value; }
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& font) { font_->Assign(font); }
  TComponent* Target() const { return target_; }
  void SetTarget(TComponent* target) { target_ = target; }
  TNotifyEvent OnPing;

 private:
  std::int32_t number_ = 0;
  std::uint32_t count_ = 0;
  bool flag_ = false;
  TSampleMode mode_ = smOff;
  long double amount_ = 0;
  std::string text_;
  TFontStyles styles_;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  TComponent* target_ = nullptr;
};

// An application with three windows: "Main" holds the sample and two pages, "Other" a button,
// and an unnamed plain form another button.
class PropsStorageTest : public ::testing::Test {
 protected:
  PropsStorageTest() : application(TApplication::Ports{}) {
    main = application.CreateForm<TForm>();
    main->SetName("Main");
    sample = new TSample(main);
    sample->SetName("Sample");
    page1 = Named(new TComponent(main), "TabSheet1");
    page2 = Named(new TComponent(main), "TabSheet2");
    other = application.CreateForm<TForm>();
    other->SetName("Other");
    button = Named(new TComponent(other), "Button1");
    unnamedFormButton = Named(new TComponent(application.CreateForm<TForm>()), "Button2");
  }
  ~PropsStorageTest() override { FormatSettings.DecimalSeparator = '.'; }

  static TComponent* Named(TComponent* component, const char* name) {
    component->SetName(name);
    return component;
  }

  TPropsStorage Storage() {
    return TPropsStorage(
        main,
        [this](const std::string& name, const std::string& fallback) {
          if (failingReads.count(name) != 0) throw ERegistryException("wrong type");
          const auto it = values.find(name);
          return it == values.end() ? fallback : it->second;
        },
        [this](const std::string& name, const std::string& value) { values[name] = value; });
  }

  const TPropInfo& Prop(const char* name) { return GetPropInfo(*sample, name); }
  std::string TextOf(const char* name) { return Storage().PropertyText(*sample, Prop(name)); }

  TApplication application;
  TForm* main;
  TSample* sample;
  TComponent* page1;
  TComponent* page2;
  TForm* other;
  TComponent* button;
  TComponent* unnamedFormButton;
  std::map<std::string, std::string> values;
  std::set<std::string> failingReads;
};

TEST_F(PropsStorageTest, WrittenTextOfEachKind) {
  struct Case {
    const char* property;
    std::function<void(TSample&)> arrange;
    const char* text;
  };
  const Case cases[] = {
      {"Number", [](TSample& s) { s.SetNumber(42); }, "42"},
      {"Number", [](TSample& s) { s.SetNumber(clBtnFace); }, "-2147483633"},  // system colour
      {"Count", [](TSample& s) { s.SetCount(3000000000u); }, "-1294967296"},  // the 32 bits
      {"Flag", [](TSample& s) { s.SetFlag(true); }, "True"},
      {"Mode", [](TSample& s) { s.SetMode(smFast); }, "smFast"},
      {"Amount", [](TSample& s) { s.SetAmount(100); }, "100"},
      {"Amount", [](TSample& s) { s.SetAmount(0.5L); }, "0.5"},
      {"Amount", [](TSample& s) { s.SetAmount(-150.25L); }, "-150.25"},
      {"Text", [](TSample& s) { s.SetText("  500 \t"); }, "500"},
      {"Text", [](TSample& s) { s.SetText(""); }, ""},
      {"Styles", [](TSample& s) { s.SetStyles({}); }, "[]"},
      {"Styles",
       [](TSample& s) {
         s.SetStyles({fsItalic, fsBold});
       },
       "[fsBold,fsItalic]"},
      {"Styles",
       [](TSample& s) {
         s.SetStyles({fsStrikeOut, fsUnderline});
       },
       "[fsUnderline,fsStrikeOut]"},
      {"Target", [](TSample& s) { s.SetTarget(nullptr); }, "(null)"},
      {"Target", [this](TSample& s) { s.SetTarget(page1); }, "TabSheet1"},
      {"Target", [this](TSample& s) { s.SetTarget(button); }, "Other.Button1"},
      // An owner without a name is written as its class name without the leading T.
      {"Target", [this](TSample& s) { s.SetTarget(unnamedFormButton); }, "Form.Button2"},
  };
  for (const char separator : {'.', ','}) {
    FormatSettings.DecimalSeparator = separator;
    for (const Case& c : cases) {
      c.arrange(*sample);
      EXPECT_EQ(TextOf(c.property), c.text) << c.property << " with separator " << separator;
    }
  }
}

TEST_F(PropsStorageTest, ReadTextOfEachKind) {
  struct Case {
    const char* property;
    const char* before;                // the property's text before the read
    std::optional<std::string> value;  // the stored value; none: missing
    char separator;
    const char* after;
  };
  const Case cases[] = {
      {"Number", "5", "  -7 ", '.', "-7"},
      {"Number", "5", "abc", '.', "0"},  // text that does not fit reads as 0
      {"Number", "5", "", '.', "0"},
      {"Number", "5", "99999999999", '.', "0"},
      {"Number", "5", std::nullopt, '.', "5"},  // missing: unchanged
      {"Count", "0", "-1294967296", '.', "-1294967296"},
      {"Flag", "False", "true", '.', "True"},
      {"Flag", "True", "fALSE", '.', "False"},
      {"Flag", "False", "1", '.', "False"},  // not a name: unchanged
      {"Flag", "True", "1", '.', "True"},
      {"Mode", "smOff", "SMSLOW", '.', "smSlow"},
      {"Mode", "smOff", "fast", '.', "smOff"},
      {"Amount", "100", "150.5", '.', "150.5"},
      {"Amount", "100", "150.5", ',', "150.5"},  // "." whatever the locale
      {"Amount", "100", "150,5", ',', "150.5"},  // the locale's own separator too
      {"Amount", "100", "150,5", '.', "100"},
      {"Amount", "100", "abc", ',', "100"},  // not a number: unchanged
      {"Amount", "100", "", '.', "100"},
      {"Amount", "100", " 2.5E3 ", '.', "2500"},
      {"Text", "x", " \t500  \r\n", '.', "500"},  // trimmed after reading
      {"Text", "x", "", '.', ""},
      {"Styles", "[]", "[fsBold, fsItalic]", '.', "[fsBold,fsItalic]"},
      {"Styles", "[fsBold]", "[nothing]", '.', "[]"},  // no member named: the set is cleared
      {"Styles", "[fsBold]", "fsunderline", '.', "[fsUnderline]"},
      {"Styles", "[]", "[fsBold,,bogus fsBold]", '.', "[fsBold]"},
      {"Target", "TabSheet1", "", '.', "TabSheet1"},  // empty: unchanged
      {"Target", "TabSheet1", "(NULL)", '.', "(null)"},
      {"Target", "TabSheet1", "tabsheet2", '.', "TabSheet2"},
      {"Target", "TabSheet1", "TabSheet9", '.', "(null)"},  // no such component: cleared
      {"Target", "TabSheet1", "other.button1", '.', "Other.Button1"},
      {"Target", "TabSheet1", "Nowhere.Button1", '.', "TabSheet1"},  // no such window: unchanged
      {"Target", "TabSheet1", "Other.Button9", '.', "(null)"},
  };
  for (const Case& c : cases) {
    FormatSettings.DecimalSeparator = c.separator;
    TPropsStorage storage = Storage();
    storage.SetPropertyText(*sample, Prop(c.property), c.before);
    ASSERT_EQ(TextOf(c.property), c.before) << c.property;
    values.clear();
    if (c.value) values["Sample_" + std::string(c.property)] = *c.value;
    storage.LoadProperty(*sample, Prop(c.property), "Sample_" + std::string(c.property));
    EXPECT_EQ(TextOf(c.property), c.after)
        << c.property << " '" << c.value.value_or("(missing)") << "' with " << c.separator;
  }
}

TEST_F(PropsStorageTest, UnsignedValueComesBackWithAllItsBits) {
  sample->SetCount(4000000000u);
  Storage().StoreProperty(*sample, Prop("Count"), "Sample_Count");
  sample->SetCount(1);
  Storage().LoadProperty(*sample, Prop("Count"), "Sample_Count");
  EXPECT_EQ(sample->Count(), 4000000000u);
}

TEST_F(PropsStorageTest, FontIsSevenValuesInItsTableOrder) {
  TFont* font = sample->Font();
  font->SetCharset(DEFAULT_CHARSET);
  font->SetColor(clPurple);
  font->SetHeight(-9);
  font->SetName("Small Fonts");
  font->SetStyle({fsBold});
  Storage().StoreProperty(*sample, Prop("Font"), "Sample_Font");
  EXPECT_EQ(values, (std::map<std::string, std::string>{
                        {"Sample_FontCharset", "1"},
                        {"Sample_FontColor", "8388736"},
                        {"Sample_FontHeight", "-9"},
                        {"Sample_FontName", "Small Fonts"},
                        {"Sample_FontPitch", "fpDefault"},
                        {"Sample_FontSize", "7"},
                        {"Sample_FontStyle", "[fsBold]"},
                    }));

  // Size is applied after Height, so it wins; a value that cannot be read costs only itself.
  values["Sample_FontHeight"] = "-20";
  values["Sample_FontSize"] = "12";
  values["Sample_FontName"] = " Arial ";
  values["Sample_FontPitch"] = "FPFIXED";
  failingReads.insert("Sample_FontColor");
  Storage().LoadProperty(*sample, Prop("Font"), "Sample_Font");
  EXPECT_EQ(font->Height(), -16);  // 12 points at 96 pixels per inch
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(font->Pitch(), fpFixed);
  EXPECT_EQ(font->Color(), clPurple);
  EXPECT_EQ(font->Style(), TFontStyles{fsBold});
}

TEST_F(PropsStorageTest, RefusingSetterOrFailingReadLeavesThePropertyAndRaisesNothing) {
  sample->SetText("kept");
  values["Sample_Text"] = "boom";
  EXPECT_NO_THROW(Storage().LoadProperty(*sample, Prop("Text"), "Sample_Text"));
  EXPECT_EQ(sample->Text(), "kept");

  sample->SetNumber(3);
  failingReads.insert("Sample_Number");
  EXPECT_NO_THROW(Storage().LoadProperty(*sample, Prop("Number"), "Sample_Number"));
  EXPECT_EQ(sample->Number(), 3);
}

TEST_F(PropsStorageTest, EventsAndReadOnlyPropertiesAreNotKept) {
  TPropInfo readOnly = Prop("Number");
  readOnly.SetOrd = nullptr;
  EXPECT_FALSE(TPropsStorage::IsStorable(Prop("OnPing")));
  EXPECT_FALSE(TPropsStorage::IsStorable(readOnly));
  EXPECT_TRUE(TPropsStorage::IsStorable(Prop("Font")));
  EXPECT_TRUE(TPropsStorage::IsStorable(Prop("Target")));

  sample->OnPing = [](TObject*) {};
  Storage().StoreProperty(*sample, Prop("OnPing"), "Sample_OnPing");
  Storage().StoreProperty(*sample, readOnly, "Sample_Number");
  EXPECT_TRUE(values.empty());
}

}  // namespace
