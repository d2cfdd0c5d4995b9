// The two settings stores of the program (the main window's and the options dialog's) when the
// registry refuses a step of a save or of a restore: what is reported, what stays stored, and
// that the windows still show and close and the program goes on.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "app/Program.h"
#include "options/Options.h"

namespace {

using platform::kHkeyCurrentUser;

constexpr const char* kKeyPath = "Software\\Tamik";
constexpr const char* kMainSection = "Software\\Tamik\\TMainForm";
constexpr const char* kOptionSection = "Software\\Tamik\\TOption";
constexpr std::int64_t kSecond = 10'000'000;  // 100-nanosecond units

enum class Store { kMain, kDialog };

// A refusal at one step of the registry access of a store.
enum class Refusal {
  kKeyPath,     // the key path cannot be opened or created
  kSection,     // the store's subkey cannot be created (save) or opened for reading (restore)
  kWriteValue,  // the value `name` cannot be written, however often it is tried
  kQueryValue,  // the value `name` cannot be read
  kWrongType,   // the value `name` is stored as a number, not as text
};

class StoreRefusalFixture : public MainFormFixture {
 protected:
  // The program's start: the main window shown by the message loop, then the dialog created.
  void StartAll() {
    Run();
    option = CreateOptionsDialog(*application, *form);
  }
  void ShowDialog() { form->Options1->Click(); }

  static const char* SectionOf(Store store) {
    return store == Store::kMain ? kMainSection : kOptionSection;
  }
  std::optional<std::string> Stored(Store store, const std::string& name) const {
    return registry.GetString(kHkeyCurrentUser, SectionOf(store), name);
  }
  void Refuse(Store store, Refusal refusal, const char* name, bool forSave) {
    const platform::RegResult denied = platform::kErrorAccessDenied;
    switch (refusal) {
      case Refusal::kKeyPath:
        registry.FailCreate(kHkeyCurrentUser, kKeyPath, denied);
        break;
      case Refusal::kSection:
        if (forSave) {
          registry.FailCreate(kHkeyCurrentUser, SectionOf(store), denied);
        } else {
          registry.FailOpen(kHkeyCurrentUser, SectionOf(store), denied);
        }
        break;
      case Refusal::kWriteValue:
        registry.FailSetValueNamed(name, denied);
        break;
      case Refusal::kQueryValue:
        registry.FailQueryValue(kHkeyCurrentUser, SectionOf(store), name, denied);
        break;
      case Refusal::kWrongType:
        registry.PutDword(kHkeyCurrentUser, SectionOf(store), name, 0);
        break;
    }
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.messageBoxes) texts.push_back(box.text);
    return texts;
  }

  TOption* option = nullptr;
};

// ---- Saves -------------------------------------------------------------------------------------

struct SaveCase {
  const char* what;
  Store store;
  Refusal refusal;
  const char* name;     // the refused value (kWriteValue)
  const char* box;      // the error box's text; null: none
  const char* earlier;  // a value saved before the refused step: still written; null: none
  const char* later;    // a value saved after it: not written; null: none
  bool destroySaves;    // whether the window's destruction saves again, once the registry lets it
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.what; }

const SaveCase kSaveCases[] = {
    {"main window: key path refused", Store::kMain, Refusal::kKeyPath, nullptr, nullptr, nullptr,
     "FormVersion", false},
    {"main window: subkey refused", Store::kMain, Refusal::kSection, nullptr,
     "Echec à la création de la clé TMainForm.", nullptr, "FormVersion", true},
    {"main window: first value refused", Store::kMain, Refusal::kWriteValue, "FormVersion",
     "Echec à la définition des données pour 'FormVersion'", nullptr, "NormPos", true},
    {"main window: Visible refused", Store::kMain, Refusal::kWriteValue, "Visible",
     "Echec à la définition des données pour 'Visible'", "NormPos", "RarBar1_Height", true},
    {"main window: a font's sub-value refused", Store::kMain, Refusal::kWriteValue,
     "RarBar1_FontStyle", "Echec à la définition des données pour 'RarBar1_FontStyle'",
     "RarBar1_FontSize", "RarBar2_FontCharset", true},
    {"main window: last value refused", Store::kMain, Refusal::kWriteValue, "Label7_Caption",
     "Echec à la définition des données pour 'Label7_Caption'", "RarBar2_BottomColor", nullptr,
     true},
    {"dialog: key path refused", Store::kDialog, Refusal::kKeyPath, nullptr, nullptr, nullptr,
     "FormVersion", false},
    {"dialog: subkey refused", Store::kDialog, Refusal::kSection, nullptr,
     "Echec à la création de la clé TOption.", nullptr, "FormVersion", true},
    {"dialog: first listed value refused", Store::kDialog, Refusal::kWriteValue,
     "PageControl1_ActivePage", "Echec à la définition des données pour 'PageControl1_ActivePage'",
     "Visible", "Slider1_Value", true},
    {"dialog: last value refused", Store::kDialog, Refusal::kWriteValue, "SpinEdit4_Value",
     "Echec à la définition des données pour 'SpinEdit4_Value'", "SpinEdit3_Value", nullptr, true},
};

