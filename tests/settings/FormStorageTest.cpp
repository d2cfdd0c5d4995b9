// The settings store on a small window: when it restores and saves, the registry values it
// writes, the placement, and every failure row.

#include "settings/FormStorage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeScreen.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

using platform::kHkeyCurrentUser;

constexpr const char* kKey = "Software\\Tamik";
constexpr const char* kSection = "Software\\Tamik\\TTestForm";

// A window with two stored controls; its store lists a component it does not have and a property
// the label does not have.
class TTestForm : public TForm {
 public:
  // `arrange` runs once the layout exists and before it is complete, where a window binds its
  // own handlers.
  TTestForm(TComponent* owner, const std::function<void(TTestForm&)>& arrange) : TForm(owner) {
    SetBorderStyle(bsSingle);
    SetBounds(10, 20, 200, 100);
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("one");
    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName("CheckBox1");
    CheckBox1->SetParent(this);
    FormStorage1 = new TFormStorage(this);
    FormStorage1->SetName("FormStorage1");
    FormStorage1->SetUseRegistry(true);
    FormStorage1->SetStoredProps(
        {"Label1.Caption", "Missing.Caption", "checkbox1.checked", "Label1.Nope"});
    FormStorage1->OnRestorePlacement = [this](TObject* sender) {
      ++restores;
      restoreSender = sender;
    };
    if (arrange) arrange(*this);
    DoCreate();
  }

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TTestForm", &TForm::StaticClassInfo(), {});
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TLabel* Label1;
  TCheckBox* CheckBox1;
  TFormStorage* FormStorage1;
  int restores = 0;
  TObject* restoreSender = nullptr;
};

class FormStorageTest : public ::testing::Test {
 protected:
  FormStorageTest() { Start(); }

  // A fresh application on a fresh registry and window system; the previous application's
  // windows are destroyed first (and may save into the registry that goes with them).
  void Start(bool withWindows = true) {
    form = nullptr;
    application.reset();
    windows = std::make_unique<FakeWindowSystem>();
    registry = std::make_unique<FakeRegistry>();
    TApplication::Ports ports;
    ports.Windows = withWindows ? windows.get() : nullptr;
    ports.Graphics = TGraphicsPorts(&screen);
    ports.Registry = registry.get();
    ports.System = &system;
    application = std::make_unique<TApplication>(ports);
    application->SetTitle("Tamik");
  }

  TTestForm* Create(const std::function<void(TTestForm&)>& arrange = {}) {
    form = application->CreateForm<TTestForm>(arrange);
    return form;
  }
  // The window shown by the message loop: errors of the show go to the error box.
  void ShowGuarded() {
    application->Guard([this] { form->Show(); });
  }

  FakeWindowPeer& Window() { return *windows->windows.at(0); }
  void Put(const char* name, const char* text, std::uint32_t type = platform::kRegSz) {
    registry->PutString(kHkeyCurrentUser, kSection, name, text, type);
  }
  std::optional<std::string> Stored(const std::string& name) {
    return registry->GetString(kHkeyCurrentUser, kSection, name);
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : windows->messageBoxes) texts.push_back(box.text);
    return texts;
  }

  FakeScreen screen;
  FakeSystem system;
  std::unique_ptr<FakeWindowSystem> windows;
  std::unique_ptr<FakeRegistry> registry;
  std::unique_ptr<TApplication> application;
  TTestForm* form = nullptr;
};

// What a save of the test window writes, in order.
const std::vector<std::string> kSavedNames = {
    "FormVersion",       "Flags",   "ShowCmd", "PixelsPerInch",  "MinMaxPos(1024x768)", "MinMaxPos",
    "NormPos(1024x768)", "NormPos", "Visible", "Label1_Caption", "CheckBox1_Checked",
};

