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

TEST(Container, KeysIgnoreTheCaseOfTheRegistrationName) {
  EXPECT_EQ(TQuorvinIoC::GetInterfaceKey<IServico>(""), "IServicoTeste|");
  EXPECT_EQ(TQuorvinIoC::GetInterfaceKey<IServico>("Nome"), TQuorvinIoC::GetInterfaceKey<IServico>("nOME"));
}

TEST(Container, ComponentRegistrationConstructsWithTheOwnerEachTime) {
  TQuorvinIoC container;
  container.SetPacoteCorrente("pacote-a");
  container.RegisterType<IServico, TServico>("TServico", "", false);
  container.SetPacoteCorrente("");
  const std::string key = TQuorvinIoC::GetInterfaceKey<IServico>("");
  EXPECT_TRUE(container.IsRegistered(key));
  EXPECT_TRUE(container.HasComponentRecord(key));
  EXPECT_EQ(container.ClassOf(key), "TServico");

  TComponent owner(nullptr);
  IServico* first = container.Resolve<IServico>(&owner);
  IServico* second = container.Resolve<IServico>(&owner);
  EXPECT_NE(first, second);  // not a singleton
  EXPECT_EQ(first->Valor(), 42);
  EXPECT_EQ(owner.ComponentCount(), 2u);  // both owned by the owner given

  container.RemoverRegistrosDoPacote("pacote-a");
  EXPECT_FALSE(container.IsRegistered(key));
  EXPECT_FALSE(container.HasComponentRecord(key));
}

TEST(Container, SingletonIsConstructedOnce) {
  TQuorvinIoC container;
  container.RegisterType<IServico, TSimples>("TSimples", "unico", true);
  EXPECT_FALSE(container.HasComponentRecord(TQuorvinIoC::GetInterfaceKey<IServico>("unico")));
  IServico* first = container.Resolve<IServico>(nullptr, "unico");
  EXPECT_EQ(first, container.Resolve<IServico>(nullptr, "UNICO"));
  delete first;
}

TEST(Container, ResolvingWhatIsNotRegisteredIsAClearError) {
  TQuorvinIoC container;
  try {
    static_cast<void>(container.Resolve<IServico>(nullptr));
    FAIL() << "nothing is registered";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Nenhuma implementação registrada para IServicoTeste|.");
  }
}

TEST(ClassRegistry, RegisterAndUnregisterByName) {
  RegisterClass("TClasseDeTeste");
  EXPECT_TRUE(IsClassRegistered("TClasseDeTeste"));
  UnRegisterClass("TClasseDeTeste");
  EXPECT_FALSE(IsClassRegistered("TClasseDeTeste"));
}

}  // namespace
