#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_CancelarDesdobramento.h"
#include "sdk/fin/TFerramentasCancelarDesdobramento.h"
#include "sdk/fin/TListaAcoes.h"
#include "sdk/fin/TModo.h"
#include "sdk/fin/TRegistroDesdobramento.h"

class TOraSession;

// The refusals of a cancellation, as the host shows them.
namespace MensagensCancelamento {
inline constexpr const char* kSemTransacao =
    "Não foi encontrado nenhuma transação em aberto.\r\nÉ necessário abrir uma transação antes de iniciar o processo "
    "de cancelamento do desdobramento!";
inline constexpr const char* kFalhou =
    "Foram encontrados erro durante o processo de cancelar desdobramento, não é possível continuar!";
inline constexpr const char* kListaAcoesInvalida = "Chamada do método 'ListaAcoes' inválida!";
inline constexpr const char* kImpeditivas = "Existe(m) registro(s) inválido(s), favor verificar!";
inline constexpr const char* kAMaiorNaoConfirmado =
    "Ainda existem registros com desdobramentos a maior, que não foram confirmados, favor confirmá-los antes de "
    "continuar!";
inline constexpr const char* kVencimentoNaoConfirmado =
    "Ainda existem registros com data de vencimento não confirmada, favor confirmá-las antes de continuar!";
inline constexpr const char* kVendor =
    "Não é possível continuar, pois um ou mais registros selecionados estão vinculados a processo de vendor/desconto!";
inline constexpr const char* kCobrancaInvalida = "Tipo de cobrança inválida para desdobramento à maior!";
inline constexpr const char* kTipoAMaiorInvalido = "Tipo desdobramento a maior inválido! (TratarDesdobramentoAMaior)";
}  // namespace MensagensCancelamento

// Undoes the splitting of titles, on receivable titles (ZTPREST mode) or payable entries (ZTLANC
// mode). It keeps, for its whole life, the user and routine it was created for.
//
// Carregar maps every split linked to the given titles and reads their rows; the relations below
// are computed over the mapped edges, restricted to a universe of records (all the run's records
// when none is given).
class TCancelarDesdobramento : public TBaseSubModulo, public IFin_CancelarDesdobramento {
 public:
  TCancelarDesdobramento(TComponent* owner, int codigo_usuario, int codigo_rotina, TModo modo);
  ~TCancelarDesdobramento() override;

  [[nodiscard]] int CodigoUsuario() const noexcept { return FCodigoUsuario; }
  [[nodiscard]] int CodigoRotina() const noexcept { return FCodigoRotina; }
  [[nodiscard]] TModo Modo() const noexcept { return FModo; }
  [[nodiscard]] TPasso Passo() const noexcept override { return FPasso; }
  // The host's tools of the run's mode; the other mode's is null.
  [[nodiscard]] TFerramentasCancelarDesobramentoZTPREST* FerramentasZTPREST() const noexcept override {
    return FFerramentasZTPREST.get();
  }
  [[nodiscard]] TFerramentasCancelarDesobramentoZTLANC* FerramentasZTLANC() const noexcept override {
    return FFerramentasZTLANC.get();
  }
  [[nodiscard]] const TArrayOfRegistro& Restaurados() const noexcept override { return FRestaurados; }

  void Carregar(const TArrayOfRegistro& registros, bool forcar, bool a_maior);
  void Carregar(const TRegistroPtr& registro, bool forcar, bool a_maior) {
    Carregar(TArrayOfRegistro{registro}, forcar, a_maior);
  }
  void LimparAtributos();

  // The actions cancelling the splits of the selected records implies (loading them first when
  // the run holds none of them, or not all); the list stays with the run until the next one.
  TListaAcoes& ListaAcoes(const TArrayOfRegistro& selecionados) override;
  // The current list; refused when there is none.
  [[nodiscard]] TListaAcoes& ListaAcoes() override;
  // Writes the cancellation the current list describes, with the user's decisions, inside the
  // caller's open transaction; the caller commits or rolls back.
  void Confirmar() override;
  // Reverses the rows a split with excess created for the root, the first time it is restored.
  void TratarDesdobramentoAMaior(const TAcaoDesdobramentoAMaiorZTPrest& acao, const TRegistro& registro);

