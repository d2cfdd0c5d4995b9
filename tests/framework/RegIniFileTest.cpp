// The registry as an initialisation file. The same cases run on the in-memory registry and, in
// the Windows build, on the real one; failures that only the in-memory registry can be told to
// produce have tests of their own.

#include "framework/RegIniFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "framework/Exception.h"
#include "platform/NullPorts.h"
#include "support/Messages.h"

#if defined(_WIN32)
#include "platform/win32/Win32Registry.h"
#endif

namespace {

using platform::kHkeyCurrentUser;

struct FakeBackend {
  FakeRegistry registry;
};

#if defined(_WIN32)
struct Win32Backend {
  platform::win32::Win32Registry registry;
};
#endif

template <class Backend>
class RegIniFileTest : public ::testing::Test {
 protected:
  RegIniFileTest()
      : key_("Software\\TamikTests\\RegIniFile" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())) {}

  ~RegIniFileTest() override {
    // Leave nothing behind in a real registry: the sections, then the key.
    platform::RegKey key{};
    if (Registry().OpenKey(kHkeyCurrentUser, key_.c_str(), platform::kKeyAllAccess, &key) ==
        platform::kErrorSuccess) {
      for (const char* section : {"S", "T"}) {
        platform::RegKey sub{};
        if (Registry().OpenKey(key, section, platform::kKeyAllAccess, &sub) ==
            platform::kErrorSuccess) {
          for (const char* name : {"V", "W", "N"}) Registry().DeleteValue(sub, name);
          Registry().CloseKey(sub);
          Registry().DeleteKey(key, section);
        }
      }
      Registry().CloseKey(key);
    }
    Registry().DeleteKey(kHkeyCurrentUser, key_.c_str());
    Registry().DeleteKey(kHkeyCurrentUser, "Software\\TamikTests");  // when no other run uses it
  }

  platform::IRegistry& Registry() { return backend_.registry; }
  TRegIniFile Open() { return TRegIniFile(Registry(), kHkeyCurrentUser, key_); }

  // Stores raw bytes of any type in section S, as another program might have.
  void PutRaw(const char* name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    platform::RegKey key{};
    ASSERT_EQ(Registry().CreateKey(kHkeyCurrentUser, (key_ + "\\S").c_str(),
                                   platform::kKeyAllAccess, &key),
              platform::kErrorSuccess);
    EXPECT_EQ(
        Registry().SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())),
        platform::kErrorSuccess);
    Registry().CloseKey(key);
  }
  void PutText(const char* name, std::uint32_t type, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    PutRaw(name, type, data);
  }

  // The raw bytes and type of a value of section S.
  std::vector<std::uint8_t> Raw(const char* name, std::uint32_t* type) {
    platform::RegKey key{};
    std::vector<std::uint8_t> data(256);
    std::uint32_t size = static_cast<std::uint32_t>(data.size());
    if (Registry().OpenKey(kHkeyCurrentUser, (key_ + "\\S").c_str(), platform::kKeyRead, &key) !=
        platform::kErrorSuccess) {
      return {};
    }
    const platform::RegResult result = Registry().QueryValue(key, name, type, data.data(), &size);
    Registry().CloseKey(key);
    if (result != platform::kErrorSuccess) return {};
    data.resize(size);
    return data;
  }

  std::string key_;
  Backend backend_;
};

#if defined(_WIN32)
using Backends = ::testing::Types<FakeBackend, Win32Backend>;
#else
using Backends = ::testing::Types<FakeBackend>;
#endif
TYPED_TEST_SUITE(RegIniFileTest, Backends);

TYPED_TEST(RegIniFileTest, WritesStringValuesWithTheirTerminatingZero) {
  {
    TRegIniFile ini = this->Open();
    ASSERT_TRUE(ini.HasKey());
    ini.WriteString("S", "V", "Small Fonts");
    ini.WriteInteger("S", "N", -9);
    ini.WriteString("S", "W", "");
  }
  std::uint32_t type = 0;
  const std::string smallFonts = "Small Fonts";
  std::vector<std::uint8_t> expected(smallFonts.begin(), smallFonts.end());
  expected.push_back(0);
  EXPECT_EQ(this->Raw("V", &type), expected);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(this->Raw("N", &type), (std::vector<std::uint8_t>{'-', '9', 0}));
  EXPECT_EQ(this->Raw("W", &type), std::vector<std::uint8_t>{0});

  TRegIniFile ini = this->Open();
  EXPECT_EQ(ini.ReadString("S", "V", "?"), "Small Fonts");
  EXPECT_EQ(ini.ReadInteger("S", "N", 0), -9);
  EXPECT_EQ(ini.ReadValue("S", "W"), std::optional<std::string>(""));
}

