#pragma once

#include <string>
#include <vector>

#include "rtl/TStringList.h"
#include "sdk/TBase.h"

class TOraQuery;
class TOraSession;

// A receivable title as bank data generation needs it: its key, branch, charge and payer kind.
struct TTituloDadosBancarios {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  std::string CODFILIAL;
  std::string CODCOB;
  std::string SACADOELETRONICO;
};

// The bank row that chooses the generator and the template.
struct TBancoDadosBancarios {
  double CODBANCO = 0;
  double NUMBANCO = 0;
  std::string NOMERTM;
  double NUMDIASPROTESTO = 0;
};

// What bank data generation hands the database package for one title.
struct TParametrosGerarDadosBancarios {
  std::string CODFILIAL;
  std::string CODCOB;
  double CODBANCO = 0;
  double NUMTRANSVENDA = 0;
  double NUMDIASPROTESTO = 0;
  std::string PREST;
  bool FilialVirtual = false;
  bool UtilizaValorBruto = false;
  bool PrimeiraImpressao = true;
};

// Data access of the receivable titles' bank data: the titles of a sale, the bank of a charge, the
// bank row and its lock, and the database package that writes own number, barcode and line.
class TDALContasReceber : public TBaseSubModulo {
 public:
  explicit TDALContasReceber(TComponent* owner);
  ~TDALContasReceber() override;

  // The instalment of the sale transaction, with its customer's electronic-payer flag.
  [[nodiscard]] std::vector<TTituloDadosBancarios> LocalizarTitulo(double NUMTRANSVENDA, const std::string& PREST);
  // Every slip-charged instalment that answers for the sale transaction (as its own or as its
  // second transaction), in instalment order.
  [[nodiscard]] std::vector<TTituloDadosBancarios> LocalizarTituloSomenteNUMTRANSVENDA(double NUMTRANSVENDA);
  // The bank of a charge, 0 when the charge has none or does not exist.
  [[nodiscard]] double RetornarBancoCobranca(const std::string& CODCOB);
  // The bank row; false when there is none.
  [[nodiscard]] bool BuscarInformacoesBanco(double CODBANCO, TBancoDadosBancarios& banco);
  // Locks the bank rows without waiting; false, with the transaction still usable, when another
  // session holds one of them. The lock lasts until the caller's transaction ends.
  [[nodiscard]] bool BloquearRegistroBancarioNoBancoDeDados(double CODBANCO);
  [[nodiscard]] bool BloquearRegistroBancarioNoBancoDeDados(const std::vector<double>& CODBANCOS);
  // Runs the database package for one title.
  void GerarDadosBancarios(const TParametrosGerarDadosBancarios& parametros);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLLocalizarTitulo();
  [[nodiscard]] static TStringList GetSQLLocalizarTituloSomenteNUMTRANSVENDA();
  [[nodiscard]] static TStringList GetSQLRetornarBancoCobranca();
  [[nodiscard]] static TStringList GetSQLBuscarInformacoesBanco();
  [[nodiscard]] static TStringList GetSQLBloquearRegistroBancario();
  [[nodiscard]] static TStringList GetSQLBloquearRegistrosBancarios(const std::vector<double>& CODBANCOS);
  [[nodiscard]] static TStringList GetSQLGerarDadosBancarios();

 private:
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] bool Bloquear(TOraQuery& query);
};
