#pragma once
// An in-memory registry for tests.
//
// Each predefined root holds a tree of keys with typed values. Key and value names compare
// without regard to letter case, as in the Win32 registry; paths are backslash-separated. Opened
// keys are handles of their own, with the access they were opened with: reading a value needs
// kKeyQueryValue, writing or deleting one needs kKeySetValue.
//
// The performance-data root is a provider rather than a tree: a query of any value there answers
// the block the test set (kErrorMoreData while the caller's capacity is below its size), or a
// result the test forces. Answering never allocates, so a test can count the allocations of a
// sample.
//
// Tests arrange contents with the Put*/AddKey helpers, make calls fail with the Fail* helpers,
// and check what was touched through the call log.

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

class FakeRegistry : public platform::IRegistry {
 public:
  struct Value {
    std::uint32_t type = platform::kRegNone;
    std::vector<std::uint8_t> data;
  };

  // One OpenKey or CreateKey call. `path` is the full path of the key asked for, starting with
  // the root's name ("HKEY_DYN_DATA\PerfStats\StartStat").
  struct OpenRecord {
    std::string path;
    std::uint32_t access = 0;
    bool create = false;
    platform::RegResult result = platform::kErrorSuccess;
  };

  FakeRegistry();
  ~FakeRegistry() override;
  FakeRegistry(const FakeRegistry&) = delete;
  FakeRegistry& operator=(const FakeRegistry&) = delete;

