#include <gtest/gtest.h>

#include "sdk/TQuorvinIoC.h"

namespace {

class IServico {
 public:
  static constexpr const char* InterfaceName = "IServicoTeste";
  virtual ~IServico() = default;
  virtual int Valor() = 0;
};

class TServico : public TComponent, public IServico {
 public:
  explicit TServico(TComponent* owner) : TComponent(owner) {}
  int Valor() override { return 42; }
};

class TSimples : public IServico {
 public:
  explicit TSimples(TComponent*) {}
  int Valor() override { return 7; }
};

// A component registration builds a new object owned by the given owner on each resolve, and
// goes with its package; a singleton is built once, whatever the case of the name it is resolved
// by; a key nothing was registered under is refused by name.
TEST(Container, RegistrationsResolveAndGoWithTheirPackage) {
  TQuorvinIoC container;
  container.SetPacoteCorrente("pacote-a");
  container.RegisterType<IServico, TServico>("TServico", "", false);
  container.SetPacoteCorrente("");
  container.RegisterType<IServico, TSimples>("TSimples", "unico", true);
  const std::string key = TQuorvinIoC::GetInterfaceKey<IServico>("");
  EXPECT_TRUE(container.HasComponentRecord(key));
  EXPECT_FALSE(container.HasComponentRecord(TQuorvinIoC::GetInterfaceKey<IServico>("unico")));
  EXPECT_EQ(container.ClassOf(key), "TServico");

  TComponent owner(nullptr);
  IServico* first = container.Resolve<IServico>(&owner);
  EXPECT_NE(first, container.Resolve<IServico>(&owner));
  EXPECT_EQ(first->Valor(), 42);
  EXPECT_EQ(owner.ComponentCount(), 2u);
  IServico* unico = container.Resolve<IServico>(nullptr, "unico");
  EXPECT_EQ(unico, container.Resolve<IServico>(nullptr, "UNICO"));
  EXPECT_EQ(unico->Valor(), 7);
  delete unico;

  container.RemoverRegistrosDoPacote("pacote-a");
  EXPECT_FALSE(container.IsRegistered(key));
  EXPECT_TRUE(container.IsRegistered(TQuorvinIoC::GetInterfaceKey<IServico>("unico")));
  try {
    static_cast<void>(container.Resolve<IServico>(nullptr));
    FAIL() << "the registration went with its package";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Nenhuma implementação registrada para IServicoTeste|.");
  }
}

}  // namespace
