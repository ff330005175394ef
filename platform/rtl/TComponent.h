#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Ownership as the host has it: a component constructed with an owner is destroyed by that owner,
// children in reverse order of creation. A component destroyed earlier (or whose constructor
// throws) leaves its owner's list by itself.
class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();

  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  [[nodiscard]] TComponent* Owner() const noexcept { return FOwner; }
  [[nodiscard]] std::size_t ComponentCount() const noexcept { return FComponents.size(); }
  // Destroys the owned components now, newest first. Owners whose children use them while being
  // destroyed call this from their own destructor, while they are still whole.
  void DestroyComponents() noexcept;

 private:
  void InsertComponent(TComponent* child);
  void RemoveComponent(TComponent* child) noexcept;

  TComponent* FOwner;
  std::vector<std::unique_ptr<TComponent>> FComponents;
};
