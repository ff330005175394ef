#pragma once

#include "oradb/internal/Private.h"

#include <string>
#include <string_view>
#include <vector>

namespace oradb::internal {

// The ":NAME" binds of an Oracle text, upper case, in order of first appearance. Skips quoted
// texts and identifiers, comments, "::" casts and ":=" assignments. Cheap and never throws, so
// a statement can be bound while it is still being built line by line.
[[nodiscard]] std::vector<std::string> ScanBindNames(std::string_view text);

}  // namespace oradb::internal
