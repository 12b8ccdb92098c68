#include "output/digest/digest_title.h"

#include <algorithm>
#include <string_view>

#include "base/date_text.h"
#include "output/digest/digest_kind.h"
#include "output/digest/digest_text.h"

namespace meridan {
namespace {

// The name as plain UTF-8.
std::string PlainName(const Cp1251Html& name) { return HtmlToText(Cp1251ToUtf8(name.bytes)); }

// The bidirectional controls (U+061C, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069) taken out of a UTF-8 text.
std::string WithoutBidiControls(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = std::string_view(text).substr(i);
    const auto third = rest.size() >= 3 ? static_cast<unsigned char>(rest[2]) : 0;
    if (rest.starts_with("\xD8\x9C")) {
      ++i;
      continue;
    }
    if ((rest.starts_with("\xE2\x80") &&
         (third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE))) ||
        (rest.starts_with("\xE2\x81") && third >= 0xA6 && third <= 0xA9)) {
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

// The title with the name given as it is to be shown.
std::string Title(ForecastKind kind, const std::string& name, YearMonth first, YearMonth last) {
  std::string title = "Прогноз: " + std::string(DigestWords(kind).title) +
                      (name.empty() ? "" : " — " + name) + ", " +
                      Cp1251ToUtf8(MonthAndYearLower(first));
  if (last != first) title += " – " + Cp1251ToUtf8(MonthAndYearLower(last));
  return title;
}

}  // namespace

std::string DigestName(const Cp1251Html& name) {
  std::string plain = PlainName(name);
  // Anything from U+0580 on has a lead byte from 0xD6; Cyrillic stays below.
  if (std::any_of(plain.begin(), plain.end(),
                  [](char c) { return static_cast<unsigned char>(c) >= 0xD6; }))
    plain = "\u2068" + plain + "\u2069";
  return plain;
}

std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                        YearMonth last) {
  return Title(kind, DigestName(name), first, last);
}

std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                           YearMonth last) {
  std::string file = Title(kind, WithoutBidiControls(PlainName(name)), first, last);
  // The title's colon, like any of the name's characters that Windows and
  // FAT file systems refuse in a name (a file saved onto a memory stick or
  // mailed to someone on Windows), does not go into the file's name.
  file.replace(file.find(':'), 1, ",");
  for (char& c : file)
    if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos ||
        static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      c = '-';
  return file + ".pdf";
}

}  // namespace meridan
