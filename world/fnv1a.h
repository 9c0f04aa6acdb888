// FNV-1a, 64 bits: the fingerprint of the state hash and the checksum of
// saved games. Any one changed byte always changes it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kragmoor {

class Fnv1a {
 public:
  void Bytes(const unsigned char* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      hash_ ^= p[i];
      hash_ *= 0x100000001b3ull;
    }
  }
  void Bytes(std::string_view s) {
    Bytes(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  }
  // Numbers little-endian, floats as their IEEE-754 bit patterns.
  void U32(uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    Bytes(b, 4);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
  // A text as its 32-bit length, then its bytes.
  void Text(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    Bytes(s);
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace kragmoor
