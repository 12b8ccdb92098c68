#pragma once
// The one encoding boundary. Inside the engine and the reports every text is
// Windows-1251 bytes, as the data files and pages are; source literals,
// command-line arguments and window strings are UTF-8 and pass through here.

#include <optional>
#include <string>
#include <string_view>

namespace meridan {

// Windows-1251 bytes to UTF-8. Every byte has a meaning except 0x98, which
// becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);

// UTF-8 to Windows-1251. A character the code page cannot hold becomes '?';
// malformed UTF-8 is replaced byte by byte with '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// UTF-8 to Windows-1251 without loss, for text that goes into HTML: a
// character the code page cannot hold becomes a decimal character reference
// (U+2603 becomes "&#9731;"). Returns nullopt for malformed UTF-8.
std::optional<std::string> Utf8ToCp1251Html(std::string_view utf8);

// Windows-1251 byte for a code point, or nullopt if it has none.
std::optional<unsigned char> Cp1251FromCodePoint(char32_t cp);

// The code point of the UTF-8 sequence at utf8[i]; advances i past it. For
// a malformed sequence gives nullopt and advances i by one byte.
std::optional<char32_t> DecodeUtf8(std::string_view utf8, size_t& i);

// Appends the UTF-8 sequence of a code point.
void AppendUtf8(std::string& out, char32_t cp);

// Number of characters of a UTF-8 string, or nullopt for malformed UTF-8.
std::optional<size_t> Utf8Length(std::string_view utf8);

// Whether a byte is text in a Windows-1251 file: printable, tab, CR or LF.
bool IsCp1251TextByte(unsigned char byte);

// Text that is already Windows-1251 HTML and goes into a page as it is (the
// person's name, escaped and converted once at the edge).
struct Cp1251Html {
  std::string bytes;
  friend bool operator==(const Cp1251Html&, const Cp1251Html&) = default;
};

// Source literals are written in UTF-8; this is the shorthand for turning one
// into the Windows-1251 text the pages and files carry.
inline std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

}  // namespace meridan
