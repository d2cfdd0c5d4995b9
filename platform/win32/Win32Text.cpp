#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {

namespace {

// The conversion functions take int lengths; longer texts are converted in no call here (the
// program's texts are short), and are cut rather than overflow the count.
int LengthOf(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  const int length = LengthOf(text.size());
  const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int done = MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed);
  wide.resize(done > 0 ? static_cast<std::size_t>(done) : 0);
  return wide;
}

}  // namespace

// Without MB_ERR_INVALID_CHARS, malformed UTF-8 becomes U+FFFD (Windows Vista and later) instead
// of failing the whole text; the length is explicit, so no terminator is looked for.
std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, 0, utf8); }

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int length = LengthOf(utf16.size());
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  const int done = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(), needed,
                                       nullptr, nullptr);
  narrow.resize(done > 0 ? static_cast<std::size_t>(done) : 0);
  return narrow;
}

std::string_view WholeCharacters(std::string_view utf8) {
  // The last lead byte is at most three bytes from the end of a whole character.
  std::size_t lead = utf8.size();
  for (std::size_t back = 1; back <= 4 && back <= utf8.size(); ++back) {
    const auto byte = static_cast<unsigned char>(utf8[utf8.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    lead = utf8.size() - back;
    break;
  }
  if (lead == utf8.size()) return utf8;
  const auto byte = static_cast<unsigned char>(utf8[lead]);
  const std::size_t length = byte < 0x80    ? 1
                             : byte >= 0xF0 ? 4
                             : byte >= 0xE0 ? 3
                             : byte >= 0xC0 ? 2
                                            : 1;
  return utf8.size() - lead < length ? utf8.substr(0, lead) : utf8;
}

std::string NarrowField(const wchar_t* field, std::size_t capacity) {
  std::size_t length = 0;
  while (length < capacity && field[length] != L'\0') ++length;
  return Narrow(std::wstring_view(field, length));
}

void CopyToField(std::string_view utf8, wchar_t* field, std::size_t capacity) {
  if (capacity == 0) return;
  const std::wstring wide = Widen(utf8);
  std::size_t length = wide.size() < capacity - 1 ? wide.size() : capacity - 1;
  // A high surrogate without its low half would make a broken character at the end.
  if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 &&
      wide[length - 1] <= 0xDBFF) {
    --length;
  }
  wide.copy(field, length);
  field[length] = L'\0';
}

bool ToAnsi(std::string_view utf8, std::string& ansi) {
  ansi.clear();
  if (utf8.empty()) return true;
  const std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
  if (wide.empty()) return false;  // malformed UTF-8 has no faithful form anywhere
  const int length = LengthOf(wide.size());
  BOOL usedDefault = FALSE;
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return false;
  ansi.assign(static_cast<std::size_t>(needed), '\0');
  const int done = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), needed, nullptr,
                                       &usedDefault);
  if (done <= 0 || usedDefault) return false;
  ansi.resize(static_cast<std::size_t>(done));
  return true;
}

std::string FromAnsi(std::string_view ansi) { return Narrow(ToWide(CP_ACP, 0, ansi)); }

}  // namespace platform::win32
