// The options dialog's Colors page: the colour list, the preview, the colour and font dialogs,
// reset and apply, and saving and opening scheme files through the dialogs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFormFixture.h"
#include "app/Program.h"
#include "framework/Dialogs.h"
#include "framework/TypInfo.h"
#include "options/ColorScheme.h"
#include "options/Options.h"

namespace {

constexpr std::uint32_t kBtnFaceValue = 0x00C8D0D4;  // what the fake system shows for clBtnFace
constexpr std::uint32_t kHighlightValue = 0x006A240A;

const std::vector<std::string> kColorNames = {
    "BottomColor",      "BottomFrameColor", "Color",
    "EmptyColor1",      "EmptyColor2",      "EmptyFrameColor1",
    "EmptyFrameColor2", "EmptyLineColor",   "FilledColor",
    "FilledFrameColor", "FilledLineColor",  "FilledSideColor1",
    "FilledSideColor2", "SideColor1",       "SideColor2",
    "TopColor",
};

// The example file: saved right after "Reset Bar" at 96 pixels per inch.
const std::string kResetScheme =
    "$007A408CI$0064408CIclBlackI$00C06868I$00DF8080I$00A06868I$00BF8080I$00FFB0B0I"
    "$00A060A0I$008060A0I$00D060E0I$00823C96I$008848C0I$00E06868I$00FF8080I$00FF8080I"
    "\r\n\"Small Fonts\", 7, [Bold], [clPurple]";

class ColorsPageTest : public MainFormFixture {
 protected:
  ColorsPageTest() {
    screen.sysColors[15] = kBtnFaceValue;    // COLOR_BTNFACE
    screen.sysColors[13] = kHighlightValue;  // COLOR_HIGHLIGHT
    screen.sysColors[14] = 0x00FFFFFF;       // COLOR_HIGHLIGHTTEXT
    screen.sysColors[5] = 0x00FFFFFF;        // COLOR_WINDOW
    ForceCurrentDirectory = false;
  }

  // The program's start, then the dialog shown from the main window's menu.
  void StartAll() {
    Run();
    option = CreateOptionsDialog(*application, *form);
  }
  void StartAndShow() {
    StartAll();
    form->Options1->Click();
  }
  void Reopen() {
    option->Close();
    form->Options1->Click();
  }
  std::vector<std::string> ListItems() const {
    std::vector<std::string> items;
    for (int i = 0; i < option->ComboBox1->ItemCount(); ++i) {
      items.push_back(option->ComboBox1->Items(i));
    }
    return items;
  }
  // Chooses a list item as the user does, on the widget.
  void Choose(const std::string& name) {
    for (int i = 0; i < option->ComboBox1->ItemCount(); ++i) {
      if (option->ComboBox1->Items(i) == name) {
        windows.WidgetOf(option->ComboBox1->Widget()).Choose(i);
        return;
      }
    }
    FAIL() << name << " is not in the list";
  }
  // Presses a button as the user does: errors end in the error box.
  void Press(TSpeedButton* button) { windows.WidgetOf(button->Widget()).Click(); }
  static TColor ColorOf(const TRarBar& bar, const std::string& name) {
    return static_cast<TColor>(GetOrdProp(bar, GetPropInfo(bar, name)));
  }
  std::vector<std::string> ErrorTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.messageBoxes) texts.push_back(box.text);
    return texts;
  }

  TOption* option = nullptr;
};

