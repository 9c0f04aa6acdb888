// Order texts: the number conversion that reads them, the decimal formatting
// that writes them, and the writers of each order form.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kragmoor {

// Order verbs, compared as whole, case-sensitive texts.
inline constexpr std::string_view kVerbWalk = "idtiza";      // idtiza N: walk to entity N
inline constexpr std::string_view kVerbPoint = "idti";       // idti X,Y: walk to a point
inline constexpr std::string_view kVerbAttack = "atakovat";  // atakovat N: hit entity N
inline constexpr std::string_view kVerbBuild = "stroit";     // stroit K,X,Y: build kind K
inline constexpr std::string_view kVerbRepair = "chinit";    // chinit N: carried out by nobody
inline constexpr std::string_view kOrderIdle = "idle";

// The one error the game's logic can raise: a number in an order text that
// does not convert. The message is "'<text>' is not a valid integer value",
// the text byte for byte; what() is the same, but stops at a NUL byte.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
  // The whole message, NUL bytes included.
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// Converts the whole text to a 32-bit signed integer: leading spaces, an
// optional sign, then decimal digits to the end, within 32-bit range. A text
// that starts (after the spaces, with no sign) with "$", "x", "X", "0x" or
// "0X" is read as hexadecimal digits to the end, at most 0xFFFFFFFF, taken as
// a 32-bit two's-complement pattern. Anything else throws ConversionError.
int32_t StrToInt(std::string_view text);

// Same rules, without throwing: returns false where StrToInt would throw.
bool TryStrToInt(std::string_view text, int32_t& value);

// The shortest decimal text of v, with a leading "-" when negative.
std::string IntToStr(int32_t v);

// Writes "<verb> <n1>,<n2>,..." over the whole of `order`, reusing its
// storage: "idtiza 8", "idti 175,225", "stroit 0,150,200". At most three
// numbers; the verb is at most 8 characters. REQUIRES: numbers.size() <= 3.
void WriteOrder(std::string& order, std::string_view verb, std::initializer_list<int32_t> numbers);

}  // namespace kragmoor
