#pragma once
// SipHash-2-4 (Aumasson and Bernstein, 2012): a keyed hash whose output
// tells nothing about its input to anyone without the key. The calendar's
// event names are made with it, so that they stay the same from one export
// to the next and still say nothing about the person.

#include <array>
#include <cstdint>
#include <string_view>

namespace meridan {

using SipKey = std::array<std::uint8_t, 16>;

std::uint64_t SipHash24(const SipKey& key, std::string_view message);

}  // namespace meridan