TEST_F(ColorsPageTest, TheLayoutOfThePage) {
  StartAndShow();
  EXPECT_EQ(option->RarBar1->Parent(), option->TabSheet2);
  EXPECT_EQ(option->RarBar1->BoundsRect(), (TRect{8, 0, 81, 134}));
  EXPECT_EQ(option->RarBar1->Progress(), 50);
  EXPECT_EQ(option->RarBar2->BoundsRect(), (TRect{56, 96, 65, 105}));
  EXPECT_EQ(option->RarBar2->Color(), clBlack);
  EXPECT_EQ(option->Label12->Caption(), "Preview");
  EXPECT_TRUE(option->Label12->Font()->Style().Contains(fsBold));
  const struct {
    TSpeedButton* button;
    TRect bounds;
    const char* caption;
  } buttons[] = {
      {option->SpeedButton6, {88, 0, 113, 25}, ""},
      {option->SpeedButton7, {112, 0, 137, 25}, ""},
      {option->SpeedButton3, {176, 24, 257, 49}, "Change Colors"},
      {option->SpeedButton2, {176, 56, 257, 81}, "Change Fonts"},
      {option->SpeedButton5, {88, 128, 169, 153}, "Reset Bar"},
      {option->SpeedButton4, {176, 128, 257, 153}, "Apply Changes"},
  };
  for (const auto& b : buttons) {
    EXPECT_EQ(b.button->BoundsRect(), b.bounds) << b.caption;
    EXPECT_EQ(b.button->Caption(), b.caption);
  }
  EXPECT_EQ(option->SpeedButton6->Hint(), "Open");
  EXPECT_EQ(option->SpeedButton7->Hint(), "Save");
  // The picture buttons show their 16 x 16 pictures on the button face.
  const FakeWidget& open = windows.WidgetOf(option->SpeedButton6->Widget());
  ASSERT_EQ(open.params.picture.size(), 256u);
  EXPECT_EQ(open.params.pictureWidth, 16);
  EXPECT_EQ(open.params.picture[0], TBitmap::PixelFromRgb(kBtnFaceValue));
  EXPECT_EQ(open.params.hint, "Open");  // the tooltip
  EXPECT_EQ(windows.WidgetOf(option->SpeedButton7->Widget()).params.hint, "Save");
  const FakeWidget& list = windows.WidgetOf(option->ComboBox1->Widget());
  EXPECT_EQ(list.params.kind, platform::WidgetKind::ComboBox);
  EXPECT_EQ(list.params.parent, windows.WidgetOf(option->TabSheet2->Widget()).Handle());
  EXPECT_EQ(list.params.left, 144);
  EXPECT_EQ(list.params.width, 113);
  EXPECT_EQ(list.params.itemHeight, 13);
}

TEST_F(ColorsPageTest, EveryShowListsTheSixteenColoursWithNothingSelected) {
  StartAll();
  form->RarBar1->SetTopColor(clRed);
  form->Options1->Click();
  EXPECT_EQ(ListItems(), kColorNames);
  EXPECT_EQ(option->ComboBox1->ItemIndex(), -1);
  EXPECT_EQ(option->ComboBox1->Text(), "");
  const FakeWidget& list = windows.WidgetOf(option->ComboBox1->Widget());
  EXPECT_EQ(list.params.items, kColorNames);
  EXPECT_EQ(list.params.value, -1);
  // The preview took every colour of the main window's first bar.
  for (const std::string& name : kColorNames) {
    EXPECT_EQ(ColorOf(*option->RarBar1, name), ColorOf(*form->RarBar1, name)) << name;
  }

  // "Change Colors" with nothing selected asks nothing.
  Press(option->SpeedButton3);
  EXPECT_TRUE(dialogs.calls.empty());
  // A selection is gone after the dialog is shown again.
  Choose("TopColor");
  EXPECT_EQ(option->ComboBox1->Text(), "TopColor");
  Reopen();
  EXPECT_EQ(option->ComboBox1->ItemIndex(), -1);
  EXPECT_EQ(ListItems(), kColorNames);
}

TEST_F(ColorsPageTest, ChangeColorsPresetsTheCurrentValueAndTakesThePick) {
  StartAndShow();
  Choose("Color");
  // The preview's background is a system colour: the dialog shows its present value.
  ASSERT_EQ(option->RarBar1->Color(), form->RarBar1->Color());
  form->RarBar1->SetColor(clBtnFace);
  Reopen();
  option->PageControl1->SetActivePage(option->TabSheet2);
  Choose("Color");
  dialogs.colorAnswer = FakeDialogs::PickColor(0x0000FF);
  const int copiesBefore = windows.WidgetOf(option->TabSheet2->Widget()).copies;
  Press(option->SpeedButton3);
  ASSERT_EQ(dialogs.colorPresets.size(), 1u);
  EXPECT_EQ(dialogs.colorPresets[0], kBtnFaceValue);
  EXPECT_EQ(dialogs.lastOwner, option->Peer()->Handle());
  EXPECT_EQ(option->RarBar1->Color(), clRed);
  // The preview and the list were drawn again at once.
  EXPECT_GT(windows.WidgetOf(option->TabSheet2->Widget()).copies, copiesBefore);
  EXPECT_EQ(windows.WidgetOf(option->ComboBox1->Widget()).repaints, 1);
  // The main window is not touched until Apply.
  EXPECT_EQ(form->RarBar1->Color(), clBtnFace);

  // A cancel changes nothing.
  dialogs.colorAnswer = nullptr;
  Press(option->SpeedButton3);
  EXPECT_EQ(option->RarBar1->Color(), clRed);
}

