#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace oradb::internal {

// Values made from a statement text, kept for the most recently used `capacity` texts. Safe from
// several threads: a value is made under the lock, so threads that meet a new text at the same
// time share one. A value that fails to be made (its maker throws) is not kept. A value a caller
// holds stays valid after its text is dropped.
template <typename Value>
class RecentTexts {
 public:
  explicit RecentTexts(std::size_t capacity) : FCapacity(capacity) {}

  template <typename Make>
  std::shared_ptr<const Value> Get(std::string_view text, Make&& make) {
    const std::lock_guard guard(FLock);
    if (const auto found = FIndex.find(text); found != FIndex.end()) {
      FRecent.splice(FRecent.begin(), FRecent, found->second);
      return found->second->second;
    }
    auto value = std::make_shared<const Value>(std::forward<Make>(make)());
    FRecent.emplace_front(std::string(text), value);
    FIndex.emplace(FRecent.front().first, FRecent.begin());
    if (FRecent.size() > FCapacity) {
      FIndex.erase(FRecent.back().first);
      FRecent.pop_back();
    }
    return value;
  }

 private:
  // Most recently used first; the index points into the list (its keys are the list's texts).
  using Entry = std::pair<std::string, std::shared_ptr<const Value>>;
  std::size_t FCapacity;
  std::mutex FLock;
  std::list<Entry> FRecent;
  std::unordered_map<std::string_view, typename std::list<Entry>::iterator> FIndex;
};

}  // namespace oradb::internal
