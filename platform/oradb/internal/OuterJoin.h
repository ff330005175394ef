#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <vector>

// The order of the explicit joins that replace Oracle's (+) outer joins. PostgreSQL reads
// "FROM a, b LEFT JOIN c ON c.x = a.x" as "a, (b LEFT JOIN c ...)", where the ON clause cannot see a:
// every LEFT JOIN has to sit in the comma item that already holds the tables its condition names.
namespace oradb::internal {

// One condition marked with (+): the FROM item it outer-joins and the other FROM items it names.
struct OuterJoinCondition {
  std::size_t OuterItem = 0;
  std::vector<std::size_t> Needs;
};

// One step of a comma item: its first step is a table as it stands; a later step is either a
// LEFT JOIN with its conditions (indexes into the condition list) or, when a LEFT JOIN needs tables of
// two comma items, the second item brought in by CROSS JOIN (its inner conditions stay in WHERE).
struct JoinStep {
  std::size_t Item = 0;
  bool Outer = false;
  std::vector<std::size_t> Conditions;
};

using JoinItem = std::vector<JoinStep>;

// Orders the joins of `item_count` FROM items. Items without (+) conditions are preserved and keep
// their order; each outer item joins after every item its conditions name. Throws
// ETranslationError when the conditions form a cycle or no item is preserved.
[[nodiscard]] std::vector<JoinItem> PlanOuterJoins(std::size_t item_count,
                                                   const std::vector<OuterJoinCondition>& conditions);

}  // namespace oradb::internal
