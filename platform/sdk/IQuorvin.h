#pragma once

#include <optional>
#include <string>

#include "rtl/TDateTime.h"

class TComponent;
class TOraSession;
class TOraQuery;
class IGerenteFinanceiro;
class IGerenteContabil;
class IGerenteCompras;

// Answer of a confirmation dialog.
enum class TModalResult { mrOk, mrCancel };

// The logged-in user and the host routine that is running.
class IQuorvinUsuario {
 public:
  virtual ~IQuorvinUsuario();
  [[nodiscard]] virtual int Matricula() const = 0;
  [[nodiscard]] virtual std::string NomeFuncionario() const = 0;
  [[nodiscard]] virtual int CodigoRotina() const = 0;
  [[nodiscard]] virtual std::string NomeRotina() const = 0;
  [[nodiscard]] virtual std::string CaminhoPrograma() const = 0;
};

// The host's database: its session, a second session for autonomous writes, the server clock.
class IQuorvinBancoDados {
 public:
  virtual ~IQuorvinBancoDados();
  [[nodiscard]] virtual TOraSession& Sessao() = 0;
  [[nodiscard]] virtual TOraSession& SessaoAutonoma() = 0;
  [[nodiscard]] virtual TDateTime DataServidor() = 0;
  [[nodiscard]] virtual TDateTime DataHoraServidor() = 0;
  // A query on the host session shared by every caller; never freed by them.
  [[nodiscard]] virtual TOraQuery& QueryCompartilhada() = 0;
  // First value of `expressao` from `tabela` where `condicao` holds; nothing when no row.
  // The three texts are pasted into SQL: callers pass their own constants, never user input.
  [[nodiscard]] virtual std::optional<std::string> Localizar(const std::string& tabela, const std::string& expressao,
                                                             const std::string& condicao) = 0;
};

// The host's message object: the text shown after an operation and the confirmation dialog.
class IQuorvinMensagens {
 public:
  virtual ~IQuorvinMensagens();
  [[nodiscard]] virtual std::string Texto() const = 0;
  virtual void SetTexto(const std::string& texto) = 0;
  [[nodiscard]] virtual TModalResult Confirmar(const std::string& texto) = 0;
};

class IQuorvinSessao {
 public:
  virtual ~IQuorvinSessao();
  [[nodiscard]] virtual IQuorvinUsuario& Usuario() = 0;
  [[nodiscard]] virtual IQuorvinBancoDados& BancoDados() = 0;
  [[nodiscard]] virtual IQuorvinMensagens& Mensagens() = 0;
  // Routine check: may the running routine, called with `label`, act as routine `rotina`?
  [[nodiscard]] virtual bool VerificarRotina(const std::string& rotina, const std::string& label) = 0;
  // Does the user hold access `permissao` of routine `rotina`?
  [[nodiscard]] virtual bool TemPermissao(int rotina, int permissao) = 0;
};

// The host's parameter store. Per-branch reads fall back to `padrao` when the value is unset.
class IQuorvinParametros {
 public:
  virtual ~IQuorvinParametros();
  [[nodiscard]] virtual double ValorNumerico(const std::string& nome) = 0;
  [[nodiscard]] virtual std::string ValorTexto(const std::string& nome) = 0;
  [[nodiscard]] virtual bool ValorLogico(const std::string& nome) = 0;
  [[nodiscard]] virtual double ValorNumericoFilial(const std::string& nome, const std::string& codfilial,
                                                   double padrao) = 0;
  [[nodiscard]] virtual std::string ValorTextoFilial(const std::string& nome, const std::string& codfilial,
                                                     const std::string& padrao) = 0;
};

// Numbering: every value is drawn once, also under concurrent sessions.
class IQuorvinNumeracao {
 public:
  virtual ~IQuorvinNumeracao();
  [[nodiscard]] virtual double ProximoRecNum() = 0;
  [[nodiscard]] virtual double ProximoNumTrans() = 0;
  // The query ProximoNumTrans() runs on the session (one row, the number in column VALOR), for a
  // caller that sends it in one round trip with statements of its own; empty when the numbering
  // draws the number some other way, and the caller then calls ProximoNumTrans().
  [[nodiscard]] virtual std::string SQLProximoNumTrans() { return {}; }
  [[nodiscard]] virtual double ProximoNumBordero() = 0;
  [[nodiscard]] virtual double ProximoNumVale() = 0;
  // Next value of a named sequence ("DFSEQ_ZTCORREN" ...), the same generator SQL reaches by NEXTVAL.
  [[nodiscard]] virtual double ProximoValorSequencia(const std::string& nome) = 0;
};

// The host services the module calls. The object behind it is a component (Componente()) that
// owns every sub-module the module creates.
class IQuorvin {
 public:
  virtual ~IQuorvin();
  [[nodiscard]] virtual TComponent& Componente() = 0;
  [[nodiscard]] virtual IQuorvinSessao& SessaoAtual() = 0;
  [[nodiscard]] virtual IQuorvinParametros& Parametros() = 0;
  [[nodiscard]] virtual IQuorvinNumeracao& Numeracao() = 0;
  [[nodiscard]] virtual IGerenteFinanceiro* GerenteFinanceiro() = 0;
  [[nodiscard]] virtual IGerenteContabil* GerenteContabil() = 0;
  [[nodiscard]] virtual IGerenteCompras* GerenteCompras() = 0;
  // When true, sub-modules use the values given to their setters instead of the parameter store.
  [[nodiscard]] virtual bool ParametrosExplicitos() = 0;
};
