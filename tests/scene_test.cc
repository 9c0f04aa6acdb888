// The scene operations called directly on a RecordingGl and compared as text:
// fixed state, glyphs and bars, the cursor cell, the attack line's random
// draw, and that a frame without a window changes the world the same way.
#include "render/scene.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "render/recording_gl.h"
#include "sim/frame_step.h"
#include "sim/view.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::string Text(const std::vector<std::string>& lines, size_t from = 0, size_t to = SIZE_MAX) {
  std::string text;
  for (size_t i = from; i < lines.size() && i < to; ++i) text += lines[i] + "\n";
  return text;
}

// Ticks handed out in turn, one per read, so a test sees which read went where.
class ListedTicks final : public TickSource {
 public:
  explicit ListedTicks(std::vector<uint32_t> values) : values_(std::move(values)) {}
  uint32_t GetTickCount() override { return values_[reads_++ % values_.size()]; }
  size_t reads() const { return reads_; }

 private:
  std::vector<uint32_t> values_;
  size_t reads_ = 0;
};

// A world holding one entity at (100, 100) of side 1 in slot 0.
World WithEntity(int32_t kind, float hp, float maxHp, int32_t owner = 1) {
  World world;
  world.players[1] = {0.8f, 0.5f, 0.5f, 0};
  Tigrok& t = world.entities[0];
  t.x = 100;
  t.y = 100;
  t.hp = hp;
  t.maxHp = maxHp;
  t.kind = kind;
  t.owner = owner;
  return world;
}

std::string Drawn(const World& world, TickSource* ticks = nullptr) {
  RecordingGl gl;
  DrawEntities(world, gl, ticks);
  return Text(gl.lines());
}

TEST(SceneState, FixedStateThenProjection) {
  RecordingGl gl;
  InitOpenGL(gl);
  SetProjection(gl, 485, 447);
  EXPECT_EQ(Text(gl.lines()),
            "glClearColor 0 0 0 1\nglShadeModel GL_SMOOTH\nglClearDepth 1\n"
            "glEnable GL_DEPTH_TEST\nglDepthFunc GL_LESS\n"
            "glHint GL_PERSPECTIVE_CORRECTION_HINT GL_NICEST\n"
            "glViewport 0 0 485 447\nglMatrixMode GL_PROJECTION\nglLoadIdentity\n"
            "glOrtho 0 485 0 447 -100 100\nglMatrixMode GL_MODELVIEW\nglLoadIdentity\n");
}

TEST(DrawEntities, HealthBarLengthFollowsHpAndIsNotClamped) {
  auto barEnd = [](float hp, float maxHp) {
    RecordingGl gl;
    DrawEntities(WithEntity(kKindBase, hp, maxHp), gl, nullptr);
    return Text(gl.lines(), gl.lines().size() - 6);
  };
  // A base at 100 of 200 hp: 12.5 long from (x - 12.5, y + 12.5).
  EXPECT_EQ(barEnd(100, 200),
            "glBegin GL_LINES\nglColor3f 1 0 0\nglVertex3f 87.5 112.5 0\n"
            "glColor3f 0 1 0\nglVertex3f 100 112.5 0\nglEnd\n");
  EXPECT_NE(barEnd(300, 200).find("glVertex3f 125 112.5 0"), std::string::npos);
  // maxHp 0 sends the end point to infinity without a trap.
  EXPECT_NE(barEnd(1, 0).find("glVertex3f inf 112.5 0"), std::string::npos);
  EXPECT_NE(barEnd(1, -0.0f).find("glVertex3f -inf 112.5 0"), std::string::npos);
}