TEST_F(FormStorageTest, FirstShowLeavesAnEmptyKeyAndTheLayoutValues) {
  Create();
  EXPECT_FALSE(registry->HasKey(kHkeyCurrentUser, kKey));  // nothing happens before the show
  form->Show();
  EXPECT_TRUE(registry->HasKey(kHkeyCurrentUser, kKey));
  EXPECT_TRUE(registry->SubKeyNames(kHkeyCurrentUser, kKey).empty());
  EXPECT_TRUE(registry->ValueNames(kHkeyCurrentUser, kKey).empty());
  EXPECT_EQ(registry->SetValueCount(), 0);
  EXPECT_EQ(registry->OpenKeyCount(), 0);
  EXPECT_EQ(form->restores, 1);
  EXPECT_EQ(form->restoreSender, form->FormStorage1);
  EXPECT_TRUE(form->FormStorage1->RestoredOnce());
  EXPECT_EQ(form->Label1->Caption(), "one");
  EXPECT_EQ(form->BoundsRect(), (TRect{10, 20, 210, 120}));
  EXPECT_EQ(Window().calls.back(), "Show 5");
  for (const std::string& call : Window().calls) EXPECT_NE(call.rfind("SetPlacement", 0), 0u);
  EXPECT_TRUE(windows->messageBoxes.empty());
}

TEST_F(FormStorageTest, KeyIsNamedAfterTheExecutableFile) {
  struct Case {
    const char* path;
    const char* key;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Tamik\\Tamik.exe", "Software\\Tamik"},
      {"D:/tools/my.app.EXE", "Software\\my.app"},
      {"C:Tamik.exe", "Software\\Tamik"},
      {"\\\\server\\share\\Gadget", "Software\\Gadget"},
      {"Tamik.exe", "Software\\Tamik"},
      {"C:\\dir\\.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultStorageKey(c.path), c.key) << c.path;

  // Without a name to take, the store keeps nothing rather than writing elsewhere.
  system.executablePath = "";
  Create()->Show();
  form->Close();
  EXPECT_TRUE(registry->Opens().empty());
  EXPECT_TRUE(registry->SubKeyNames(kHkeyCurrentUser, "Software").empty());
}

TEST_F(FormStorageTest, CloseWritesTheFixedValuesThenTheListInOrder) {
  Create()->Show();
  form->Label1->SetCaption("  two ");
  form->CheckBox1->SetChecked(true);
  registry->ClearLog();
  form->Close();

  EXPECT_EQ(registry->SetValueNames(), kSavedNames);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"FormVersion", "0"},
      {"Flags", "0"},
      {"ShowCmd", "1"},
      {"PixelsPerInch", "96"},
      {"MinMaxPos(1024x768)", "-1,-1,-1,-1"},
      {"MinMaxPos", "-1,-1,-1,-1"},
      {"NormPos(1024x768)", "10,20,210,120"},
      {"NormPos", "10,20,210,120"},
      {"Visible", "0"},
      {"Label1_Caption", "two"},
      {"CheckBox1_Checked", "True"},
  };
  for (const auto& [name, text] : expected) {
    const auto value = registry->GetValue(kHkeyCurrentUser, kSection, name);
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(value->type, platform::kRegSz) << name;
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    EXPECT_EQ(value->data, bytes) << name;
  }
  EXPECT_TRUE(form->FormStorage1->SavedSinceRestore());
  EXPECT_EQ(registry->OpenKeyCount(), 0);
  // The entry without a component went when the layout was complete; the one naming a property
  // the label does not have stays and is skipped.
  EXPECT_EQ(form->FormStorage1->StoredProps(),
            (std::vector<std::string>{"Label1.Caption", "checkbox1.checked", "Label1.Nope"}));
  EXPECT_TRUE(application->Terminated());
}

TEST_F(FormStorageTest, EveryShowRestoresWhatWasLastSaved) {
  Put("Label1_Caption", "saved");
  Put("CheckBox1_Checked", "true");
  int clicks = 0;
  Create([&](TTestForm& f) { f.CheckBox1->OnClick = [&](TObject*) { ++clicks; }; })->Show();
  EXPECT_EQ(form->Label1->Caption(), "saved");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(clicks, 1);  // a restored value that differs has the effects of any change

  form->Label1->SetCaption("changed since");
  form->Hide();
  form->Show();
  EXPECT_EQ(form->Label1->Caption(), "saved");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->restores, 2);
}

