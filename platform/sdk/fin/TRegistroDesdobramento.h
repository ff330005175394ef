#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "rtl/Exception.h"

// Records and edges of the split graph, declared by the host: a node is a row of ZTPREST (receivable
// title), ZTLANC (payable entry) or ZTCRECLI (customer credit); an edge links the title a split
// started from to a title it created.

class TRegistro;
using TRegistroPtr = std::shared_ptr<const TRegistro>;

// Kind of a row created for a title by a split with excess: a payable entry or a customer credit.
enum class TZTPrestFK : int { zpfZTLanc = 0, zpfZTCreCli = 1 };

// Step of a cancellation run.
enum class TPasso : int { tpFalhou = 0, tpCriado = 1, tpCarregado = 2, tpAcoesListadas = 3, tpConfirmado = 4 };

class TRegistro {
 public:
  virtual ~TRegistro();
  // Two records are equal when they name the same row: same table, same key. The rows a split
  // created for a title (TRegistroFKZtPrest) play no part.
  [[nodiscard]] bool Igual(const TRegistro& outro) const { return Chave() == outro.Chave(); }
  // The table and the key, unambiguous (the instalment is length-prefixed, so any character in it is
  // safe); equal records have equal keys, so it also serves for hashing.
  [[nodiscard]] virtual std::string Chave() const = 0;
  // The key as the user reads it, e.g. "1234-2" or "5678".
  [[nodiscard]] virtual std::string Descricao() const = 0;
};

class TRegistroZtPrest : public TRegistro {
 public:
  TRegistroZtPrest(long long numtransvenda, std::string prest)
      : NUMTRANSVENDA(numtransvenda), PREST(std::move(prest)) {}
  [[nodiscard]] std::string Chave() const override;
  [[nodiscard]] std::string Descricao() const override;
  long long NUMTRANSVENDA;
  std::string PREST;
};

class TRegistroZTLanc : public TRegistro {
 public:
  explicit TRegistroZTLanc(long long recnum) : RECNUM(recnum) {}
  [[nodiscard]] std::string Chave() const override;
  [[nodiscard]] std::string Descricao() const override;
  long long RECNUM;
};

class TRegistroZTCreCli : public TRegistro {
 public:
  explicit TRegistroZTCreCli(long long codigo) : CODIGO(codigo) {}
  [[nodiscard]] std::string Chave() const override;
  [[nodiscard]] std::string Descricao() const override;
  long long CODIGO;
};

// A row linked to a title: the row and its kind.
struct TRegistrosFK {
  TRegistroPtr Registro;
  TZTPrestFK Tipo = TZTPrestFK::zpfZTLanc;
};
using TArrayOfRegistrosFK = std::vector<TRegistrosFK>;

inline void LimparArray(TArrayOfRegistrosFK& array) {
  array.clear();
}

// A receivable title that carries the payable entries and customer credits a split with excess
// created for it.
class TRegistroFKZtPrest : public TRegistroZtPrest {
 public:
  TRegistroFKZtPrest(long long numtransvenda, std::string prest, TArrayOfRegistrosFK fks)
      : TRegistroZtPrest(numtransvenda, std::move(prest)), FKs(std::move(fks)) {}
  TArrayOfRegistrosFK FKs;
};

// One directed split edge.
class TipoRegistro {
 public:
  TipoRegistro(TRegistroPtr origem, TRegistroPtr destino) : Origem(std::move(origem)), Destino(std::move(destino)) {}
  virtual ~TipoRegistro();
  // Equal when both ends are equal records; the direction counts.
  [[nodiscard]] virtual bool igual(const TipoRegistro& outro) const {
    return Origem->Igual(*outro.Origem) && Destino->Igual(*outro.Destino);
  }
  [[nodiscard]] std::string Chave() const;
  TRegistroPtr Origem;
  TRegistroPtr Destino;
};

class TipoRegistroZTPrest : public TipoRegistro {
 public:
  using TipoRegistro::TipoRegistro;
};

class TipoRegistroZTLanc : public TipoRegistro {
 public:
  using TipoRegistro::TipoRegistro;
};

using TipoRegistroPtr = std::shared_ptr<const TipoRegistro>;
using TArrayOfRegistro = std::vector<TRegistroPtr>;
using TArrayOfTipoRegistro = std::vector<TipoRegistroPtr>;

[[nodiscard]] bool EstaNoArray(const TArrayOfRegistro& array, const TRegistro& registro);
[[nodiscard]] bool EstaNoArray(const TArrayOfTipoRegistro& array, const TipoRegistro& tipo);