class StoreSaveRefusalTest : public StoreRefusalFixture,
                             public ::testing::WithParamInterface<SaveCase> {};

TEST_P(StoreSaveRefusalTest, IsReportedStopsThereAndTheWindowClosesAnyway) {
  const SaveCase& c = GetParam();
  StartAll();
  if (c.store == Store::kDialog) ShowDialog();
  Refuse(c.store, c.refusal, c.name, true);
  TForm* window = c.store == Store::kMain ? static_cast<TForm*>(form) : option;
  window->Close();

  EXPECT_EQ(BoxTexts(),
            c.box != nullptr ? std::vector<std::string>{c.box} : std::vector<std::string>{});
  if (c.name != nullptr) {
    EXPECT_FALSE(Stored(c.store, c.name));
  }
  if (c.earlier != nullptr) {
    EXPECT_TRUE(Stored(c.store, c.earlier));
  }
  if (c.later != nullptr) {
    EXPECT_FALSE(Stored(c.store, c.later));
  }
  // Closed all the same: the main window ends the program, the dialog is hidden.
  EXPECT_EQ(application->Terminated(), c.store == Store::kMain);
  EXPECT_EQ(option->Visible(), false);
  EXPECT_EQ(registry.OpenKeyCount(), 0);

  // Nothing was saved since the window was shown, so its destruction saves again: everything,
  // as a window that was still open ("Visible" = "1").
  registry.ClearFailures();
  windows.messageBoxes.clear();
  application.reset();
  EXPECT_TRUE(windows.messageBoxes.empty());
  if (c.destroySaves) {
    EXPECT_EQ(Stored(c.store, "Visible"), "1");
    if (c.name != nullptr) {
      EXPECT_TRUE(Stored(c.store, c.name));
    }
  } else {
    EXPECT_TRUE(registry.ValueNames(kHkeyCurrentUser, SectionOf(c.store)).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, StoreSaveRefusalTest, ::testing::ValuesIn(kSaveCases));

// A refusal that lasts until the end: the program's end tries both stores again (the dialog was
// left open), reports each refusal in turn and still ends.
TEST_F(StoreRefusalFixture, ARefusalThatLastsIsReportedAgainWhenTheProgramEnds) {
  StartAll();
  ShowDialog();
  registry.FailCreate(kHkeyCurrentUser, kMainSection, platform::kErrorAccessDenied);
  registry.FailCreate(kHkeyCurrentUser, kOptionSection, platform::kErrorAccessDenied);
  form->Close();
  EXPECT_TRUE(application->Terminated());
  application.reset();  // the dialog goes first, then the main window
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Echec à la création de la clé TMainForm.",
                                                  "Echec à la création de la clé TOption.",
                                                  "Echec à la création de la clé TMainForm."}));
  EXPECT_EQ(registry.OpenKeyCount(), 0);
  EXPECT_FALSE(registry.HasKey(kHkeyCurrentUser, kMainSection));
}

// ---- Restores ----------------------------------------------------------------------------------
//
// Before the start the registry holds a position and one listed value for each store (the main
// window at 400, 300 with a refresh of 500 ms; the dialog at 500, 400 with its slider at 0). The
// refusal then decides what comes back.

struct RestoreCase {
  const char* what;
  Store store;
  Refusal refusal;
  const char* name;   // the value refused or stored as a number
  const char* box;    // the error box's text; null: none
  bool positionBack;  // the stored position is restored
  bool valueBack;     // the stored listed value is restored
  bool closeSaves;    // a close afterwards, the registry working again, writes the store
};

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.what; }