TEST(DrawEntities, KindChoosesTheGlyphAndEveryDrawnEntityGetsABar) {
  const std::string bar =
      "glBegin GL_LINES\nglColor3f 1 0 0\nglVertex3f 87.5 112.5 0\n"
      "glColor3f 0 1 0\nglVertex3f 112.5 112.5 0\nglEnd\n";
  const std::string base = Drawn(WithEntity(kKindBase, 200, 200));
  for (int32_t kind : {1, 3, 4}) EXPECT_EQ(Drawn(WithEntity(kind, 200, 200)), base) << kind;
  for (int32_t kind : {-2, -3, 5, INT32_MIN}) {
    EXPECT_EQ(Drawn(WithEntity(kind, 200, 200)), bar) << kind;
  }
  // A side outside the player table has no colour: white, nothing read past the table.
  std::string white = base;
  white.replace(base.find("0.8 0.5 0.5"), 11, "1 1 1");
  for (int32_t owner : {-1, 3, INT32_MAX}) {
    EXPECT_EQ(Drawn(WithEntity(kKindBase, 200, 200, owner)), white) << owner;
  }
}

TEST(DrawEntities, DeadSlotsAndTheirBarsAreNotDrawn) {
  for (float hp : {0.0f, -0.0f, -5.0f, -kInf, kNaN}) {
    EXPECT_EQ(Drawn(WithEntity(kKindBase, hp, 200)), "") << hp;
  }
}

// Slot 0 at tick 0: both phases are 0, so the left foot is straight under
// the hip (sin 0) and the right foot 5 units out (cos 0).
TEST(DrawEntities, PeasantWithAndWithoutGold) {
  const std::string body =
      "glPointSize 10\nglBegin GL_POINTS\nglColor3f 0.8 0.5 0.5\nglVertex3f 100 100 0\nglEnd\n"
      "glBegin GL_LINES\n"
      "glVertex3f 97.916664 100 0\nglVertex3f 97.916664 83.333336 0\n"
      "glVertex3f 102.083336 100 0\nglVertex3f 107.083336 83.333336 0\n"
      "glVertex3f 100 100 0\nglVertex3f 87.5 100 0\nglEnd\n";
  const std::string bar =
      "glBegin GL_LINES\nglColor3f 1 0 0\nglVertex3f 87.5 112.5 0\n"
      "glColor3f 0 1 0\nglVertex3f 112.5 112.5 0\nglEnd\n";
  World world = WithEntity(kKindPeasant, 100, 100);
  EXPECT_EQ(Drawn(world), body + bar);
  world.entities[0].gold = 1;
  EXPECT_EQ(Drawn(world), body +
                              "glPointSize 3\nglBegin GL_POINTS\nglColor3f 1 1 0\n"
                              "glVertex3f 100 116.666664 0\nglEnd\n" +
                              bar);
}

// Each leg reads the tick on its own: the left leg follows the first read,
// the right leg the second; the slot shifts the phase.
TEST(DrawEntities, EachLegReadsTheTickAnew) {
  World world = WithEntity(kKindPeasant, 100, 100);
  world.entities[7] = world.entities[0];
  world.entities[0].hp = 0;
  auto legs = [&](TickSource* ticks) {
    RecordingGl gl;
    DrawEntities(world, gl, ticks);
    return std::vector<std::string>{gl.lines()[7], gl.lines()[9]};  // the two feet
  };
  ListedTicks early({1000}), late({4294967295u}), both({1000, 4294967295u});
  const auto a = legs(&early);
  const auto b = legs(&late);
  const auto mixed = legs(&both);
  EXPECT_EQ(both.reads(), 2u);
  EXPECT_EQ(mixed[0], a[0]);
  EXPECT_EQ(mixed[1], b[1]);
  EXPECT_NE(a, b);
  EXPECT_EQ(a[0], "glVertex3f 102.757195 83.333336 0");  // sin(20 + 7 * 11.765)
}

struct CursorCase {
  float cameraX, cameraY;
  int32_t mouseX, mouseY;
  int32_t column, row;
  const char* lowerLeft;   // the outline's first vertex
  const char* upperRight;  // its third
};

