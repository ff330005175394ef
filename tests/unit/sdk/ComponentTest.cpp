#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/TComponent.h"

namespace {

// Records its destruction in a shared log.
class Logged : public TComponent {
 public:
  Logged(TComponent* owner, std::string name, std::vector<std::string>& log)
      : TComponent(owner), FName(std::move(name)), FLog(log) {}
  ~Logged() override { FLog.push_back(FName); }

 private:
  std::string FName;
  std::vector<std::string>& FLog;
};

TEST(Component, OwnerDestroysChildrenNewestFirst) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new Logged(&owner, "a", log);
    auto* b = new Logged(&owner, "b", log);
    new Logged(b, "b.1", log);
    new Logged(&owner, "c", log);
    EXPECT_EQ(owner.ComponentCount(), 3u);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "b.1", "a"}));
}

TEST(Component, ChildDestroyedEarlyLeavesItsOwner) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* child = new Logged(&owner, "early", log);
  delete child;
  EXPECT_EQ(owner.ComponentCount(), 0u);
  owner.DestroyComponents();
  EXPECT_EQ(log, (std::vector<std::string>{"early"}));  // not twice
}

}  // namespace
