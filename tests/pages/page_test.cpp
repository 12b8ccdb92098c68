#include "output/pages/page.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/cp1251.h"

namespace meridan {
namespace {

TEST(NameForPage, EscapesMarkupAndKeepsEveryCharacter) {
  EXPECT_EQ(NameForPage("Иван").bytes, W("Иван"));
  EXPECT_EQ(NameForPage("<b>Tom & \"Jerry\"</b>").bytes,
            "&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;");
  EXPECT_EQ(NameForPage("Снег ☃").bytes, W("Снег ") + "&#9731;");
  EXPECT_EQ(NameForPage("&#9731;").bytes, "&amp;#9731;");
  EXPECT_EQ(NameForPage("Ёлкин №1 «Ё»").bytes, W("Ёлкин №1 «Ё»"));
  EXPECT_EQ(NameForPage("").bytes, "");
  EXPECT_THROW(NameForPage("\xff\xfe"), std::invalid_argument);
}

}  // namespace
}  // namespace meridan
