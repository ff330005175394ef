// Package entry points the host's loader resolves with dlsym.
#include "sdk/Package.h"

namespace {
const PackageUnitEntry kUnits[] = {{"placeholder", nullptr, nullptr}};
const PackageInfoTable kTable = {0, kUnits};
}  // namespace

extern "C" {
const PackageInfoTable* GetPackageInfoTable() { return &kTable; }
void Initialize() {}
void Finalize() {}
}
