// The Windows-1251 converter: the characters that tell this code page from
// the other Cyrillic ones, the whole alphabet, what happens to characters it
// cannot hold and to malformed UTF-8.

#include "reports/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace meridan {
namespace {

std::string Byte(unsigned b) { return std::string(1, static_cast<char>(b)); }

// Byte values from the published Windows-1251 table (Microsoft code page
// 1251, as in the Unicode consortium's CP1251.TXT mapping).
struct Known {
  const char* name;
  const char* utf8;
  unsigned byte;
};
constexpr Known kKnown[] = {
    {"capital yo", "Ё", 0xA8},   {"small yo", "ё", 0xB8},        {"numero sign", "№", 0xB9},
    {"left guillemet", "«", 0xAB}, {"right guillemet", "»", 0xBB}, {"em dash", "—", 0x97},
    {"euro sign", "€", 0x88},    {"no-break space", "\u00A0", 0xA0}, {"capital a", "А", 0xC0},
    {"small ya", "я", 0xFF},     {"capital er", "Р", 0xD0},      {"small es", "с", 0xF1},
    {"ukrainian ghe", "Ґ", 0xA5}, {"left double quote", "“", 0x93}, {"trade mark", "™", 0x99},
};

TEST(Cp1251, KnownCharactersBothWays) {
  for (const Known& k : kKnown) {
    EXPECT_EQ(Utf8ToCp1251(k.utf8), Byte(k.byte)) << k.name;
    EXPECT_EQ(Cp1251ToUtf8(Byte(k.byte)), k.utf8) << k.name;
  }
}

TEST(Cp1251, RussianAlphabetRoundTrip) {
  const std::string upper = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
  const std::string lower = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
  const std::string cpUpper = Utf8ToCp1251(upper);
  const std::string cpLower = Utf8ToCp1251(lower);
  ASSERT_EQ(cpUpper.size(), 33u);
  ASSERT_EQ(cpLower.size(), 33u);
  EXPECT_EQ(Cp1251ToUtf8(cpUpper), upper);
  EXPECT_EQ(Cp1251ToUtf8(cpLower), lower);
  // А..Я and а..я stand in one block 0xC0..0xFF; Ё and ё outside it.
  EXPECT_EQ(cpUpper[6], Byte(0xA8)[0]);
  EXPECT_EQ(cpLower[6], Byte(0xB8)[0]);
  for (size_t i = 0; i < 33; ++i) {
    if (i == 6) continue;
    const size_t letter = i < 6 ? i : i - 1;
    EXPECT_EQ(static_cast<unsigned char>(cpUpper[i]), 0xC0 + letter) << i;
    EXPECT_EQ(static_cast<unsigned char>(cpLower[i]), 0xE0 + letter) << i;
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
    char in = static_cast<char>(b);
    char out[8] = {};
    char* inPtr = &in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << "byte " << b;
    EXPECT_EQ(Cp1251ToUtf8(Byte(b)), std::string(out, outPtr)) << "byte " << b;
  }
  iconv_close(cd);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("☃"), "?");
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  EXPECT_EQ(Utf8ToCp1251("ä"), "?");  // Latin-1 letters are not in this code page
  EXPECT_EQ(Utf8ToCp1251("😀"), "?");  // one mark for a four-byte character
  EXPECT_EQ(Utf8ToCp1251("\u0098"), "?");  // the control character is not byte 0x98
  EXPECT_EQ(Utf8ToCp1251("Снег ☃!"), Utf8ToCp1251("Снег ") + "?!");
}

TEST(Cp1251, HtmlFormKeepsOtherCharactersAsReferences) {
  EXPECT_EQ(Utf8ToCp1251Html("☃"), "&#9731;");
  EXPECT_EQ(Utf8ToCp1251Html("😀"), "&#128512;");
  EXPECT_EQ(Utf8ToCp1251Html("Снег ☃!"), Utf8ToCp1251("Снег ") + "&#9731;!");
  EXPECT_EQ(Utf8ToCp1251Html("«Ёж» №5"), Utf8ToCp1251("«Ёж» №5"));
  EXPECT_EQ(Utf8ToCp1251Html(""), "");
}

TEST(Cp1251, MalformedUtf8) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string cp1251;  // what Utf8ToCp1251 makes of it
  } cases[] = {
      {"lone continuation byte", "a\x80z", "a?z"},
      {"truncated at the end", "a\xD0", "a?"},
      {"truncated before ASCII", "\xD0z", "?z"},
      {"truncated three-byte form", "\xE2\x98", "??"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate half", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"invalid lead byte", "\xFF", "?"},
      {"Windows-1251 text taken for UTF-8", "\xC0\xC1\xC2", "???"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.bytes), c.cp1251) << c.name;
    EXPECT_EQ(Utf8ToCp1251Html(c.bytes), std::nullopt) << c.name;
    EXPECT_EQ(Utf8Length(c.bytes), std::nullopt) << c.name;
  }
}

TEST(Cp1251, Utf8LengthCountsCharacters) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("abc"), 3u);
  EXPECT_EQ(Utf8Length("Ёлка №1"), 7u);
  EXPECT_EQ(Utf8Length("☃😀"), 2u);
}

TEST(Cp1251, TextBytes) {
  for (const unsigned b : {0x09u, 0x0Du, 0x0Au, 0x20u, 0x41u, 0x7Eu, 0x80u, 0xA0u, 0xC0u, 0xFFu})
    EXPECT_TRUE(IsCp1251TextByte(static_cast<unsigned char>(b))) << "byte " << b;
  for (const unsigned b : {0x00u, 0x07u, 0x1Au, 0x1Fu, 0x7Fu, 0x98u})
    EXPECT_FALSE(IsCp1251TextByte(static_cast<unsigned char>(b))) << "byte " << b;
}

}  // namespace
}  // namespace meridan