const RestoreCase kRestoreCases[] = {
    {"main window: key path refused", Store::kMain, Refusal::kKeyPath, nullptr, nullptr, false,
     false, true},
    // Read as missing: the layout values stay, and the next close writes them over the stored
    // ones.
    {"main window: subkey unreadable", Store::kMain, Refusal::kSection, nullptr, nullptr, false,
     false, true},
    {"main window: FormVersion unreadable", Store::kMain, Refusal::kQueryValue, "FormVersion",
     nullptr, true, true, true},
    {"main window: one listed value unreadable", Store::kMain, Refusal::kQueryValue,
     "Label3_Caption", nullptr, true, false, true},
    {"main window: position unreadable", Store::kMain, Refusal::kQueryValue, "NormPos", nullptr,
     false, true, true},
    {"main window: FormVersion not text", Store::kMain, Refusal::kWrongType, "FormVersion",
     "Type de données incorrect pour 'FormVersion'", false, false, false},
    {"main window: position not text", Store::kMain, Refusal::kWrongType, "NormPos",
     "Type de données incorrect pour 'NormPos'", false, false, false},
    {"main window: listed value not text", Store::kMain, Refusal::kWrongType, "Label3_Caption",
     nullptr, true, false, true},
    {"dialog: key path refused", Store::kDialog, Refusal::kKeyPath, nullptr, nullptr, false, false,
     true},
    {"dialog: subkey unreadable", Store::kDialog, Refusal::kSection, nullptr, nullptr, false, false,
     true},
    {"dialog: one listed value unreadable", Store::kDialog, Refusal::kQueryValue, "Slider1_Value",
     nullptr, true, false, true},
    {"dialog: FormVersion not text", Store::kDialog, Refusal::kWrongType, "FormVersion",
     "Type de données incorrect pour 'FormVersion'", false, false, false},
    {"dialog: flags not text", Store::kDialog, Refusal::kWrongType, "Flags",
     "Type de données incorrect pour 'Flags'", false, false, false},
};

class StoreRestoreRefusalTest : public StoreRefusalFixture,
                                public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(StoreRestoreRefusalTest, LeavesWhatItCannotReadAndTheWindowIsShown) {
  const RestoreCase& c = GetParam();
  registry.PutString(kHkeyCurrentUser, kMainSection, "NormPos", "400,300,0,0");
  registry.PutString(kHkeyCurrentUser, kMainSection, "Label3_Caption", "500");
  registry.PutString(kHkeyCurrentUser, kOptionSection, "NormPos", "500,400,0,0");
  registry.PutString(kHkeyCurrentUser, kOptionSection, "Slider1_Value", "0");

  if (c.store == Store::kMain) {
    Refuse(c.store, c.refusal, c.name, false);
    StartAll();
  } else {
    StartAll();
    ASSERT_EQ(form->Left(), 400);  // the main window's restore was not refused
    Refuse(c.store, c.refusal, c.name, false);
    ShowDialog();
  }
  TForm* window = c.store == Store::kMain ? static_cast<TForm*>(form) : option;

  EXPECT_EQ(BoxTexts(),
            c.box != nullptr ? std::vector<std::string>{c.box} : std::vector<std::string>{});
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(registry.OpenKeyCount(), 0);
  if (c.store == Store::kMain) {
    EXPECT_EQ(form->Left(), c.positionBack ? 400 : 198);
    EXPECT_EQ(form->Label3->Caption(), c.valueBack ? "500" : "1000");
    EXPECT_EQ(windows.RunningInterval(), c.valueBack ? 500u : 1000u);
    // The restore runs FormCreate again only when it got that far.
    EXPECT_EQ(FormCreateRuns(), c.box == nullptr ? 2 : 1);
  } else {
    EXPECT_EQ(option->Left(), c.positionBack ? 500 : 332);
    EXPECT_EQ(option->Slider1->Value(), c.valueBack ? 0 : 2);
    EXPECT_EQ(windows.RunningInterval(), c.valueBack ? 150u : 500u);
    // The dialog's own show handler runs whatever the store did: the colour list is filled.
    EXPECT_EQ(option->ComboBox1->ItemCount(), 16);
  }

  // The program goes on: a tick samples and reports nothing.
  Serve(1, {kSecond / 2, kSecond / 2});
  windows.FireTimers();
  EXPECT_EQ(form->RarBar1->Progress(), 50);
  EXPECT_EQ(BoxTexts().size(), c.box != nullptr ? 1u : 0u);

  registry.ClearFailures();
  registry.ClearLog();
  window->Close();
  EXPECT_EQ(registry.SetValueCount() > 0, c.closeSaves);
  if (!c.closeSaves) {
    // While no restore has succeeded, closes write nothing: the stored values stay as they were,
    // the one that stopped the restore included.
    EXPECT_EQ(registry.GetValue(kHkeyCurrentUser, SectionOf(c.store), c.name)->type,
              platform::kRegDword);
    if (c.store == Store::kMain) {
      EXPECT_EQ(Stored(c.store, "Label3_Caption"), "500");
    } else {
      EXPECT_EQ(Stored(c.store, "Slider1_Value"), "0");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, StoreRestoreRefusalTest, ::testing::ValuesIn(kRestoreCases));

}  // namespace
