#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sdk/fin/TRegistroDesdobramento.h"

class TOraSession;

// Rows of a table, each kept as its columns' texts (NULL as no value), found by the key of the
// record it belongs to.
class TLinhasDesdobramento {
 public:
  void Adicionar(const std::string& chave, std::vector<std::optional<std::string>> valores);
  void DefinirColunas(std::vector<std::string> colunas);
  [[nodiscard]] bool Existe(const TRegistro& registro) const { return FLinhas.count(registro.Chave()) > 0; }
  // The column of the record's row; nothing when the row or the value is missing.
  [[nodiscard]] std::optional<std::string> Valor(const std::string& campo, const TRegistro& registro) const;
  void Limpar() { FLinhas.clear(); }

 private:
  std::vector<std::string> FColunas;
  std::map<std::string, std::size_t> FIndice;
  std::unordered_map<std::string, std::vector<std::optional<std::string>>> FLinhas;
};

// Reads the current rows of a cancellation's records and the copies the split kept of them. The
// kinds differ in the table, the key and when a title counts as paid.
class TDAO {
 public:
  TDAO(TOraSession& session, TArrayOfRegistro registros);
  virtual ~TDAO();
  TDAO(const TDAO&) = delete;
  TDAO& operator=(const TDAO&) = delete;

  [[nodiscard]] virtual std::string ObterSelect(const TArrayOfRegistro& registros) const = 0;
  [[nodiscard]] virtual bool Baixado(const TRegistro& registro) const = 0;

  // The column of the record's current row, or `padrao` when it is NULL.
  [[nodiscard]] std::string Obter(const std::string& campo, const TRegistro& registro, const std::string& padrao) const;
  [[nodiscard]] double Obter(const std::string& campo, const TRegistro& registro, double padrao) const;
  // The same on the record's copy.
  [[nodiscard]] std::string ObterCampoReplica(const std::string& campo, const TRegistro& registro,
                                              const std::string& padrao) const;
  [[nodiscard]] double ObterCampoReplica(const std::string& campo, const TRegistro& registro, double padrao) const;
  [[nodiscard]] bool ExisteReplica(const TRegistro& registro) const { return FReplicas.Existe(registro); }
  // Whether the column is set (not NULL) on the current row.
  [[nodiscard]] bool Preenchido(const std::string& campo, const TRegistro& registro) const {
    return FDados.Valor(campo, registro).has_value();
  }

 protected:
  // Reads both row sets; call from the constructor of the kind. `tabela` names the current rows in
  // the missing-rows message, `tabela_replica` (empty for none) the copies.
  void Carregar(const std::string& tabela, const std::string& tabela_replica);
  // The key of the row the query stands on.
  [[nodiscard]] virtual std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                                 const std::vector<std::string>& colunas) const = 0;

  TOraSession& FSession;
  TArrayOfRegistro FRegistros;
  TLinhasDesdobramento FDados;
  TLinhasDesdobramento FReplicas;

 private:
  void Ler(const std::string& sql, TLinhasDesdobramento& linhas);
};

class TDAOModoZTPrest : public TDAO {
 public:
  TDAOModoZTPrest(TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override {
    return GetSQLSelect(registros);
  }
  [[nodiscard]] static std::string GetSQLSelect(const TArrayOfRegistro& registros);
  // Not when settled by the split itself (CODCOB "DESD"); otherwise paid when DTPAG is set, or,
  // for a title with a reversal, when more than the reversed value was paid.
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

class TDAOModoZTLanc : public TDAO {
 public:
  TDAOModoZTLanc(TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override {
    return GetSQLSelect(registros);
  }
  [[nodiscard]] static std::string GetSQLSelect(const TArrayOfRegistro& registros);
  // Paid and neither cancelled, split nor with its payment reversed.
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;
  // Tied to a supplier allowance: its allowance movements do not balance to zero.
  [[nodiscard]] bool TituloVinculadoAVerba(const TRegistro& registro) const;
  // Its return invoice was cancelled by routine 1327.
  [[nodiscard]] bool TituloTeveDevolucaoEstornadaNa1327(const TRegistro& registro) const;

  [[nodiscard]] static std::string GetSQLSaldoVerba();
  [[nodiscard]] static std::string GetSQLDevolucaoEstornada();

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

class TDAOZTCreCli : public TDAO {
 public:
  TDAOZTCreCli(TOraSession& session, TArrayOfRegistro registros);
  [[nodiscard]] std::string ObterSelect(const TArrayOfRegistro& registros) const override;
  // Used: a sale took it (NUMTRANSVENDADESC set).
  [[nodiscard]] bool Baixado(const TRegistro& registro) const override;

 protected:
  [[nodiscard]] std::string ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const override;
};

// An instalment as an SQL string literal, quotes doubled.
[[nodiscard]] std::string TextoSql(const std::string& valor);
