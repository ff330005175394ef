#pragma once

#include <string>

#include "rtl/TComponent.h"
#include "rtl/TStringList.h"
#include "sdk/IQuorvin.h"

// The host's module interface: first two slots of every module interface.
class IModulo {
 public:
  virtual ~IModulo();
  [[nodiscard]] virtual TComponent& GetComponente() = 0;
  [[nodiscard]] virtual std::string GetVersao() = 0;
};

// Base of a module's facade: a component owned by the host component, holding the host services.
class TBaseModulo : public TComponent {
 public:
  // Throws Exception when the owner does not provide the host services.
  explicit TBaseModulo(TComponent* owner);
  ~TBaseModulo() override;

  [[nodiscard]] IQuorvin& Quorvin() const noexcept { return *FQuorvin; }
  [[nodiscard]] std::string Versao() const;

 private:
  IQuorvin* FQuorvin;
};

// Base of every sub-module and data-access class: takes the host services from its owner and
// keeps a list of validation messages.
class TBaseSubModulo : public TComponent {
 public:
  // Throws Exception when the owner does not provide the host services.
  explicit TBaseSubModulo(TComponent* owner);
  ~TBaseSubModulo() override;

  [[nodiscard]] IQuorvin& Quorvin() const noexcept { return *FQuorvin; }
  [[nodiscard]] TStringList& GetValidador() noexcept { return FValidador; }
  // Adds a message to the validation list when the host session has no open transaction.
  void CheckTransacao();

 private:
  IQuorvin* FQuorvin;
  TStringList FValidador;
};

// The host services reachable from a component: the component itself or its nearest owner that
// provides them. Null when none does.
[[nodiscard]] IQuorvin* FindQuorvin(TComponent* component) noexcept;