// The cell the frame stores before drawing, and its outline.
TEST(DrawField, CursorCellTruncatesTowardZeroAndIsOutlinedAnywhere) {
  const CursorCase cases[] = {
      {40, 40, 10, 10, 0, 0, "0 0", "50 50"},           // -0.6 truncates to 0
      {80, 0, 20, 49, -1, 0, "-50 0", "0 50"},          // -1.2 truncates to -1
      {0, 80, 1300, 20, 26, -1, "1300 -50", "1350 0"},  // outside the grid, still drawn
      {1e30f, kNaN, 0, 0, INT32_MIN, 0, "-107374182400 0", "-107374182400 50"},
      {-kInf, 1e30f, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, "107374182400 -107374182400",
       "107374182400 -107374182400"},
  };
  for (const CursorCase& c : cases) {
    ViewState view;
    view.cameraX = c.cameraX;
    view.cameraY = c.cameraY;
    view.mouseX = c.mouseX;
    view.mouseY = c.mouseY;
    RecordingGl gl;
    StoreCursorCell(view);
    DrawField(view, gl);
    EXPECT_EQ(view.cursorColumn, c.column) << c.mouseX;
    EXPECT_EQ(view.cursorRow, c.row) << c.mouseX;
    const auto& lines = gl.lines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(Text(lines, lines.size() - 7, lines.size() - 4),
              std::string("glColor3f 0.7 0.7 0.7\nglBegin GL_LINE_LOOP\nglVertex3f ") +
                  c.lowerLeft + " 0\n")
        << c.mouseX;
    EXPECT_EQ(lines[lines.size() - 3], std::string("glVertex3f ") + c.upperRight + " 0");
  }
}

// A hit's random draw decides whether its line shows; the order pass takes
// it (see frame_step_test), and the colour is set either way.
TEST(DrawAttackLine, LineWhenShownColourAlways) {
  World world;
  world.entities[2].x = 10;
  world.entities[2].y = 20;
  world.entities[5].x = 30;
  world.entities[5].y = 40;
  RecordingGl gl;
  DrawAttackLine(world, gl, 2, 5, true);
  DrawAttackLine(world, gl, 2, 5, false);
  EXPECT_EQ(Text(gl.lines()),
            "glBegin GL_LINES\nglColor3f 1 0 0\nglVertex3f 10 20 0\nglVertex3f 30 40 0\nglEnd\n"
            "glBegin GL_LINES\nglColor3f 1 0 0\nglEnd\n");
}

TEST(DrawBuildBar, GreenBeforeEachVertexAndAsLongAsTheProgress) {
  World world;
  Tigrok& builder = world.entities[4];
  builder.x = 100;
  builder.y = 100;
  builder.plan = 100;
  RecordingGl gl;
  DrawBuildBar(world, gl, 4);
  EXPECT_EQ(Text(gl.lines()),
            "glBegin GL_LINES\nglColor3f 0 1 0\nglVertex3f 87.5 116.666664 0\n"
            "glColor3f 0 1 0\nglVertex3f 87.5 116.666664 0\nglEnd\n");
  gl.clear();
  builder.progress = 100;
  DrawBuildBar(world, gl, 4);
  EXPECT_EQ(gl.lines()[4], "glVertex3f 112.5 116.666664 0");
  gl.clear();
  builder.progress = 0;
  builder.plan = 0;  // 0 / 0: a NaN end point, no trap
  DrawBuildBar(world, gl, 4);
  const std::string& end = gl.lines()[4];
  EXPECT_TRUE(end == "glVertex3f nan 116.666664 0" || end == "glVertex3f -nan 116.666664 0") << end;
  // Any other progress over a plan of 0 ends at an infinity of its sign.
  for (const auto& [progress, expected] : {std::pair{5, "glVertex3f inf 116.666664 0"},
                                           std::pair{-5, "glVertex3f -inf 116.666664 0"}}) {
    gl.clear();
    builder.progress = progress;
    DrawBuildBar(world, gl, 4);
    EXPECT_EQ(gl.lines()[4], expected);
  }
}