TYPED_TEST(RegIniFileTest, MissingSectionOrValueAnswersTheDefault) {
  TRegIniFile ini = this->Open();
  EXPECT_EQ(ini.ReadValue("S", "V"), std::nullopt);
  EXPECT_EQ(ini.ReadString("S", "V", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("S", "V", 7), 7);
  ini.WriteString("S", "W", "x");
  EXPECT_EQ(ini.ReadString("S", "V", "dflt"), "dflt");
}

TYPED_TEST(RegIniFileTest, StringDataOfEveryShapeIsReadWithinItsBytes) {
  struct Case {
    const char* what;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string text;
  };
  const std::string longText(70000, 'x');
  std::vector<std::uint8_t> longData(longText.begin(), longText.end());
  longData.push_back(0);
  const Case cases[] = {
      {"expandable string, read as stored",
       platform::kRegExpandSz,
       {'%', 'P', 'A', 'T', 'H', '%', 0},
       "%PATH%"},
      {"no terminating zero", platform::kRegSz, {'a', 'b', 'c'}, "abc"},
      {"a zero inside", platform::kRegSz, {'a', 'b', 0, 'c', 'd', 0}, "ab"},
      {"no bytes at all", platform::kRegSz, {}, ""},
      {"longer than any buffer guess", platform::kRegSz, longData, longText},
  };
  for (const Case& c : cases) {
    this->PutRaw("V", c.type, c.data);
    TRegIniFile ini = this->Open();
    EXPECT_EQ(ini.ReadString("S", "V", "dflt"), c.text) << c.what;
  }
}

TYPED_TEST(RegIniFileTest, ValueOfAnotherTypeRaisesTheTypeError) {
  const std::vector<std::uint8_t> dword = {1, 0, 0, 0};
  for (const std::uint32_t type : {platform::kRegDword, platform::kRegBinary, platform::kRegNone}) {
    this->PutRaw("V", type, dword);
    TRegIniFile ini = this->Open();
    EXPECT_EQ(MessageOf([&] { ini.ReadString("S", "V", "dflt"); }),
              "Type de données incorrect pour 'V'")
        << type;
    EXPECT_EQ(MessageOf([&] { ini.ReadInteger("S", "V", 0); }),
              "Type de données incorrect pour 'V'")
        << type;
  }
}

TYPED_TEST(RegIniFileTest, IntegersAreDecimalTextWithBlanksAround) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {" 42 ", 42},       {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"4x", 7},          {"", 7},
      {"99999999999", 7}, {"\t-3\r\n", -3}};
  for (const Case& c : cases) {
    this->PutText("V", platform::kRegSz, c.text);
    TRegIniFile ini = this->Open();
    EXPECT_EQ(ini.ReadInteger("S", "V", 7), c.value) << "'" << c.text << "'";
  }
}

// Failures only the in-memory registry can be told to produce.
class RegIniFileFailureTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
};

TEST_F(RegIniFileFailureTest, KeyThatCannotBeCreatedReadsDefaultsAndWritesNothing) {
  registry.FailCreate(kHkeyCurrentUser, "Software\\App", platform::kErrorAccessDenied);
  {
    TRegIniFile ini(registry, kHkeyCurrentUser, "Software\\App");
    EXPECT_FALSE(ini.HasKey());
    EXPECT_EQ(ini.ReadString("S", "V", "dflt"), "dflt");
    EXPECT_NO_THROW(ini.WriteString("S", "V", "x"));
  }
  EXPECT_EQ(registry.SetValueCount(), 0);
  EXPECT_FALSE(registry.HasKey(kHkeyCurrentUser, "Software\\App"));

  TRegIniFile none(platform::NullRegistry(), kHkeyCurrentUser, "Software\\App");
  EXPECT_EQ(none.ReadInteger("S", "V", 5), 5);
  EXPECT_NO_THROW(none.WriteString("S", "V", "x"));
}

TEST_F(RegIniFileFailureTest, WriteFailuresNameTheSectionOrTheValue) {
  TRegIniFile ini(registry, kHkeyCurrentUser, "Software\\App");
  registry.FailCreate(kHkeyCurrentUser, "Software\\App\\S", platform::kErrorAccessDenied);
  EXPECT_EQ(MessageOf([&] { ini.WriteString("S", "V", "x"); }), "Echec à la création de la clé S");
  registry.ClearFailures();
  registry.FailSetValue(1, platform::kErrorAccessDenied);
  EXPECT_EQ(MessageOf([&] { ini.WriteString("S", "V", "x"); }),
            "Echec à la définition des données pour 'V'");
  EXPECT_FALSE(registry.GetValue(kHkeyCurrentUser, "Software\\App\\S", "V"));
}

TEST_F(RegIniFileFailureTest, SectionsOpenForReadingOnlyAndEveryKeyIsClosed) {
  registry.PutString(kHkeyCurrentUser, "Software\\App\\S", "V", "x");
  {
    TRegIniFile ini(registry, kHkeyCurrentUser, "Software\\App");
    ini.ReadString("S", "V", "");
    ini.WriteString("S", "W", "y");
    EXPECT_EQ(registry.OpenKeyCount(), 1);  // the key itself, until the object goes
  }
  EXPECT_EQ(registry.OpenKeyCount(), 0);
  std::vector<std::uint32_t> accesses;
  for (const FakeRegistry::OpenRecord& open : registry.Opens()) accesses.push_back(open.access);
  EXPECT_EQ(accesses, (std::vector<std::uint32_t>{platform::kKeyAllAccess, platform::kKeyRead,
                                                  platform::kKeyAllAccess}));
  EXPECT_TRUE(registry.Opens()[0].create);
  EXPECT_FALSE(registry.Opens()[1].create);
}

}  // namespace
