// The options dialog's Colors page: a preview bar whose 16 colours and font the user edits, a
// list of the colours drawn as swatches, and the buttons that reset the preview, apply it to the
// main window, and save or open it as a scheme file.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "framework/TypInfo.h"
#include "options/ColorScheme.h"
#include "options/Options.h"

namespace {

constexpr const char* kSchemeFilter = "Tamik Files (*.cpu)|*.cpu";
constexpr const char* kSchemeExt = "*.cpu";

// The buttons' pictures, 16 x 16, one character per pixel; "." is the transparent colour, which
// the bottom-left pixel carries.
constexpr std::array<std::string_view, 16> kOpenGlyph = {
    "................", "................", "................", ".KKKK...........",
    "KYYYYK..........", "KYYYYKKKKKKKK...", "KYYYYYYYYYYYK...", "KYYYKKKKKKKKKKK.",
    "KYYKOOOOOOOOOOK.", "KYKOOOOOOOOOOK..", "KYKOOOOOOOOOOK..", "KKOOOOOOOOOOK...",
    "KKOOOOOOOOOOK...", "KKKKKKKKKKKK....", "................", "................",
};
constexpr std::array<std::string_view, 16> kSaveGlyph = {
    "................", ".KKKKKKKKKKKKKK.", ".KNWWWWWWWWWWNK.", ".KNWWWWWWWWWWNK.",
    ".KNWKKKKKKKKWNK.", ".KNWWWWWWWWWWNK.", ".KNWKKKKKKKKWNK.", ".KNWWWWWWWWWWNK.",
    ".KNNNNNNNNNNNNK.", ".KNNSSSSSSSSNNK.", ".KNNSSKKSSSSNNK.", ".KNNSSKKSSSSNNK.",
    ".KNNSSKKSSSSNNK.", ".KNNSSSSSSSSNNK.", "..KKKKKKKKKKKKK.", "................",
};

TColor GlyphColor(char c) {
  switch (c) {
    case 'K':
      return clBlack;
    case 'Y':
      return clYellow;
    case 'O':
      return clOlive;
    case 'N':
      return clNavy;
    case 'W':
      return clWhite;
    case 'S':
      return clSilver;
    default:
      return clFuchsia;  // transparent
  }
}

TBitmap GlyphFromArt(const std::array<std::string_view, 16>& rows) {
  TBitmap glyph(16, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) glyph.SetPixel(x, y, GlyphColor(rows[y][x]));
  }
  return glyph;
}

// Property access by name through the bars' tables, as the list and the scheme files use it.
std::int64_t ReadColor(const TObject& bar, const std::string& name) {
  return GetOrdProp(bar, GetPropInfo(bar, name));
}
void WriteColor(TObject& bar, const std::string& name, std::int64_t value) {
  SetOrdProp(bar, GetPropInfo(bar, name), value);
}

}  // namespace

TRarBar* TOption::MakePreviewBar(const char* name, int left, int top, int width, int height,
                                 TColor background) {
  auto* bar = Make<TRarBar>(name, TabSheet2, left, top, width, height);
  bar->SetColorScheme(rcPurpleBlue);
  bar->SetColor(background);
  TFont* font = bar->Font();
  font->SetName("Small Fonts");
  font->SetHeight(-9);
  font->SetStyle({fsBold});
  font->SetCharset(ANSI_CHARSET);
  font->SetColor(clPurple);
  return bar;
}

void TOption::BuildColorsPage() {
  // The reset source lies under the preview and is never drawn: it only keeps the initial
  // colouring for "Reset Bar".
  RarBar2 = MakePreviewBar("RarBar2", 56, 96, 9, 9, clBlack);
  RarBar2->SetVisible(false);
  RarBar1 = MakePreviewBar("RarBar1", 8, 0, 73, 134, clBtnFace);
  RarBar1->SetProgress(50);
  Label12 = MakeLabel("Label12", TabSheet2, 0, 136, 60, "Preview");
  Label12->Font()->SetStyle({fsBold});

  SpeedButton6 = MakeButton("SpeedButton6", TabSheet2, 88, 0, 25, 25, "");
  SpeedButton6->SetHint("Open");
  SpeedButton6->SetGlyph(GlyphFromArt(kOpenGlyph));
  SpeedButton7 = MakeButton("SpeedButton7", TabSheet2, 112, 0, 25, 25, "");
  SpeedButton7->SetHint("Save");
  SpeedButton7->SetGlyph(GlyphFromArt(kSaveGlyph));
  ComboBox1 = Make<TComboBox>("ComboBox1", TabSheet2, 144, 0, 113, 19);
  ComboBox1->SetStyle(csOwnerDrawFixed);
  ComboBox1->SetItemHeight(13);
  SpeedButton3 = MakeButton("SpeedButton3", TabSheet2, 176, 24, 81, 25, "Change Colors");
  SpeedButton2 = MakeButton("SpeedButton2", TabSheet2, 176, 56, 81, 25, "Change Fonts");
  SpeedButton5 = MakeButton("SpeedButton5", TabSheet2, 88, 128, 81, 25, "Reset Bar");
  SpeedButton4 = MakeButton("SpeedButton4", TabSheet2, 176, 128, 81, 25, "Apply Changes");

  ColorDialog1 = new TColorDialog(this);
  ColorDialog1->SetName("ColorDialog1");
  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName("FontDialog1");
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter(kSchemeFilter);
  OpenDialog1->SetDefaultExt(kSchemeExt);
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  SaveDialog1->SetFilter(kSchemeFilter);
  SaveDialog1->SetDefaultExt(kSchemeExt);

  ComboBox1->OnDrawItem = [this](TWinControl* control, int index, TRect rect,
                                 TOwnerDrawState state) {
    ComboBox1DrawItem(control, index, rect, state);
  };
  SpeedButton3->OnClick = [this](TObject* sender) { SpeedButton3Click(sender); };
  SpeedButton2->OnClick = [this](TObject* sender) { SpeedButton2Click(sender); };
  SpeedButton5->OnClick = [this](TObject* sender) { SpeedButton5Click(sender); };
  SpeedButton4->OnClick = [this](TObject* sender) { SpeedButton4Click(sender); };
  SpeedButton6->OnClick = [this](TObject* sender) { SpeedButton6Click(sender); };
  SpeedButton7->OnClick = [this](TObject* sender) { SpeedButton7Click(sender); };
}

