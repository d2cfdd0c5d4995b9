// Colour-scheme files: the two text encodings, the read loop and the mended faults.

#include "options/ColorScheme.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fakes/FakeFileSystem.h"
#include "framework/Exception.h"
#include "framework/TypInfo.h"
#include "gauge/RarBar.h"

#if defined(_WIN32)
#include <cstdio>

#include "platform/win32/Win32FileSystem.h"
#endif

namespace {

// The colours a bar has right after "Reset Bar": the purple-blue scheme on black, the font
// "Small Fonts", 9-pixel characters, bold, purple.
void Reset(TRarBar& bar) {
  bar.SetColorScheme(rcPurpleBlue);
  bar.SetColor(clBlack);
  TFont* font = bar.Font();
  font->SetCharset(ANSI_CHARSET);
  font->SetName("Small Fonts");
  font->SetHeight(-9);
  font->SetStyle({fsBold});
  font->SetColor(clPurple);
}

TColor ColorOf(const TRarBar& bar, std::string_view name) {
  return static_cast<TColor>(GetOrdProp(bar, GetPropInfo(bar, name)));
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.what();
  }
  return "(no error)";
}

constexpr const char* kResetColours =
    "$007A408CI$0064408CIclBlackI$00C06868I$00DF8080I$00A06868I$00BF8080I$00FFB0B0I"
    "$00A060A0I$008060A0I$00D060E0I$00823C96I$008848C0I$00E06868I$00FF8080I$00FF8080I";
constexpr const char* kResetFont = "\"Small Fonts\", 7, [Bold], [clPurple]";

TEST(ColorSchemeTest, ASaveRightAfterResetIsTheTwoKnownLines) {
  TRarBar bar(nullptr);
  Reset(bar);
  EXPECT_EQ(scheme::ColorsToText(bar), kResetColours);
  EXPECT_EQ(scheme::FontToText(*bar.Font()), kResetFont);
  const std::string file = scheme::SaveScheme(bar);
  EXPECT_EQ(file, std::string(kResetColours) + "\r\n" + kResetFont);
  EXPECT_EQ(file.size(), 158u + 2u + 36u);
}