// Appends the element unless an equal one is present; answers whether it was appended.
bool AdicionarAoArraySeNaoEstiver(TArrayOfRegistro& array, const TRegistroPtr& registro);
bool AdicionarAoArraySeNaoEstiver(TArrayOfTipoRegistro& array, const TipoRegistroPtr& tipo);

// The records of the array without those for which the predicate holds, in their order.
[[nodiscard]] TArrayOfRegistro Filtrar(const TArrayOfRegistro& array,
                                       const std::function<bool(const TRegistro&)>& predicado);

// Equal as sets: every record of each array has an equal one in the other (order and repeats do not
// count).
[[nodiscard]] bool ArrayIgual(const TArrayOfRegistro& a, const TArrayOfRegistro& b);

// Index of the records of an array by key, for look-ups that stay linear on large graphs.
class TIndiceRegistros {
 public:
  bool Adicionar(const TRegistro& registro) { return FChaves.insert(registro.Chave()).second; }
  [[nodiscard]] bool Contem(const TRegistro& registro) const { return FChaves.count(registro.Chave()) > 0; }
  void Limpar() { FChaves.clear(); }

 private:
  std::unordered_set<std::string> FChaves;
};

// What cancelling a split implies for one record. An impeditive action carries the reason the
// record blocks the cancellation.
class TAcao {
 public:
  explicit TAcao(TRegistroPtr registro) : Registro(std::move(registro)) {}
  virtual ~TAcao();
  TRegistroPtr Registro;
};

class TAcaoImpeditiva : public TAcao {
 public:
  TAcaoImpeditiva(TRegistroPtr registro, std::string mensagem)
      : TAcao(std::move(registro)), Mensagem(std::move(mensagem)) {}
  std::string Mensagem;
};

// Split data the cancellation cannot undo safely (corrupt links, titles paid, reversed, returned...).
class TAcaoImpeditivaDesdEstruturasInvalidas : public TAcaoImpeditiva {
 public:
  using TAcaoImpeditiva::TAcaoImpeditiva;
};
class TAcaoImpeditivaDesdEstruturasInvalidasZTPrest : public TAcaoImpeditivaDesdEstruturasInvalidas {
 public:
  using TAcaoImpeditivaDesdEstruturasInvalidas::TAcaoImpeditivaDesdEstruturasInvalidas;
};
class TAcaoImpeditivaDesdEstruturasInvalidasZTLanc : public TAcaoImpeditivaDesdEstruturasInvalidas {
 public:
  using TAcaoImpeditivaDesdEstruturasInvalidas::TAcaoImpeditivaDesdEstruturasInvalidas;
};
// A title negotiated with vendor financing or discount.
class TAcaoImpeditivaDesdVendorZTPrest : public TAcaoImpeditiva {
 public:
  using TAcaoImpeditiva::TAcaoImpeditiva;
};

using TAcaoImpeditivaPtr = std::shared_ptr<const TAcaoImpeditiva>;
using TArrayOfAcaoImpeditiva = std::vector<TAcaoImpeditivaPtr>;

// Position of the first action of the record in the list, or -1.
[[nodiscard]] int LocalizarNaLista(const TArrayOfAcaoImpeditiva& lista, const TRegistro& registro);

// How a split treated a title, as its copy records it (OPERACAODESD): a plain split, a split with
// excess, or a title the split itself settled. A missing value reads "TONormal" (titles) or
// "NORMAL" (entries); the number of the kind is accepted as well. Any other text is refused.
enum TTipoOperacaoDesdobramento : int { todNormal = 0, todAMaior = 1, todBaixadoNoDesdobramento = 2 };
[[nodiscard]] TTipoOperacaoDesdobramento ObterTipoOperacaoZTDESDPREST(const std::string& texto);
[[nodiscard]] TTipoOperacaoDesdobramento ObterTipoOperacaoZTDESDLANCOPERACAO(const std::string& texto);

// Raised when the titles of a cancellation changed in the database between the list of actions the
// user confirmed and the writes.
class ExceptionTitulosAlterados : public Exception {
 public:
  ExceptionTitulosAlterados();
  ~ExceptionTitulosAlterados() override;
  QUORVIN_EXCEPTION_NAME(ExceptionTitulosAlterados)
  static constexpr const char* Mensagem =
      "Os títulos envolvidos no cancelamento do desdobramento foram alterados por outro usuário, favor refazer o "
      "processo!";
};
