// Drawing that only the window does: the selection mark and the still
// picture of a paused game. Reads the world and the view and draws through
// the Gl seam; never part of a frame step, so the headless trace never holds
// it.
#include "render/scene.h"

namespace kragmoor {

namespace {

// Half the side of the selection mark, field units: just outside the
// largest glyph (a base's walls reach 20.8 below its position) and the bars.
constexpr double kMarkHalfSide = 23.0;

// Half the side of the marks of the rest of a selection set: inside the
// white one, so the entity the list shows stands out.
constexpr double kSetMarkHalfSide = 20.0;

void Square(Gl& gl, double x, double y, double half) {
  const auto vertex = [&gl](double vx, double vy) {
    gl.Vertex3f(static_cast<float>(vx), static_cast<float>(vy), 0.0f);
  };
  gl.Begin(GlEnum::kLineLoop);
  vertex(x - half, y - half);
  vertex(x + half, y - half);
  vertex(x + half, y + half);
  vertex(x - half, y + half);
  gl.End();
}

}  // namespace

void DrawSetMarks(const World& world, const std::vector<int32_t>& slots, Gl& gl) {
  gl.PushAttrib(kCurrentBit);
  gl.Color3f(0.4f, 1.0f, 0.4f);
  for (const int32_t s : slots) {
    if (!IsSlot(s) || !IsLive(world.entities[s])) continue;
    Square(gl, world.entities[s].x, world.entities[s].y, kSetMarkHalfSide);
  }
  gl.PopAttrib();
}

void DrawSelectionMark(const World& world, const ViewState& view, Gl& gl) {
  const int32_t s = view.selected;
  if (!IsSlot(s) || !IsLive(world.entities[s])) return;
  gl.PushAttrib(kCurrentBit);
  gl.Color3f(1.0f, 1.0f, 1.0f);
  Square(gl, world.entities[s].x, world.entities[s].y, kMarkHalfSide);
  gl.PopAttrib();
}

void DrawStill(const World& world, const ViewState& view, Gl& gl, TickSource* ticks) {
  BeginFrame(gl);
  DrawField(view, gl);
  DrawEntities(world, gl, ticks);
  EndFrame(gl);
}

}  // namespace kragmoor
