#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Win32Text.h"

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

// Key and value names are UTF-8 in the program and UTF-16 in the registry; a null name stays
// null (the key's default value).
class Name {
 public:
  explicit Name(const char* utf8) : null_(utf8 == nullptr), wide_(null_ ? L"" : Widen(utf8)) {}
  const wchar_t* get() const { return null_ ? nullptr : wide_.c_str(); }

 private:
  bool null_;
  std::wstring wide_;
};

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Reads a text value whole, as the registry holds it (UTF-16), and gives it as UTF-8 with what
// the value holds after the text (its terminator) converted too. The value may change between the
// size query and the read; a few rounds settle it.
LONG ReadText(HKEY key, const wchar_t* name, DWORD& type, std::string& utf8) {
  DWORD bytes = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes);
  for (int round = 0; status == ERROR_SUCCESS && round < 4; ++round) {
    std::vector<wchar_t> wide(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(wide.data()), &got);
    if (status == ERROR_MORE_DATA) {
      bytes = got;
      status = ERROR_SUCCESS;
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    // A value that turned into another kind between the two queries is handed on as bytes.
    if (!IsText(type)) {
      utf8.assign(reinterpret_cast<const char*>(wide.data()), got);
      return ERROR_SUCCESS;
    }
    utf8 = Narrow(std::wstring_view(wide.data(), got / sizeof(wchar_t)));
    return ERROR_SUCCESS;
  }
  return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

}  // namespace

RegResult Win32Registry::OpenKey(RegKey parent, const char* subKey, std::uint32_t access,
                                 RegKey* result) {
  if (result == nullptr) return kErrorInvalidParameter;
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExW(ToHkey(parent), Name(subKey).get(), 0, access, &key);
  *result = status == ERROR_SUCCESS ? FromHkey(key) : RegKey{};
  return static_cast<RegResult>(status);
}

RegResult Win32Registry::CreateKey(RegKey parent, const char* subKey, std::uint32_t access,
                                   RegKey* result) {
  if (result == nullptr) return kErrorInvalidParameter;
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(ToHkey(parent), Name(subKey).get(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
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
  if (key.value == kHkeyPerformanceData.value) {
    // The performance data is a binary block selected by a number ("238"): it has no text to
    // convert, and is asked for as it always was.
    const LONG status =
        RegQueryValueExA(ToHkey(key), valueName, nullptr, type != nullptr ? &valueType : nullptr,
                         data, size != nullptr ? &byteCount : nullptr);
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = byteCount;
    return static_cast<RegResult>(status);
  }
  const Name name(valueName);
  LONG status = RegQueryValueExW(ToHkey(key), name.get(), nullptr, &valueType, nullptr, nullptr);
  if (status != ERROR_SUCCESS || !IsText(valueType)) {
    // Not text (or not there): the bytes are the same through either call.
    status =
        RegQueryValueExW(ToHkey(key), name.get(), nullptr, type != nullptr ? &valueType : nullptr,
                         data, size != nullptr ? &byteCount : nullptr);
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = byteCount;
    return static_cast<RegResult>(status);
  }
  // Text is UTF-16 in the registry and UTF-8 here; sizes count the UTF-8 bytes. Values that
  // earlier builds wrote through the ANSI calls were stored as UTF-16 too, so they read back
  // as what was written (ASCII byte for byte).
  std::string text;
  status = ReadText(ToHkey(key), name.get(), valueType, text);
  if (type != nullptr) *type = valueType;
  if (status != ERROR_SUCCESS) return static_cast<RegResult>(status);
  if (size == nullptr) return kErrorSuccess;
  const std::uint32_t capacity = *size;
  *size = static_cast<std::uint32_t>(text.size());
  if (data == nullptr) return kErrorSuccess;
  if (text.size() > capacity) return kErrorMoreData;
  std::memcpy(data, text.data(), text.size());
  return kErrorSuccess;
}

RegResult Win32Registry::SetValue(RegKey key, const char* valueName, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  const Name name(valueName);
  if (!IsText(type) || data == nullptr) {
    return static_cast<RegResult>(RegSetValueExW(ToHkey(key), name.get(), 0, type, data, size));
  }
  // The `size` bytes of UTF-8 (their terminator included) are stored as UTF-16.
  const std::wstring wide = Widen(std::string_view(reinterpret_cast<const char*>(data), size));
  return static_cast<RegResult>(RegSetValueExW(ToHkey(key), name.get(), 0, type,
                                               reinterpret_cast<const BYTE*>(wide.data()),
                                               static_cast<DWORD>(wide.size() * sizeof(wchar_t))));
}

RegResult Win32Registry::DeleteValue(RegKey key, const char* valueName) {
  return static_cast<RegResult>(RegDeleteValueW(ToHkey(key), Name(valueName).get()));
}

RegResult Win32Registry::DeleteKey(RegKey parent, const char* subKey) {
  return static_cast<RegResult>(RegDeleteKeyW(ToHkey(parent), Name(subKey).get()));
}

}  // namespace platform::win32
