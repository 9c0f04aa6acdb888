// Runs one scenario script through the headless runner and compares its
// output with the expectations written in the script itself: "#> text" is an
// expected line of standard output, "#2> text" one of standard error (and
// then the script must exit with 2). Prints both outputs when they differ.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "runner/script.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: script_check FILE.sim\n";
    return 2;
  }
  std::ifstream file(argv[1]);
  if (!file) {
    std::cerr << "cannot open " << argv[1] << '\n';
    return 2;
  }
  std::stringstream script;
  script << file.rdbuf();

  std::string expectedOut;
  std::string expectedErr;
  std::istringstream lines(script.str());
  for (std::string line; std::getline(lines, line);) {
    if (line == "#>") expectedOut += "\n";
    if (line.rfind("#> ", 0) == 0) expectedOut += line.substr(3) + "\n";
    if (line.rfind("#2> ", 0) == 0) expectedErr += line.substr(4) + "\n";
  }

  std::istringstream in(script.str());
  std::ostringstream out;
  std::ostringstream err;
  const int code = kragmoor::RunScript(in, out, err);
  const int expectedCode = expectedErr.empty() ? 0 : 2;
  if (out.str() == expectedOut && err.str() == expectedErr && code == expectedCode) return 0;

  std::cout << "--- expected stdout\n" << expectedOut << "--- actual stdout\n" << out.str();
  std::cout << "--- expected stderr\n" << expectedErr << "--- actual stderr\n" << err.str();
  std::cout << "--- exit code " << code << ", expected " << expectedCode << '\n';
  // Point at the first differing line of standard output.
  std::istringstream a(expectedOut);
  std::istringstream b(out.str());
  std::string la;
  std::string lb;
  for (int n = 1;; ++n) {
    const bool ha = static_cast<bool>(std::getline(a, la));
    const bool hb = static_cast<bool>(std::getline(b, lb));
    if (!ha && !hb) break;
    if (!ha || !hb || la != lb) {
      std::cout << "first difference at output line " << n
                << ":\n  expected: " << (ha ? la : "<end>")
                << "\n  actual:   " << (hb ? lb : "<end>") << '\n';
      break;
    }
  }
  return 1;
}