TEST_F(FormStorageTest, WindowHandlersRunAroundTheStore) {
  std::vector<std::string> events;
  Put("Label1_Caption", "saved");
  Create([&](TTestForm& f) {
    f.OnShow = [&](TObject*) { events.push_back("show with " + f.Label1->Caption()); };
    f.OnCloseQuery = [&](TObject*, bool& canClose) {
      events.push_back("close query after " + std::to_string(registry->SetValueCount()) +
                       " writes");
      canClose = events.size() > 2;  // the first close is refused
    };
    f.OnDestroy = [&](TObject*) {
      events.push_back("destroy after " + std::to_string(registry->SetValueCount()) + " writes");
    };
  });
  form->Show();
  form->Close();  // refused: nothing is saved
  EXPECT_EQ(registry->SetValueCount(), 0);
  form->Close();
  delete form;
  EXPECT_EQ(events,
            (std::vector<std::string>{"show with saved", "close query after 0 writes",
                                      "close query after 0 writes", "destroy after 11 writes"}));
}

TEST_F(FormStorageTest, StoreDestroyedFirstGivesTheHandlersBack) {
  int shows = 0;
  Create([&](TTestForm& f) { f.OnShow = [&](TObject*) { ++shows; }; });
  delete form->FormStorage1;
  form->Show();
  form->Close();
  EXPECT_EQ(shows, 1);
  EXPECT_TRUE(registry->Opens().empty());
}

TEST_F(FormStorageTest, DestroySavesOnlyWhenNothingWasSavedSinceTheLastRestore) {
  struct Case {
    const char* what;
    std::vector<std::string> steps;
    std::optional<std::string> visibleAfterDestroy;  // none: the destroy writes nothing
  };
  const Case cases[] = {
      {"never shown", {}, std::nullopt},
      {"shown, not closed", {"show"}, "1"},
      {"shown and closed", {"show", "close"}, std::nullopt},
      {"closed, then shown again", {"show", "close", "hide", "show"}, "1"},
  };
  for (const Case& c : cases) {
    registry->RemoveValue(kHkeyCurrentUser, kSection, "Visible");
    Start();
    Create();
    for (const std::string& step : c.steps) {
      if (step == "show") form->Show();
      if (step == "hide") form->Hide();
      if (step == "close") form->CloseQuery();
    }
    const int writesBefore = registry->SetValueCount();
    registry->RemoveValue(kHkeyCurrentUser, kSection, "Visible");
    application.reset();  // destroys the window
    EXPECT_EQ(Stored("Visible"), c.visibleAfterDestroy) << c.what;
    if (!c.visibleAfterDestroy) {
      EXPECT_EQ(registry->SetValueCount(), writesBefore) << c.what;
    }
  }
  EXPECT_TRUE(windows->messageBoxes.empty());
}

TEST_F(FormStorageTest, FailedSaveStopsAtThatValueAndTheWindowClosesAnyway) {
  for (std::size_t failing = 0; failing < kSavedNames.size(); ++failing) {
    Start();
    Create()->Show();
    registry->FailSetValue(static_cast<int>(failing) + 1, platform::kErrorAccessDenied);
    form->Close();
    const std::string& name = kSavedNames[failing];
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"Echec à la définition des données pour '" + name + "'"});
    for (std::size_t i = 0; i < kSavedNames.size(); ++i) {
      EXPECT_EQ(Stored(kSavedNames[i]).has_value(), i < failing)
          << kSavedNames[i] << " when " << name << " fails";
    }
    EXPECT_FALSE(form->FormStorage1->SavedSinceRestore()) << name;
    EXPECT_TRUE(application->Terminated()) << name;
    EXPECT_EQ(registry->OpenKeyCount(), 0) << name;

    // Nothing was saved since the restore: the destroy saves everything, as "Visible" = "1".
    application.reset();
    EXPECT_EQ(registry->ValueNames(kHkeyCurrentUser, kSection).size(), kSavedNames.size()) << name;
    EXPECT_EQ(Stored("Visible"), "1") << name;
  }
}

TEST_F(FormStorageTest, SectionThatCannotBeCreatedIsReportedAndTheWindowCloses) {
  Create()->Show();
  registry->FailCreate(kHkeyCurrentUser, kSection, platform::kErrorAccessDenied);
  form->Close();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Echec à la création de la clé TTestForm."});
  EXPECT_EQ(registry->SetValueCount(), 0);
  EXPECT_FALSE(form->FormStorage1->SavedSinceRestore());
  EXPECT_TRUE(application->Terminated());
}

