// The fields of a `Tigrok` record as one table, in the order the state hash
// reads them: name, type and member. Printing, saved games, `set`, the
// state hash and the fuzzer walk it, so a new field is one entry here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "world/tigrok.h"

namespace kragmoor {

enum class FieldType { kFloat, kText, kInt };

struct TigrokField {
  std::string_view name;  // as `print` and `set` write it
  FieldType type;
  float Tigrok::*real = nullptr;        // kFloat
  std::string Tigrok::*text = nullptr;  // kText
  int32_t Tigrok::*integer = nullptr;   // kInt
};

inline constexpr std::array<TigrokField, 11> kTigrokFields{{
    {"x", FieldType::kFloat, &Tigrok::x},
    {"y", FieldType::kFloat, &Tigrok::y},
    {"hp", FieldType::kFloat, &Tigrok::hp},
    {"maxHp", FieldType::kFloat, &Tigrok::maxHp},
    {"order", FieldType::kText, nullptr, &Tigrok::order},
    {"nextOrder", FieldType::kText, nullptr, &Tigrok::nextOrder},
    {"progress", FieldType::kInt, nullptr, nullptr, &Tigrok::progress},
    {"plan", FieldType::kInt, nullptr, nullptr, &Tigrok::plan},
    {"owner", FieldType::kInt, nullptr, nullptr, &Tigrok::owner},
    {"kind", FieldType::kInt, nullptr, nullptr, &Tigrok::kind},
    {"gold", FieldType::kInt, nullptr, nullptr, &Tigrok::gold},
}};

// A set of fields, bit i for kTigrokFields[i].
using FieldMask = uint32_t;
inline constexpr FieldMask kAllFields = (FieldMask{1} << kTigrokFields.size()) - 1;

// Copies field `f` from `from` to `to`.
inline void CopyField(const TigrokField& f, const Tigrok& from, Tigrok& to) {
  switch (f.type) {
    case FieldType::kFloat:
      to.*f.real = from.*f.real;
      break;
    case FieldType::kText:
      to.*f.text = from.*f.text;
      break;
    case FieldType::kInt:
      to.*f.integer = from.*f.integer;
      break;
  }
}

}  // namespace kragmoor