TEST_F(ColorsPageTest, EachItemIsASwatchOfThePreviewsColour) {
  StartAndShow();
  option->RarBar1->SetColor(clRed);
  option->RarBar1->SetTopColor(clBtnFace);
  FakeWidget& list = windows.WidgetOf(option->ComboBox1->Widget());
  const struct {
    int index;
    bool selected;
    std::uint32_t swatch;  // 0x00RRGGBB
  } cases[] = {
      {2, false, 0xFF0000},                               // Color: red
      {15, false, TBitmap::PixelFromRgb(kBtnFaceValue)},  // TopColor: the system's value
      {2, true, 0xFF0000},                                // selected: still the swatch
  };
  for (const auto& c : cases) {
    const std::vector<std::uint32_t> pixels = list.DrawItem(c.index, c.selected);
    ASSERT_EQ(pixels.size(), 113u * 13u);
    // The swatch fills the item; the name is written on it from the top-left corner.
    EXPECT_EQ(pixels[112], c.swatch) << c.index;
    EXPECT_EQ(pixels[113 * 13 - 1], c.swatch) << c.index;
    const auto ink =
        std::count_if(pixels.begin(), pixels.end(), [&](std::uint32_t p) { return p != c.swatch; });
    EXPECT_GT(ink, 10) << "the name is written on the swatch";
  }
  // The selected item's name is in the highlight text colour (white), the others' in the
  // list's text colour.
  const std::vector<std::uint32_t> selected = list.DrawItem(2, true);
  EXPECT_NE(std::find(selected.begin(), selected.end(), 0xFFFFFFu), selected.end());
  // An item that names no property of the bar is left to its background.
  option->ComboBox1->AddItem("NoSuchColour");
  const std::vector<std::uint32_t> none = list.DrawItem(16, false);
  EXPECT_EQ(std::count(none.begin(), none.end(), 0xFFFFFFu), 113 * 13);
}

TEST_F(ColorsPageTest, ResetAndApplyGiveTheMainWindowTheInitialColouringOnBlack) {
  StartAndShow();
  Choose("FilledColor");
  dialogs.colorAnswer = FakeDialogs::PickColor(0x00FF00);
  Press(option->SpeedButton3);
  ASSERT_EQ(option->RarBar1->FilledColor(), clLime);

  Press(option->SpeedButton5);
  EXPECT_EQ(option->RarBar1->Color(), clBlack);
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Small Fonts");
  Press(option->SpeedButton4);

  TRarBar reference(nullptr);
  reference.SetColorScheme(rcPurpleBlue);
  for (TRarBar* bar : {form->RarBar1, form->RarBar2}) {
    for (const std::string& name : kColorNames) {
      if (name == "Color") continue;
      EXPECT_EQ(ColorOf(*bar, name), ColorOf(reference, name)) << name;
    }
    EXPECT_EQ(bar->Color(), clBlack);
    EXPECT_EQ(bar->Font()->Name(), "Small Fonts");
    EXPECT_EQ(bar->Font()->Height(), -9);
    EXPECT_EQ(bar->Font()->Color(), clPurple);
    EXPECT_EQ(bar->Font()->Charset(), ANSI_CHARSET);
  }
  EXPECT_EQ(form->Color(), clBlack);
  EXPECT_EQ(form->Label7->Caption(), "0");
}

TEST_F(ColorsPageTest, ApplyWithTransparentFormKeysTheWindowOnThePreviewsBackground) {
  StartAndShow();
  const struct {
    bool transparentForm;
    TColor keyAfter;
  } cases[] = {{true, clMaroon}, {false, clWhite}};
  for (const auto& c : cases) {
    form->SetTransparentColorValue(clWhite);
    option->CheckBox5->SetChecked(c.transparentForm);
    option->RarBar1->SetColor(clMaroon);
    Press(option->SpeedButton4);
    EXPECT_EQ(form->TransparentColorValue(), c.keyAfter) << c.transparentForm;
    EXPECT_EQ(form->Color(), clMaroon);
    EXPECT_EQ(form->Label7->Caption(), "128");
  }
  // A system colour goes into the slot as its negative number.
  option->RarBar1->SetColor(clBtnFace);
  Press(option->SpeedButton4);
  EXPECT_EQ(form->Label7->Caption(), "-2147483633");
}

