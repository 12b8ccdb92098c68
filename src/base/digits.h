#pragma once
// Whole numbers written as bare decimal digits: the day, month and year of a
// date, the hour and minute of a time, the numbers in a text file's header.
// Readers that allow a sign, blanks or text after the number (a signed
// option, a PDF's trailer, the Pluto table's lines) parse on their own.

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace meridan {

// "007" is 7; nullopt for an empty text, any character but a digit (a sign
// or a blank too) or a value beyond int.
inline std::optional<int> ParseDigits(std::string_view text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{})
    return std::nullopt;
  return value;
}

}  // namespace meridan
