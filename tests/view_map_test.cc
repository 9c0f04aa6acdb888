// The view: the edge-scroll and keep-over-field preferences in the frame,
// the map of the whole field and its way back to a camera, and the view a
// game opens with.
#include <gtest/gtest.h>

#include <string>

#include "game/field_map.h"
#include "game/play_inputs.h"
#include "game/start_view.h"

namespace kragmoor {
namespace {

// The camera after one frame with the mouse at (x, y) on the 485 x 447 panel.
ViewState AfterFrame(Session& s, int32_t x, int32_t y) {
  Apply(s, MouseAt{x, y});
  std::string error;
  EXPECT_TRUE(StepFrame(s, Front{}, error));
  return s.player.view;
}

TEST(ViewPreferences, EdgeScrollWidthAndKeepingTheViewOverTheField) {
  Session s;
  EXPECT_EQ(AfterFrame(s, 50, 200).cameraX, 1.0f);  // as designed: 100 pixels
  Apply(s, EdgeScroll{kNarrowScrollMargin});
  EXPECT_EQ(AfterFrame(s, 50, 200).cameraX, 1.0f);  // 50 is now clear of the edge
  EXPECT_EQ(AfterFrame(s, 15, 200).cameraX, 2.0f);
  Apply(s, EdgeScroll{0});
  EXPECT_EQ(AfterFrame(s, -5, -5).cameraX, 2.0f);  // off, even beyond the panel
  // Held over the field: the view's centre no further out than its edge.
  Apply(s, CameraAt{-5000.0f, 5000.0f});
  EXPECT_EQ(AfterFrame(s, 200, 200).cameraX, -5000.0f);
  Apply(s, KeepView{true});
  const ViewState kept = AfterFrame(s, 200, 200);
  EXPECT_EQ(kept.cameraX, 242.5f - 1250.0f);
  EXPECT_EQ(kept.cameraY, 223.5f);
}

TEST(FieldMap, DotsOutlineAndViewAtOneScaleAndBackToACamera) {
  Session s;
  FieldMap map = MakeFieldMap(s.world, s.player.view, 200, 100, 485, 447);
  EXPECT_DOUBLE_EQ(map.scale, 0.08);         // the field's height fits the map's
  EXPECT_DOUBLE_EQ(map.outline.left, 50.0);  // centred across
  EXPECT_DOUBLE_EQ(map.outline.right, 150.0);
  EXPECT_DOUBLE_EQ(map.view.bottom, 100.0);
  EXPECT_DOUBLE_EQ(map.view.right, 50.0 + 485 * 0.08);
  ASSERT_EQ(map.dots.size(), 9u);
  EXPECT_EQ(map.dots[4].slot, 4);
  EXPECT_DOUBLE_EQ(map.dots[4].x, 50.0 + 925 * 0.08);
  EXPECT_DOUBLE_EQ(map.dots[4].y, (1250 - 675) * 0.08);
  EXPECT_EQ(map.dots[4].red, s.world.players[0].red);
  // A click on a dot centres the play field on that entity.
  const CameraOffset c = CameraForMapPoint(map, map.dots[4].x, map.dots[4].y, 485, 447);
  EXPECT_FLOAT_EQ(c.x, 242.5f - 925.0f);
  EXPECT_FLOAT_EQ(c.y, 223.5f - 675.0f);

  // An entity off the field widens the map; one very far off sits at its edge.
  s.world.entities[20] = s.world.entities[3];
  s.world.entities[20].x = -1250.0f;
  s.world.entities[21] = s.world.entities[3];
  s.world.entities[21].y = 1e30f;
  map = MakeFieldMap(s.world, s.player.view, 200, 100, 485, 447);
  EXPECT_TRUE(map.dots[9].outsideField);
  EXPECT_FALSE(map.dots[3].outsideField);
  EXPECT_DOUBLE_EQ(map.dots[10].y, 0.0);
  EXPECT_DOUBLE_EQ(map.scale, 100.0 / (1250.0 + kMapReach));  // up to the reach
  EXPECT_DOUBLE_EQ(map.dots[9].x, map.outline.left - 1250.0 * map.scale);
}

TEST(StartView, OpensWithTheSidesBaseInView) {
  Session s;
  CameraOffset camera;
  EXPECT_FALSE(
      StartCamera(s.world, s.player.view, 1, 485, 447, camera));  // base 2 is in the design's view
  ASSERT_TRUE(
      StartCamera(s.world, s.player.view, 0, 485, 447, camera));  // base 4 at (925, 675) is not
  EXPECT_EQ(camera.x, 242.5f - 925.0f);
  EXPECT_EQ(camera.y, 223.5f - 675.0f);
  Apply(s, ComputerPlayers{{false, true, true}});
  ShowStartView(s, Front{});
  EXPECT_TRUE(ShowsBase(s.world, s.player.view, 485, 447, 0));
  // Without a base the side's peasant; with nothing of its own, any base.
  s.world.entities[4].hp = 0;
  ASSERT_TRUE(StartCamera(s.world, s.player.view, 0, 485, 447, camera));
  EXPECT_EQ(camera.x, 242.5f - 825.0f);
  s.world.entities[5].hp = 0;
  ASSERT_TRUE(StartCamera(s.world, s.player.view, 0, 485, 447, camera));
  EXPECT_EQ(camera.x, 242.5f - 275.0f);
  for (Tigrok& t : s.world.entities) t.hp = 0;
  EXPECT_FALSE(StartCamera(s.world, s.player.view, -1, 485, 447, camera));
}

}  // namespace
}  // namespace kragmoor
