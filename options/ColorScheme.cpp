#include "options/ColorScheme.h"

#include "framework/Exception.h"
#include "framework/SysUtils.h"
#include "framework/TypInfo.h"
#include "gauge/RarBar.h"

namespace scheme {

namespace {

constexpr char kSeparator = 'I';

}  // namespace

std::string ColorText(TColor color) {
  const std::string text = ColorToString(color);
  // A name holding the separator would split when read; the number reads back the same value.
  if (text.find(kSeparator) != std::string::npos) {
    return Format("$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(color)));
  }
  return text;
}

std::string ColorsToText(const TRarBar& bar) {
  std::string line;
  for (const std::string_view name : kColorProperties) {
    line += ColorText(static_cast<TColor>(GetOrdProp(bar, GetPropInfo(bar, name))));
    line += kSeparator;
  }
  return line;
}

void TextToColors(std::string_view line, TRarBar& bar) {
  if (line.empty()) return;
  std::string_view rest = line;
  for (const std::string_view name : kColorProperties) {
    const std::size_t p = rest.find(kSeparator);
    std::string_view token;
    if (p != std::string_view::npos) {
      token = rest.substr(0, p);
      rest.remove_prefix(p + 1);
    }
    SetOrdProp(bar, GetPropInfo(bar, name), StringToColor(token));
  }
}

std::string FontToText(const TFont& font) {
  std::string styles;
  const auto add = [&styles](const char* name) {
    if (!styles.empty()) styles += '|';
    styles += name;
  };
  const TFontStyles style = font.Style();
  if (style.Contains(fsBold)) add("Bold");
  if (style.Contains(fsItalic)) add("Italic");
  if (style.Contains(fsUnderline)) add("Underline");
  if (style.Contains(fsStrikeOut)) add("Strikeout");
  return "\"" + font.Name() + "\", " + IntToStr(font.Size()) + ", [" + styles + "], [" +
         ColorText(font.Color()) + "]";
}

namespace {

// The characters from position `first` to `last` (1-based, inclusive) of `text`, as the reader
// takes them: positions before 1 count from 1, an empty range is empty.
std::string_view Between(std::string_view text, std::int64_t first, std::int64_t last) {
  if (first < 1) first = 1;
  if (last > static_cast<std::int64_t>(text.size())) last = static_cast<std::int64_t>(text.size());
  if (last < first) return {};
  return text.substr(static_cast<std::size_t>(first - 1),
                     static_cast<std::size_t>(last - first + 1));
}

// The 1-based position of the first `c` in `text`; 0 when there is none.
std::int64_t Position(std::string_view text, char c) {
  const std::size_t p = text.find(c);
  return p == std::string_view::npos ? 0 : static_cast<std::int64_t>(p) + 1;
}

// Deletes the characters 1 to `count` of `text`.
void DeleteFront(std::string_view& text, std::int64_t count) {
  text.remove_prefix(static_cast<std::size_t>(std::min<std::int64_t>(
      std::max<std::int64_t>(count, 0), static_cast<std::int64_t>(text.size()))));
}

}  // namespace

void TextToFont(std::string_view line, TFont& font) {
  std::string_view text = line;
  // 1. The face ends at the closing quote followed by ", ": a face may hold commas. Without such
  // a quote the first comma ends it, as the format has always been read.
  std::int64_t p1 = 0;
  const std::size_t closing = text.find("\", ", 1);
  if (!text.empty() && text.front() == '"' && closing != std::string_view::npos) {
    p1 = static_cast<std::int64_t>(closing) + 2;  // the comma after the quote
  } else {
    p1 = Position(text, ',');
  }
  const std::string_view face = Between(text, 2, p1 - 2);
  if (!face.empty()) font.SetName(std::string(face));
  DeleteFront(text, p1);
  // 2. The size, after the blank.
  const std::int64_t p2 = Position(text, ',');
  const std::string size(Between(text, 2, p2 - 1));
  font.SetSize(static_cast<int>(StrToInt(size)));
  DeleteFront(text, p2);
  // 3. The styles, inside the brackets.
  const std::int64_t p3 = Position(text, ',');
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on an inlined operator+ with a
  // literal in front.
  std::string styles = "|";
  styles.append(Between(text, 3, p3 - 2));
  DeleteFront(text, p3);
  // 4. The colour, inside the brackets.
  font.SetColor(StringToColor(Between(text, 3, static_cast<std::int64_t>(text.size()) - 1)));
  // 5.
  TFontStyles style;
  if (styles.find("|Bold") != std::string::npos) style.Include(fsBold);
  if (styles.find("|Italic") != std::string::npos) style.Include(fsItalic);
  if (styles.find("|Underline") != std::string::npos) style.Include(fsUnderline);
  if (styles.find("|Strikeout") != std::string::npos) style.Include(fsStrikeOut);
  font.SetStyle(style);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == 26) break;
    open = true;
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
    } else if (c != '\r') {
      line += c;
    }
  }
  if (open) lines.push_back(std::move(line));
  return lines;
}

void LoadScheme(std::string_view text, TRarBar& bar) {
  const std::vector<std::string> lines = SplitLines(text);
  std::size_t next = 0;
  while (next < lines.size()) {
    const std::string& colours = lines[next++];
    if (!colours.empty() && colours.front() == '#') continue;
    TextToColors(colours, bar);
    const std::string font = next < lines.size() ? lines[next++] : std::string();
    TextToFont(font, *bar.Font());
  }
}

std::string SaveScheme(const TRarBar& bar) {
  return ColorsToText(bar) + "\r\n" + FontToText(*bar.Font());
}

std::string SchemeFileBytes(platform::IFileSystem& files, const TRarBar& bar) {
  // The colour line is ASCII; only the face can hold a character the code page lacks.
  std::string bytes;
  if (!files.ToAnsi(bar.Font()->Name(), bytes) || !files.ToAnsi(SaveScheme(bar), bytes)) {
    throw EConvertError(
        Format("Le nom de police '%s' ne peut pas être écrit dans la page de codes du système",
               bar.Font()->Name().c_str()));
  }
  return bytes;
}

void WriteTextFile(platform::IFileSystem& files, const std::string& name, const std::string& text) {
  // The old file goes only when the new one is whole: a failure part-way loses nothing.
  if (files.ReplaceFile(name, text) != platform::kFileOk) {
    throw EFCreateError(Format("Impossible de créer le fichier %s", name.c_str()));
  }
}

void ReadSchemeFile(platform::IFileSystem& files, const std::string& name, TRarBar& bar) {
  std::string text;
  switch (const platform::FileResult result = files.ReadFile(name, text)) {
    case platform::kFileOk:
      break;
    case platform::kFileNotFound:
      throw EInOutError("Fichier introuvable");
    case platform::kAccessDenied:
      throw EInOutError("Accès au fichier refusé");
    default:
      throw EInOutError(Format("Erreur E/S %u", static_cast<unsigned>(result)));
  }
  LoadScheme(files.FromAnsi(text), bar);
}

}  // namespace scheme