// Two peasants of different sides, alone on the field, hit each other in
// every frame.
World Fight() {
  World world;
  for (int slot : {3, 5}) {
    Tigrok& t = world.entities[slot];
    t.x = slot == 3 ? 2000 : 2020;
    t.y = 2000;
    t.hp = t.maxHp = 100;
    t.kind = kKindPeasant;
    t.owner = slot == 3 ? 1 : 0;
    t.order = slot == 3 ? "atakovat 5" : "atakovat 3";
  }
  world.seed = 12345;
  return world;
}

// After 30 frames the world is the same with and without drawing (the random
// draws included), and every hit set the line colour whether it showed or not.
// The window's mark around a live selection keeps GL's current colour for
// the next frame's pointer; nothing for no selection or a dead one.
TEST(DrawSelectionMark, WhiteSquareAroundALiveSelection) {
  World world = WithEntity(kKindBase, 200, 200);
  ViewState view;
  view.selected = 0;
  RecordingGl gl;
  DrawSelectionMark(world, view, gl);
  EXPECT_EQ(Text(gl.lines()),
            "glPushAttrib GL_CURRENT_BIT\nglColor3f 1 1 1\nglBegin GL_LINE_LOOP\n"
            "glVertex3f 77 77 0\nglVertex3f 123 77 0\nglVertex3f 123 123 0\n"
            "glVertex3f 77 123 0\nglEnd\nglPopAttrib\n");
  for (const auto& [selected, hp] :
       {std::pair{-1, 200.0f}, std::pair{0, 0.0f}, std::pair{300, 1.0f}}) {
    view.selected = selected;
    world.entities[0].hp = hp;
    gl.clear();
    DrawSelectionMark(world, view, gl);
    EXPECT_TRUE(gl.lines().empty()) << selected;
  }
}

// A paused window's picture: a frame's drawing without the frame, the stored
// cursor cell kept, the world untouched.
TEST(DrawStill, DrawsTheFrameWithoutStepping) {
  World world = WithEntity(kKindPeasant, 100, 100);
  world.entities[0].order = "idti 500,500";
  ViewState view;
  view.mouseX = 10;  // would scroll and move the cursor cell in a frame
  view.cursorColumn = 4;
  const uint64_t before = StateHash(world, view);
  RecordingGl still;
  DrawStill(world, view, still, nullptr);
  EXPECT_EQ(StateHash(world, view), before);
  RecordingGl frame;
  BeginFrame(frame);
  DrawField(view, frame);
  DrawEntities(world, frame, nullptr);
  EndFrame(frame);
  EXPECT_EQ(Text(still.lines()), Text(frame.lines()));
}

TEST(Frames, WithoutAWindowTheWorldChangesAsWhenDrawn) {
  FrameInputs inputs;
  inputs.computerPlayer = {false, false, false};
  World drawn = Fight();
  World unseen = Fight();
  ViewState drawnView;
  ViewState unseenView;
  RecordingGl gl;
  std::vector<size_t> frameStarts;
  for (int i = 0; i < 30; ++i) {
    frameStarts.push_back(gl.lines().size());
    FrameStep(drawn, drawnView, inputs, &gl);
    FrameStep(unseen, unseenView, inputs, nullptr);
  }
  EXPECT_EQ(StateHash(drawn, drawnView), StateHash(unseen, unseenView));
  EXPECT_EQ(drawn.entities[3].hp, 70.0f);

  // Two hits a frame, each with its red line colour, shown or not.
  const auto& lines = gl.lines();
  size_t reds = 0;
  for (const std::string& line : lines) reds += line == "glColor3f 1 0 0";
  const size_t healthBars = 2 * 30;
  EXPECT_EQ(reds - healthBars, 2u * 30);

  // The attack lines come last, so every frame's pointer (after the first)
  // is red: the triangle follows the clear with no colour in between.
  for (size_t i = 1; i < frameStarts.size(); ++i) {
    size_t last = frameStarts[i];
    while (lines[last].rfind("glColor3f", 0) != 0) --last;
    EXPECT_EQ(lines[last], "glColor3f 1 0 0");
    EXPECT_EQ(lines[frameStarts[i] + 4], "glBegin GL_TRIANGLES");
  }
}

}  // namespace
}  // namespace kragmoor
