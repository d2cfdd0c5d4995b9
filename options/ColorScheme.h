#pragma once
// Colour-scheme files (".cpu"): a bar's 16 colours on one line and the font of its percentage
// text on the next, as plain 8-bit text in the system's ANSI code page. The functions on text take
// and give the program's UTF-8; SchemeFileBytes and ReadSchemeFile convert at the file.
//
//   colour line: 16 colour texts, each followed by the separator "I"
//   CR LF
//   font line:   "Face", size, [Bold|Italic|Underline|Strikeout], [colour]
//
// A colour text is a name of the framework's colour table or "$" and 8 upper-case hexadecimal
// digits. Readers take names without regard to case, decimal numbers and "$" hexadecimal.

#include <string>
#include <string_view>
#include <vector>

#include "framework/Graphics.h"
#include "gauge/RarBarColors.h"
#include "platform/Files.h"

class TRarBar;

namespace scheme {

// The bar's colour properties in the order of the colour line: alphabetical.
inline constexpr const auto& kColorProperties = kBarColorPropertiesAlphabetical;

// The colour text of one value as the colour line writes it: the table's name, except for the
// names that hold the separator "I" (clInactiveBorder, clInfoBk, ...), which could never be read
// back from the line; those and every value without a name are written as "$XXXXXXXX".
std::string ColorText(TColor color);

// The colour line of a bar.
std::string ColorsToText(const TRarBar& bar);
// Sets the bar's colours from a colour line, token by token; an empty line changes nothing. An
// invalid token raises "'%s' n'est pas une valeur entière correcte" with the tokens before it
// already applied; text after the 16th token is ignored.
void TextToColors(std::string_view line, TRarBar& bar);

// The font line of a font.
std::string FontToText(const TFont& font);
// Sets a font from a font line. The face is the text between the opening quote and the closing
// quote that is followed by ", " (so a face may hold commas); the size, the styles and the colour
// follow as written by FontToText. An invalid size or colour raises the conversion error.
void TextToFont(std::string_view line, TFont& font);

// The lines of a file's text: a line ends at LF or CR LF, a CR not followed by LF is dropped, and
// the byte 26 ends the text.
std::vector<std::string> SplitLines(std::string_view text);

// Applies every colour/font pair of a file's text to the bar, in order: a line beginning with
// "#" where a colour line is expected is skipped; the line after a colour line is its font line,
// whatever it holds (empty when the text has ended).
void LoadScheme(std::string_view text, TRarBar& bar);

// The whole file for a bar: its colour line, CR LF, its font line.
std::string SaveScheme(const TRarBar& bar);

// The bytes of the scheme file for a bar: SaveScheme in the system's ANSI code page (the file
// port's ToAnsi). A face that the code page cannot hold raises EConvertError "Le nom de police
// '%s' ne peut pas être écrit dans la page de codes du système" rather than be written wrong.
std::string SchemeFileBytes(platform::IFileSystem& files, const TRarBar& bar);

// Writes `text` as the whole file `name`. The old file is replaced only by a complete new one; a
// file that cannot be written raises EFCreateError "Impossible de créer le fichier %s".
void WriteTextFile(platform::IFileSystem& files, const std::string& name, const std::string& text);
// Reads the file `name`, converts it from the system's ANSI code page and loads it into the bar. A file that cannot be read raises EInOutError
// with the system's reason ("Fichier introuvable", "Accès au fichier refusé", "Erreur E/S %d")
// and leaves the bar as it was.
void ReadSchemeFile(platform::IFileSystem& files, const std::string& name, TRarBar& bar);

}  // namespace scheme
