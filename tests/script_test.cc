// Runs every scenario script in tests/scripts through the headless runner and
// compares its output with the expectations written in the script itself:
// "#> text" is an expected line of standard output, "#2> text" one of
// standard error (and then the script must exit with 2).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runner/script.h"

namespace kragmoor {
namespace {

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(KRAGMOOR_SCRIPT_DIR)) {
    if (entry.path().extension() == ".sim") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Script : public testing::TestWithParam<std::string> {};

TEST_P(Script, PrintsWhatItExpects) {
  const std::string path = std::string(KRAGMOOR_SCRIPT_DIR) + "/" + GetParam() + ".sim";
  std::ifstream file(path);
  ASSERT_TRUE(file) << path;
  std::stringstream script;
  script << file.rdbuf();

  std::string expectedOut;
  std::string expectedErr;
  std::istringstream lines(script.str());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("#> ", 0) == 0 || line == "#>") expectedOut += line.substr(std::min<size_t>(3, line.size())) + "\n";
    if (line.rfind("#2> ", 0) == 0) expectedErr += line.substr(4) + "\n";
  }

  std::istringstream in(script.str());
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunScript(in, out, err);
  EXPECT_EQ(out.str(), expectedOut);
  EXPECT_EQ(err.str(), expectedErr);
  EXPECT_EQ(code, expectedErr.empty() ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(Scripts, Script, testing::ValuesIn(ScriptNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace_if(name.begin(), name.end(),
                                           [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                           return name;
                         });

}  // namespace
}  // namespace kragmoor
