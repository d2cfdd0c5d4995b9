#pragma once
// The program's one text-encoding rule, at the one place where it meets the system.
//
// Every text inside the program is UTF-8: the framework's messages, captions, registry values,
// font faces, file names and paths. Windows takes and gives text as UTF-16 through its W
// functions; the backend calls only those for text and converts at the call, with the functions
// below, so what the user sees and what the program stores does not depend on the system's ANSI
// code page. The one exception is data whose format is ANSI text: colour-scheme files are 8-bit
// text in the system's ANSI code page, converted with ToAnsi/FromAnsi when they are written and
// read. Nothing else in the program converts text (docs/TEXT.md).

#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 to UTF-16. A malformed sequence becomes U+FFFD; nothing outside `utf8` is read.
std::wstring Widen(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view utf16);

// `utf8` without an incomplete sequence at its end, as a text cut to a number of bytes may have.
std::string_view WholeCharacters(std::string_view utf8);

// UTF-16 up to the first zero of a fixed-size field (LOGFONTW::lfFaceName, ...), or the whole
// field when it holds none.
std::string NarrowField(const wchar_t* field, std::size_t capacity);

// Copies `utf8` into a fixed-size UTF-16 field, zero-terminated, cut at a whole character when
// it is too long.
void CopyToField(std::string_view utf8, wchar_t* field, std::size_t capacity);

// UTF-8 to the system's ANSI code page (CP_ACP). Answers false, leaving `ansi` unspecified, when
// a character has no form in that code page (it would otherwise be written as a stand-in).
bool ToAnsi(std::string_view utf8, std::string& ansi);

// The system's ANSI code page to UTF-8.
std::string FromAnsi(std::string_view ansi);

}  // namespace platform::win32
