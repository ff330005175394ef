#include "oradb/internal/OuterJoin.h"

#include <algorithm>
#include <optional>

#include "oradb/EOraError.h"

namespace oradb::internal {

std::vector<JoinItem> PlanOuterJoins(std::size_t item_count, const std::vector<OuterJoinCondition>& conditions) {
  std::vector<std::vector<std::size_t>> conditions_of(item_count);
  for (std::size_t c = 0; c < conditions.size(); ++c) conditions_of[conditions[c].OuterItem].push_back(c);

  std::vector<JoinItem> items;
  std::vector<std::optional<std::size_t>> item_of(item_count);  // comma item holding each FROM item
  for (std::size_t i = 0; i < item_count; ++i) {
    if (!conditions_of[i].empty()) continue;
    item_of[i] = items.size();
    items.push_back({JoinStep{i, false, {}}});
  }
  if (items.empty()) {
    throw ETranslationError("Construção Oracle não suportada: (+) sem nenhuma tabela preservada no FROM");
  }

  std::vector<bool> alive(items.size(), true);
  std::size_t unplaced = item_count - items.size();
  while (unplaced > 0) {
    // The first outer item, in FROM order, whose conditions name only items already placed.
    std::optional<std::size_t> next;
    std::vector<std::size_t> needed;
    for (std::size_t i = 0; i < item_count && !next; ++i) {
      if (item_of[i] || conditions_of[i].empty()) continue;
      std::vector<std::size_t> homes;
      bool ready = true;
      for (const std::size_t c : conditions_of[i]) {
        for (const std::size_t need : conditions[c].Needs) {
          if (need == i) continue;
          if (!item_of[need]) {
            ready = false;
            break;
          }
          homes.push_back(*item_of[need]);
        }
      }
      if (ready) {
        next = i;
        needed = std::move(homes);
      }
    }
    if (!next) {
      throw ETranslationError("Construção Oracle não suportada: (+) em ciclo entre tabelas");
    }
    std::sort(needed.begin(), needed.end());
    needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
    // Conditions naming only constants join to the first comma item (it is never merged away).
    const std::size_t target = needed.empty() ? 0 : needed.front();
    for (std::size_t k = 1; k < needed.size(); ++k) {
      JoinItem& merged = items[needed[k]];
      for (const JoinStep& step : merged) item_of[step.Item] = target;
      items[target].insert(items[target].end(), merged.begin(), merged.end());
      merged.clear();
      alive[needed[k]] = false;
    }
    items[target].push_back(JoinStep{*next, true, conditions_of[*next]});
    item_of[*next] = target;
    --unplaced;
  }

  std::vector<JoinItem> result;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (alive[k]) result.push_back(std::move(items[k]));
  }
  return result;
}

}  // namespace oradb::internal
