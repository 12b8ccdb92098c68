#include "output/calendar/siphash.h"

#include "base/little_endian.h"

namespace meridan {
namespace {

std::uint64_t Rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

struct SipState {
  std::uint64_t v0, v1, v2, v3;
  void Round() {
    v0 += v1;
    v1 = Rotate(v1, 13);
    v1 ^= v0;
    v0 = Rotate(v0, 32);
    v2 += v3;
    v3 = Rotate(v3, 16);
    v3 ^= v2;
    v0 += v3;
    v3 = Rotate(v3, 21);
    v3 ^= v0;
    v2 += v1;
    v1 = Rotate(v1, 17);
    v1 ^= v2;
    v2 = Rotate(v2, 32);
  }
  void Absorb(std::uint64_t m) {
    v3 ^= m;
    Round();
    Round();
    v0 ^= m;
  }
};

}  // namespace

std::uint64_t SipHash24(const SipKey& key, std::string_view message) {
  const std::span<const std::uint8_t> keyBytes(key);
  const std::uint64_t k0 = LittleEndian(keyBytes.first(8)), k1 = LittleEndian(keyBytes.last(8));
  SipState s{k0 ^ 0x736f6d6570736575ULL, k1 ^ 0x646f72616e646f6dULL, k0 ^ 0x6c7967656e657261ULL,
             k1 ^ 0x7465646279746573ULL};
  const size_t whole = message.size() / 8 * 8;
  for (size_t i = 0; i < whole; i += 8) s.Absorb(LittleEndian(message.substr(i, 8)));
  // The last block: the remaining bytes, the length's low byte on top.
  s.Absorb(LittleEndian(message.substr(whole)) |
           (static_cast<std::uint64_t>(message.size() & 0xFF) << 56));
  s.v2 ^= 0xFF;
  for (int i = 0; i < 4; ++i) s.Round();
  return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

}  // namespace meridan
