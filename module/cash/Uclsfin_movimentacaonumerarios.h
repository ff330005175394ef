#pragma once

#include <string>

#include "sdk/TBase.h"
#include "sdk/fin/IFin_MovimentacaoNumerarios.h"

class TDALMovimentacaoNumerarios;

// The cash area: posts cash and bank movements for every area that moves money, answers the
// clearing-date balances and rebuilds the running balances of an account.
class TMovimentacaoNumerarios : public TBaseSubModulo, public IFin_MovimentacaoNumerarios {
 public:
  explicit TMovimentacaoNumerarios(TComponent* owner);
  ~TMovimentacaoNumerarios() override;

  bool Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) override;
  double ObterSaldoInicialCompensacao(double CodigoBanco, const std::string& CodigoMoeda) override;
  double ObterSaldoFinalMesAnterior(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes) override;
  bool RecalcularSaldos(const RFin_RecalculaNumerario& prNumerario) override;
  double ObterSaldoFinalUltimoMes(double CodigoBanco, const std::string& CodigoMoeda, TDateTime DtConcil) override;

  // The data access, created on first use with this sub-module's owner.
  [[nodiscard]] TDALMovimentacaoNumerarios& GetDALMovimentacaoNumerarios();

 private:
  void VerificarMovimento(RFin_IncluirMovimentacaoNumerarios& prParametros);
  void VerificarPeriodoContabil(const RFin_IncluirMovimentacaoNumerarios& prParametros);
  void VerificarRecalculo(const RFin_RecalculaNumerario& prNumerario);

  TDALMovimentacaoNumerarios* fDALMovimentacaoNumerarios = nullptr;  // owned by the host component
};
