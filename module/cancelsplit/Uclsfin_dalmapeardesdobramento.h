#pragma once

#include <deque>
#include <string>
#include <unordered_set>

#include "rtl/TStringList.h"
#include "sdk/fin/TModo.h"
#include "sdk/fin/TRegistroDesdobramento.h"

class TOraSession;

// Finds every split edge connected to one or more titles, walking the split graph in both
// directions, breadth-first. Receivable titles are linked in ZTDESD and ZTDESDMAP, payable entries
// in ZTDESDLANC. The result grows across calls on the same object: an edge found earlier counts as
// already found. The walk ends on any graph, cycles included, because an edge is expanded only the
// first time it is found.
//
// The rows of one node's dependency query are taken in ascending order of their values (neighbour
// key first, then the edge), since a UNION returns them in no defined order; the result is thus the
// same on every run and every database.
class TMapearDesdobramento {
 public:
  TMapearDesdobramento(TOraSession& session, TModo modo);

  [[nodiscard]] TArrayOfTipoRegistro MapearDesdobramento(const TRegistro& registro, bool a_maior);
  void MapearDesdobramento(const TArrayOfRegistro& registros, bool a_maior, TArrayOfTipoRegistro& tipos);

  [[nodiscard]] bool JaInseridoNoArray(const TipoRegistro& tipo) const;
  void PreencherArrayTipoRegistro(const TipoRegistroPtr& tipo);

  // The rows a split with excess created for a title: its payable entries and customer credits.
  void LocalizarZTLancDesdAMaior(TArrayOfRegistrosFK& fks, long long numtransvenda, const std::string& prest);
  void LocalizarZTCreCliDesdAMaior(TArrayOfRegistrosFK& fks, long long numtransvenda, const std::string& prest);

  [[nodiscard]] TModo Modo() const noexcept { return FModo; }
  [[nodiscard]] const TArrayOfTipoRegistro& Resultado() const noexcept { return FResultado; }

  // The statements, as sent.
  [[nodiscard]] static TStringList GetSQLDependenciasZTPrest();
  [[nodiscard]] static TStringList GetSQLDependenciasZTLanc();
  [[nodiscard]] static TStringList GetSQLTituloAMaior();
  [[nodiscard]] static TStringList GetSQLZTLancAMaior();
  [[nodiscard]] static TStringList GetSQLZTCreCliAMaior();

 private:
  // One dependency still to be visited: the neighbour reached and the edge, as values (an
  // instalment may hold any character).
  struct TDependencia {
    long long NumTransVenda = 0;  // ZTLANC mode: RECNUM
    std::string Prest;
    long long NumTransVendaOrig = 0;  // ZTLANC mode: RECNUMORIG
    std::string PrestOrig;
    long long NumTransVendaDest = 0;  // ZTLANC mode: RECNUMDESTINO
    std::string PrestDest;
  };

  void LocalizarDependenciasPreecherListaBase(const TRegistro& registro);
  void LocalizarDependenciasZTPrest(const TRegistroZtPrest& registro);
  void LocalizarDependenciasZTLanc(const TRegistroZTLanc& registro);
  [[nodiscard]] TRegistroPtr NoZTPrest(long long numtransvenda, const std::string& prest, bool a_maior);

  TOraSession& FSession;
  TModo FModo;
  std::deque<TDependencia> FLista;
  TArrayOfTipoRegistro FResultado;
  std::unordered_set<std::string> FChavesResultado;
};
