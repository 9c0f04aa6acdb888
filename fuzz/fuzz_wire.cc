// Fuzzes the network messages' decoder: every input is refused with a
// reason or read as exactly one message whose encoding is the input byte
// for byte; an order text it carries is judged without fault. Anything
// else (a sanitizer report, an escaping exception) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "game/net/wire.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_wire: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kragmoor::net::Message message;
  std::string why;
  if (!kragmoor::net::Decode(bytes, message, why)) {
    if (why.empty()) Fail("a refusal without a reason");
    return 0;
  }
  if (!why.empty()) Fail("a message read with a reason");
  const std::vector<uint8_t> again = kragmoor::net::Encode(message);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
    Fail("a message read that does not encode back to its bytes");
  }
  if (const auto* inputs = std::get_if<kragmoor::net::Inputs>(&message)) {
    for (const auto& order : inputs->orders) kragmoor::net::IsOrderText(order.text, why);
  }
  return 0;
}
