#include "frame/Uconstantes.h"

#include "sdk/ZTCore.h"

namespace {
// -1 asks the host for the current branch's folder.
constexpr int kFilialCorrente = -1;
}  // namespace

std::string cDIRSPOOL() {
  return DiretorioSpool(kFilialCorrente);
}

std::string cHELPQUORVIN() {
  return DiretorioProd(kFilialCorrente) + "HELP\\ZTSIS%s00.CHM";
}
