// Fuzzes whole frame steps on arbitrary tables: the bytes become fields of
// entity slots (NaN, infinities, huge and negative floats, any integers, any
// order texts, indices outside 0 to 299, plan and maxHp of 0 or below), the
// purses, the view state (huge camera offsets), the check boxes, the panel
// size and the random seed. Then 50 frames are drawn through the recording
// backend, with clicks in any mode and build item, mouse moves and
// information-list refreshes in between. A frame may end with the conversion
// error; anything else that escapes, and every sanitizer report, is a fault.
//
// Input layout (each read past the end gives zero bytes):
//   seed u32, flags byte (bits 0-2 check boxes, bit 3 start from the initial
//   scenario instead of empty tables, bit 4 fill every free slot at the end),
//   panel width and height, mouse x and y, camera x and y, cursor column and
//   row, selected entity, three purses, tick count u32;
//   an action count byte (modulo 9) and that many actions: frame byte (modulo
//   50), what byte (click, mouse move or list refresh), two integers;
//   then slot records to the end: slot u16 (modulo 300), x, y, hp, maxHp,
//   order, nextOrder, progress, plan, owner, kind, gold.
// Floats, integers and texts take a selector byte first: small selectors
// pick edge values, larger ones small field-sized numbers (fuzz/table_bytes.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/table_bytes.h"
#include "render/recording_gl.h"
#include "render/scene.h"
#include "sim/control.h"
#include "sim/frame_step.h"
#include "world/orders.h"

namespace {

using namespace kragmoor;
using kragmoor::fuzz::Bytes;
using kragmoor::fuzz::ReadSlot;

constexpr int kFrames = 50;
constexpr int kMaxActions = 8;
constexpr int kInfoEvery = 10;  // frames between scheduled list refreshes

struct Action {
  int frame = 0;
  int what = 0;  // 0 click, 1 mouse move, 2 list refresh
  int32_t a = 0;
  int32_t b = 0;
};

void RefreshInfo(const World& world, const ViewState& view) {
  const std::vector<std::string> lines = InfoLines(world, view);
  if (lines.size() != 5 && lines.size() != 13) {
    std::fprintf(stderr, "fuzz_frames: the information list has %zu lines\n", lines.size());
    std::abort();
  }
}

// A tick count read from the input.
class FixedTicks final : public TickSource {
 public:
  uint32_t GetTickCount() override { return value; }
  uint32_t value = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  World world;
  ViewState view;
  SetUpScenario(world);
  FrameInputs inputs;
  FixedTicks ticks;
  inputs.ticks = &ticks;
  world.seed = in.U32();
  const uint8_t flags = in.Byte();
  for (int side = 0; side < kSideCount; ++side) {
    inputs.computerPlayer[side] = (flags >> side & 1) != 0;
  }
  if ((flags & 0x08) == 0) {
    for (Tigrok& t : world.entities) t = Tigrok{};
  }
  inputs.panelWidth = in.Int();
  inputs.panelHeight = in.Int();
  view.mouseX = in.Int();
  view.mouseY = in.Int();
  view.cameraX = in.Float();
  view.cameraY = in.Float();
  view.cursorColumn = in.Int();
  view.cursorRow = in.Int();
  view.selected = in.Int();
  for (Player& p : world.players) p.gold = in.Int();
  ticks.value = in.U32();

  Action actions[kMaxActions];
  const int actionCount = in.Byte() % (kMaxActions + 1);
  for (int i = 0; i < actionCount; ++i) {
    actions[i].frame = in.Byte() % kFrames;
    actions[i].what = in.Byte() % 3;
    actions[i].a = in.Int();
    actions[i].b = in.Int();
  }

  ReadSlots(in, world, (flags & 0x10) != 0);

  RecordingGl gl;
  InitOpenGL(gl);
  SetProjection(gl, inputs.panelWidth, inputs.panelHeight);
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int i = 0; i < actionCount; ++i) {
      const Action& action = actions[i];
      if (action.frame != frame) continue;
      if (action.what == 0) ClickOnField(world, view, action.a, action.b);
      if (action.what == 1) MouseFromPanel(view, action.a, action.b, inputs.panelHeight);
      if (action.what == 2) RefreshInfo(world, view);
    }
    try {
      FrameStep(world, view, inputs, &gl);
    } catch (const ConversionError&) {
      // The frame ended early at an order that does not convert.
    }
    gl.clear();
    if (frame % kInfoEvery == 0) RefreshInfo(world, view);
  }
  RefreshInfo(world, view);
  return 0;
}
