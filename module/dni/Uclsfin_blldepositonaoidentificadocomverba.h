#pragma once

#include <string>
#include <vector>

#include "dni/Uclsfin_daldepositonaoidentificadocomverba.h"
#include "sdk/IQuorvinSelecaoDNI.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_DepositoNaoIdentificadoComVerba.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

class TDALMovimentacaoNumerarios;
class IFin_MovimentacaoNumerarios;

// Supplier allowances settled with unidentified deposits: the user picks open deposits of a bank
// in the host's picker; each picked deposit is reconciled and cleared by a debit "DNI" movement
// until the allowance is covered, the part of a deposit tied to titles and the excess over the
// allowance stay open as new deposits. A reversal puts the allowance's value back as an open
// deposit and marks the settlement reversed.
//
// Every settlement and reversal keeps the DNI balance of the bank (ZTESTCR, "DNI") equal to minus
// the sum of its open deposits.
class TBLLDepositoNaoIdentificadoComVerba : public TBaseSubModulo, public IFin_DepositoNaoIdentificadoComVerba {
 public:
  explicit TBLLDepositoNaoIdentificadoComVerba(TComponent* owner);
  ~TBLLDepositoNaoIdentificadoComVerba() override;

  bool BaixarVerbaComDNI(double pfCodigoCliente, int pfCodigoBanco, double pfNumeroVerba, double pfValorVerba) override;
  bool EstornarBaixaDNIComVerba(double pfNumeroVerba, double pfValorVerba) override;

  // The routine whose reconciliation of a deposit leaves the plain DNI balance alone, which the
  // settlement's movements count on.
  static constexpr int kRotinaBaixaVerbaComDNI = 1803;

  // The data access, created on first use with this sub-module's owner.
  [[nodiscard]] TDALDepositoNaoIdentificadoComVerba& GetDALDepositoNaoIdentificadoComVerba();

  // The list the last call loaded, with the user's picks.
  [[nodiscard]] const std::vector<TDepositoNaoIdentificado>& DNIs() const noexcept { return qryDNIs; }

 private:
  void VerificarTransacao();
  // Loads the list; answers its row count.
  std::size_t ConsultarDNIs();
  // The window the picker shows.
  [[nodiscard]] TJanelaSelecaoDNI ConstruirFormularioBaixaVerbaComDNI();
  void ConstruirGrid(TJanelaSelecaoDNI& janela) const;
  [[nodiscard]] double TotalDNIsSelecionados() const;
  // Marks the picks in the list; refuses a pick the list does not hold or holds twice.
  void MarcarSelecionados(const TSelecaoDNI& selecao);
  void OnClickConfirmar(const TSelecaoDNI& selecao);
  void IniciarBaixaDeVerbaComDNI(TDateTime DataCompensacao);
  void BaixarDNI(const TDepositoNaoIdentificado& dni, TDateTime DataCompensacao);

  [[nodiscard]] IFin_MovimentacaoNumerarios& Numerarios();
  [[nodiscard]] TDALMovimentacaoNumerarios& DALNumerarios();
  // A "DNI" movement of the bank for the allowance, with the deposit's association; `Lido`, when
  // given, receives the server's time its date was taken from.
  [[nodiscard]] RFin_IncluirMovimentacaoNumerarios MovimentoDNI(double CodigoBanco, const std::string& Tipo,
                                                                double Valor, const std::string& Historico,
                                                                double NumTransOrigem, double NumeroVerba,
                                                                TDateTime* Lido = nullptr);
  static void Associar(RFin_IncluirMovimentacaoNumerarios& movimento, double NUMASSOCDNI, TDateTime DTASSOCIADNICLI,
                       double CODFUNCDNICLI, double CODCLI);
  void Lancar(RFin_IncluirMovimentacaoNumerarios& movimento);

  double FCodigoCliente = 0;
  int FCodigoBanco = 0;
  double FNumeroVerba = 0;
  double FValorVerba = 0;
  std::vector<TDepositoNaoIdentificado> qryDNIs;
  TDALDepositoNaoIdentificadoComVerba* fDALDepositoNaoIdentificadoComVerba = nullptr;  // owned by the host component
};
