// The game session and its inputs.
#include "game/session.h"

#include "game/recorder.h"
#include "sim/control.h"
#include "sim/view.h"
#include "world/float_text.h"
#include "world/orders.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

namespace {

void Record(Session& session, const std::string& command) {
  if (session.recorder != nullptr) session.recorder->Input(command);
}

std::string Numbers(const char* command, int32_t a, int32_t b) {
  return std::string(command) + ' ' + std::to_string(a) + ' ' + std::to_string(b);
}

bool RunFrame(Session& session, Gl* gl, std::string& error, bool byResize) {
  bool ok = true;
  try {
    FrameStep(session.world, session.inputs, gl);
  } catch (const ConversionError& e) {
    error = e.message();
    ok = false;
  }
  if (session.recorder != nullptr)
    session.recorder->Frame(session, byResize, ok ? nullptr : &error);
  return ok;
}

}  // namespace

Session::Session() {
  SetUpScenario(world);
  inputs.ticks = &ticks;
}

void AssignGame(Session& to, const Session& from) {
  to.world = from.world;
  to.inputs.computerPlayer = from.inputs.computerPlayer;
  to.inputs.level = from.inputs.level;
  to.inputs.panelWidth = from.inputs.panelWidth;
  to.inputs.panelHeight = from.inputs.panelHeight;
  to.ticks.value = from.ticks.value;
  to.clickMode = from.clickMode;
  to.buildItem = from.buildItem;
  to.play = from.play;
  if (to.recorder != nullptr) to.recorder->State(to);
}

void NewGame(Session& session, uint32_t seed) {
  session.world = World{};
  session.world.seed = seed;
  SetUpScenario(session.world);
  session.play = PlayState{};
  if (session.recorder != nullptr) session.recorder->State(session);
}

void SetMouse(Session& session, int32_t x, int32_t y) {
  session.world.view.mouseX = x;
  session.world.view.mouseY = y;
  Record(session, Numbers("mouse", x, y));
}

void MoveMouse(Session& session, int32_t x, int32_t y) {
  Panel3Cursor(session.world, x, y, session.inputs.panelHeight);
  Record(session, Numbers("move", x, y));
}

void SetCamera(Session& session, float x, float y) {
  SetCamera(session.world.view, x, y);
  Record(session, "camera " + FormatFloat(x) + ' ' + FormatFloat(y));
}

void SetCursor(Session& session, int32_t column, int32_t row) {
  session.world.view.cursorColumn = column;
  session.world.view.cursorRow = row;
  Record(session, Numbers("cursor", column, row));
}

void CentrePointer(Session& session) {
  if (CentrePointer(session.world, session.inputs.panelWidth, session.inputs.panelHeight)) {
    Record(session, Numbers("mouse", session.world.view.mouseX, session.world.view.mouseY));
  }
}

void StoreCursorCell(Session& session) {
  ViewState view = session.world.view;
  StoreCursorCell(view);
  SetCursor(session, view.cursorColumn, view.cursorRow);
}

void SetClickMode(Session& session, int32_t mode) {
  session.clickMode = mode;
  Record(session, "mode " + std::to_string(mode));
}

void SetBuildItem(Session& session, int32_t item) {
  session.buildItem = item;
  Record(session, "build " + std::to_string(item));
}

void SetComputerPlayers(Session& session, const std::array<bool, kSideCount>& ticked) {
  session.inputs.computerPlayer = ticked;
  Record(session, std::string("ai ") + (ticked[0] ? '1' : '0') + ' ' + (ticked[1] ? '1' : '0') +
                      ' ' + (ticked[2] ? '1' : '0'));
}

void SetPanel(Session& session, int32_t width, int32_t height) {
  session.inputs.panelWidth = width;
  session.inputs.panelHeight = height;
  Record(session, Numbers("panel", width, height));
}

void SetLevels(Session& session, const std::array<int32_t, kSideCount>& levels) {
  session.inputs.level = levels;
  Record(session, "level " + std::to_string(levels[0]) + ' ' + std::to_string(levels[1]) + ' ' +
                      std::to_string(levels[2]));
}

void GiveOrder(Session& session, int slot, std::string_view text) {
  Tigrok& t = session.world.entities[slot];
  t.order.assign(text);
  // A build order's kind, read without the conversion error: the text may
  // be anything, and only the two kinds a build click names have a cost.
  const auto [verb, argument] = LeadingWords<2>(text, ' ');
  if (verb == kVerbBuild) {
    const std::string_view kind = LeadingWords<1>(argument, ',')[0];
    if (kind == "0" || kind == "1") {
      t.progress = 0;
      t.plan = kind == "0" ? kBaseCost : kPeasantCost;
    }
  }
  Record(session, "order " + std::to_string(slot) + " \"" + std::string(text) + '"');
}

void Click(Session& session) {
  Panel3Click(session.world, session.clickMode, session.buildItem);
  Record(session, "click");
}

bool StepFrame(Session& session, Gl* gl, std::string& error) {
  return RunFrame(session, gl, error, false);
}

bool Resize(Session& session, int32_t width, int32_t height, Gl* gl, std::string& error) {
  session.inputs.panelWidth = width;
  session.inputs.panelHeight = height;
  Record(session, Numbers("resize", width, height));
  return RunFrame(session, gl, error, true);
}

bool StepFrame(Session& session, Gl* gl, std::ostream& out) {
  std::string error;
  if (StepFrame(session, gl, error)) return true;
  out << "error: " << error << '\n';
  return false;
}

}  // namespace kragmoor
