#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/fin/TListaAcoes.h"
#include "sdk/fin/TRegistroDesdobramento.h"

class IQuorvin;
class TOraSession;

using TLinhasDesdobramento = TCancDesdCds;

// A value to write into one column: a text as the database gave it, a number, a date, or NULL.
struct TValorColuna {
  std::optional<std::string> Texto;
  std::optional<double> Numero;
  std::optional<TDateTime> Data;
  [[nodiscard]] static TValorColuna Nulo() { return {}; }
  [[nodiscard]] static TValorColuna DeTexto(std::optional<std::string> texto) { return {std::move(texto), {}, {}}; }
  [[nodiscard]] static TValorColuna DeNumero(double numero) { return {{}, numero, {}}; }
  [[nodiscard]] static TValorColuna DeData(TDateTime data) { return {{}, {}, data}; }
};

// Reads the current rows of a cancellation's records and the copies the split kept of them, and
// writes the cancellation. The kinds differ in the table, the key and when a title counts as paid.
// Every write runs on the host session, inside the caller's transaction.
class TDAO {
 public:
  TDAO(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros);
  virtual ~TDAO();
  TDAO(const TDAO&) = delete;
  TDAO& operator=(const TDAO&) = delete;

  [[nodiscard]] virtual std::string ObterSelect(const TArrayOfRegistro& registros) const = 0;
  // Settles the records as split.
  virtual void Baixar(const TArrayOfRegistro& registros) = 0;
  // Recreates the record as its copy keeps it; answers the new record.
  virtual TRegistroPtr Replicar(const TRegistro& registro) = 0;
  // Records a split link from every origin to every destination.
  virtual void Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) = 0;
  // Writes a date into one column of the record's row (bound as a date, never as text).
  virtual void AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) = 0;
  [[nodiscard]] virtual bool Baixado(const TRegistro& registro) const = 0;
  // Reverses a row a split with excess created.
  virtual void Cancelar(const TRegistro& registro) = 0;

  // The column of the record's current row, or `padrao` when it is NULL.
  [[nodiscard]] std::string Obter(const std::string& campo, const TRegistro& registro, const std::string& padrao) const;
  [[nodiscard]] double Obter(const std::string& campo, const TRegistro& registro, double padrao) const;
  // A date column; day zero when NULL.
  [[nodiscard]] TDateTime ObterData(const std::string& campo, const TRegistro& registro) const;
  // The same on the record's copy.
  [[nodiscard]] std::string ObterCampoReplica(const std::string& campo, const TRegistro& registro,
                                              const std::string& padrao) const;
  [[nodiscard]] double ObterCampoReplica(const std::string& campo, const TRegistro& registro, double padrao) const;
  [[nodiscard]] bool ExisteReplica(const TRegistro& registro) const { return FReplicas.Existe(registro); }
  // Whether the column is set (not NULL) on the current row.
  [[nodiscard]] bool Preenchido(const std::string& campo, const TRegistro& registro) const {
    return FDados.Valor(campo, registro).has_value();
  }
  // A copy of the current rows.
  [[nodiscard]] TCancDesdCds Dados() const { return FDados; }
  // The server's date.
  [[nodiscard]] TDateTime hoje() const;
  // Locks the current rows of the records until the end of the transaction, in key order, so two
  // sessions cancelling the same splits take turns.
  void Travar();

  // The records' select, locked in key order.
  [[nodiscard]] static std::string GetSQLTravar(const std::string& select, const std::string& chave) {
    return select + "ORDER BY " + chave + " FOR UPDATE";
  }
  // "INSERT INTO <tabela> (<columns>) VALUES (:<column>, ...)", one bind per column, named after it.
  [[nodiscard]] static std::string GetSQLInserir(const std::string& tabela, const std::vector<std::string>& colunas);

 protected:
  // Reads both row sets; call from the constructor of the kind. `tabela` names the current rows in
  // the missing-rows message, `tabela_replica` (empty for none) the copies.
  void Carregar(const std::string& tabela, const std::string& tabela_replica);
  // Reads the rows and copies of the records again (after the run wrote them).
  void Recarregar();
  // Adds a record the run created to the records read.
  void AdicionarRegistro(const TRegistroPtr& registro);
  // The key of the row the query stands on.
  [[nodiscard]] virtual std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                                 const std::vector<std::string>& colunas) const = 0;
  // The columns of a table, in table order, as an empty query over it reports them.
  [[nodiscard]] std::vector<std::string> ColunasModelo(const std::string& tabela);
  // Inserts one row, every column bound by name.
  void Inserir(const std::string& tabela, const std::vector<std::string>& colunas,
               const std::map<std::string, TValorColuna>& valores);
  // The column of the record's copy, for a copy into a new row; a column the copy does not have
  // stops the write.
  [[nodiscard]] TValorColuna CopiaDaReplica(const std::string& coluna, const TRegistro& registro) const;
  [[nodiscard]] int Usuario() const;
  [[nodiscard]] int Rotina() const;
  [[nodiscard]] std::string NomeUsuario() const;
  [[nodiscard]] double ProximoRecNum() const;

  IQuorvin& FQuorvin;
  TOraSession& FSession;
  TArrayOfRegistro FRegistros;
  TCancDesdCds FDados;
  TCancDesdCds FReplicas;
  std::string FTabela;
  std::string FTabelaReplica;
  std::string FChaveOrdem;  // the key columns, for the lock's ORDER BY

 private:
  void Ler(const std::string& sql, TCancDesdCds& linhas);
};

