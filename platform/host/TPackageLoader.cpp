#include "host/TPackageLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "rtl/Exception.h"
#include "sdk/Package.h"
#include "sdk/TQuorvinIoC.h"

namespace host {

TPackageLoader::~TPackageLoader() {
  Unload();
}

void TPackageLoader::Load(const std::string& path) {
  if (FHandle != nullptr) throw Exception("Pacote já carregado: " + FPath);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw Exception(std::string("Não foi possível carregar o pacote: ") + dlerror());
  auto table = reinterpret_cast<GetPackageInfoTableFunc>(dlsym(handle, "GetPackageInfoTable"));
  auto initialize = reinterpret_cast<InitializeFunc>(dlsym(handle, "Initialize"));
  auto finalize = reinterpret_cast<FinalizeFunc>(dlsym(handle, "Finalize"));
  if (table == nullptr || initialize == nullptr || finalize == nullptr) {
    dlclose(handle);
    throw Exception("O pacote " + path + " não exporta GetPackageInfoTable, Initialize e Finalize.");
  }
  TQuorvinIoC& container = TQuorvinIoC::DefaultContainer();
  container.SetPacoteCorrente(path);
  try {
    initialize();
  } catch (...) {
    container.SetPacoteCorrente({});
    container.RemoverRegistrosDoPacote(path);
    dlclose(handle);
    throw;
  }
  container.SetPacoteCorrente({});
  FHandle = handle;
  FPath = path;
  FFinalize = finalize;
  FTable = table();
}

void TPackageLoader::Unload() noexcept {
  if (FHandle == nullptr) return;
  FFinalize();
  // Activators point into the package's code: they must not outlive it.
  TQuorvinIoC::DefaultContainer().RemoverRegistrosDoPacote(FPath);
  dlclose(FHandle);
  FHandle = nullptr;
  FFinalize = nullptr;
  FTable = nullptr;
  FPath.clear();
}

std::vector<std::string> TPackageLoader::Units() const {
  std::vector<std::string> names;
  const auto* table = static_cast<const PackageInfoTable*>(FTable);
  if (table == nullptr) return names;
  for (int i = 0; i < table->UnitCount; ++i) names.emplace_back(table->Units[i].Name);
  return names;
}

std::string DefaultPluginPath() {
  if (const char* env = std::getenv("QUORVIN_PLUGIN"); env != nullptr && *env != '\0') return env;
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return "libvevUvudorodid.so";
  self[length] = '\0';
  return (std::filesystem::path(self).parent_path() / "libvevUvudorodid.so").string();
}

}  // namespace host
