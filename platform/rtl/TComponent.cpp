#include "rtl/TComponent.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
  if (FOwner != nullptr) FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() noexcept {
  while (!FComponents.empty()) {
    std::unique_ptr<TComponent> child = std::move(FComponents.back());
    FComponents.pop_back();
    child->FOwner = nullptr;
  }
}

void TComponent::InsertComponent(TComponent* child) {
  FComponents.emplace_back(child);
}

void TComponent::RemoveComponent(TComponent* child) noexcept {
  const auto found = std::find_if(FComponents.begin(), FComponents.end(),
                                  [child](const std::unique_ptr<TComponent>& held) { return held.get() == child; });
  if (found == FComponents.end()) return;
  // The child is being destroyed by someone else (its own destructor runs): let go without deleting.
  static_cast<void>(found->release());
  FComponents.erase(found);
}