TEST_F(ColorsPageTest, AFontChangeOutlivesAReopenWhileColourChangesDoNot) {
  StartAndShow();
  dialogs.fontAnswer = [](platform::WidgetFont& font) {
    font.name = "Arial";
    font.height = -12;
    font.bold = false;
    font.italic = true;
    font.color = 0x000080;
    return true;
  };
  Press(option->SpeedButton2);
  // The dialog was preset with the preview's font.
  ASSERT_EQ(dialogs.fontPresets.size(), 1u);
  const platform::WidgetFont& preset = dialogs.fontPresets[0];
  EXPECT_EQ(preset.name, "Small Fonts");
  EXPECT_EQ(preset.height, -9);
  EXPECT_TRUE(preset.bold);
  EXPECT_EQ(preset.charset, ANSI_CHARSET);
  EXPECT_EQ(preset.color, 0x800080u);
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Arial");

  Choose("TopColor");
  dialogs.colorAnswer = FakeDialogs::PickColor(0x00FF00);
  Press(option->SpeedButton3);
  ASSERT_EQ(option->RarBar1->TopColor(), clLime);

  Reopen();
  Press(option->SpeedButton4);
  for (TRarBar* bar : {form->RarBar1, form->RarBar2}) {
    EXPECT_EQ(bar->Font()->Name(), "Arial");
    EXPECT_EQ(bar->Font()->Height(), -12);
    EXPECT_EQ(bar->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(bar->Font()->Color(), clMaroon);
    EXPECT_NE(bar->TopColor(), clLime);
  }

  // A cancelled font dialog changes nothing.
  dialogs.fontAnswer = nullptr;
  Press(option->SpeedButton2);
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Arial");
}

TEST_F(ColorsPageTest, SavingRightAfterResetWritesTheExampleFile) {
  screen.pixelsPerInch = 96;
  StartAndShow();
  Press(option->SpeedButton5);
  dialogs.saveAnswer = FakeDialogs::PickFile("C:\\schemes\\reset.cpu");
  Press(option->SpeedButton7);
  ASSERT_EQ(files.files.count("C:\\schemes\\reset.cpu"), 1u);
  const std::string& saved = files.files["C:\\schemes\\reset.cpu"];
  EXPECT_EQ(saved, kResetScheme);
  EXPECT_EQ(saved.size(), 158u + 2u + 36u);
  // The dialog: the scheme filter and extension, starting in the current directory.
  ASSERT_EQ(dialogs.filePresets.size(), 1u);
  EXPECT_EQ(dialogs.filePresets[0].filter, "Tamik Files (*.cpu)|*.cpu");
  EXPECT_EQ(dialogs.filePresets[0].defaultExt, "cpu");
  EXPECT_EQ(dialogs.filePresets[0].initialDir, dialogs.currentDirectory);
  EXPECT_TRUE(ForceCurrentDirectory);

  // Saving again replaces the file without a question; a cancel writes nothing.
  option->RarBar1->SetColor(clRed);
  Press(option->SpeedButton7);
  EXPECT_EQ(files.files["C:\\schemes\\reset.cpu"].substr(20, 5), "clRed");
  dialogs.saveAnswer = nullptr;
  option->RarBar1->SetColor(clBlue);
  Press(option->SpeedButton7);
  EXPECT_EQ(files.files["C:\\schemes\\reset.cpu"].substr(20, 5), "clRed");
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(ColorsPageTest, ASaveThatCannotBeWrittenIsReportedAndLosesNothing) {
  StartAndShow();
  files.files["C:\\locked.cpu"] = "old scheme";
  files.writeFailures["C:\\locked.cpu"] = platform::kAccessDenied;
  dialogs.saveAnswer = FakeDialogs::PickFile("C:\\locked.cpu");
  Press(option->SpeedButton7);
  EXPECT_EQ(ErrorTexts(),
            std::vector<std::string>{"Impossible de créer le fichier C:\\locked.cpu."});
  EXPECT_EQ(files.files["C:\\locked.cpu"], "old scheme");
}

// Scheme files are text in the system's ANSI code page (the fake's is Latin-1): a face it holds
// is written in it and comes back as it was; one it cannot hold is reported before the dialog,
// and nothing is written.
TEST_F(ColorsPageTest, FacesCrossTheFileInTheSystemCodePage) {
  StartAndShow();
  Press(option->SpeedButton5);
  option->RarBar1->Font()->SetName("Ségoe");
  dialogs.saveAnswer = FakeDialogs::PickFile("C:\\Zoë\\ségoe.cpu");
  Press(option->SpeedButton7);
  EXPECT_TRUE(windows.messageBoxes.empty());
  const std::string& saved = files.files["C:\\Zoë\\ségoe.cpu"];
  EXPECT_EQ(saved.substr(saved.find("\r\n") + 2, 9), "\"S\xE9goe\", ");
  option->RarBar1->Font()->SetName("Arial");
  dialogs.openAnswer = FakeDialogs::PickFile("C:\\Zoë\\ségoe.cpu");
  Press(option->SpeedButton6);
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Ségoe");

  const std::string gothic = "MS ゴシック";
  option->RarBar1->Font()->SetName(gothic);
  dialogs.filePresets.clear();
  dialogs.saveAnswer = FakeDialogs::PickFile("C:\\gothic.cpu");
  Press(option->SpeedButton7);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Le nom de police '" + gothic +
                                                   "' ne peut pas être écrit dans "
                                                   "la page de codes du système."});
  EXPECT_TRUE(dialogs.filePresets.empty());
  EXPECT_EQ(files.files.count("C:\\gothic.cpu"), 0u);
}

