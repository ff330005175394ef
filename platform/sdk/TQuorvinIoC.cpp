#include "sdk/TQuorvinIoC.h"

#include <set>

TQuorvinIoC& TQuorvinIoC::DefaultContainer() {
  static TQuorvinIoC container;
  return container;
}

std::string TQuorvinIoC::InterfaceKey(std::string_view interface_name, std::string_view nome) {
  std::string key(interface_name);
  key += '|';
  for (char c : nome) key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return key;
}

void TQuorvinIoC::Register(const std::string& key, TRegistro registro) {
  const std::lock_guard guard(FLock);
  registro.Pacote = FPacoteCorrente;
  if (registro.Componente) FComponentes.insert(key);  // kept once per key
  FSingletons.erase(key);
  FRegistros[key] = std::move(registro);
}

void* TQuorvinIoC::Activate(const std::string& key, TComponent* owner) {
  TActivator activator;
  bool singleton = false;
  {
    const std::lock_guard guard(FLock);
    const auto found = FRegistros.find(key);
    if (found == FRegistros.end()) throw Exception("Nenhuma implementação registrada para " + key + ".");
    if (found->second.Singleton) {
      const auto existing = FSingletons.find(key);
      if (existing != FSingletons.end()) return existing->second;
      singleton = true;
    }
    activator = found->second.Activator;
  }
  void* instance = activator(owner);
  if (singleton) {
    const std::lock_guard guard(FLock);
    FSingletons.emplace(key, instance);
  }
  return instance;
}

bool TQuorvinIoC::IsRegistered(const std::string& key) const {
  const std::lock_guard guard(FLock);
  return FRegistros.count(key) > 0;
}

bool TQuorvinIoC::HasComponentRecord(const std::string& key) const {
  const std::lock_guard guard(FLock);
  return FComponentes.count(key) > 0;
}

std::string TQuorvinIoC::ClassOf(const std::string& key) const {
  const std::lock_guard guard(FLock);
  const auto found = FRegistros.find(key);
  return found == FRegistros.end() ? std::string() : found->second.Classe;
}

std::map<std::string, std::string> TQuorvinIoC::Registrations() const {
  const std::lock_guard guard(FLock);
  std::map<std::string, std::string> result;
  for (const auto& [key, registro] : FRegistros) result.emplace(key, registro.Classe);
  return result;
}

void TQuorvinIoC::SetPacoteCorrente(std::string pacote) {
  const std::lock_guard guard(FLock);
  FPacoteCorrente = std::move(pacote);
}

void TQuorvinIoC::RemoverRegistrosDoPacote(const std::string& pacote) {
  const std::lock_guard guard(FLock);
  for (auto it = FRegistros.begin(); it != FRegistros.end();) {
    if (it->second.Pacote == pacote) {
      FSingletons.erase(it->first);
      FComponentes.erase(it->first);
      it = FRegistros.erase(it);
    } else {
      ++it;
    }
  }
}

namespace {

struct ClassRegistry {
  std::mutex Lock;
  std::set<std::string> Classes;
};

ClassRegistry& Classes() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

void RegisterClass(const std::string& classe) {
  const std::lock_guard guard(Classes().Lock);
  Classes().Classes.insert(classe);
}

void UnRegisterClass(const std::string& classe) {
  const std::lock_guard guard(Classes().Lock);
  Classes().Classes.erase(classe);
}

bool IsClassRegistered(const std::string& classe) {
  const std::lock_guard guard(Classes().Lock);
  return Classes().Classes.count(classe) > 0;
}
