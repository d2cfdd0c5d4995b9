#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

using platform::RegKey;
using platform::RegResult;

namespace {

struct RootName {
  RegKey key;
  const char* name;
};

constexpr RootName kRootNames[] = {
    {platform::kHkeyClassesRoot, "HKEY_CLASSES_ROOT"},
    {platform::kHkeyCurrentUser, "HKEY_CURRENT_USER"},
    {platform::kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"},
    {platform::kHkeyUsers, "HKEY_USERS"},
    {platform::kHkeyPerformanceData, "HKEY_PERFORMANCE_DATA"},
    {platform::kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG"},
    {platform::kHkeyDynData, "HKEY_DYN_DATA"},
};

const char* NameOfRoot(RegKey root) {
  for (const RootName& entry : kRootNames) {
    if (entry.key == root) return entry.name;
  }
  return nullptr;
}

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The non-empty components of a backslash-separated path.
std::vector<std::string_view> Split(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string Join(std::string_view base, std::string_view path) {
  std::string result(base);
  for (std::string_view part : Split(path)) {
    result += '\\';
    result += part;
  }
  return result;
}

constexpr std::uint32_t kAllAccess = platform::kKeyAllAccess;

}  // namespace

bool FakeRegistry::NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

FakeRegistry::FakeRegistry() {
  for (const RootName& entry : kRootNames) {
    roots_[entry.key.value] = std::make_unique<Node>();
  }
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Root(RegKey root) const {
  const auto it = roots_.find(root.value);
  return it == roots_.end() ? nullptr : it->second.get();
}

FakeRegistry::Location FakeRegistry::Resolve(RegKey key) const {
  if (Node* root = Root(key)) return {root, NameOfRoot(key)};
  const auto it = handles_.find(key.value);
  if (it == handles_.end()) return {};
  return {it->second.node, it->second.path};
}

FakeRegistry::Node* FakeRegistry::Find(RegKey root, std::string_view path) const {
  Node* node = Root(root);
  for (std::string_view part : Split(path)) {
    if (node == nullptr) break;
    const auto it = node->children.find(part);
    node = it == node->children.end() ? nullptr : it->second.get();
  }
  return node;
}

FakeRegistry::Node& FakeRegistry::Make(RegKey root, std::string_view path) {
  Node* node = Root(root);
  if (node == nullptr) throw std::invalid_argument("FakeRegistry: not a predefined root");
  for (std::string_view part : Split(path)) {
    auto it = node->children.find(part);
    if (it == node->children.end()) {
      it = node->children.emplace(std::string(part), std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  return *node;
}

std::string FakeRegistry::FullPath(RegKey root, std::string_view path) const {
  const char* name = NameOfRoot(root);
  return Join(name != nullptr ? name : "?", path);
}

RegResult FakeRegistry::Open(RegKey parent, const char* subKey, std::uint32_t access,
                             RegKey* result, bool create) {
  const Location location = Resolve(parent);
  const std::string_view sub = subKey != nullptr ? subKey : "";
  OpenRecord record;
  record.path = location.node != nullptr ? Join(location.path, sub) : Join("?", sub);
  record.access = access;
  record.create = create;

  const auto finish = [&](RegResult code) {
    record.result = code;
    opens_.push_back(record);
    return code;
  };
  if (location.node == nullptr) return finish(platform::kErrorInvalidHandle);
  if (result == nullptr) return finish(platform::kErrorInvalidParameter);
  *result = RegKey{};

  const auto& failures = create ? createFailures_ : openFailures_;
  if (const auto it = failures.find(record.path); it != failures.end()) {
    return finish(it->second);
  }
  if ((access & ~platform::kKeyRead) != 0 && writeDenied_.contains(record.path)) {
    return finish(platform::kErrorAccessDenied);
  }

  Node* node = location.node;
  for (std::string_view part : Split(sub)) {
    auto it = node->children.find(part);
    if (it == node->children.end()) {
      if (!create) return finish(platform::kErrorFileNotFound);
      it = node->children.emplace(std::string(part), std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }

  const std::uintptr_t handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{node, record.path, access};
  *result = RegKey{handle};
  return finish(platform::kErrorSuccess);
}

RegResult FakeRegistry::OpenKey(RegKey parent, const char* subKey, std::uint32_t access,
                                RegKey* result) {
  return Open(parent, subKey, access, result, false);
}

RegResult FakeRegistry::CreateKey(RegKey parent, const char* subKey, std::uint32_t access,
                                  RegKey* result) {
  return Open(parent, subKey, access, result, true);
}

RegResult FakeRegistry::CloseKey(RegKey key) {
  if (platform::IsPredefinedKey(key)) {
    ++rootCloses_;
    return platform::kErrorSuccess;
  }
  if (handles_.erase(key.value) == 0) {
    ++invalidCloses_;
    return platform::kErrorInvalidHandle;
  }
  ++closes_;
  return platform::kErrorSuccess;
}

RegResult FakeRegistry::QueryPerformanceData(const char* valueName, std::uint32_t* type,
                                             std::uint8_t* data, std::uint32_t* size) {
  // Nothing here may allocate: tests count the allocations of a whole sample.
  ++performanceQueries_;
  lastPerformanceValueName_.fill('\0');
  if (valueName != nullptr) {
    std::strncpy(lastPerformanceValueName_.data(), valueName, lastPerformanceValueName_.size() - 1);
  }
  lastPerformanceCapacity_ = size != nullptr ? *size : 0;
  lastPerformanceAskedType_ = type != nullptr;

  if (performanceResult_) return *performanceResult_;
  if (size == nullptr) return platform::kErrorInvalidParameter;
  const std::uint32_t capacity = data != nullptr ? *size : 0;
  const auto blockSize = static_cast<std::uint32_t>(performanceData_.size());
  if (capacity < blockSize) {
    // Like the real system, the byte count answered with kErrorMoreData does not tell the size
    // needed.
    *size = 0;
    return platform::kErrorMoreData;
  }
  if (blockSize > 0) std::memcpy(data, performanceData_.data(), blockSize);
  *size = performanceByteCount_.value_or(blockSize);
  if (type != nullptr) *type = platform::kRegBinary;
  return platform::kErrorSuccess;
}

RegResult FakeRegistry::QueryValue(RegKey key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) {
  if (key == platform::kHkeyPerformanceData) {
    return QueryPerformanceData(valueName, type, data, size);
  }
  const Location location = Resolve(key);
  if (location.node == nullptr) return platform::kErrorInvalidHandle;
  const auto handle = handles_.find(key.value);
  const std::uint32_t access = handle != handles_.end() ? handle->second.access : kAllAccess;
  if ((access & platform::kKeyQueryValue) == 0) return platform::kErrorAccessDenied;
  if (!queryFailures_.empty()) {
    const auto failure =
        queryFailures_.find(location.path + "|" + (valueName != nullptr ? valueName : ""));
    if (failure != queryFailures_.end()) return failure->second;
  }

  const auto it =
      location.node->values.find(std::string_view(valueName != nullptr ? valueName : ""));
  if (it == location.node->values.end()) return platform::kErrorFileNotFound;
  if (data != nullptr && size == nullptr) return platform::kErrorInvalidParameter;
  const Value& value = it->second;
  const auto valueSize = static_cast<std::uint32_t>(value.data.size());
  if (type != nullptr) *type = value.type;
  if (data == nullptr) {
    if (size != nullptr) *size = valueSize;
    return platform::kErrorSuccess;
  }
  if (*size < valueSize) {
    *size = valueSize;
    return platform::kErrorMoreData;
  }
  if (valueSize > 0) std::memcpy(data, value.data.data(), valueSize);
  *size = valueSize;
  return platform::kErrorSuccess;
}

RegResult FakeRegistry::SetValue(RegKey key, const char* valueName, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
  ++setValueCalls_;
  ++setValueSerial_;
  setValueNames_.emplace_back(valueName != nullptr ? valueName : "");
  if (const auto it = setValueFailures_.find(setValueSerial_); it != setValueFailures_.end()) {
    return it->second;
  }
  if (const auto it = setValueNamedFailures_.find(setValueNames_.back());
      it != setValueNamedFailures_.end()) {
    return it->second;
  }
  if (key == platform::kHkeyPerformanceData) return platform::kErrorAccessDenied;
  const Location location = Resolve(key);
  if (location.node == nullptr) return platform::kErrorInvalidHandle;
  const auto handle = handles_.find(key.value);
  const std::uint32_t access = handle != handles_.end() ? handle->second.access : kAllAccess;
  if ((access & platform::kKeySetValue) == 0) return platform::kErrorAccessDenied;
  if (data == nullptr && size > 0) return platform::kErrorInvalidParameter;

  Value& value = location.node->values[std::string(valueName != nullptr ? valueName : "")];
  value.type = type;
  value.data.assign(data, data + size);
  return platform::kErrorSuccess;
}

RegResult FakeRegistry::DeleteValue(RegKey key, const char* valueName) {
  const Location location = Resolve(key);
  if (location.node == nullptr) return platform::kErrorInvalidHandle;
  const auto handle = handles_.find(key.value);
  const std::uint32_t access = handle != handles_.end() ? handle->second.access : kAllAccess;
  if ((access & platform::kKeySetValue) == 0) return platform::kErrorAccessDenied;
  const auto it =
      location.node->values.find(std::string_view(valueName != nullptr ? valueName : ""));
  if (it == location.node->values.end()) return platform::kErrorFileNotFound;
  location.node->values.erase(it);
  return platform::kErrorSuccess;
}

RegResult FakeRegistry::DeleteKey(RegKey parent, const char* subKey) {
  const Location location = Resolve(parent);
  if (location.node == nullptr) return platform::kErrorInvalidHandle;
  const std::vector<std::string_view> parts = Split(subKey != nullptr ? subKey : "");
  if (parts.empty()) return platform::kErrorAccessDenied;
  Node* node = location.node;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const auto it = node->children.find(parts[i]);
    if (it == node->children.end()) return platform::kErrorFileNotFound;
    node = it->second.get();
  }
  const auto it = node->children.find(parts.back());
  if (it == node->children.end()) return platform::kErrorFileNotFound;
  const Node* doomed = it->second.get();
  if (!doomed->children.empty()) return platform::kErrorAccessDenied;
  for (const auto& [value, handle] : handles_) {
    if (handle.node == doomed) return platform::kErrorAccessDenied;
  }
  node->children.erase(it);
  return platform::kErrorSuccess;
}

void FakeRegistry::AddKey(RegKey root, std::string_view path) { Make(root, path); }

bool FakeRegistry::HasKey(RegKey root, std::string_view path) const {
  return Find(root, path) != nullptr;
}

void FakeRegistry::PutValue(RegKey root, std::string_view path, std::string_view name,
                            std::uint32_t type, std::vector<std::uint8_t> data) {
  Value& value = Make(root, path).values[std::string(name)];
  value.type = type;
  value.data = std::move(data);
}

void FakeRegistry::PutString(RegKey root, std::string_view path, std::string_view name,
                             std::string_view text, std::uint32_t type) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  PutValue(root, path, name, type, std::move(data));
}

void FakeRegistry::PutDword(RegKey root, std::string_view path, std::string_view name,
                            std::uint32_t value) {
  PutValue(root, path, name, platform::kRegDword,
           {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void FakeRegistry::RemoveValue(RegKey root, std::string_view path, std::string_view name) {
  if (Node* node = Find(root, path)) {
    const auto it = node->values.find(name);
    if (it != node->values.end()) node->values.erase(it);
  }
}

std::optional<FakeRegistry::Value> FakeRegistry::GetValue(RegKey root, std::string_view path,
                                                          std::string_view name) const {
  const Node* node = Find(root, path);
  if (node == nullptr) return std::nullopt;
  const auto it = node->values.find(name);
  if (it == node->values.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> FakeRegistry::GetString(RegKey root, std::string_view path,
                                                   std::string_view name) const {
  const std::optional<Value> value = GetValue(root, path, name);
  if (!value) return std::nullopt;
  const auto end = std::find(value->data.begin(), value->data.end(), std::uint8_t{0});
  return std::string(value->data.begin(), end);
}

std::vector<std::string> FakeRegistry::ValueNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const Node* node = Find(root, path)) {
    for (const auto& [name, value] : node->values) names.push_back(name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::SubKeyNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const Node* node = Find(root, path)) {
    for (const auto& [name, child] : node->children) names.push_back(name);
  }
  return names;
}

void FakeRegistry::SetPerformanceData(std::vector<std::uint8_t> block) {
  performanceData_ = std::move(block);
}

void FakeRegistry::SetPerformanceResult(std::optional<RegResult> forced) {
  performanceResult_ = forced;
}

void FakeRegistry::SetPerformanceByteCount(std::optional<std::uint32_t> reported) {
  performanceByteCount_ = reported;
}

std::string FakeRegistry::LastPerformanceValueName() const {
  return std::string(lastPerformanceValueName_.data());
}

void FakeRegistry::FailOpen(RegKey root, std::string_view path, RegResult code) {
  openFailures_[FullPath(root, path)] = code;
}

void FakeRegistry::DenyWriting(RegKey root, std::string_view path) {
  writeDenied_.insert(FullPath(root, path));
}

void FakeRegistry::FailCreate(RegKey root, std::string_view path, RegResult code) {
  createFailures_[FullPath(root, path)] = code;
}

void FakeRegistry::FailSetValue(int nth, RegResult code) {
  setValueFailures_[setValueSerial_ + nth] = code;
}

void FakeRegistry::FailQueryValue(RegKey root, std::string_view path, std::string_view name,
                                  RegResult code) {
  queryFailures_[FullPath(root, path) + "|" + std::string(name)] = code;
}

void FakeRegistry::FailSetValueNamed(std::string_view name, RegResult code) {
  setValueNamedFailures_[std::string(name)] = code;
}

void FakeRegistry::ClearFailures() {
  openFailures_.clear();
  createFailures_.clear();
  setValueFailures_.clear();
  queryFailures_.clear();
  setValueNamedFailures_.clear();
  writeDenied_.clear();
}

int FakeRegistry::OpenCount(RegKey root, std::string_view path) const {
  const std::string full = FullPath(root, path);
  const NameLess less;
  return static_cast<int>(std::count_if(opens_.begin(), opens_.end(), [&](const OpenRecord& r) {
    return !less(r.path, full) && !less(full, r.path);
  }));
}

std::vector<std::string> FakeRegistry::OpenKeyPaths() const {
  std::vector<std::string> paths;
  for (const auto& [value, handle] : handles_) paths.push_back(handle.path);
  return paths;
}

void FakeRegistry::ClearLog() {
  opens_.clear();
  closes_ = 0;
  rootCloses_ = 0;
  invalidCloses_ = 0;
  setValueCalls_ = 0;
  setValueNames_.clear();
  performanceQueries_ = 0;
  lastPerformanceValueName_.fill('\0');
  lastPerformanceCapacity_ = 0;
  lastPerformanceAskedType_ = false;
}
