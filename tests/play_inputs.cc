// Inputs of every kind played on a session.
#include "tests/play_inputs.h"

#include <iostream>
#include <string>

namespace kragmoor {

// Points at cell (column, row) and runs the frame that stores it.
void PointAt(Session& s, int column, int row, const Front& front) {
  Apply(s,
        MouseAt{static_cast<int32_t>(column * 50 + 25 - s.player.view.cameraX),
                static_cast<int32_t>(row * 50 + 25 - s.player.view.cameraY)},
        front);
  StepFrame(s, front, std::cout);
}

void Play(Session& s, int round, const Front& front) {
  std::string error;
  const auto give = [&](const Input& input) { ApplyWithFrame(s, input, front, error); };
  give(ClickMode{0});
  PointAt(s, 3 + round % 3, 3, front);
  give(Click{});
  give(ClickMode{1 + round % 3});
  give(BuildItem{round % 2});
  PointAt(s, round % 7, 4, front);
  give(Click{});
  give(ComputerPlayers{{true, round % 2 == 0, true}});
  give(Levels{{3, 1 + round % 3, 2}});
  give(Order{4, round % 2 == 0 ? "stroit 1,100,100" : "idti 500,500"});
  give(SelectionSet{{3, 4, round % 5}});
  give(Group{1 + round % 9, {2, 4}});
  give(EdgeScroll{round % 2 == 0 ? 16 : 100});
  give(KeepView{round % 3 == 0});
  give(MouseMove{10 * round, 400 - round});
  for (int i = 0; i < 100; ++i) StepFrame(s, front, std::cout);
}

}  // namespace kragmoor
