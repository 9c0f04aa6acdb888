// Drawing of the play field through the Gl seam.
#include "render/scene.h"

#include "world/random.h"

namespace kragmoor {

void InitOpenGL(Gl& /*gl*/) {}

void SetProjection(Gl& /*gl*/, int32_t /*width*/, int32_t /*height*/) {}

void BeginFrame(Gl* /*gl*/) {}

void ScrollCamera(ViewState& /*view*/, int32_t /*width*/, int32_t /*height*/) {}

void DrawField(World& /*world*/, Gl* /*gl*/) {}

void DrawEntities(const World& /*world*/, Gl* /*gl*/, TickSource* /*ticks*/) {}

void DrawAttackLine(World& world, Gl* /*gl*/, int /*attacker*/, int /*target*/) {
  Random(world, 10);
}

void DrawBuildBar(const World& /*world*/, Gl* /*gl*/, int /*builder*/) {}

void EndFrame(Gl* /*gl*/) {}

}  // namespace kragmoor
