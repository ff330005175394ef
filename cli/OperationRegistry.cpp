#include "OperationRegistry.h"

#include "ops/Ops.h"

namespace cli {

void OperationRegistry::Add(Operation operation) {
  const std::string name = operation.Name;
  if (!FOperations.emplace(name, std::move(operation)).second) throw UsageError("operação duplicada: " + name);
}

const Operation* OperationRegistry::Find(const std::string& name) const {
  const auto found = FOperations.find(name);
  return found == FOperations.end() ? nullptr : &found->second;
}

std::vector<const Operation*> OperationRegistry::All() const {
  std::vector<const Operation*> all;
  for (const auto& [name, operation] : FOperations) all.push_back(&operation);
  return all;
}

const OperationRegistry& Operations() {
  static const OperationRegistry registry = [] {
    OperationRegistry operations;
    RegisterAllOperations(operations);
    return operations;
  }();
  return registry;
}

}  // namespace cli
