#pragma once

#include <string_view>

#include "frame/Uconstantes.h"

// Text helpers the module shares; a class of static functions, never instantiated.
class TStringFunctions {
 public:
  TStringFunctions() = delete;

  // True when `item` occurs anywhere in `text`, letter case included. An empty item never matches.
  [[nodiscard]] static bool Contains(std::string_view text, std::string_view item) noexcept;

  // Scans `items` in order and stops at the first hit. With `partial` an item hits when it occurs
  // in `text` (as above); without it, when it equals `text` ignoring letter case (ASCII and the
  // accented Latin letters). No hit, or no items, is false.
  [[nodiscard]] static bool Contains(std::string_view text, const TArrayString& items, bool partial) noexcept;
};
