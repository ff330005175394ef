#pragma once

#include <exception>
#include <string>

// The runtime's standard exception base: every failure the host shows to the user carries one
// message. ClassName() lets a host tell failures apart by class without RTTI across packages.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message = {}) : FMessage(std::move(message)) {}
  ~Exception() override;

  [[nodiscard]] const char* what() const noexcept override { return FMessage.c_str(); }
  [[nodiscard]] const std::string& Message() const noexcept { return FMessage; }
  [[nodiscard]] virtual const char* ClassName() const noexcept { return "Exception"; }

 protected:
  void SetMessage(std::string message) { FMessage = std::move(message); }

 private:
  std::string FMessage;
};

// Declares ClassName() inside an exception class: QUORVIN_EXCEPTION_NAME(ExRecNumVazio)
#define QUORVIN_EXCEPTION_NAME(name)                              \
  [[nodiscard]] const char* ClassName() const noexcept override { \
    return #name;                                                 \
  }

// Base of the module's own exceptions (host base package).
class TBaseExcecao : public Exception {
 public:
  using Exception::Exception;
  ~TBaseExcecao() override;
  QUORVIN_EXCEPTION_NAME(TBaseExcecao)
};
