// The in-memory registry behaves as the Win32 registry does where the program's modules rely on
// it; later tests of the settings store build on these guarantees.

#include "fakes/FakeRegistry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/AllocationCounter.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kHkeyPerformanceData;
using platform::RegKey;

class FakeRegistryTest : public testing::Test {
 protected:
  RegKey Open(RegKey parent, const char* path, std::uint32_t access) {
    RegKey key{};
    EXPECT_EQ(registry_.OpenKey(parent, path, access, &key), platform::kErrorSuccess) << path;
    return key;
  }

  FakeRegistry registry_;
};

TEST_F(FakeRegistryTest, NamesCompareWithoutLetterCase) {
  registry_.PutString(kHkeyCurrentUser, "Software\\Tamik\\MainForm", "Label7.Caption", "1000");
  const RegKey key = Open(kHkeyCurrentUser, "SOFTWARE\\tamik\\mainform", platform::kKeyRead);
  char text[16] = {};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof(text);
  EXPECT_EQ(registry_.QueryValue(key, "LABEL7.CAPTION", &type,
                                 reinterpret_cast<std::uint8_t*>(text), &size),
            platform::kErrorSuccess);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(size, 5u);  // with the terminating zero
  EXPECT_STREQ(text, "1000");
  EXPECT_EQ(registry_.OpenCount(kHkeyCurrentUser, "software\\TAMIK\\MainForm"), 1);
  // The first spelling stays.
  EXPECT_EQ(registry_.SubKeyNames(kHkeyCurrentUser, "software"), std::vector<std::string>{"Tamik"});
  registry_.CloseKey(key);
}

TEST_F(FakeRegistryTest, CreateKeyMakesEveryMissingLevelAndOpenKeyDoesNot) {
  RegKey key{};
  EXPECT_EQ(registry_.OpenKey(kHkeyCurrentUser, "Software\\A\\B", platform::kKeyRead, &key),
            platform::kErrorFileNotFound);
  EXPECT_FALSE(registry_.HasKey(kHkeyCurrentUser, "Software\\A"));
  EXPECT_EQ(registry_.CreateKey(kHkeyCurrentUser, "Software\\A\\B", platform::kKeyWrite, &key),
            platform::kErrorSuccess);
  EXPECT_TRUE(registry_.HasKey(kHkeyCurrentUser, "Software\\A\\B"));
  // A key opened below an open key.
  RegKey child{};
  EXPECT_EQ(registry_.CreateKey(key, "C", platform::kKeyAllAccess, &child),
            platform::kErrorSuccess);
  EXPECT_TRUE(registry_.HasKey(kHkeyCurrentUser, "Software\\A\\B\\C"));
  EXPECT_EQ(registry_.OpenKeyPaths(),
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\A\\B",
                                      "HKEY_CURRENT_USER\\Software\\A\\B\\C"}));
  registry_.CloseKey(child);
  registry_.CloseKey(key);
  EXPECT_EQ(registry_.OpenKeyCount(), 0);
}

TEST_F(FakeRegistryTest, QueryValueAnswersMoreDataWithTheSizeNeeded) {
  registry_.PutValue(kHkeyCurrentUser, "K", "V", 77, {1, 2, 3, 4, 5, 6});
  const RegKey key = Open(kHkeyCurrentUser, "K", platform::kKeyQueryValue);
  std::uint8_t data[8] = {};
  struct Case {
    std::uint32_t capacity;
    platform::RegResult result;
  };
  for (const Case c : {Case{5, platform::kErrorMoreData}, Case{6, platform::kErrorSuccess},
                       Case{8, platform::kErrorSuccess}}) {
    std::uint32_t size = c.capacity;
    std::uint32_t type = 0;
    EXPECT_EQ(registry_.QueryValue(key, "v", &type, data, &size), c.result) << c.capacity;
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, 77u);  // any type is kept as given
  }
  std::uint32_t size = 0;
  EXPECT_EQ(registry_.QueryValue(key, "V", nullptr, nullptr, &size), platform::kErrorSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(registry_.QueryValue(key, "W", nullptr, nullptr, &size), platform::kErrorFileNotFound);
  registry_.CloseKey(key);
}

