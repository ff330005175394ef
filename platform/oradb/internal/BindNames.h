#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace oradb::internal {

// The ":NAME" binds of an Oracle text, upper case, in order of first appearance. Skips quoted
// texts and identifiers, comments, "::" casts and ":=" assignments. Cheap and never throws, so
// a statement can be bound while it is still being built line by line.
[[nodiscard]] std::vector<std::string> ScanBindNames(std::string_view text);

// The same, kept per text for the process (the most recent kBindNamesCacheSize texts): a statement
// a new query object runs again is not scanned again. Safe from several threads.
inline constexpr std::size_t kBindNamesCacheSize = 4096;
[[nodiscard]] std::shared_ptr<const std::vector<std::string>> ScanBindNamesCached(const std::string& text);

}  // namespace oradb::internal
