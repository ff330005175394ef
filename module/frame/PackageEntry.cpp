// Entry points the host's package loader resolves.
#include "frame/Uclsgerentefinanceiro.h"
#include "sdk/Package.h"

namespace {

// The package's units in initialization order. Only the facade's unit has sections of its own.
const PackageUnitEntry kUnits[] = {
    {"Uconstantes", nullptr, nullptr},
    {"Ustringfunctions", nullptr, nullptr},
    {"Uclsfin_except", nullptr, nullptr},
    {"Uclsgerentefinanceiro", &InitializeUclsgerentefinanceiro, &FinalizeUclsgerentefinanceiro},
};
const PackageInfoTable kTable = {static_cast<int>(sizeof kUnits / sizeof kUnits[0]), kUnits};

int g_usosPacote = 0;  // a second Initialize is a no-op; Finalize undoes only what ran

}  // namespace

extern "C" {

const PackageInfoTable* GetPackageInfoTable() {
  return &kTable;
}

void Initialize() {
  if (g_usosPacote++ > 0) return;
  for (const PackageUnitEntry& unit : kUnits) {
    if (unit.Init != nullptr) unit.Init();
  }
}

void Finalize() {
  if (g_usosPacote == 0 || --g_usosPacote > 0) return;
  for (auto unit = std::rbegin(kUnits); unit != std::rend(kUnits); ++unit) {
    if (unit->Finit != nullptr) unit->Finit();
  }
}
}
