#pragma once

#include <optional>
#include <string>

#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/TContasReceberZTPrest.h"

class TOraSession;

// A sale's SupplierCard charge as the queue holds it: sent ("S"/"N") and the network's answer
// ("S", "N" or empty while there is none).
struct TFilaSupplierCard {
  std::string ENVIADOSUPPLI;
  std::string APROVADOSUPPLI;
};

// Data access of receivable title insertion and of the questions about one title: pending
// sales-force splits, the RCAs' routes, the SupplierCard queue.
class TDALContasReceberTitulos : public TBaseSubModulo {
 public:
  explicit TDALContasReceberTitulos(TComponent* owner);
  ~TDALContasReceberTitulos() override;

  // Inserts the title through the title object under the next free instalment of its sale, built
  // for `usuario`; answers the instalment taken.
  [[nodiscard]] std::string Incluir(const TContasReceberZTPrest& Titulo, int usuario);
  [[nodiscard]] double ContarDesdobramentosForcaVendas(double NUMTRANSVENDA, const std::string& PREST);
  // `movimento`: the route as updated at each sale (ZTMOVROTACLI) instead of the registered one.
  [[nodiscard]] double ContarTitulosNaRota(double NUMTRANSVENDA, const std::string& PREST, bool movimento,
                                           const std::string& DIASEMANA);
  // The charge's SupplierCard flag ("S"/"N"); nothing when the charge does not exist.
  [[nodiscard]] std::optional<std::string> CobrancaSupplierCard(const std::string& CODCOB);
  // The sale's SupplierCard charge; nothing when it was never queued.
  [[nodiscard]] std::optional<TFilaSupplierCard> FilaSupplierCard(double NUMTRANSVENDA);
  void IncluirProrrogacaoSupplierCard(double NUMTRANSVENDA, const std::string& PREST, int CODROTINACAD);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLIncluir(int usuario);
  [[nodiscard]] static TStringList GetSQLPrestacaoIncluida();
  [[nodiscard]] static TStringList GetSQLTituloDesdobradoPeloForcaVendas();
  [[nodiscard]] static TStringList GetSQLTituloEstaNaRotaDeAlgumRCA(bool movimento);
  [[nodiscard]] static TStringList GetSQLCobrancaESupplierCard();
  [[nodiscard]] static TStringList GetSQLRetornarStatusCobrancaSupplierCard();
  [[nodiscard]] static TStringList GetSQLComunicarProrrogacaoCobrancaSupplierCard();

 private:
  [[nodiscard]] TOraSession& Sessao();
};