TEST_F(FormStorageTest, KeyThatCannotBeOpenedIsNotReported) {
  Put("Label1_Caption", "saved");
  registry->FailCreate(kHkeyCurrentUser, kKey, platform::kErrorAccessDenied);
  Create()->Show();
  EXPECT_EQ(form->Label1->Caption(), "one");
  EXPECT_EQ(form->restores, 1);
  form->Close();
  EXPECT_TRUE(windows->messageBoxes.empty());
  EXPECT_EQ(registry->SetValueCount(), 0);
  EXPECT_EQ(Stored("Label1_Caption"), "saved");
}

TEST_F(FormStorageTest, FixedValueOfAnotherTypeStopsTheRestore) {
  struct Case {
    const char* name;
    std::uint32_t type;
    bool withSuffixedPositions;  // the resolution-specific MinMaxPos and NormPos are present
  };
  const Case cases[] = {
      {"FormVersion", platform::kRegDword, true},
      {"Flags", platform::kRegDword, true},
      {"MinMaxPos(1024x768)", platform::kRegBinary, false},
      {"MinMaxPos", platform::kRegDword, false},  // read because the suffixed one is missing
      {"NormPos(1024x768)", platform::kRegDword, false},
      {"NormPos", platform::kRegBinary, false},
      {"PixelsPerInch", platform::kRegDword, true},
      {"ShowCmd", platform::kRegDword, true},
  };
  for (const Case& c : cases) {
    Start();
    Put("Label1_Caption", "saved");
    if (c.withSuffixedPositions) {
      Put("NormPos(1024x768)", "300,200,0,0");
      Put("MinMaxPos(1024x768)", "-1,-1,-1,-1");
    }
    registry->PutValue(kHkeyCurrentUser, kSection, c.name, c.type, {1, 0, 0, 0});
    Create();
    ShowGuarded();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Type de données incorrect pour '") +
                                                   c.name + "'"});
    EXPECT_TRUE(form->Visible()) << c.name;
    EXPECT_EQ(form->Label1->Caption(), "one") << c.name;
    EXPECT_EQ(form->restores, 0) << c.name;
    EXPECT_FALSE(form->FormStorage1->RestoredOnce()) << c.name;
    EXPECT_EQ(registry->OpenKeyCount(), 0) << c.name;
    // While no restore has succeeded, closes write nothing.
    form->Close();
    EXPECT_EQ(registry->SetValueCount(), 0) << c.name;
  }
}

TEST_F(FormStorageTest, ListedValueOfAnotherTypeIsSkippedSilently) {
  registry->PutDword(kHkeyCurrentUser, kSection, "Label1_Caption", 7);
  Put("CheckBox1_Checked", "True", platform::kRegExpandSz);
  Put("NormPos", "300,200,0,0", platform::kRegExpandSz);
  Create();
  ShowGuarded();
  EXPECT_TRUE(windows->messageBoxes.empty());
  EXPECT_EQ(form->Label1->Caption(), "one");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(form->Left(), 300);
  EXPECT_EQ(form->restores, 1);
}

TEST_F(FormStorageTest, OlderFormVersionRestoresNothingYetLaterClosesSave) {
  struct Case {
    std::int32_t version;
    const char* stored;
  };
  for (const Case c : {Case{0, "-1"}, Case{2, "1"}}) {
    Start();
    Put("FormVersion", c.stored);
    Put("Label1_Caption", "saved");
    Put("NormPos", "300,200,0,0");
    Create([&](TTestForm& f) { f.FormStorage1->SetVersion(c.version); })->Show();
    EXPECT_EQ(form->Label1->Caption(), "one") << c.stored;
    EXPECT_EQ(form->Left(), 10) << c.stored;
    EXPECT_EQ(form->restores, 0) << c.stored;
    EXPECT_TRUE(form->FormStorage1->RestoredOnce()) << c.stored;
    form->Close();
    EXPECT_EQ(Stored("FormVersion"), std::to_string(c.version));
    EXPECT_EQ(Stored("Label1_Caption"), "one");
    EXPECT_EQ(Stored("NormPos"), "10,20,210,120");
  }
}

