// Drawing of the play field through the Gl seam: the frame's bracket, the
// fixed GL state, the pointer, grid and cursor cell, and the attack lines.
// Entity glyphs and bars live in entities.cc. Never includes GL headers and
// never changes the world.
#include "render/scene.h"

#include "world/rules.h"

namespace kragmoor {

namespace {

constexpr int kGridCells = 25;  // the drawn grid is 25 by 25 cells
// The cell size in double: a saturated cursor column of +-2^31 times it must
// not overflow, and still gives a finite corner as a float.
constexpr double kCell = kCellSize;
constexpr double kPointerHalfWidth = 5.0;  // pixels; the triangle's base is 10 wide
constexpr double kPointerDepth = 5.0;      // pixels from the tip down to the base

// One grid cell's outline: corners counter-clockwise from the lower left,
// the order both the grid and the cursor cell use.
void CellLoop(Gl& gl, double left, double bottom) {
  gl.Begin(GlEnum::kLineLoop);
  gl.Vertex3f(static_cast<float>(left), static_cast<float>(bottom), 0.0f);
  gl.Vertex3f(static_cast<float>(left + kCell), static_cast<float>(bottom), 0.0f);
  gl.Vertex3f(static_cast<float>(left + kCell), static_cast<float>(bottom + kCell), 0.0f);
  gl.Vertex3f(static_cast<float>(left), static_cast<float>(bottom + kCell), 0.0f);
  gl.End();
}

}  // namespace

void InitOpenGL(Gl& gl) {
  gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl.ShadeModel(GlEnum::kSmooth);  // lets the health bar fade from red to green
  gl.ClearDepth(1.0);
  gl.Enable(GlEnum::kDepthTest);  // switched off again by every DrawField
  gl.DepthFunc(GlEnum::kLess);
  gl.Hint(GlEnum::kPerspectiveCorrectionHint, GlEnum::kNicest);
}

void SetProjection(Gl& gl, int32_t width, int32_t height) {
  SetProjection(gl, width, height, width, height);
}

void SetProjection(Gl& gl, int32_t width, int32_t height, int32_t deviceWidth,
                   int32_t deviceHeight) {
  gl.Viewport(0, 0, deviceWidth, deviceHeight);
  gl.MatrixMode(GlEnum::kProjection);
  gl.LoadIdentity();
  gl.Ortho(0.0, width, 0.0, height, -100.0, 100.0);
  gl.MatrixMode(GlEnum::kModelView);  // stays current: BeginFrame resets this matrix
  gl.LoadIdentity();
}

void BeginFrame(Gl& gl) {
  gl.Clear(kColorBufferBit | kDepthBufferBit);
  gl.LoadIdentity();
}

void DrawField(const ViewState& view, Gl& gl) {
  gl.Disable(GlEnum::kTexture2D);
  gl.Disable(GlEnum::kDepthTest);  // later primitives simply cover earlier ones

  // Pointer arrowhead in panel pixels, tip at the mouse. It sets no colour:
  // it shows whatever colour the previous frame set last.
  const double mx = view.mouseX;
  const double my = view.mouseY;
  gl.Begin(GlEnum::kTriangles);
  gl.Vertex3f(static_cast<float>(mx - kPointerHalfWidth), static_cast<float>(my - kPointerDepth),
              0.0f);
  gl.Vertex3f(static_cast<float>(mx), static_cast<float>(my), 0.0f);
  gl.Vertex3f(static_cast<float>(mx + kPointerHalfWidth), static_cast<float>(my - kPointerDepth),
              0.0f);
  gl.End();

  // From here to the end of the frame everything is in field units.
  gl.Translatef(view.cameraX, view.cameraY, 0.0f);

  gl.Color3f(0.3f, 0.3f, 0.3f);
  for (int c = 0; c < kGridCells; ++c) {
    for (int r = 0; r < kGridCells; ++r) {
      CellLoop(gl, kCell * c, kCell * r);  // its own loop: inner edges drawn twice
    }
  }

  // Outlined wherever it is, also outside the grid.
  gl.Color3f(0.7f, 0.7f, 0.7f);
  CellLoop(gl, kCell * view.cursorColumn, kCell * view.cursorRow);
}

void DrawAttackLine(const World& world, Gl& gl, int attacker, int target, bool shown) {
  gl.Begin(GlEnum::kLines);
  gl.Color3f(1.0f, 0.0f, 0.0f);
  if (shown) {
    const Tigrok& from = world.entities[attacker];
    const Tigrok& to = world.entities[target];
    gl.Vertex3f(from.x, from.y, 0.0f);
    gl.Vertex3f(to.x, to.y, 0.0f);
  }
  gl.End();
}

void EndFrame(Gl& gl) { gl.SwapBuffers(); }

}  // namespace kragmoor