  [[nodiscard]] const TArrayOfTipoRegistro& Relacoes() const noexcept { return FRelacoes; }
  [[nodiscard]] const TArrayOfRegistro& Registros() const noexcept { return FRegistros; }

  using TUniverso = TIndiceRegistros;
  [[nodiscard]] TArrayOfRegistro obterDestinos(const TRegistro& r, const TUniverso* u = nullptr) const;
  [[nodiscard]] TArrayOfRegistro obterOrigens(const TRegistro& r, const TUniverso* u = nullptr) const;
  [[nodiscard]] TArrayOfRegistro obterConjugues(const TRegistro& r, const TUniverso* u = nullptr) const;
  [[nodiscard]] TArrayOfRegistro obterIrmaos(const TRegistro& r, const TUniverso* u = nullptr) const;
  [[nodiscard]] TArrayOfRegistro obterTodosDestinos(const TRegistro& r, const TUniverso* u = nullptr) const;
  [[nodiscard]] TArrayOfRegistro obterTodasOrigens(const TRegistro& r, const TUniverso* u = nullptr) const;
  // Longest chain of origins above the record; an origin already on the chain (a cycle) adds
  // nothing, so a circular split ends.
  [[nodiscard]] int obterMaiorGeracao(const TRegistro& r) const;

  // The titles a cancellation of the selected ones touches: for each selected title every title
  // split from it, transitively, and the co-origins of those; the roots are those of them with no
  // origin among them.
  [[nodiscard]] TArrayOfRegistro Afetados(const TArrayOfRegistro& selecionados) const;
  [[nodiscard]] TArrayOfRegistro Raizes(const TArrayOfRegistro& afetados) const;
  // Roots kept with a split with excess (a copy whose operation is of that kind).
  [[nodiscard]] TArrayOfRegistro RaizesAMaior(const TArrayOfRegistro& raizes) const;

  // The validation chain over the run's records, the affected ones and the roots; the first
  // failing check of a record is the one kept.
  [[nodiscard]] TArrayOfAcaoImpeditiva Validar(const TArrayOfRegistro& afetados, const TArrayOfRegistro& raizes) const;

  // The data access of the mode's records, and of the rows that splits with excess created.
  [[nodiscard]] TDAO& DAOModo() const;
  [[nodiscard]] TDAOModoZTLanc* DAOZTLanc() const { return FDAOZTLanc.get(); }
  [[nodiscard]] TDAOZTCreCli* DAOZTCreCli() const { return FDAOZTCreCli.get(); }
  // The operation the split recorded on the record's copy.
  [[nodiscard]] TTipoOperacaoDesdobramento TipoOperacao(const TRegistro& r) const;

 private:
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] TArrayOfRegistro Folhas(const TArrayOfRegistro& afetados) const;
  // The list as another run computes it now from the database, for the same selection.
  [[nodiscard]] bool ListaAindaIgual();
  void TravarRegistros();
  // The run's own record equal to the given one (it carries the rows a split with excess created).
  [[nodiscard]] TRegistroPtr RegistroDaExecucao(const TRegistro& registro) const;
  void GravarZTPrest();
  void GravarZTLanc();
  [[nodiscard]] static bool NoUniverso(const TRegistro& r, const TUniverso* u) { return u == nullptr || u->Contem(r); }

  int FCodigoUsuario;
  int FCodigoRotina;
  TModo FModo;
  TPasso FPasso = TPasso::tpCriado;
  std::unique_ptr<TFerramentasCancelarDesobramentoZTPREST> FFerramentasZTPREST;
  std::unique_ptr<TFerramentasCancelarDesobramentoZTLANC> FFerramentasZTLANC;
  TArrayOfTipoRegistro FRelacoes;
  TArrayOfRegistro FRegistros;
  TIndiceRegistros FIndiceRegistros;
  // Neighbours by record key, in edge order, without repeats.
  std::unordered_map<std::string, TArrayOfRegistro> FDestinos;
  std::unordered_map<std::string, TArrayOfRegistro> FOrigens;
  std::unique_ptr<TDAOModoZTPrest> FDAOZTPrest;
  std::unique_ptr<TDAOModoZTLanc> FDAOZTLanc;
  std::unique_ptr<TDAOZTCreCli> FDAOZTCreCli;
  bool FAMaior = true;  // how the run was loaded
  std::unique_ptr<TListaAcoes> FListaAcoes;
  TArrayOfRegistro FRestaurados;
};