TEST_F(FormStorageTest, PositionComesBackOnlyWhenFoundAtTheSamePixelsPerInch) {
  struct Case {
    const char* what;
    TFormBorderStyle border;
    std::vector<std::pair<const char*, const char*>> values;
    int screenWidth;
    std::optional<std::string> placement;  // the SetPlacement call; none: not applied
    TRect bounds;
  };
  const TRect unchanged{10, 20, 210, 120};
  const Case cases[] = {
      {"fixed border: the position only",
       bsNone,
       {{"NormPos", "300,200,999,999"}},
       1024,
       "SetPlacement 0,0,0,0,0,0,300,200,500,300",
       {300, 200, 500, 300}},
      {"sizeable border: the size too",
       bsSizeable,
       {{"NormPos", "300,200,699,799"}},
       1024,
       "SetPlacement 0,0,0,0,0,0,300,200,699,799",
       {300, 200, 699, 799}},
      {"flags and positions as stored",
       bsDialog,
       {{"Flags", "2"}, {"MinMaxPos", "1,2,3,4"}, {"NormPos", "5 , 6"}},
       1024,
       "SetPlacement 2,0,1,2,3,4,5,6,205,106",
       {5, 6, 205, 106}},
      {"the resolution's own value first",
       bsNone,
       {{"NormPos", "1,1,0,0"}, {"NormPos(1024x768)", "50,60,0,0"}},
       1024,
       "SetPlacement 0,0,0,0,0,0,50,60,250,160",
       {50, 60, 250, 160}},
      {"another resolution: the plain value",
       bsNone,
       {{"NormPos", "1,1,0,0"}, {"NormPos(1024x768)", "50,60,0,0"}},
       1280,
       "SetPlacement 0,0,0,0,0,0,1,1,201,101",
       {1, 1, 201, 101}},
      {"only MinMaxPos: the current position",
       bsNone,
       {{"MinMaxPos", "-1,-1,7,8"}},
       1024,
       "SetPlacement 0,0,-1,-1,7,8,10,20,210,120",
       unchanged},
      {"words that are not numbers take their defaults",
       bsNone,
       {{"NormPos", "abc,,7"}},
       1024,
       "SetPlacement 0,0,0,0,0,0,10,7,210,107",
       {10, 7, 210, 107}},
      {"same pixels per inch",
       bsNone,
       {{"NormPos", "300,200,0,0"}, {"PixelsPerInch", "96"}},
       1024,
       "SetPlacement 0,0,0,0,0,0,300,200,500,300",
       {300, 200, 500, 300}},
      {"other pixels per inch",
       bsNone,
       {{"NormPos", "300,200,0,0"}, {"PixelsPerInch", "120"}},
       1024,
       std::nullopt,
       unchanged},
      {"no position text",
       bsNone,
       {{"Flags", "2"}, {"NormPos", ""}},
       1024,
       std::nullopt,
       unchanged},
      {"a position past the integers",
       bsNone,
       {{"NormPos", "2147483600,0"}},
       1024,
       std::nullopt,
       unchanged},
      {"a width past the integers (found by fuzz_settings)",
       bsSizeable,
       {{"NormPos", "-2147483640,20,210,120"}},
       1024,
       std::nullopt,
       unchanged},
      {"a height past the integers",
       bsSizeable,
       {{"NormPos", "0,-2147483000,100,2147483000"}},
       1024,
       std::nullopt,
       unchanged},
  };
  for (const Case& c : cases) {
    Start();
    screen.width = c.screenWidth;
    for (const auto& [name, text] : c.values) Put(name, text);
    Create([&](TTestForm& f) { f.SetBorderStyle(c.border); })->Show();
    std::optional<std::string> placement;
    for (const std::string& call : Window().calls) {
      if (call.rfind("SetPlacement", 0) == 0) placement = call;
    }
    EXPECT_EQ(placement, c.placement) << c.what;
    EXPECT_EQ(form->BoundsRect(), c.bounds) << c.what;
    EXPECT_EQ(Window().left, c.bounds.Left) << c.what;
    EXPECT_TRUE(Window().visible) << c.what;
    EXPECT_EQ(Window().calls.back(), "Show 5") << c.what;
  }
}

