#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "rtl/TDateTime.h"
#include "sdk/fin/TCancDesdQry.h"
#include "sdk/fin/TRegistroDesdobramento.h"

// The host's types of a cancellation of splits that the screen shows: the rows read, and the list
// of actions the cancellation implies, with the user's decisions on those that need one.

// Rows of one table as a cancellation read them, each kept as its columns' texts (NULL as no value)
// under the key of its record, with HASHCALCULADO: 40 hexadecimal digits that change whenever any
// column of the row does.
class TCancDesdCds {
 public:
  using TLinha = std::vector<std::optional<std::string>>;

  void DefinirColunas(std::vector<std::string> colunas);
  [[nodiscard]] const std::vector<std::string>& Colunas() const noexcept { return FColunas; }
  [[nodiscard]] bool TemColuna(const std::string& campo) const { return FIndice.count(campo) > 0; }
  // Adds the row of the record key, or replaces the row already kept under it.
  void Adicionar(const std::string& chave, TLinha valores);
  [[nodiscard]] bool Existe(const TRegistro& registro) const { return FLinhas.count(registro.Chave()) > 0; }
  // The column of the record's row; nothing when the row or the value is missing. An unknown
  // column is an error.
  [[nodiscard]] std::optional<std::string> Valor(const std::string& campo, const TRegistro& registro) const;
  [[nodiscard]] const TLinha* Linha(const TRegistro& registro) const;
  // "" when the record has no row.
  [[nodiscard]] std::string HASHCALCULADO(const TRegistro& registro) const;
  // Record keys and their HASHCALCULADO, in key order.
  [[nodiscard]] std::map<std::string, std::string> Hashes() const;
  [[nodiscard]] std::size_t RecordCount() const noexcept { return FLinhas.size(); }
  void Limpar() { FLinhas.clear(); }

 private:
  struct TLinhaComHash {
    TLinha Valores;
    std::string Hash;
  };
  std::vector<std::string> FColunas;
  std::map<std::string, std::size_t> FIndice;
  std::map<std::string, TLinhaComHash> FLinhas;
};

// SHA-1 of a text, as 40 lower-case hexadecimal digits.
[[nodiscard]] std::string Sha1Hex(const std::string& texto);

// A record the cancellation acts on without asking: restored, settled or merely involved.
class TAcaoDefinida : public TAcao {
 public:
  using TAcao::TAcao;
};
class TAcaoDefinidaZTPrest : public TAcaoDefinida {
 public:
  using TAcaoDefinida::TAcaoDefinida;
};
class TAcaoDefinidaZTLanc : public TAcaoDefinida {
 public:
  using TAcaoDefinida::TAcaoDefinida;
};

// An action the user decides on before the cancellation can go on.
class TAcaoIndefinida : public TAcao {
 public:
  using TAcao::TAcao;
  bool Confirmada = false;
};

// A title to be restored whose due date has passed: the user confirms the due date the restored
// title gets (its own, or a new one).
class TAcaoVencAnteriorDataAtual : public TAcaoIndefinida {
 public:
  TAcaoVencAnteriorDataAtual(TRegistroPtr registro, TDateTime dtvenc)
      : TAcaoIndefinida(std::move(registro)), DTVENC(dtvenc), NovaDataVencimento(dtvenc) {}
  void Confirmar(TDateTime nova_data) {
    NovaDataVencimento = nova_data;
    Confirmada = true;
  }
  TDateTime DTVENC;              // the title's current due date
  TDateTime NovaDataVencimento;  // the one the user chose
};
class TAcaoVencAnteriorDataAtualZTPrest : public TAcaoVencAnteriorDataAtual {
 public:
  using TAcaoVencAnteriorDataAtual::TAcaoVencAnteriorDataAtual;
};
class TAcaoVencAnteriorDataAtualZTLanc : public TAcaoVencAnteriorDataAtual {
 public:
  using TAcaoVencAnteriorDataAtual::TAcaoVencAnteriorDataAtual;
};

