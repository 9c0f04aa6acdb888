// Drawing of the play field through the Gl seam: the frame's bracket, the
// fixed GL state, the edge scroll, the pointer, grid and cursor cell, and the
// attack lines. Entity glyphs and bars live in entities.cc. Never includes GL
// headers and never changes the world beyond what scene.h lists.
#include "render/scene.h"

#include "world/convert.h"
#include "world/random.h"

namespace kragmoor {

namespace {

constexpr double kCellSize = 50.0;         // field units per grid cell
constexpr int32_t kScrollMargin = 100;     // pixels from a panel edge that scroll the view
constexpr float kScrollStep = 1.0f;        // field units per frame and axis
constexpr int kGridCells = 25;             // the drawn grid is 25 by 25 cells
constexpr double kPointerHalfWidth = 5.0;  // pixels; the triangle's base is 10 wide
constexpr double kPointerDepth = 5.0;      // pixels from the tip down to the base

// One grid cell's outline: corners counter-clockwise from the lower left,
// the order both the grid and the cursor cell use. Double in, so a saturated
// cursor column of +-2^31 still gives a finite corner.
void CellLoop(Gl& gl, double left, double bottom) {
  gl.Begin(GlEnum::kLineLoop);
  gl.Vertex3f(static_cast<float>(left), static_cast<float>(bottom), 0.0f);
  gl.Vertex3f(static_cast<float>(left + kCellSize), static_cast<float>(bottom), 0.0f);
  gl.Vertex3f(static_cast<float>(left + kCellSize), static_cast<float>(bottom + kCellSize), 0.0f);
  gl.Vertex3f(static_cast<float>(left), static_cast<float>(bottom + kCellSize), 0.0f);
  gl.End();
}

// The cell under the pointer: the field point under the mouse divided by the
// cell size, truncated toward zero (so -0.6 is column 0, not -1). The camera
// offset is unbounded; a quotient beyond int32 saturates and NaN gives 0.
void StoreCursorCell(ViewState& view) {
  const double fieldX = static_cast<double>(view.mouseX) - static_cast<double>(view.cameraX);
  const double fieldY = static_cast<double>(view.mouseY) - static_cast<double>(view.cameraY);
  view.cursorColumn = TruncToInt32(fieldX / kCellSize);
  view.cursorRow = TruncToInt32(fieldY / kCellSize);
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

void BeginFrame(Gl* gl) {
  if (gl == nullptr) return;
  gl->Clear(kColorBufferBit | kDepthBufferBit);
  gl->LoadIdentity();
}

void ScrollCamera(ViewState& view, int32_t width, int32_t height) {
  // Read once for all four tests; W - 100 in 64 bits cannot overflow. On a
  // panel narrower than 200 both horizontal tests can fire and cancel out.
  const int64_t mx = view.mouseX;
  const int64_t my = view.mouseY;
  if (mx < kScrollMargin) view.cameraX += kScrollStep;
  if (my < kScrollMargin) view.cameraY += kScrollStep;
  if (mx > int64_t{width} - kScrollMargin) view.cameraX -= kScrollStep;
  if (my > int64_t{height} - kScrollMargin) view.cameraY -= kScrollStep;
}

void DrawField(World& world, Gl* gl) {
  ViewState& view = world.view;
  // Stored whether or not a window draws it: the click handler reads it.
  StoreCursorCell(view);
  if (gl == nullptr) return;

  gl->Disable(GlEnum::kTexture2D);
  gl->Disable(GlEnum::kDepthTest);  // later primitives simply cover earlier ones

  // Pointer arrowhead in panel pixels, tip at the mouse. It sets no colour:
  // it shows whatever colour the previous frame set last.
  const double mx = view.mouseX;
  const double my = view.mouseY;
  gl->Begin(GlEnum::kTriangles);
  gl->Vertex3f(static_cast<float>(mx - kPointerHalfWidth), static_cast<float>(my - kPointerDepth),
               0.0f);
  gl->Vertex3f(static_cast<float>(mx), static_cast<float>(my), 0.0f);
  gl->Vertex3f(static_cast<float>(mx + kPointerHalfWidth), static_cast<float>(my - kPointerDepth),
               0.0f);
  gl->End();

  // From here to the end of the frame everything is in field units.
  gl->Translatef(view.cameraX, view.cameraY, 0.0f);

  gl->Color3f(0.3f, 0.3f, 0.3f);
  for (int c = 0; c < kGridCells; ++c) {
    for (int r = 0; r < kGridCells; ++r) {
      CellLoop(*gl, kCellSize * c, kCellSize * r);  // its own loop: inner edges drawn twice
    }
  }

  // Outlined wherever it is, also outside the grid.
  gl->Color3f(0.7f, 0.7f, 0.7f);
  CellLoop(*gl, kCellSize * view.cursorColumn, kCellSize * view.cursorRow);
}

void DrawAttackLine(World& world, Gl* gl, int attacker, int target) {
  // The draw is taken on every executed hit, drawn or not, with or without a
  // window, so a headless run keeps the same random sequence.
  if (gl == nullptr) {
    Random(world, 10);
    return;
  }
  gl->Begin(GlEnum::kLines);
  gl->Color3f(1.0f, 0.0f, 0.0f);
  if (Random(world, 10) < 5) {  // the line flickers: shown in half the frames
    const Tigrok& from = world.entities[attacker];
    const Tigrok& to = world.entities[target];
    gl->Vertex3f(from.x, from.y, 0.0f);
    gl->Vertex3f(to.x, to.y, 0.0f);
  }
  gl->End();
}

void EndFrame(Gl* gl) {
  if (gl == nullptr) return;
  gl->SwapBuffers();
}

}  // namespace kragmoor
