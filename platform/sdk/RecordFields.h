#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <variant>

#include "rtl/TDateTime.h"

// A record's fields described once (name, kind, member), so hosts can move records to and from
// other representations (JSON in the command-line host) without hand-written code per record.
enum class FieldKind { Text, Number, Integer, Flag, Date, DateTime };

[[nodiscard]] const char* FieldKindName(FieldKind kind) noexcept;

template <class R>
struct FieldDef {
  using Member = std::variant<std::string R::*, double R::*, int R::*, bool R::*, TDateTime R::*>;

  const char* Name;
  FieldKind Kind;
  Member Pointer;
  std::size_t MaxChars = 0;  // texts: widest accepted value in characters, 0 = any
  bool Required = false;     // the caller must give it
};

template <class R>
using FieldTable = std::span<const FieldDef<R>>;

namespace fields {

template <class R>
constexpr FieldDef<R> Text(const char* name, std::string R::*member, std::size_t max_chars = 0, bool required = false) {
  return {name, FieldKind::Text, member, max_chars, required};
}
template <class R>
constexpr FieldDef<R> Number(const char* name, double R::*member, bool required = false) {
  return {name, FieldKind::Number, member, 0, required};
}
// A number the record keeps as a double that the database holds as an integer (record numbers,
// codes, counters): a value with a fraction is refused instead of being rounded into another row.
template <class R>
constexpr FieldDef<R> Whole(const char* name, double R::*member, bool required = false) {
  return {name, FieldKind::Integer, member, 0, required};
}
template <class R>
constexpr FieldDef<R> Integer(const char* name, int R::*member, bool required = false) {
  return {name, FieldKind::Integer, member, 0, required};
}
template <class R>
constexpr FieldDef<R> Flag(const char* name, bool R::*member, bool required = false) {
  return {name, FieldKind::Flag, member, 0, required};
}
template <class R>
constexpr FieldDef<R> Date(const char* name, TDateTime R::*member, bool required = false) {
  return {name, FieldKind::Date, member, 0, required};
}
template <class R>
constexpr FieldDef<R> DateTime(const char* name, TDateTime R::*member, bool required = false) {
  return {name, FieldKind::DateTime, member, 0, required};
}

}  // namespace fields
