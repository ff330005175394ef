#pragma once

#include <string>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/TComponent.h"
#include "sdk/IQuorvin.h"

namespace testsupport {

// A host without a database, for tests of the module's frame (ownership, facade, registration).
// Its session is never connected; any service that would need the database throws.
class MemoryHost final : public TComponent,
                         public IQuorvin,
                         public IQuorvinSessao,
                         public IQuorvinUsuario,
                         public IQuorvinBancoDados,
                         public IQuorvinMensagens,
                         public IQuorvinParametros,
                         public IQuorvinNumeracao {
 public:
  MemoryHost() : TComponent(nullptr), FQuery(&FSession) {}
  ~MemoryHost() override { DestroyComponents(); }

  int matricula = 7;
  int rotina = 746;

  TComponent& Componente() override { return *this; }
  IQuorvinSessao& SessaoAtual() override { return *this; }
  IQuorvinParametros& Parametros() override { return *this; }
  IQuorvinNumeracao& Numeracao() override { return *this; }
  IGerenteFinanceiro* GerenteFinanceiro() override { return nullptr; }
  IGerenteContabil* GerenteContabil() override { return nullptr; }
  IGerenteCompras* GerenteCompras() override { return nullptr; }
  bool ParametrosExplicitos() override { return false; }

  IQuorvinUsuario& Usuario() override { return *this; }
  IQuorvinBancoDados& BancoDados() override { return *this; }
  IQuorvinMensagens& Mensagens() override { return *this; }
  bool VerificarRotina(const std::string&, const std::string&) override { return false; }
  bool TemPermissao(int, int) override { return false; }

  int Matricula() const override { return matricula; }
  std::string NomeFuncionario() const override { return "TESTE"; }
  int CodigoRotina() const override { return rotina; }
  std::string NomeRotina() const override { return "testes"; }
  std::string CaminhoPrograma() const override { return "tests"; }

  TOraSession& Sessao() override { return FSession; }
  TOraSession& SessaoAutonoma() override { return FSession; }
  TDateTime DataServidor() override { return TDateTime::EncodeDate(2026, 12, 6); }
  TDateTime DataHoraServidor() override { return TDateTime::EncodeDateTime(2026, 12, 6, 10, 30, 0); }
  TOraQuery& QueryCompartilhada() override { return FQuery; }
  std::optional<std::string> Localizar(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }

  std::string Texto() const override { return FTexto; }
  void SetTexto(const std::string& texto) override { FTexto = texto; }
  TModalResult Confirmar(const std::string&) override { return TModalResult::mrCancel; }

  // No parameter is set: every read answers its default.
  double ValorNumerico(const std::string&) override { return 0; }
  std::string ValorTexto(const std::string&) override { return {}; }
  bool ValorLogico(const std::string&) override { return false; }
  double ValorNumericoFilial(const std::string&, const std::string&, double padrao) override { return padrao; }
  std::string ValorTextoFilial(const std::string&, const std::string&, const std::string& padrao) override {
    return padrao;
  }

  double ProximoRecNum() override { return ++FNumero; }
  double ProximoNumTrans() override { return ++FNumero; }
  double ProximoNumBordero() override { return ++FNumero; }
  double ProximoNumVale() override { return ++FNumero; }
  double ProximoValorSequencia(const std::string&) override { return ++FNumero; }

 private:
  TOraSession FSession;
  TOraQuery FQuery;
  std::string FTexto;
  double FNumero = 0;
};

}  // namespace testsupport
