// The text-encoding rule against the real system (Wine in the test tier, ANSI code page 1252):
// the conversions of the backend's boundary, what the user reads in the error box and in window
// texts, and non-ASCII data round trips through the registry and the executable's path (scheme
// files: ColorSchemeTest). Sources are UTF-8, so a literal here is the program's text.

#ifdef _WIN32

#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/DialogDriver.h"
#include "support/Win32Screen.h"

// Shows the framework's error for StrToInt("abc") through an application on `windows` titled
// `title` (Win32TextErrorBox.cpp: the framework's headers and <windows.h> do not mix).
void ShowStrToIntErrorBox(platform::IWindowSystem& windows, const std::string& title);

namespace {

using platform::win32::FromAnsi;
using platform::win32::Narrow;
using platform::win32::ToAnsi;
using platform::win32::WholeCharacters;
using platform::win32::Widen;
using testsupport::DialogDriver;
using testsupport::Pump;

const std::string kSegoe = "Ségoe";
const std::string kGothic = "MS ゴシック";

TEST(Win32TextTest, ConvertsBetweenUtf8AndUtf16) {
  const struct {
    std::string utf8;
    std::wstring utf16;
  } cases[] = {
      {"", L""},
      {"Tamik", L"Tamik"},
      {"'abc' n'est pas une valeur entière correcte.",
       L"'abc' n'est pas une valeur entière correcte."},
      {"C:\\Users\\Zoë\\Tamik.exe", L"C:\\Users\\Zo\u00EB\\Tamik.exe"},
      {kGothic, L"MS \u30B4\u30B7\u30C3\u30AF"},
      {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},  // beyond the first plane: a surrogate pair
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},  // zeros are characters like others
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Widen(c.utf8), c.utf16);
    EXPECT_EQ(Narrow(c.utf16), c.utf8);
  }
}

TEST(Win32TextTest, MalformedTextBecomesReplacementCharacters) {
  // A cut sequence at the very end: nothing past the view's end is read (the byte after it in
  // the buffer would complete the character).
  const std::string buffer = "Zo\xC3\xAB";
  EXPECT_EQ(Widen(std::string_view(buffer).substr(0, 3)), L"Zo\uFFFD");
  EXPECT_EQ(Widen("a\xFF"
                  "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Narrow(std::wstring(L"a\xD800"
                                L"b")),
            "a\xEF\xBF\xBD"
            "b");  // unpaired surrogate
}

TEST(Win32TextTest, CutsAtWholeCharacters) {
  const struct {
    std::string text;
    std::size_t kept;
  } cases[] = {{"", 0},
               {"abc", 3},
               {"Zo\xC3\xAB", 4},
               {"Zo\xC3", 2},
               {"\xE3\x82\xB4\xE3\x82", 3},
               {"\xF0\x9F\x98", 0},
               {"\xF0\x9F\x98\x80", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(WholeCharacters(c.text), std::string_view(c.text).substr(0, c.kept));
  }
  // A fixed field keeps a surrogate pair whole or leaves it out.
  wchar_t field[4] = {L'x', L'x', L'x', L'x'};
  platform::win32::CopyToField("ab\xF0\x9F\x98\x80", field, 4);
  EXPECT_EQ(std::wstring(field), L"ab");
  EXPECT_EQ(platform::win32::NarrowField(field, 4), "ab");
}

TEST(Win32TextTest, AnsiCodePageHoldsWhatItCanAndSaysWhatItCannot) {
  // Wine's default prefix has code page 1252; the bytes below are that code page's.
  if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
  std::string ansi;
  ASSERT_TRUE(ToAnsi(kSegoe, ansi));
  EXPECT_EQ(ansi, "S\xE9goe");
  ASSERT_TRUE(ToAnsi("€", ansi));
  EXPECT_EQ(ansi, "\x80");
  EXPECT_EQ(FromAnsi("S\xE9goe \x80"), "Ségoe €");
  EXPECT_FALSE(ToAnsi(kGothic, ansi));
  EXPECT_FALSE(ToAnsi("Zo\xC3", ansi));  // malformed UTF-8 has no faithful form
  ASSERT_TRUE(ToAnsi("", ansi));
  EXPECT_EQ(ansi, "");
}

// The static text of a message box (Wine's and Windows' both hold it in a "Static" child).
BOOL CALLBACK TakeStaticText(HWND hwnd, LPARAM data) {
  wchar_t className[16] = {};
  GetClassNameW(hwnd, className, 16);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  if (text[0] == L'\0') return TRUE;  // the icon
  *reinterpret_cast<std::wstring*>(data) = text;
  return FALSE;
}

platform::win32::Win32WindowSystem& Windows() {
  // Never destroyed, like the other Win32 tests' windows: Wine takes about 2 s to destroy a shown
  // top-level window, and the process's end takes it.
  static auto* const windows = new platform::win32::Win32WindowSystem;
  return *windows;
}

// The framework's conversion error, shown by the application through the real error box, reads
// as the program wrote it.
TEST(Win32TextTest, ErrorBoxShowsTheMessageAsWritten) {
  std::wstring caption;
  std::wstring text;
  DialogDriver driver;
  driver.Run(
      [&] {
        ShowStrToIntErrorBox(Windows(), "Tamik – Zoë");
        return true;
      },
      [&](HWND box) {
        wchar_t title[64] = {};
        GetWindowTextW(box, title, 64);
        caption = title;
        EnumChildWindows(box, &TakeStaticText, reinterpret_cast<LPARAM>(&text));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      });
  ASSERT_TRUE(driver.appeared());
  EXPECT_TRUE(driver.closed());
  EXPECT_EQ(Narrow(text), "'abc' n'est pas une valeur entière correcte.");
  EXPECT_EQ(text, L"'abc' n'est pas une valeur enti\u00E8re correcte.");
  EXPECT_EQ(Narrow(caption), "Tamik – Zoë");
}

class NoEvents final : public platform::IWindowEvents {
 public:
  void NativePaint() override {}
  void NativeMouse(const platform::MouseInput&) override {}
  void NativeContextMenu(int, int) override {}
  void NativeClose() override {}
  bool NativeQueryEndSession() override { return true; }
};

// Window texts set through the peers read back from the system as the program's text.
TEST(Win32TextTest, WindowTextsReadBackAsSet) {
  static NoEvents events;
  platform::WindowParams params;
  params.style = WS_POPUP;
  params.text = "Définition";
  static platform::IWindowPeer* const peer = Windows().CreateWindowPeer(params, events).release();
  const HWND hwnd = reinterpret_cast<HWND>(peer->Handle().value);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowUnicode(hwnd));
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  EXPECT_EQ(Narrow(text), "Définition");
  peer->SetText(kGothic);
  GetWindowTextW(hwnd, text, 64);
  EXPECT_EQ(Narrow(text), kGothic);
}

