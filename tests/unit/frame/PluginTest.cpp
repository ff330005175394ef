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

TEST(Plugin, LoadRegistersTheFacadeAndUnloadRemovesIt) {
  host::TPackageLoader loader;
  loader.Load(QUORVIN_PLUGIN_PATH);
  EXPECT_TRUE(TQuorvinIoC::DefaultContainer().IsRegistered(kFacadeKey));
  EXPECT_TRUE(TQuorvinIoC::DefaultContainer().HasComponentRecord(kFacadeKey));
  EXPECT_EQ(TQuorvinIoC::DefaultContainer().ClassOf(kFacadeKey), "TGerenteFinanceiro");
  EXPECT_TRUE(IsClassRegistered("TGerenteFinanceiro"));
  EXPECT_EQ(loader.Units(),
            (std::vector<std::string>{"Uconstantes", "Ustringfunctions", "Uclsfin_except", "Uclsgerentefinanceiro"}));
  {
    testsupport::MemoryHost host;
    IGerenteFinanceiro* facade = TQuorvinIoC::DefaultContainer().Resolve<IGerenteFinanceiro>(&host);
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(facade->GetComponente().Owner(), &host);
    EXPECT_EQ(facade->GetVersao(), "1.0.0");
    EXPECT_NE(facade->CancelarDesdobramento(tmZTLanc), nullptr);
    EXPECT_EQ(host.ComponentCount(), 2u);  // the facade and its sub-module, both owned by the host
  }                                        // the module's objects go before its code
  loader.Unload();
  EXPECT_FALSE(TQuorvinIoC::DefaultContainer().IsRegistered(kFacadeKey));
  EXPECT_FALSE(IsClassRegistered("TGerenteFinanceiro"));
}

TEST(Plugin, SecondInitializeIsANoOpAndFinalizeRunsOnceAtTheLastUse) {
  host::TPackageLoader loader;
  loader.Load(QUORVIN_PLUGIN_PATH);
  void* handle = dlopen(QUORVIN_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  auto initialize = reinterpret_cast<void (*)()>(dlsym(handle, "Initialize"));
  auto finalize = reinterpret_cast<void (*)()>(dlsym(handle, "Finalize"));
  initialize();  // second use
  finalize();    // back to one use: still registered
  EXPECT_TRUE(IsClassRegistered("TGerenteFinanceiro"));
  dlclose(handle);
  loader.Unload();
  EXPECT_FALSE(IsClassRegistered("TGerenteFinanceiro"));
}

TEST(Plugin, MissingFileIsAClearError) {
  host::TPackageLoader loader;
  try {
    loader.Load("/nao/existe/libvevUvudorodid.so");
    FAIL() << "loaded a missing file";
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find("Não foi possível carregar o pacote"), std::string::npos);
  }
  EXPECT_FALSE(loader.Loaded());
}

}  // namespace
