#pragma once
// Numbers stored least significant byte first, as the ZIP and BMP headers
// and SipHash keep them: the one reader and the one writer of that order.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace meridan {

// The number the bytes (at most 8) hold.
constexpr std::uint64_t LittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint64_t value = 0;
  for (size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
  return value;
}
inline std::uint64_t LittleEndian(std::string_view bytes) {
  return LittleEndian({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// Appends the low `width` bytes of value to a std::string or a byte vector.
template <class Bytes>
void PutLittleEndian(Bytes& out, std::uint64_t value, size_t width) {
  for (size_t i = 0; i < width; ++i)
    out.push_back(static_cast<typename Bytes::value_type>(value >> (8 * i) & 0xFF));
}

}  // namespace meridan