TEST_F(FormStorageTest, ShowCmdSetsTheStateOrMinimisesTheWholeApplication) {
  struct Case {
    const char* showCmd;
    bool mainWindow;
    TWindowState state;
    bool applicationMinimised;
  };
  const Case cases[] = {
      {"1", true, wsNormal, false},     {"2", true, wsNormal, true},
      {"6", true, wsNormal, true},      {"7", true, wsNormal, true},
      {"2", false, wsMinimized, false}, {"3", false, wsMaximized, false},
      {"5", false, wsNormal, false},    {"9", false, wsNormal, false},
      {"0", false, wsNormal, false},    {"4", false, wsNormal, false},
      {"abc", false, wsNormal, false},
  };
  for (const Case& c : cases) {
    Start();
    Put("ShowCmd", c.showCmd);
    if (!c.mainWindow) application->CreateForm<TForm>();  // the first window is the main one
    Create()->Show();
    EXPECT_EQ(form->WindowState(), c.state) << c.showCmd;
    EXPECT_EQ(windows->applicationWindow->postedSysCommands,
              c.applicationMinimised ? std::vector<std::uint32_t>{platform::kScMinimize}
                                     : std::vector<std::uint32_t>{})
        << c.showCmd;
    const int shown = c.state == wsMinimized   ? platform::kSwMinimize
                      : c.state == wsMaximized ? platform::kSwShowMaximized
                                               : platform::kSwShow;
    EXPECT_EQ(windows->windows.back()->calls.back(), "Show " + std::to_string(shown)) << c.showCmd;
  }
}

TEST_F(FormStorageTest, SavedShowCmdIsTwoWhileTheApplicationIsMinimised) {
  Create()->Show();
  Window().placementFlags = platform::kWpfSetMinPosition;
  Window().minX = -32000;
  Window().minY = -32000;
  windows->applicationWindow->minimized = true;
  form->Close();
  EXPECT_EQ(Stored("ShowCmd"), "2");
  EXPECT_EQ(Stored("Flags"), "1");
  EXPECT_EQ(Stored("MinMaxPos"), "-32000,-32000,-1,-1");

  // Another window of a minimised application keeps its own show command.
  Start();
  windows->applicationWindow->minimized = true;
  application->CreateForm<TForm>();
  Create()->Show();
  form->Close();
  EXPECT_EQ(Stored("ShowCmd"), "1");
}

TEST_F(FormStorageTest, PlacementTheSystemDoesNotTellIsNotWritten) {
  Put("NormPos", "300,200,0,0");
  Create()->Show();
  Window().refusePlacement = true;
  registry->ClearLog();
  form->Close();
  EXPECT_EQ(
      registry->SetValueNames(),
      (std::vector<std::string>{"FormVersion", "Visible", "Label1_Caption", "CheckBox1_Checked"}));
  EXPECT_EQ(Stored("NormPos"), "300,200,0,0");
}

TEST_F(FormStorageTest, WithoutWindowsTheListedValuesAreStillKept) {
  Start(/*withWindows=*/false);
  Put("Label1_Caption", "saved");
  Put("NormPos", "300,200,0,0");
  Create()->Show();
  EXPECT_EQ(form->Label1->Caption(), "saved");
  EXPECT_EQ(form->Left(), 10);
  registry->ClearLog();
  form->Close();
  EXPECT_EQ(
      registry->SetValueNames(),
      (std::vector<std::string>{"FormVersion", "Visible", "Label1_Caption", "CheckBox1_Checked"}));
}

TEST_F(FormStorageTest, InactiveStoreOrOneWithoutTheRegistryKeepsNothing) {
  Put("Label1_Caption", "saved");
  Create([](TTestForm& f) { f.FormStorage1->SetActive(false); })->Show();
  form->Close();
  EXPECT_EQ(form->Label1->Caption(), "one");
  EXPECT_EQ(form->restores, 0);
  EXPECT_TRUE(registry->Opens().empty());

  Start();
  Create([](TTestForm& f) { f.FormStorage1->SetUseRegistry(false); })->Show();
  form->Close();
  EXPECT_EQ(form->Label1->Caption(), "one");
  EXPECT_EQ(form->restores, 1);
  EXPECT_TRUE(registry->Opens().empty());
}

TEST_F(FormStorageTest, SectionAndKeyCanBeNamed) {
  Create([](TTestForm& f) {
    f.FormStorage1->SetIniFileName("Software\\Other");
    f.FormStorage1->SetIniSection("Window");
    f.FormStorage1->SetRegistryRoot(prLocalMachine);
    f.FormStorage1->SetOptions({});
  })->Show();
  form->Close();
  EXPECT_EQ(registry->ValueNames(platform::kHkeyLocalMachine, "Software\\Other\\Window"),
            (std::vector<std::string>{"CheckBox1_Checked", "FormVersion", "Label1_Caption"}));
}

}  // namespace