TEST_F(ColorsPageTest, OpeningLoadsTheFileIntoThePreviewOnly) {
  StartAndShow();
  files.files["C:\\red.cpu"] =
      "# a red background\r\n" + std::string(kResetScheme).replace(20, 7, "clRed");
  dialogs.openAnswer = FakeDialogs::PickFile("C:\\red.cpu");
  const int repaints = windows.WidgetOf(option->ComboBox1->Widget()).repaints;
  Press(option->SpeedButton6);
  EXPECT_TRUE(windows.messageBoxes.empty());
  EXPECT_EQ(option->RarBar1->Color(), clRed);
  EXPECT_EQ(option->RarBar1->TopColor(), static_cast<TColor>(0x00FF8080));
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Small Fonts");
  EXPECT_EQ(form->RarBar1->Color(), clWhite);
  EXPECT_EQ(windows.WidgetOf(option->ComboBox1->Widget()).repaints, repaints + 1);
  ASSERT_EQ(dialogs.filePresets.size(), 1u);
  EXPECT_EQ(dialogs.filePresets[0].filter, "Tamik Files (*.cpu)|*.cpu");
  EXPECT_EQ(dialogs.filePresets[0].initialDir, dialogs.currentDirectory);

  // A cancel loads nothing but draws the list again all the same.
  dialogs.openAnswer = nullptr;
  option->RarBar1->SetColor(clBlue);
  Press(option->SpeedButton6);
  EXPECT_EQ(option->RarBar1->Color(), clBlue);
  EXPECT_EQ(windows.WidgetOf(option->ComboBox1->Widget()).repaints, repaints + 2);
}

TEST_F(ColorsPageTest, AFailedOpenShowsTheReasonAndKeepsWhatWasRead) {
  StartAndShow();
  files.files["C:\\short.cpu"] = "clRedIclRedIclRedI";  // fewer than 16 tokens
  files.readFailures["C:\\denied.cpu"] = platform::kAccessDenied;
  const struct {
    const char* name;
    const char* message;
    TColor colorAfter;  // the preview's background afterwards (it starts blue)
  } cases[] = {
      {"C:\\missing.cpu", "Fichier introuvable.", clBlue},
      {"C:\\denied.cpu", "Accès au fichier refusé.", clBlue},
      {"C:\\short.cpu", "'' n'est pas une valeur entière correcte.", clRed},
  };
  for (const auto& c : cases) {
    windows.messageBoxes.clear();
    option->RarBar1->SetColor(clBlue);
    dialogs.openAnswer = FakeDialogs::PickFile(c.name);
    Press(option->SpeedButton6);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{c.message}) << c.name;
    EXPECT_EQ(option->RarBar1->Color(), c.colorAfter) << c.name;
  }
}

TEST_F(ColorsPageTest, FileDialogsKeepAnInitialDirectoryAndWorkWithoutTheOption) {
  // The framework option alone decides where a dialog without a folder starts.
  StartAndShow();
  dialogs.openAnswer = FakeDialogs::PickFile("C:\\none.cpu");
  ASSERT_FALSE(ForceCurrentDirectory);
  EXPECT_TRUE(option->OpenDialog1->Execute());
  option->OpenDialog1->SetInitialDir("D:\\mine");
  ForceCurrentDirectory = true;
  EXPECT_TRUE(option->OpenDialog1->Execute());
  ASSERT_EQ(dialogs.filePresets.size(), 2u);
  EXPECT_EQ(dialogs.filePresets[0].initialDir, "");
  EXPECT_EQ(dialogs.filePresets[1].initialDir, "D:\\mine");
  EXPECT_EQ(option->OpenDialog1->FileName(), "C:\\none.cpu");
}

}  // namespace
