#include "sdk/ZTCore.h"

#include <mutex>

namespace {

struct Folders {
  std::mutex Lock;
  std::string Prod = "./";
  std::string Spool = "./";
};

Folders& HostFolders() {
  static Folders folders;
  return folders;
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string DiretorioProd(int /*filial*/) {
  const std::lock_guard guard(HostFolders().Lock);
  return HostFolders().Prod;
}

std::string DiretorioSpool(int /*filial*/) {
  const std::lock_guard guard(HostFolders().Lock);
  return HostFolders().Spool;
}

void DefinirDiretorios(const std::string& prod, const std::string& spool) {
  const std::lock_guard guard(HostFolders().Lock);
  HostFolders().Prod = WithSeparator(prod);
  HostFolders().Spool = WithSeparator(spool);
}