// Reads a value whole through the port, as the settings store does: the size, then the bytes.
std::string ReadThroughPort(platform::IRegistry& registry, platform::RegKey key, const char* name,
                            std::uint32_t* type = nullptr) {
  std::uint32_t size = 0;
  if (registry.QueryValue(key, name, type, nullptr, &size) != platform::kErrorSuccess) return "?";
  std::string data(size, '\0');
  if (registry.QueryValue(key, name, type, reinterpret_cast<std::uint8_t*>(data.data()), &size) !=
      platform::kErrorSuccess) {
    return "?";
  }
  data.resize(size);
  return data;
}

TEST(Win32TextTest, RegistryTextRoundTripsAndReadsWhatAnsiBuildsWrote) {
  platform::win32::Win32Registry registry;
  const std::string keyName = "Software\\TamikTextTest\\Zoë";
  platform::RegKey key{};
  ASSERT_EQ(registry.CreateKey(platform::kHkeyCurrentUser, keyName.c_str(), platform::kKeyAllAccess,
                               &key),
            platform::kErrorSuccess);
  const platform::ScopedRegKey scoped(registry, key);

  for (const std::string& value : {kSegoe, kGothic, std::string("Small Fonts")}) {
    SCOPED_TRACE(value);
    const std::string name = "Fönt " + value;
    ASSERT_EQ(registry.SetValue(key, name.c_str(), platform::kRegSz,
                                reinterpret_cast<const std::uint8_t*>(value.c_str()),
                                static_cast<std::uint32_t>(value.size() + 1)),
              platform::kErrorSuccess);
    std::uint32_t type = 0;
    EXPECT_EQ(ReadThroughPort(registry, key, name.c_str(), &type), value + '\0');
    EXPECT_EQ(type, platform::kRegSz);
    // The registry holds the characters, not bytes of one code page.
    wchar_t stored[64] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegQueryValueExW(reinterpret_cast<HKEY>(key.value), Widen(name).c_str(), nullptr,
                               nullptr, reinterpret_cast<BYTE*>(stored), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), Widen(value));
  }

  // A buffer too small answers "more data" and the size the value needs.
  std::uint32_t size = 3;
  std::uint8_t small[3] = {};
  const std::string name = "Fönt " + kGothic;
  EXPECT_EQ(registry.QueryValue(key, name.c_str(), nullptr, small, &size),
            platform::kErrorMoreData);
  EXPECT_EQ(size, kGothic.size() + 1);

  // What an earlier build wrote through the ANSI call reads as the same text; ASCII sizes are
  // the ones the ANSI call answers.
  if (GetACP() == 1252) {
    const char ansi[] = "S\xE9goe";
    ASSERT_EQ(RegSetValueExA(reinterpret_cast<HKEY>(key.value), "Earlier", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(ansi), sizeof ansi),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadThroughPort(registry, key, "Earlier"), kSegoe + '\0');
  }
  ASSERT_EQ(RegSetValueExA(reinterpret_cast<HKEY>(key.value), "Ascii", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>("abc"), 4),
            ERROR_SUCCESS);
  DWORD ansiSize = 0;
  ASSERT_EQ(RegQueryValueExA(reinterpret_cast<HKEY>(key.value), "Ascii", nullptr, nullptr, nullptr,
                             &ansiSize),
            ERROR_SUCCESS);
  EXPECT_EQ(ReadThroughPort(registry, key, "Ascii"), std::string("abc", 4));
  EXPECT_EQ(ansiSize, 4u);

  EXPECT_EQ(registry.DeleteValue(key, name.c_str()), platform::kErrorSuccess);
  EXPECT_EQ(ReadThroughPort(registry, key, name.c_str()), "?");
  EXPECT_EQ(registry.DeleteKey(platform::kHkeyCurrentUser, keyName.c_str()),
            platform::kErrorSuccess);
  registry.DeleteKey(platform::kHkeyCurrentUser, "Software\\TamikTextTest");
}

TEST(Win32TextTest, ExecutablePathIsTheSystemsPathInUtf8) {
  platform::win32::Win32System system;
  const std::string path = system.ExecutablePath();
  wchar_t wide[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, wide, MAX_PATH), 0u);
  EXPECT_EQ(path, Narrow(wide));
  EXPECT_NE(GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

#endif  // _WIN32