TEST_F(FakeRegistryTest, AccessRightsOfTheHandleAreEnforced) {
  registry_.PutDword(kHkeyCurrentUser, "K", "V", 1);
  const std::uint8_t one = 1;
  std::uint32_t size = 4;
  std::uint8_t data[4];

  const RegKey reader = Open(kHkeyCurrentUser, "K", platform::kKeyRead);
  EXPECT_EQ(registry_.SetValue(reader, "V", platform::kRegBinary, &one, 1),
            platform::kErrorAccessDenied);
  EXPECT_EQ(registry_.DeleteValue(reader, "V"), platform::kErrorAccessDenied);
  const RegKey writer = Open(kHkeyCurrentUser, "K", platform::kKeyWrite);
  EXPECT_EQ(registry_.QueryValue(writer, "V", nullptr, data, &size), platform::kErrorAccessDenied);
  EXPECT_EQ(registry_.SetValue(writer, "V", platform::kRegBinary, &one, 1),
            platform::kErrorSuccess);
  EXPECT_EQ(registry_.GetValue(kHkeyCurrentUser, "K", "V")->data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(registry_.DeleteValue(writer, "v"), platform::kErrorSuccess);
  EXPECT_FALSE(registry_.GetValue(kHkeyCurrentUser, "K", "V"));
  registry_.CloseKey(reader);
  registry_.CloseKey(writer);
}

TEST_F(FakeRegistryTest, InjectedFailuresAnswerTheirCodeAndChangeNothing) {
  registry_.FailOpen(kHkeyLocalMachine, "Software\\X", platform::kErrorAccessDenied);
  registry_.FailCreate(kHkeyCurrentUser, "software\\y", platform::kErrorAccessDenied);
  registry_.AddKey(kHkeyLocalMachine, "Software\\X");
  RegKey key{};
  EXPECT_EQ(registry_.OpenKey(kHkeyLocalMachine, "SOFTWARE\\X", platform::kKeyRead, &key),
            platform::kErrorAccessDenied);
  EXPECT_EQ(registry_.CreateKey(kHkeyCurrentUser, "Software\\Y", platform::kKeyWrite, &key),
            platform::kErrorAccessDenied);
  EXPECT_FALSE(registry_.HasKey(kHkeyCurrentUser, "Software\\Y"));
  EXPECT_EQ(registry_.OpenKeyCount(), 0);
  EXPECT_EQ(registry_.Opens().back().result, platform::kErrorAccessDenied);

  // The second SetValue from now fails; the others store.
  registry_.ClearFailures();
  const RegKey writer = Open(kHkeyLocalMachine, "Software\\X", platform::kKeyAllAccess);
  registry_.FailSetValue(2, platform::kErrorAccessDenied);
  const char* names[] = {"A", "B", "C"};
  const platform::RegResult expected[] = {platform::kErrorSuccess, platform::kErrorAccessDenied,
                                          platform::kErrorSuccess};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(registry_.SetValue(writer, names[i], platform::kRegSz,
                                 reinterpret_cast<const std::uint8_t*>("v"), 2),
              expected[i])
        << names[i];
  }
  EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, "Software\\X"),
            (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(registry_.SetValueCount(), 3);
  registry_.CloseKey(writer);
}

TEST_F(FakeRegistryTest, DeleteKeyTakesOnlyAClosedKeyWithoutSubkeys) {
  registry_.AddKey(kHkeyCurrentUser, "Software\\A\\B");
  EXPECT_EQ(registry_.DeleteKey(kHkeyCurrentUser, "Software\\A"), platform::kErrorAccessDenied);
  const RegKey open = Open(kHkeyCurrentUser, "Software\\A\\B", platform::kKeyRead);
  EXPECT_EQ(registry_.DeleteKey(kHkeyCurrentUser, "Software\\A\\B"), platform::kErrorAccessDenied);
  registry_.CloseKey(open);
  EXPECT_EQ(registry_.DeleteKey(kHkeyCurrentUser, "software\\a\\b"), platform::kErrorSuccess);
  EXPECT_FALSE(registry_.HasKey(kHkeyCurrentUser, "Software\\A\\B"));
  EXPECT_EQ(registry_.DeleteKey(kHkeyCurrentUser, "Software\\A\\B"), platform::kErrorFileNotFound);
  EXPECT_EQ(registry_.DeleteKey(kHkeyCurrentUser, "Software\\A"), platform::kErrorSuccess);
}

TEST_F(FakeRegistryTest, ClosesAreCountedByKind) {
  registry_.AddKey(kHkeyCurrentUser, "K");
  const RegKey key = Open(kHkeyCurrentUser, "K", platform::kKeyRead);
  EXPECT_EQ(registry_.CloseKey(key), platform::kErrorSuccess);
  EXPECT_EQ(registry_.CloseKey(key), platform::kErrorInvalidHandle);
  EXPECT_EQ(registry_.CloseKey(kHkeyCurrentUser), platform::kErrorSuccess);
  EXPECT_EQ(registry_.CloseCount(), 1);
  EXPECT_EQ(registry_.InvalidCloseCount(), 1);
  EXPECT_EQ(registry_.RootCloseCount(), 1);
}

TEST_F(FakeRegistryTest, PerformanceProviderAnswersTheBlockWithoutAllocating) {
  const std::vector<std::uint8_t> block(100, 0xAB);
  registry_.SetPerformanceData(block);
  std::vector<std::uint8_t> buffer(200, 0);

  AllocationCounter counter;
  std::uint32_t size = 99;
  const platform::RegResult tooSmall =
      registry_.QueryValue(kHkeyPerformanceData, "238", nullptr, buffer.data(), &size);
  std::uint32_t sizeAfterMoreData = size;
  size = 200;
  const platform::RegResult fits =
      registry_.QueryValue(kHkeyPerformanceData, "238", nullptr, buffer.data(), &size);
  EXPECT_EQ(counter.Allocations(), 0u);

  EXPECT_EQ(tooSmall, platform::kErrorMoreData);
  EXPECT_EQ(sizeAfterMoreData, 0u);
  EXPECT_EQ(fits, platform::kErrorSuccess);
  EXPECT_EQ(size, 100u);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), buffer.begin()));
  EXPECT_EQ(registry_.PerformanceQueryCount(), 2);
  EXPECT_EQ(registry_.LastPerformanceValueName(), "238");

  registry_.SetPerformanceResult(platform::kErrorAccessDenied);
  size = 200;
  EXPECT_EQ(registry_.QueryValue(kHkeyPerformanceData, "238", nullptr, buffer.data(), &size),
            platform::kErrorAccessDenied);
  EXPECT_EQ(size, 200u);
}

}  // namespace
