#pragma once

#include <string>
#include <vector>

#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"

class TOraSession;

// One open deposit of the list a settlement picks from, with the titles tied to it.
struct TDepositoNaoIdentificado {
  std::string SELECIONADO = "N";  // "S" once the user picked it
  TDateTime DATA;
  std::string NUMDOC;
  std::string HISTORICO;
  double NUMTRANS = 0;
  std::string ROWID;
  double VALOR = 0;
  double NUMASSOCDNI = 0;
  TDateTime DTASSOCIADNICLI;
  double CODCLI = 0;
  double CODFUNCDNICLI = 0;
  double VALORTOTALASSOCIADO = 0;  // sum of the titles with the same NUMASSOCDNI
  double VALORDISPONIVEL = 0;      // VALOR - VALORTOTALASSOCIADO
};

// A settling debit of an allowance, as its reversal finds it.
struct TBaixaDNIComVerba {
  double NUMTRANS = 0;
  double CODBANCO = 0;
  double NUMASSOCDNI = 0;
  TDateTime DTASSOCIADNICLI;
  double CODCLI = 0;
  double CODFUNCDNICLI = 0;
};

// Data access of the unidentified deposits: the list of a bank's open deposits and the settling
// movements of an allowance. The GetSQL... functions build each statement's text without running it.
class TDALDepositoNaoIdentificadoComVerba : public TBaseSubModulo {
 public:
  explicit TDALDepositoNaoIdentificadoComVerba(TComponent* owner);
  ~TDALDepositoNaoIdentificadoComVerba() override;

  // The bank's open deposits that are the customer's or nobody's, smallest available value first.
  [[nodiscard]] std::vector<TDepositoNaoIdentificado> ConsultarDNIs(int CodigoBanco, double CodigoCliente);
  // The settling debits of the allowance that are not reversed yet (on the host's shared query).
  [[nodiscard]] std::vector<TBaixaDNIComVerba> LocalizarBaixaParaEstorno(double NumeroVerba);
  // Marks those debits reversed; answers how many it marked (0 when another session did it first).
  [[nodiscard]] long long MarcarBaixaEstornada(double NumeroVerba);

  // Statement texts, as they are sent. Bank and customer are written into the list's text.
  [[nodiscard]] static TStringList GetSQLConsultarDNIs(int CodigoBanco, double CodigoCliente);
  [[nodiscard]] static TStringList GetSQLLocalizarBaixaParaEstorno(double NumeroVerba);
  [[nodiscard]] static TStringList GetSQLMarcarBaixaEstornada(double NumeroVerba);

 private:
  [[nodiscard]] TOraSession& Sessao();
};
