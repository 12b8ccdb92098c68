// The Windows-1251 converter: the characters that tell this code page from
// the other Cyrillic ones, the whole table, characters it cannot hold and
// malformed UTF-8.

#include "base/cp1251.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <string>

namespace meridan {
namespace {

std::string Byte(unsigned b) { return std::string(1, static_cast<char>(b)); }

TEST(Cp1251, KnownCharactersBothWays) {
  // Byte values from the published Windows-1251 table (Microsoft code page
  // 1251, as in the Unicode consortium's CP1251.TXT mapping).
  const std::pair<const char*, unsigned> known[] = {{"Ё", 0xA8}, {"ё", 0xB8}, {"№", 0xB9},
                                                    {"«", 0xAB}, {"»", 0xBB}, {"А", 0xC0},
                                                    {"я", 0xFF}, {"—", 0x97}};
  for (const auto& [utf8, byte] : known) {
    EXPECT_EQ(Utf8ToCp1251(utf8), Byte(byte)) << utf8;
    EXPECT_EQ(Cp1251ToUtf8(Byte(byte)), utf8) << utf8;
  }
}

TEST(Cp1251, EveryByteRoundTripsExceptTheUnassignedOne) {
  for (unsigned b = 0; b < 256; ++b) {
    if (b == 0x98) continue;
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(Byte(b))), Byte(b)) << "byte " << b;
  }
  EXPECT_EQ(Cp1251ToUtf8(Byte(0x98)), "\uFFFD");
}

// The C library's own converter as an independent reference for the upper
// half of the table.
TEST(Cp1251, UpperHalfAgreesWithTheSystemConverter) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "the C library has no CP1251 converter";
  for (unsigned b = 0x80; b < 0x100; ++b) {
    if (b == 0x98) continue;
    char in = static_cast<char>(b), out[8] = {};
    char *inPtr = &in, *outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1))
        << "byte " << b;
    EXPECT_EQ(Cp1251ToUtf8(Byte(b)), std::string(out, outPtr)) << "byte " << b;
  }
  iconv_close(cd);
}

// A character the code page cannot hold is '?' in plain text and a character
// reference in HTML; malformed UTF-8 is '?' byte by byte, and no HTML at all.
TEST(Cp1251, CharactersOutsideTheCodePageAndMalformedUtf8) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string plain;
    std::optional<std::string> html;
  } cases[] = {
      {"snowman", "☃", "?", "&#9731;"},
      {"four-byte character", "😀", "?", "&#128512;"},
      {"Latin-1 letter", "ä", "?", "&#228;"},
      {"the control character, not byte 0x98", "\u0098", "?", "&#152;"},
      {"within Russian text", "Снег ☃!", W("Снег ") + "?!", W("Снег ") + "&#9731;!"},
      {"nothing outside", "«Ёж» №5",
       "\xAB\xA8\xE6\xBB \xB9"
       "5",
       "\xAB\xA8\xE6\xBB \xB9"
       "5"},
      {"lone continuation byte", "a\x80z", "a?z", std::nullopt},
      {"truncated at the end", "a\xD0", "a?", std::nullopt},
      {"truncated before ASCII", "\xD0z", "?z", std::nullopt},
      {"truncated three-byte form", "\xE2\x98", "??", std::nullopt},
      {"overlong slash", "\xC0\xAF", "??", std::nullopt},
      {"surrogate half", "\xED\xA0\x80", "???", std::nullopt},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????", std::nullopt},
      {"invalid lead byte", "\xFF", "?", std::nullopt},
      {"Windows-1251 text taken for UTF-8", "\xC0\xC1\xC2", "???", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.utf8), c.plain) << c.name;
    EXPECT_EQ(Utf8ToCp1251Html(c.utf8), c.html) << c.name;
    EXPECT_EQ(Utf8Length(c.utf8).has_value(), c.html.has_value()) << c.name;
  }
  EXPECT_EQ(Utf8Length("Ёлка №1☃😀"), 9u);
}

TEST(Cp1251, TextBytes) {
  for (const unsigned b : {0x09u, 0x0Du, 0x0Au, 0x20u, 0x7Eu, 0x80u, 0xA0u, 0xFFu})
    EXPECT_TRUE(IsCp1251TextByte(static_cast<unsigned char>(b))) << "byte " << b;
  for (const unsigned b : {0x00u, 0x07u, 0x1Fu, 0x7Fu, 0x98u})
    EXPECT_FALSE(IsCp1251TextByte(static_cast<unsigned char>(b))) << "byte " << b;
}

}  // namespace
}  // namespace meridan
