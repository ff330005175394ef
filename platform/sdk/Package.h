#pragma once

// What a package exports to the host's loader: its table of units, each with an initialization
// and a finalization section.
struct PackageUnitEntry {
  const char* Name;
  void (*Init)();
  void (*Finit)();
};

struct PackageInfoTable {
  int UnitCount;
  const PackageUnitEntry* Units;
};

extern "C" {
using GetPackageInfoTableFunc = const PackageInfoTable* (*)();
using InitializeFunc = void (*)();
using FinalizeFunc = void (*)();
}
