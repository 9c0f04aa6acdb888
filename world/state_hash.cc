// FNV-1a fingerprint of the world.
#include "world/state_hash.h"

#include <bit>
#include <string_view>

namespace kragmoor {

namespace {

class Fnv1a {
 public:
  void Bytes(const unsigned char* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      hash_ ^= p[i];
      hash_ *= 0x100000001b3ull;
    }
  }
  void U32(uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    Bytes(b, 4);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
  void Text(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    Bytes(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

uint64_t StateHash(const World& world) {
  Fnv1a h;
  for (const Tigrok& t : world.entities) {
    h.F32(t.x);
    h.F32(t.y);
    h.F32(t.hp);
    h.F32(t.maxHp);
    h.Text(t.order);
    h.Text(t.nextOrder);
    h.I32(t.progress);
    h.I32(t.plan);
    h.I32(t.owner);
    h.I32(t.kind);
    h.I32(t.gold);
  }
  for (const Player& p : world.players) {
    h.F32(p.red);
    h.F32(p.green);
    h.F32(p.blue);
    h.I32(p.gold);
  }
  h.U32(world.seed);
  const ViewState& v = world.view;
  h.I32(v.mouseX);
  h.I32(v.mouseY);
  h.F32(v.cameraX);
  h.F32(v.cameraY);
  h.I32(v.cursorColumn);
  h.I32(v.cursorRow);
  h.I32(v.selected);
  return h.value();
}

}  // namespace kragmoor