  // IRegistry.
  platform::RegResult OpenKey(platform::RegKey parent, const char* subKey, std::uint32_t access,
                              platform::RegKey* result) override;
  platform::RegResult CreateKey(platform::RegKey parent, const char* subKey, std::uint32_t access,
                                platform::RegKey* result) override;
  platform::RegResult CloseKey(platform::RegKey key) override;
  platform::RegResult QueryValue(platform::RegKey key, const char* valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) override;
  platform::RegResult SetValue(platform::RegKey key, const char* valueName, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override;
  platform::RegResult DeleteValue(platform::RegKey key, const char* valueName) override;
  // A key with subkeys, or one that is open, is not deleted (kErrorAccessDenied).
  platform::RegResult DeleteKey(platform::RegKey parent, const char* subKey) override;

  // Contents. `root` is a predefined key; `path` is below it (empty for the root itself). The
  // helpers neither use nor log handles.
  void AddKey(platform::RegKey root, std::string_view path);
  bool HasKey(platform::RegKey root, std::string_view path) const;
  // Creates the key when missing; stores the bytes and type exactly as given.
  void PutValue(platform::RegKey root, std::string_view path, std::string_view name,
                std::uint32_t type, std::vector<std::uint8_t> data);
  // The text with its terminating zero, as RegSetValueExA stores REG_SZ and REG_EXPAND_SZ.
  void PutString(platform::RegKey root, std::string_view path, std::string_view name,
                 std::string_view text, std::uint32_t type = platform::kRegSz);
  // Four little-endian bytes of type REG_DWORD.
  void PutDword(platform::RegKey root, std::string_view path, std::string_view name,
                std::uint32_t value);
  void RemoveValue(platform::RegKey root, std::string_view path, std::string_view name);
  std::optional<Value> GetValue(platform::RegKey root, std::string_view path,
                                std::string_view name) const;
  // The value's bytes up to its first zero (or all of them); empty when the value is missing.
  std::optional<std::string> GetString(platform::RegKey root, std::string_view path,
                                       std::string_view name) const;
  // Names in case-insensitive order, spelt as first created; empty for a missing key.
  std::vector<std::string> ValueNames(platform::RegKey root, std::string_view path) const;
  std::vector<std::string> SubKeyNames(platform::RegKey root, std::string_view path) const;

  // The performance-data provider. SetPerformanceData sets the block every later query answers.
  // A forced result is answered instead, without touching the caller's buffer or byte count,
  // until cleared. A reported byte count replaces the true one in successful answers (to model a
  // system that misreports it).
  void SetPerformanceData(std::vector<std::uint8_t> block);
  void SetPerformanceResult(std::optional<platform::RegResult> forced);
  void SetPerformanceByteCount(std::optional<std::uint32_t> reported);
  int PerformanceQueryCount() const { return performanceQueries_; }
  // The value name, capacity and type request of the latest performance query.
  std::string LastPerformanceValueName() const;
  std::uint32_t LastPerformanceCapacity() const { return lastPerformanceCapacity_; }
  bool LastPerformanceQueryAskedType() const { return lastPerformanceAskedType_; }

  // Failure injection. OpenKey or CreateKey of the key at `path` below `root` answers `code`
  // (and creates nothing); the `nth` SetValue call from now on (1 = the next one) answers `code`
  // and stores nothing.
  void FailOpen(platform::RegKey root, std::string_view path, platform::RegResult code);
  // Opening or creating the key at `path` with more than read access answers "access denied"
  // (an ordinary user and a machine-wide key); opening it to read still succeeds.
  void DenyWriting(platform::RegKey root, std::string_view path);
  void FailCreate(platform::RegKey root, std::string_view path, platform::RegResult code);
  void FailSetValue(int nth, platform::RegResult code);
  // Every QueryValue of the value `name` in the key at `path` answers `code` and tells nothing
  // (neither type nor size), until cleared.
  void FailQueryValue(platform::RegKey root, std::string_view path, std::string_view name,
                      platform::RegResult code);
  // Every SetValue of a value named `name`, in any key, answers `code` and stores nothing, until
  // cleared: a refusal that lasts, as a value the user may not write does.
  void FailSetValueNamed(std::string_view name, platform::RegResult code);
  void ClearFailures();

  // The call log.
  const std::vector<OpenRecord>& Opens() const { return opens_; }
  // OpenKey and CreateKey calls (successful or not) that asked for the key at `path`.
  int OpenCount(platform::RegKey root, std::string_view path) const;
  // Successful closes of opened keys; closes of predefined roots; closes of unknown handles
  // (a key closed twice, for instance).
  int CloseCount() const { return closes_; }
  int RootCloseCount() const { return rootCloses_; }
  int InvalidCloseCount() const { return invalidCloses_; }
  // Keys opened and not yet closed, by full path.
  std::vector<std::string> OpenKeyPaths() const;
  int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
  int SetValueCount() const { return setValueCalls_; }
  // The value names of the SetValue calls, in order, failed ones included.
  const std::vector<std::string>& SetValueNames() const { return setValueNames_; }
  // Forgets the log (not the contents, handles or failures).
  void ClearLog();

 private:
  struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Node {
    std::map<std::string, std::unique_ptr<Node>, NameLess> children;
    std::map<std::string, Value, NameLess> values;
  };
  struct Handle {
    Node* node = nullptr;
    std::string path;
    std::uint32_t access = 0;
  };
  struct Location {
    Node* node = nullptr;
    std::string path;
  };

  Node* Root(platform::RegKey root) const;
  // The node and path of a predefined root or an open handle; null node when unknown.
  Location Resolve(platform::RegKey key) const;
  Node* Find(platform::RegKey root, std::string_view path) const;
  Node& Make(platform::RegKey root, std::string_view path);
  platform::RegResult Open(platform::RegKey parent, const char* subKey, std::uint32_t access,
                           platform::RegKey* result, bool create);
  platform::RegResult QueryPerformanceData(const char* valueName, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* size);
  std::string FullPath(platform::RegKey root, std::string_view path) const;

  std::map<std::uintptr_t, std::unique_ptr<Node>> roots_;
  std::map<std::uintptr_t, Handle> handles_;
  std::uintptr_t nextHandle_ = 0x1000;

  std::vector<std::uint8_t> performanceData_;
  std::optional<platform::RegResult> performanceResult_;
  std::optional<std::uint32_t> performanceByteCount_;
  int performanceQueries_ = 0;
  std::array<char, 64> lastPerformanceValueName_{};
  std::uint32_t lastPerformanceCapacity_ = 0;
  bool lastPerformanceAskedType_ = false;

  std::map<std::string, platform::RegResult, NameLess> openFailures_;
  std::set<std::string, NameLess> writeDenied_;
  std::map<std::string, platform::RegResult, NameLess> createFailures_;
  std::map<int, platform::RegResult> setValueFailures_;                 // by SetValue call number
  std::map<std::string, platform::RegResult, NameLess> queryFailures_;  // by "<key path>|<name>"
  std::map<std::string, platform::RegResult, NameLess> setValueNamedFailures_;
  int setValueSerial_ = 0;  // SetValue calls ever made; ClearLog leaves it alone

  std::vector<OpenRecord> opens_;
  int closes_ = 0;
  int rootCloses_ = 0;
  int invalidCloses_ = 0;
  int setValueCalls_ = 0;
  std::vector<std::string> setValueNames_;
};
