#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "host/TPackageLoader.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TQuorvinIoC.h"
#include "support/MemoryHost.h"

namespace {

const std::string kFacadeKey = TQuorvinIoC::GetInterfaceKey<IGerenteFinanceiro>("");

std::set<std::string> ExportedFunctions(const std::string& library) {
  const std::string command = "nm -D --defined-only " + library;
  std::FILE* pipe = popen(command.c_str(), "r");
  std::set<std::string> names;
  if (pipe == nullptr) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, kind, name;
    fields >> address >> kind >> name;
    if (kind == "T") names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(Plugin, ExportsOnlyThePackageEntryPoints) {
  EXPECT_EQ(ExportedFunctions(QUORVIN_PLUGIN_PATH),
            (std::set<std::string>{"Finalize", "GetPackageInfoTable", "Initialize"}));
}

// A second Initialize (another user of the same library) is a no-op, and its Finalize leaves the
// registration to the last user; unloading removes it.
TEST(Plugin, LoadRegistersTheFacadeAndUnloadRemovesIt) {
  host::TPackageLoader loader;
  loader.Load(QUORVIN_PLUGIN_PATH);
  EXPECT_TRUE(TQuorvinIoC::DefaultContainer().HasComponentRecord(kFacadeKey));
  EXPECT_EQ(TQuorvinIoC::DefaultContainer().ClassOf(kFacadeKey), "TGerenteFinanceiro");
  EXPECT_EQ(loader.Units(),
            (std::vector<std::string>{"Uconstantes", "Ustringfunctions", "Uclsfin_except", "Uclsgerentefinanceiro"}));
  {
    testsupport::MemoryHost host;
    IGerenteFinanceiro* facade = TQuorvinIoC::DefaultContainer().Resolve<IGerenteFinanceiro>(&host);
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(facade->GetComponente().Owner(), &host);
    EXPECT_NE(facade->CancelarDesdobramento(tmZTLanc), nullptr);
    EXPECT_EQ(host.ComponentCount(), 2u);  // the facade and its sub-module, both owned by the host
  }                                        // the module's objects go before its code
  void* handle = dlopen(QUORVIN_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  reinterpret_cast<void (*)()>(dlsym(handle, "Initialize"))();
  reinterpret_cast<void (*)()>(dlsym(handle, "Finalize"))();
  dlclose(handle);
  EXPECT_TRUE(TQuorvinIoC::DefaultContainer().IsRegistered(kFacadeKey));
  EXPECT_TRUE(IsClassRegistered("TGerenteFinanceiro"));
  loader.Unload();
  EXPECT_FALSE(TQuorvinIoC::DefaultContainer().IsRegistered(kFacadeKey));
  EXPECT_FALSE(IsClassRegistered("TGerenteFinanceiro"));
}

}  // namespace
