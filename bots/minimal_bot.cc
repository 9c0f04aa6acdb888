// The smallest bot: answers `start` with its name and every turn with no
// orders, and exits at `end` or when its input ends. It reads no JSON (it
// only looks for the message type), so it costs the arena next to nothing:
// the benchmark measures the protocol's own cost with it.
#include <iostream>
#include <string>

int main() {
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.find("\"type\":\"start\"") != std::string::npos) {
      std::cout << "{\"type\":\"ready\",\"name\":\"minimal\"}" << std::endl;
    } else if (line.find("\"type\":\"turn\"") != std::string::npos) {
      std::cout << "{\"type\":\"orders\",\"orders\":[]}" << std::endl;
    } else if (line.find("\"type\":\"end\"") != std::string::npos) {
      return 0;
    }
  }
  return 0;
}
