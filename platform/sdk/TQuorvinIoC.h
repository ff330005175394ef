#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>

#include "rtl/Exception.h"
#include "rtl/TComponent.h"

// Interfaces the container serves name themselves:  static constexpr const char* InterfaceName = "...";

// The host's inversion-of-control container. A registration maps an interface key (interface and
// registration name) to an activator that constructs the implementing class with an owner.
class TQuorvinIoC {
 public:
  // Constructs the class with `owner` and returns it as the registered interface.
  using TActivator = std::function<void*(TComponent* owner)>;

  struct TRegistro {
    std::string Classe;
    bool Componente = false;
    bool Singleton = false;
    TActivator Activator;
    std::string Pacote;  // the package that registered it (set by the host's loader)
  };

  [[nodiscard]] static TQuorvinIoC& DefaultContainer();

  template <class C>
  [[nodiscard]] static constexpr bool IsComponent() noexcept {
    return std::is_base_of_v<TComponent, C>;
  }

  template <class I>
  [[nodiscard]] static std::string GetInterfaceKey(std::string_view nome) {
    return InterfaceKey(I::InterfaceName, nome);
  }
  [[nodiscard]] static std::string InterfaceKey(std::string_view interface_name, std::string_view nome);

  // Registers C as the implementation of I under `nome`.
  template <class I, class C>
  void RegisterType(std::string_view classe, std::string_view nome, bool singleton) {
    const std::string key = GetInterfaceKey<I>(nome);
    TRegistro registro;
    registro.Classe = std::string(classe);
    registro.Componente = IsComponent<C>();
    registro.Singleton = singleton;
    registro.Activator = [](TComponent* owner) -> void* { return static_cast<I*>(new C(owner)); };
    Register(key, std::move(registro));
  }

  // Constructs the implementation of I registered under `nome`, owned by `owner`.
  // Throws Exception when nothing is registered.
  template <class I>
  [[nodiscard]] I* Resolve(TComponent* owner, std::string_view nome = {}) {
    return static_cast<I*>(Activate(GetInterfaceKey<I>(nome), owner));
  }

  [[nodiscard]] bool IsRegistered(const std::string& key) const;
  [[nodiscard]] bool HasComponentRecord(const std::string& key) const;
  [[nodiscard]] std::string ClassOf(const std::string& key) const;
  [[nodiscard]] std::map<std::string, std::string> Registrations() const;  // key -> class

  // Registrations made while a package initialises carry its name, so its loader can remove them
  // before the package's code is unmapped.
  void SetPacoteCorrente(std::string pacote);
  void RemoverRegistrosDoPacote(const std::string& pacote);

 private:
  void Register(const std::string& key, TRegistro registro);
  void* Activate(const std::string& key, TComponent* owner);

  mutable std::mutex FLock;
  std::map<std::string, TRegistro> FRegistros;
  std::set<std::string> FComponentes;
  std::map<std::string, void*> FSingletons;
  std::string FPacoteCorrente;
};

// The run-time class registry: classes findable by name.
void RegisterClass(const std::string& classe);
void UnRegisterClass(const std::string& classe);
[[nodiscard]] bool IsClassRegistered(const std::string& classe);