TEST(ColorSchemeTest, ASavedSchemeLoadsBackIntoAnotherBar) {
  TRarBar source(nullptr);
  Reset(source);
  source.SetTopColor(clInfoBk);  // a name holding the separator: written as a number
  source.SetFilledColor(-1);
  source.Font()->SetName("Arial, Narrow");  // a face holding a comma
  source.Font()->SetStyle({fsItalic, fsStrikeOut});
  const std::string file = scheme::SaveScheme(source);
  EXPECT_NE(file.find("$80000018I"), std::string::npos);
  EXPECT_NE(file.find("$FFFFFFFFI"), std::string::npos);

  TRarBar target(nullptr);
  scheme::LoadScheme(file, target);
  for (const std::string_view name : scheme::kColorProperties) {
    EXPECT_EQ(ColorOf(target, name), ColorOf(source, name)) << name;
  }
  EXPECT_EQ(target.Font()->Name(), "Arial, Narrow");
  EXPECT_EQ(target.Font()->Size(), 7);
  EXPECT_EQ(target.Font()->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(target.Font()->Color(), clPurple);
}

TEST(ColorSchemeTest, ReadingTakesNamesInAnyCaseAndDecimalNumbers) {
  TRarBar bar(nullptr);
  std::string line = "CLBLACKI255I";
  for (int i = 2; i < 16; ++i) line += "clwhiteI";
  scheme::TextToColors(line + "extra", bar);
  EXPECT_EQ(ColorOf(bar, "BottomColor"), clBlack);
  EXPECT_EQ(ColorOf(bar, "BottomFrameColor"), 255);
  EXPECT_EQ(ColorOf(bar, "TopColor"), clWhite);
}

TEST(ColorSchemeTest, FontLines) {
  const struct {
    const char* line;
    const char* face;
    int size;
    TFontStyles style;
    TColor color;
  } cases[] = {
      {"\"Arial\", 10, [Bold|Underline], [clRed]", "Arial", 10, {fsBold, fsUnderline}, clRed},
      {"\"Arial\", 10, [], [$00123456]", "Arial", 10, {}, 0x123456},
      {"\"\", 8, [Strikeout|Italic], [255]", "Small Fonts", 8, {fsItalic, fsStrikeOut}, 255},
      {"\"Tahoma\", 9, [bold], [clblue]", "Tahoma", 9, {}, clBlue},  // styles are case-sensitive
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TFont font;
    font.SetName("Small Fonts");
    scheme::TextToFont(c.line, font);
    EXPECT_EQ(font.Name(), c.face);
    EXPECT_EQ(font.Size(), c.size);
    EXPECT_EQ(font.Style(), c.style);
    EXPECT_EQ(font.Color(), c.color);
  }
}

TEST(ColorSchemeTest, LinesEndAtLfOrCrLfAndByte26EndsTheText) {
  EXPECT_EQ(scheme::SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(scheme::SplitLines("a\rb\n"), (std::vector<std::string>{"ab"}));
  EXPECT_EQ(scheme::SplitLines("a\n\x1A"
                               "b\nc"),
            (std::vector<std::string>{"a"}));
  EXPECT_EQ(scheme::SplitLines(""), (std::vector<std::string>{}));
}

TEST(ColorSchemeTest, TheReadLoop) {
  std::string red = "clRedI";
  std::string colours;
  for (int i = 0; i < 16; ++i) colours += red;
  std::string blues;
  for (int i = 0; i < 16; ++i) blues += "clBlueI";
  const struct {
    const char* name;
    std::string text;
    TColor top;         // TopColor afterwards
    const char* face;   // the font's face afterwards
    const char* error;  // the error raised, or null
  } cases[] = {
      {"a comment first", "# mine\r\n" + colours + "\r\n\"Arial\", 8, [], [clRed]", clRed, "Arial",
       nullptr},
      {"several pairs: the last wins",
       colours + "\r\n\"Arial\", 8, [], [clRed]\r\n" + blues + "\r\n\"Tahoma\", 8, [], [clRed]",
       clBlue, "Tahoma", nullptr},
      {"an empty colour line", "\r\n\"Arial\", 8, [], [clRed]", clNone, "Arial", nullptr},
      {"a comment as the font line", colours + "\r\n# note\r\n\"Arial\", 8, [], [clRed]", clRed,
       "Start", "'' n'est pas une valeur entière correcte"},
      {"the file ends after its colour line", colours, clRed, "Start",
       "'' n'est pas une valeur entière correcte"},
      {"fewer than 16 tokens", "clRedIclRedI\r\n\"Arial\", 8, [], [clRed]", clNone, "Start",
       "'' n'est pas une valeur entière correcte"},
      {"an old file naming a colour with I", "clInfoBkI" + colours, clNone, "Start",
       "'cl' n'est pas une valeur entière correcte"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRarBar bar(nullptr);
    bar.SetTopColor(clNone);
    bar.Font()->SetName("Start");
    const std::string message = MessageOf([&] { scheme::LoadScheme(c.text, bar); });
    EXPECT_EQ(message, c.error != nullptr ? c.error : "(no error)");
    EXPECT_EQ(bar.TopColor(), c.top);
    EXPECT_EQ(bar.Font()->Name(), c.face);
  }
}

TEST(ColorSchemeTest, WithoutAClosingQuoteTheFirstCommaEndsTheFace) {
  // As the format has always been read: the face is taken up to the character before the comma
  // (where the closing quote would stand), and the rest is misread.
  TFont font;
  font.SetName("Start");
  const std::string message =
      MessageOf([&] { scheme::TextToFont("\"Arial, Narrow, 8, [], [clRed]", font); });
  EXPECT_EQ(font.Name(), "Aria");
  EXPECT_EQ(message, "'Narrow' n'est pas une valeur entière correcte");
}

TEST(ColorSchemeTest, FilesAreReplacedWholeAndFailuresSayWhy) {
  FakeFileSystem files;
  TRarBar bar(nullptr);
  Reset(bar);
  scheme::WriteTextFile(files, "C:\\schemes\\mine.cpu", scheme::SaveScheme(bar));
  EXPECT_EQ(files.files["C:\\schemes\\mine.cpu"], scheme::SaveScheme(bar));

  // A refused write keeps the old file.
  files.files["old.cpu"] = "kept";
  files.writeFailures["old.cpu"] = platform::kAccessDenied;
  EXPECT_EQ(MessageOf([&] { scheme::WriteTextFile(files, "old.cpu", scheme::SaveScheme(bar)); }),
            "Impossible de créer le fichier old.cpu");
  EXPECT_EQ(files.files["old.cpu"], "kept");

  const struct {
    platform::FileResult result;
    const char* message;
  } cases[] = {{platform::kFileNotFound, "Fichier introuvable"},
               {platform::kAccessDenied, "Accès au fichier refusé"},
               {32, "Erreur E/S 32"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    files.readFailures["x.cpu"] = c.result;
    bar.SetTopColor(clLime);
    EXPECT_EQ(MessageOf([&] { scheme::ReadSchemeFile(files, "x.cpu", bar); }), c.message);
    EXPECT_EQ(bar.TopColor(), clLime);
  }
  TRarBar loaded(nullptr);
  scheme::ReadSchemeFile(files, "C:\\schemes\\mine.cpu", loaded);
  EXPECT_EQ(loaded.BottomColor(), bar.BottomColor());
  EXPECT_EQ(loaded.Font()->Name(), "Small Fonts");
}

// The bytes of a scheme file are the text in the file port's ANSI code page (the fake's is
// Latin-1), read back as the same UTF-8.
TEST(ColorSchemeTest, FileBytesAreTheTextInTheSystemCodePage) {
  FakeFileSystem files;
  TRarBar bar(nullptr);
  Reset(bar);
  EXPECT_EQ(scheme::SchemeFileBytes(files, bar), scheme::SaveScheme(bar));  // ASCII: the same
  bar.Font()->SetName("Café ß");
  const std::string bytes = scheme::SchemeFileBytes(files, bar);
  EXPECT_NE(bytes.find("\"Caf\xE9 \xDF\", "), std::string::npos);
  files.files["cafe.cpu"] = bytes;
  TRarBar loaded(nullptr);
  scheme::ReadSchemeFile(files, "cafe.cpu", loaded);
  EXPECT_EQ(loaded.Font()->Name(), "Café ß");

  for (const char* face : {"€", "MS ゴシ"}) {
    SCOPED_TRACE(face);
    bar.Font()->SetName(face);
    EXPECT_EQ(MessageOf([&] { scheme::SchemeFileBytes(files, bar); }),
              std::string("Le nom de police '") + face +
                  "' ne peut pas être écrit dans la page de codes du système");
  }
}

#if defined(_WIN32)
// The real file system under Windows: a replace leaves only the new file, a missing file names
// its reason.
TEST(ColorSchemeTest, TheWindowsFileSystemReplacesWhole) {
  platform::win32::Win32FileSystem files;
  const std::string name = "tamik-scheme-test.cpu";
  TRarBar bar(nullptr);
  Reset(bar);
  scheme::WriteTextFile(files, name, scheme::SaveScheme(bar));
  bar.SetTopColor(clLime);
  scheme::WriteTextFile(files, name, scheme::SaveScheme(bar));
  std::string text;
  ASSERT_EQ(files.ReadFile(name, text), platform::kFileOk);
  EXPECT_EQ(text, scheme::SaveScheme(bar));
  EXPECT_NE(files.ReadFile(name + ".~new", text), platform::kFileOk);
  EXPECT_EQ(MessageOf([&] { scheme::ReadSchemeFile(files, "no-such-scheme.cpu", bar); }),
            "Fichier introuvable");
  std::remove(name.c_str());
}

// The real file port in the system's ANSI code page (1252 in Wine's default prefix): a face and
// a file name outside ASCII go to the file and come back, and a face the code page lacks is
// refused with the program's message.
TEST(ColorSchemeTest, TheWindowsFileSystemKeepsFacesAndNamesOfItsCodePage) {
  platform::win32::Win32FileSystem files;
  std::string euro;
  if (!files.ToAnsi("€", euro) || euro != "\x80") GTEST_SKIP() << "not code page 1252";
  const std::string name = "tamik-ségoe.cpu";
  TRarBar bar(nullptr);
  Reset(bar);
  bar.Font()->SetName("Ségoe");
  scheme::WriteTextFile(files, name, scheme::SchemeFileBytes(files, bar));
  // The C library opens files by their names in the ANSI code page: the same file.
  std::FILE* file = std::fopen("tamik-s\xE9goe.cpu", "rb");
  ASSERT_NE(file, nullptr);
  std::string bytes(512, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  EXPECT_NE(bytes.find("\r\n\"S\xE9goe\", "), std::string::npos);
  TRarBar loaded(nullptr);
  scheme::ReadSchemeFile(files, name, loaded);
  EXPECT_EQ(loaded.Font()->Name(), "Ségoe");

  bar.Font()->SetName("MS ゴシック");
  EXPECT_EQ(MessageOf([&] { scheme::SchemeFileBytes(files, bar); }),
            "Le nom de police 'MS ゴシック' ne peut pas être écrit dans la page de codes du "
            "système");
  std::remove("tamik-s\xE9goe.cpu");
}
#endif

}  // namespace
