// Turns fuzzer bytes into values for the game's tables: floats, integers and
// order texts chosen by a selector byte, so that edge values (NaN,
// infinities, the limits of 32 bits, indices just outside the table, texts
// that do not convert) are one byte away, and whole slot records. Each read
// past the end of the input gives zero bytes. Shared by the fuzz targets
// that fill tables.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>

#include "world/orders.h"
#include "world/tigrok.h"
#include "world/tigrok_fields.h"

namespace kragmoor::fuzz {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return v;
  }

  // Selectors 0 to 13 pick an edge value, 14 a raw bit pattern, 15 an
  // integer's value; larger ones a field-sized number from -200 to 1077.
  float Float() {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kMax = std::numeric_limits<float>::max();
    static const float kEdges[] = {
        std::numeric_limits<float>::quiet_NaN(),
        -std::numeric_limits<float>::quiet_NaN(),
        kInf,
        -kInf,
        kMax,
        -kMax,
        1e30f,
        -1e30f,
        std::numeric_limits<float>::denorm_min(),
        -0.0f,
        2147483648.0f,   // 2^31, just above int32
        2147483520.0f,   // the largest float below 2^31
        -2147483904.0f,  // the float just below -2^31
        -2147483648.0f,
    };
    const uint8_t s = Byte();
    if (s < std::size(kEdges)) return kEdges[s];
    if (s == 14) return std::bit_cast<float>(U32());
    if (s == 15) return static_cast<float>(Int());
    return (s - 40) * 5.0f + Byte() / 128.0f;
  }

  // Selectors 0 to 7 pick an edge value (2: a raw 32-bit pattern); larger
  // ones -32 to 215: kinds, owners, slots and small amounts.
  int32_t Int() {
    static const int32_t kEdges[] = {INT32_MIN,     INT32_MAX,    0, -777, 300, 299,
                                     INT32_MIN + 1, INT32_MAX - 1};
    const uint8_t s = Byte();
    if (s == 2) return static_cast<int32_t>(U32());
    if (s < std::size(kEdges)) return kEdges[s];
    return s - 40;
  }

  // A number as an order would hold it, well formed or not.
  std::string NumberText() {
    static const char* const kFixed[] = {"2147483648", "-2147483649", "",   " 7", "+12",
                                         "299",        "300",         "-1", "-0"};
    const uint8_t s = Byte() % 14;
    if (s == 0) return IntToStr(Byte());
    if (s == 1) return IntToStr(Int());
    if (s == 2) return "$" + Hex(U32());
    if (s == 3) return "0x" + Hex(U32());
    if (s == 4) return Raw(8);
    return kFixed[s - 5];
  }

  std::string Text() {
    static const char* const kVerbs[] = {"idtiza", "idti", "atakovat", "stroit", "chinit",
                                         "idle",   "",     "stroit 0", "IDTI",   "idtiza "};
    const uint8_t s = Byte();
    switch (s % 8) {
      case 0:
        return "";
      case 1:
        return "idle";
      case 2:
        return Raw(48);
      default: {
        std::string text = kVerbs[Byte() % (sizeof kVerbs / sizeof kVerbs[0])];
        const int numbers = (s >> 3) % 4;
        for (int i = 0; i < numbers; ++i) {
          text += i == 0 ? ((s & 0x80) != 0 ? "  " : " ") : ((s & 0x40) != 0 ? ",," : ",");
          text += NumberText();
        }
        return text;
      }
    }
  }

 private:
  static std::string Hex(uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", v);
    return buffer;
  }

  std::string Raw(size_t most) {
    const size_t n = Byte() % (most + 1);
    std::string text;
    for (size_t i = 0; i < n && !empty(); ++i) text += static_cast<char>(Byte());
    return text;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Every field of one slot record, in the order of the field table.
inline void ReadSlot(Bytes& in, Tigrok& t) {
  for (const TigrokField& f : kTigrokFields) {
    switch (f.type) {
      case FieldType::kFloat:
        t.*f.real = in.Float();
        break;
      case FieldType::kText:
        t.*f.text = in.Text();
        break;
      case FieldType::kInt:
        t.*f.integer = in.Int();
        break;
    }
  }
}

// Slot records to the end of the input, each after two bytes naming its
// slot. With `fillTable`, every slot left free then becomes a live copy of
// the last record read, spread over the field, so no build finds a free slot.
inline void ReadSlots(Bytes& in, World& world, bool fillTable) {
  int last = -1;
  while (!in.empty()) {
    const int slot = ((in.Byte() << 8) | in.Byte()) % kSlotCount;
    ReadSlot(in, world.entities[slot]);
    last = slot;
  }
  if (!fillTable || last == -1) return;
  for (int i = 0; i < kSlotCount; ++i) {
    Tigrok& t = world.entities[i];
    if (IsLive(t)) continue;
    t = world.entities[last];
    t.hp = 100.0f;
    t.x += static_cast<float>(i % 20 * 30);
    t.y += static_cast<float>(i / 20 * 30);
    t.owner = i % kSideCount;
  }
}

}  // namespace kragmoor::fuzz