class TDAOModoZTPrest : public TDAO {
 public:
  TDAOModoZTPrest(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override {
    return GetSQLSelect(registros);
  }
  [[nodiscard]] static std::string GetSQLSelect(const TArrayOfRegistro& registros);
  // Runs the receivable object's split settlement for each title. A title without a copy gets one,
  // as it was before this settlement, so that the cancellation can itself be cancelled later; a copy
  // already kept is the title as it was before its first split and stays.
  void Baixar(const TArrayOfRegistro& registros) override;
  TRegistroPtr Replicar(const TRegistro& registro) override;
  void Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) override;
  void AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) override;
  // Not when settled by the split itself (CODCOB "DESD"); otherwise paid when DTPAG is set, or,
  // for a title with a reversal, when more than the reversed value was paid.
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;
  void Cancelar(const TRegistro& registro) override;

  [[nodiscard]] static std::string GetSQLBaixar();
  [[nodiscard]] static std::string GetSQLReplicarParaBaixa(const std::vector<std::string>& colunas);
  [[nodiscard]] static std::string GetSQLContarReplica();
  [[nodiscard]] static std::string GetSQLProximaPrest();
  [[nodiscard]] static std::string GetSQLVincular();
  [[nodiscard]] static std::string GetSQLAtualizarCampo(const std::string& campo);
  // The 13 columns a restored title starts without.
  static const std::vector<std::string> kCamposLimposNaReplica;

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

class TDAOModoZTLanc : public TDAO {
 public:
  TDAOModoZTLanc(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override {
    return GetSQLSelect(registros);
  }
  [[nodiscard]] static std::string GetSQLSelect(const TArrayOfRegistro& registros);
  // Settles each entry as paid and cancelled; an entry without a copy gets one, as it was before.
  void Baixar(const TArrayOfRegistro& registros) override;
  TRegistroPtr Replicar(const TRegistro& registro) override { return ReplicarZTLanc(registro, false); }
  // A new entry from the record's copy; with the counter-entry flag a negative copy of the entry,
  // paid and cancelled.
  TRegistroPtr ReplicarZTLanc(const TRegistro& registro, bool contrapartida);
  void Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) override;
  void AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) override;
  // Paid and neither cancelled, split nor with its payment reversed.
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;
  // Offsets the entry with a new, paid, negative payable entry posted by the payable area.
  void Cancelar(const TRegistro& registro) override;
  // Apportions the restored entries (each as its root was) and the counter-entries (each the
  // opposite of its leaf) over cost centers.
  void ProcessarRateioCentroCusto(const TArrayOfRegistro& raizes, const TArrayOfRegistro& restaurados,
                                  const TArrayOfRegistro& folhas, const TArrayOfRegistro& contrapartidas);
  // Tied to a supplier allowance: its allowance movements do not balance to zero.
  [[nodiscard]] bool TituloVinculadoAVerba(const TRegistro& registro) const;
  // Its return invoice was cancelled by routine 1327.
  [[nodiscard]] bool TituloTeveDevolucaoEstornadaNa1327(const TRegistro& registro) const;

  [[nodiscard]] static std::string GetSQLSaldoVerba();
  [[nodiscard]] static std::string GetSQLDevolucaoEstornada();
  [[nodiscard]] static std::string GetSQLBaixar();
  [[nodiscard]] static std::string GetSQLReplicarParaBaixa(const std::vector<std::string>& colunas);
  [[nodiscard]] static std::string GetSQLVincular();
  [[nodiscard]] static std::string GetSQLAtualizarCampo(const std::string& campo);
  // The columns a new entry starts without, and those a counter-entry takes negated.
  static const std::vector<std::string> kCamposLimposNaReplica;
  static const std::vector<std::string> kValoresNegados;

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

class TDAOZTCreCli : public TDAO {
 public:
  TDAOZTCreCli(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override;
  void Baixar(const TArrayOfRegistro& registros) override;
  TRegistroPtr Replicar(const TRegistro& registro) override;
  void Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) override;
  void AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) override;
  // Used: a sale took it (NUMTRANSVENDADESC set).
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;
  // Reverses the whole credit with a counter-entry, through the customer-credit area.
  void Cancelar(const TRegistro& registro) override;

  [[nodiscard]] static std::string GetSQLAtualizarCampo(const std::string& campo);

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

// An instalment as an SQL string literal, quotes doubled.
[[nodiscard]] std::string TextoSql(const std::string& valor);
// A column name the run pastes into SQL: letters, digits and "_" only, else an error.
[[nodiscard]] const std::string& NomeDeCampo(const std::string& campo);