platform::IFileSystem& TOption::Files() const { return PortsOf(this).Files; }

void TOption::LoadPreview() {
  ComboBox1->ClearItems();
  for (const TPropInfo* prop : RarBar1->ClassType().SortedProperties()) {
    if (prop->Kind() == TTypeKind::Integer && SameText(prop->Type->Name, "Tcolor")) {
      ComboBox1->AddItem(std::string(prop->Name));
    }
  }
  const TRarBar& source = main_.FirstBar();
  for (int i = 0; i < ComboBox1->ItemCount(); ++i) {
    const std::string& name = ComboBox1->Items(i);
    WriteColor(*RarBar1, name, ReadColor(source, name));
  }
  RarBar1->SetColor(source.Color());
  RarBar1->Repaint();
}

void TOption::ComboBox1DrawItem(TWinControl*, int index, TRect rect, TOwnerDrawState) {
  if (index < 0 || index >= ComboBox1->ItemCount()) return;
  const std::string& name = ComboBox1->Items(index);
  const TPropInfo* prop = RarBar1->ClassType().FindProperty(name);
  if (prop == nullptr || prop->Kind() != TTypeKind::Integer) return;
  TCanvas& canvas = *ComboBox1->Canvas();
  canvas.Brush().Color = static_cast<TColor>(GetOrdProp(*RarBar1, *prop));
  canvas.FillRect(rect);
  canvas.TextOut(rect.Left, rect.Top, name);
}

void TOption::SpeedButton3Click(TObject*) {
  const std::string name = ComboBox1->Text();
  const TPropInfo* prop = RarBar1->ClassType().FindProperty(name);
  if (name.empty() || prop == nullptr || prop->Kind() != TTypeKind::Integer) return;
  ColorDialog1->SetColor(static_cast<TColor>(GetOrdProp(*RarBar1, *prop)));
  if (!ColorDialog1->Execute()) return;
  SetOrdProp(*RarBar1, *prop, ColorDialog1->Color());
  RarBar1->Repaint();
  ComboBox1->Repaint();
}

void TOption::SpeedButton2Click(TObject*) {
  FontDialog1->Font()->Assign(*RarBar1->Font());
  if (!FontDialog1->Execute()) return;
  RarBar1->Font()->Assign(*FontDialog1->Font());
  RarBar1->Repaint();
}

void TOption::SpeedButton5Click(TObject*) {
  for (int i = 0; i < ComboBox1->ItemCount(); ++i) {
    const std::string& name = ComboBox1->Items(i);
    WriteColor(*RarBar1, name, ReadColor(*RarBar2, name));
  }
  RarBar1->Font()->Assign(*RarBar2->Font());
  RarBar1->Repaint();
}

void TOption::SpeedButton4Click(TObject*) {
  std::vector<std::string> colours;
  colours.reserve(static_cast<std::size_t>(ComboBox1->ItemCount()));
  for (int i = 0; i < ComboBox1->ItemCount(); ++i) colours.push_back(ComboBox1->Items(i));
  main_.ApplyBarLook(*RarBar1, colours, CheckBox5->Checked());
}

void TOption::SpeedButton7Click(TObject*) {
  ForceCurrentDirectory = true;
  // Converted before the dialog: a face the file cannot hold is reported before a file is chosen.
  const std::string text = scheme::SchemeFileBytes(Files(), *RarBar1);
  if (!SaveDialog1->Execute()) return;
  scheme::WriteTextFile(Files(), SaveDialog1->FileName(), text);
}

void TOption::SpeedButton6Click(TObject*) {
  ForceCurrentDirectory = true;
  if (OpenDialog1->Execute()) scheme::ReadSchemeFile(Files(), OpenDialog1->FileName(), *RarBar1);
  ComboBox1->Repaint();
  RarBar1->Repaint();
}
