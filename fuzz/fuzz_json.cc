// Fuzzes the bounded JSON reader and the bot answers read through it. The
// first byte chooses how many thousand '[' or '{"a":' go before the rest of
// the input (so nesting far deeper than the input's length limit is tried);
// the reader then either refuses the text, with a reason, or parses it with
// no more nesting than it allows. A ready or orders answer is refused with
// a reason or read; anything else (a sanitizer report, a stack overflow, an
// escaping exception) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "game/bots/bot_protocol.h"
#include "game/bots/bounded_json.h"
#include "world/tigrok.h"

namespace {

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_json: %s: %s\n", what, detail.substr(0, 200).c_str());
  std::abort();
}

// The deepest nesting of a parsed value, walked with a list, not recursion.
int Depth(const kragmoor::Json& value) {
  int deepest = 0;
  std::vector<std::pair<const kragmoor::Json*, int>> open{{&value, 0}};
  while (!open.empty()) {
    const auto [json, depth] = open.back();
    open.pop_back();
    if (!json->is_structured()) continue;
    deepest = std::max(deepest, depth + 1);
    for (const auto& item : *json) open.push_back({&item, depth + 1});
  }
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t thousands = data[0] & 0x7F;
  const std::string wrap = (data[0] & 0x80) != 0 ? "{\"a\":" : "[";
  std::string text;
  for (size_t k = 0; k < thousands * 1000; ++k) text += wrap;
  text.append(reinterpret_cast<const char*>(data + 1), size - 1);

  kragmoor::Json value;
  std::string error;
  constexpr int kDepth = 8;
  if (kragmoor::ParseBoundedJson(text, size_t{1} << 20, kDepth, value, error)) {
    if (Depth(value) > kDepth) Fail("a parsed value nests deeper than allowed", text);
  } else if (error.empty()) {
    Fail("a refusal without a reason", text);
  }
  if (kragmoor::ParseBoundedJson(text, size / 2, kDepth, value, error) && text.size() > size / 2) {
    Fail("a text over the size limit was parsed", text);
  }

  static const kragmoor::World world = [] {
    kragmoor::World w;
    kragmoor::SetUpScenario(w);
    return w;
  }();
  std::string name, why;
  if (!kragmoor::ParseReady(text, name, why) && why.empty()) Fail("a ready refused silently", text);
  if (name.size() > kragmoor::kMaxBotNameBytes) Fail("a name over its limit", name);
  std::vector<kragmoor::BotOrder> orders;
  std::vector<std::string> errors;
  if (!kragmoor::ParseOrders(text, world, 0, orders, errors) && errors.size() != 1) {
    Fail("an answer refused whole without one reason", text);
  }
  return 0;
}