// A title to be restored that was split for more than its value: the excess became payable entries
// (interest JUR, notary costs CRTR, additions ACRE) or customer credits (CRED), which the
// cancellation reverses once the user confirms.
class TAcaoDesdobramentoAMaiorZTPrest : public TAcaoIndefinida {
 public:
  using TAcaoIndefinida::TAcaoIndefinida;
  // The table the excess went to.
  [[nodiscard]] virtual TZTPrestFK Tabela() const = 0;
  [[nodiscard]] virtual std::string CODCOBORIG() const = 0;
};
class TAcaoDesdobramentoAMaiorZTPrestZTLanc : public TAcaoDesdobramentoAMaiorZTPrest {
 public:
  using TAcaoDesdobramentoAMaiorZTPrest::TAcaoDesdobramentoAMaiorZTPrest;
  [[nodiscard]] TZTPrestFK Tabela() const override { return TZTPrestFK::zpfZTLanc; }
};
class TAcaoDesdobramentoAMaiorZTPrestJUR : public TAcaoDesdobramentoAMaiorZTPrestZTLanc {
 public:
  using TAcaoDesdobramentoAMaiorZTPrestZTLanc::TAcaoDesdobramentoAMaiorZTPrestZTLanc;
  [[nodiscard]] std::string CODCOBORIG() const override { return "JUR"; }
};
class TAcaoDesdobramentoAMaiorZTPrestCRTR : public TAcaoDesdobramentoAMaiorZTPrestZTLanc {
 public:
  using TAcaoDesdobramentoAMaiorZTPrestZTLanc::TAcaoDesdobramentoAMaiorZTPrestZTLanc;
  [[nodiscard]] std::string CODCOBORIG() const override { return "CRTR"; }
};
class TAcaoDesdobramentoAMaiorZTPrestACRE : public TAcaoDesdobramentoAMaiorZTPrestZTLanc {
 public:
  using TAcaoDesdobramentoAMaiorZTPrestZTLanc::TAcaoDesdobramentoAMaiorZTPrestZTLanc;
  [[nodiscard]] std::string CODCOBORIG() const override { return "ACRE"; }
};
class TAcaoDesdobramentoAMaiorZTPrestCRED : public TAcaoDesdobramentoAMaiorZTPrest {
 public:
  using TAcaoDesdobramentoAMaiorZTPrest::TAcaoDesdobramentoAMaiorZTPrest;
  [[nodiscard]] TZTPrestFK Tabela() const override { return TZTPrestFK::zpfZTCreCli; }
  [[nodiscard]] std::string CODCOBORIG() const override { return "CRED"; }
};

// The excess-split action of a charge code; null for a code that is none of the four.
[[nodiscard]] std::shared_ptr<TAcaoDesdobramentoAMaiorZTPrest> CriarAcaoDesdobramentoAMaior(
    const TRegistroPtr& registro, const std::string& codcoborig);

using TAcaoDefinidaPtr = std::shared_ptr<const TAcaoDefinida>;
using TAcaoVencimentoPtr = std::shared_ptr<TAcaoVencAnteriorDataAtual>;
using TAcaoAMaiorPtr = std::shared_ptr<TAcaoDesdobramentoAMaiorZTPrest>;

// What cancelling the splits of the selected records implies, part by part.
class TListaAcoes {
 public:
  virtual ~TListaAcoes();

  TDateTime Hoje;
  TArrayOfRegistro Selecionados;
  std::vector<TAcaoDefinidaPtr> Afetados;
  std::vector<TAcaoDefinidaPtr> Raizes;  // restored
  std::vector<TAcaoDefinidaPtr> Folhas;  // settled
  std::vector<TAcaoVencimentoPtr> Vencimentos;
  std::vector<TAcaoAMaiorPtr> DesdobramentosAMaior;
  TArrayOfAcaoImpeditiva Vendor;
  TArrayOfAcaoImpeditiva Impeditivas;
  TCancDesdCds Dados;

  [[nodiscard]] bool TodosAMaiorConfirmados() const;
  [[nodiscard]] bool TodosVencimentosConfirmados() const;
  // The action of the record in its part, or null.
  [[nodiscard]] TAcaoVencAnteriorDataAtual* Vencimento(const TRegistro& registro) const;
  [[nodiscard]] TAcaoDesdobramentoAMaiorZTPrest* DesdobramentoAMaior(const TRegistro& registro) const;
  // The same actions of the same kinds on the same records, the same refusals, and rows whose
  // HASHCALCULADO did not change. The user's decisions do not count: a list computed afresh has
  // none.
  [[nodiscard]] virtual bool igual(const TListaAcoes& outra) const;
};

class TListaAcoesZTPrest : public TListaAcoes {};
class TListaAcoesZTLanc : public TListaAcoes {};
