#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace platform::win32 {

namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key.value); }
RegKey FromHkey(HKEY key) { return RegKey{reinterpret_cast<std::uintptr_t>(key)}; }

// The port's constants are the Win32 ones; a mismatch here would pass wrong values through.
static_assert(kKeyRead == KEY_READ && kKeyWrite == KEY_WRITE && kKeyAllAccess == KEY_ALL_ACCESS);
static_assert(kKeyQueryValue == KEY_QUERY_VALUE && kKeySetValue == KEY_SET_VALUE &&
              kKeyCreateSubKey == KEY_CREATE_SUB_KEY &&
              kKeyEnumerateSubKeys == KEY_ENUMERATE_SUB_KEYS && kKeyNotify == KEY_NOTIFY);
static_assert(kRegNone == REG_NONE && kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ &&
              kRegBinary == REG_BINARY && kRegDword == REG_DWORD);
static_assert(kErrorSuccess == ERROR_SUCCESS && kErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
              kErrorAccessDenied == ERROR_ACCESS_DENIED &&
              kErrorInvalidHandle == ERROR_INVALID_HANDLE &&
              kErrorInvalidParameter == ERROR_INVALID_PARAMETER &&
              kErrorMoreData == ERROR_MORE_DATA);

}  // namespace

RegResult Win32Registry::OpenKey(RegKey parent, const char* subKey, std::uint32_t access,
                                 RegKey* result) {
  if (result == nullptr) return kErrorInvalidParameter;
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExA(ToHkey(parent), subKey, 0, access, &key);
  *result = status == ERROR_SUCCESS ? FromHkey(key) : RegKey{};
  return static_cast<RegResult>(status);
}

RegResult Win32Registry::CreateKey(RegKey parent, const char* subKey, std::uint32_t access,
                                   RegKey* result) {
  if (result == nullptr) return kErrorInvalidParameter;
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(ToHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &key, nullptr);
  *result = status == ERROR_SUCCESS ? FromHkey(key) : RegKey{};
  return static_cast<RegResult>(status);
}

RegResult Win32Registry::CloseKey(RegKey key) {
  // The predefined roots are never opened by the program, so there is nothing to close.
  if (IsPredefinedKey(key)) return kErrorSuccess;
  return static_cast<RegResult>(RegCloseKey(ToHkey(key)));
}

RegResult Win32Registry::QueryValue(RegKey key, const char* valueName, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
  // DWORD is a 32-bit unsigned long on Windows, a different type from std::uint32_t: copy.
  DWORD valueType = 0;
  DWORD byteCount = size != nullptr ? *size : 0;
  const LONG status =
      RegQueryValueExA(ToHkey(key), valueName, nullptr, type != nullptr ? &valueType : nullptr,
                       data, size != nullptr ? &byteCount : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = byteCount;
  return static_cast<RegResult>(status);
}

RegResult Win32Registry::SetValue(RegKey key, const char* valueName, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  return static_cast<RegResult>(RegSetValueExA(ToHkey(key), valueName, 0, type, data, size));
}

RegResult Win32Registry::DeleteValue(RegKey key, const char* valueName) {
  return static_cast<RegResult>(RegDeleteValueA(ToHkey(key), valueName));
}

RegResult Win32Registry::DeleteKey(RegKey parent, const char* subKey) {
  return static_cast<RegResult>(RegDeleteKeyA(ToHkey(parent), subKey));
}

}  // namespace platform::win32
