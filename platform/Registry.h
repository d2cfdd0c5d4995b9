#pragma once
// The registry port: the Win32 registry calls the program makes, in Win32 terms (predefined roots,
// access rights, value types, result codes) but without <windows.h>. Keys are opaque handles; the
// predefined roots are handles of their own and are never opened or closed. Key and value names
// and string data (REG_SZ, REG_EXPAND_SZ) are UTF-8, sizes counted in UTF-8 bytes; the backend
// converts them for the system (docs/TEXT.md).

#include <cstdint>
#include <utility>

namespace platform {

// An opaque registry key handle. The predefined roots carry the Win32 handle values (the 32-bit
// constants sign-extended to pointer width), so the Win32 backend can pass them through unchanged.
struct RegKey {
  std::uintptr_t value = 0;
  friend bool operator==(RegKey, RegKey) = default;
};

constexpr RegKey PredefinedKey(std::uint32_t id) {
  return RegKey{
      static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)))};
}

inline constexpr RegKey kHkeyClassesRoot = PredefinedKey(0x80000000u);
inline constexpr RegKey kHkeyCurrentUser = PredefinedKey(0x80000001u);
inline constexpr RegKey kHkeyLocalMachine = PredefinedKey(0x80000002u);
inline constexpr RegKey kHkeyUsers = PredefinedKey(0x80000003u);
inline constexpr RegKey kHkeyPerformanceData = PredefinedKey(0x80000004u);
inline constexpr RegKey kHkeyCurrentConfig = PredefinedKey(0x80000005u);
inline constexpr RegKey kHkeyDynData = PredefinedKey(0x80000006u);

constexpr bool IsPredefinedKey(RegKey key) {
  return key == kHkeyClassesRoot || key == kHkeyCurrentUser || key == kHkeyLocalMachine ||
         key == kHkeyUsers || key == kHkeyPerformanceData || key == kHkeyCurrentConfig ||
         key == kHkeyDynData;
}

// Access rights (REGSAM).
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Result codes (Win32 error codes).
using RegResult = std::int32_t;
inline constexpr RegResult kErrorSuccess = 0;
inline constexpr RegResult kErrorFileNotFound = 2;
inline constexpr RegResult kErrorAccessDenied = 5;
inline constexpr RegResult kErrorInvalidHandle = 6;
inline constexpr RegResult kErrorInvalidParameter = 87;
inline constexpr RegResult kErrorMoreData = 234;

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // RegOpenKeyEx: opens `subKey` (backslash-separated, may be empty) below `parent`.
  virtual RegResult OpenKey(RegKey parent, const char* subKey, std::uint32_t access,
                            RegKey* result) = 0;

  // RegCreateKeyEx: opens `subKey` below `parent`, creating every missing level.
  virtual RegResult CreateKey(RegKey parent, const char* subKey, std::uint32_t access,
                              RegKey* result) = 0;

  // RegCloseKey. Closing a predefined root is harmless and does nothing.
  virtual RegResult CloseKey(RegKey key) = 0;

  // RegQueryValueEx: `type` and `data` may be null. On entry `*size` is the capacity of `data`;
  // on return it is the number of bytes the value holds (or was written). A value larger than the
  // capacity answers kErrorMoreData. On kHkeyPerformanceData the value name selects the objects
  // ("238" for the processor object) and the answer is a performance-data block.
  virtual RegResult QueryValue(RegKey key, const char* valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) = 0;

  // RegSetValueEx.
  virtual RegResult SetValue(RegKey key, const char* valueName, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;

  // RegDeleteValue.
  virtual RegResult DeleteValue(RegKey key, const char* valueName) = 0;

  // RegDeleteKey: deletes `subKey` below `parent`; a key that has subkeys is not deleted.
  virtual RegResult DeleteKey(RegKey parent, const char* subKey) = 0;
};

// Owns an open key and closes it once. Move-only.
class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ScopedRegKey(IRegistry& registry, RegKey key) : registry_(&registry), key_(key) {}
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  ScopedRegKey(ScopedRegKey&& other) noexcept
      : registry_(std::exchange(other.registry_, nullptr)), key_(std::exchange(other.key_, {})) {}
  ScopedRegKey& operator=(ScopedRegKey&& other) noexcept {
    if (this != &other) {
      Close();
      registry_ = std::exchange(other.registry_, nullptr);
      key_ = std::exchange(other.key_, {});
    }
    return *this;
  }
  ~ScopedRegKey() { Close(); }

  RegKey Get() const { return key_; }
  bool IsOpen() const { return registry_ != nullptr; }

  void Close() {
    if (registry_ != nullptr) {
      registry_->CloseKey(key_);
      registry_ = nullptr;
      key_ = {};
    }
  }

 private:
  IRegistry* registry_ = nullptr;
  RegKey key_{};
};

// A key opened or created through OpenScopedKey or CreateScopedKey: the call's result and, when
// it is kErrorSuccess, the open key, closed when `key` goes.
struct ScopedKeyResult {
  RegResult result = kErrorInvalidHandle;
  ScopedRegKey key;
  bool Opened() const { return key.IsOpen(); }
};

// The result of an open or create call with the key it opened, now owned.
inline ScopedKeyResult OwnOpenedKey(IRegistry& registry, RegResult result, RegKey raw) {
  ScopedKeyResult owned;
  owned.result = result;
  if (result == kErrorSuccess) owned.key = ScopedRegKey(registry, raw);
  return owned;
}

// RegOpenKeyEx into an owning key: the key is open exactly when the result is kErrorSuccess.
inline ScopedKeyResult OpenScopedKey(IRegistry& registry, RegKey parent, const char* subKey,
                                     std::uint32_t access) {
  RegKey raw{};
  const RegResult result = registry.OpenKey(parent, subKey, access, &raw);
  return OwnOpenedKey(registry, result, raw);
}

// RegCreateKeyEx into an owning key: the key is open exactly when the result is kErrorSuccess.
inline ScopedKeyResult CreateScopedKey(IRegistry& registry, RegKey parent, const char* subKey,
                                       std::uint32_t access) {
  RegKey raw{};
  const RegResult result = registry.CreateKey(parent, subKey, access, &raw);
  return OwnOpenedKey(registry, result, raw);
}

}  // namespace platform
