#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"

TMapearDesdobramento::TMapearDesdobramento(TOraSession& session, TModo modo) : FSession(session), FModo(modo) {}

TStringList TMapearDesdobramento::GetSQLDependenciasZTPrest() {
  TStringList sql;
  const char* ramos[][4] = {
      {"ZTDESD", "NUMTRANSVENDAORIG", "PRESTORIG", "DEST"},
      {"ZTDESD", "NUMTRANSVENDADEST", "PRESTDEST", "ORIG"},
      {"ZTDESDMAP", "NUMTRANSVENDAORIG", "PRESTORIG", "DEST"},
      {"ZTDESDMAP", "NUMTRANSVENDADEST", "PRESTDEST", "ORIG"},
  };
  bool primeiro = true;
  for (const auto& ramo : ramos) {
    if (!primeiro) sql.Add("union");
    primeiro = false;
    const std::string vizinho = ramo[3];
    sql.Add("SELECT NUMTRANSVENDA" + vizinho + " AS NUMTRANSVENDA, PREST" + vizinho +
            " AS PREST, NUMTRANSVENDADEST, PRESTDEST, NUMTRANSVENDAORIG, PRESTORIG");
    sql.Add("FROM " + std::string(ramo[0]));
    sql.Add("WHERE " + std::string(ramo[1]) + " = :NUMTRANSVENDA and " + ramo[2] + " = :PREST");
  }
  return sql;
}

TStringList TMapearDesdobramento::GetSQLDependenciasZTLanc() {
  TStringList sql;
  sql.Add("SELECT RECNUMDESTINO AS RECNUM, RECNUMDESTINO, RECNUMORIG FROM ZTDESDLANC WHERE RECNUMORIG = :RECNUM");
  sql.Add("UNION");
  sql.Add("SELECT RECNUMORIG AS RECNUM, RECNUMDESTINO, RECNUMORIG FROM ZTDESDLANC WHERE RECNUMDESTINO = :RECNUM");
  return sql;
}

TStringList TMapearDesdobramento::GetSQLTituloAMaior() {
  TStringList sql;
  sql.Add("SELECT P.DUPLIC, P.CODCLI FROM ZTPREST P WHERE P.NUMTRANSVENDA = :NUMTRANSVENDA AND P.PREST = :PREST");
  return sql;
}

TStringList TMapearDesdobramento::GetSQLZTLancAMaior() {
  TStringList sql;
  sql.Add(
      "SELECT L.RECNUM FROM ZTLANC L WHERE L.LOCALIZACAO = :LOCALIZACAO AND L.PARCELA = :PARCELA AND "
      "L.NUMNOTA = :NUMNOTA AND L.CODFORNEC = :CODFORNEC");
  return sql;
}

TStringList TMapearDesdobramento::GetSQLZTCreCliAMaior() {
  TStringList sql;
  sql.Add("SELECT CODIGO FROM ZTCRECLI WHERE NUMTRANSVENDA = :NUMTRANSVENDA AND PRESTORIG = :PRESTORIG");
  return sql;
}

void TMapearDesdobramento::LocalizarDependenciasPreecherListaBase(const TRegistro& registro) {
  if (FModo == tmZTPrest) {
    if (const auto* titulo = dynamic_cast<const TRegistroZtPrest*>(&registro)) LocalizarDependenciasZTPrest(*titulo);
  } else if (FModo == tmZTLanc) {
    if (const auto* lanc = dynamic_cast<const TRegistroZTLanc*>(&registro)) LocalizarDependenciasZTLanc(*lanc);
  }
}

void TMapearDesdobramento::LocalizarDependenciasZTPrest(const TRegistroZtPrest& registro) {
  TOraQuery q(&FSession);
  q.SQL = GetSQLDependenciasZTPrest();
  q.ParamByName("NUMTRANSVENDA").SetAsInteger(registro.NUMTRANSVENDA);
  q.ParamByName("PREST").SetAsString(registro.PREST);
  q.Open();
  std::vector<TDependencia> linhas;
  for (; !q.Eof(); q.Next()) {
    TDependencia d;
    d.NumTransVenda = q.FieldByName("NUMTRANSVENDA").AsInteger();
    d.Prest = q.FieldByName("PREST").AsString();
    d.NumTransVendaOrig = q.FieldByName("NUMTRANSVENDAORIG").AsInteger();
    d.PrestOrig = q.FieldByName("PRESTORIG").AsString();
    d.NumTransVendaDest = q.FieldByName("NUMTRANSVENDADEST").AsInteger();
    d.PrestDest = q.FieldByName("PRESTDEST").AsString();
    linhas.push_back(std::move(d));
  }
  std::sort(linhas.begin(), linhas.end(), [](const TDependencia& a, const TDependencia& b) {
    return std::tie(a.NumTransVenda, a.Prest, a.NumTransVendaOrig, a.PrestOrig, a.NumTransVendaDest, a.PrestDest) <
           std::tie(b.NumTransVenda, b.Prest, b.NumTransVendaOrig, b.PrestOrig, b.NumTransVendaDest, b.PrestDest);
  });
  for (TDependencia& d : linhas) FLista.push_back(std::move(d));
}

void TMapearDesdobramento::LocalizarDependenciasZTLanc(const TRegistroZTLanc& registro) {
  TOraQuery q(&FSession);
  q.SQL = GetSQLDependenciasZTLanc();
  q.ParamByName("RECNUM").SetAsInteger(registro.RECNUM);
  q.Open();
  std::vector<TDependencia> linhas;
  for (; !q.Eof(); q.Next()) {
    TDependencia d;
    d.NumTransVenda = q.FieldByName("RECNUM").AsInteger();
    d.NumTransVendaOrig = q.FieldByName("RECNUMORIG").AsInteger();
    d.NumTransVendaDest = q.FieldByName("RECNUMDESTINO").AsInteger();
    linhas.push_back(d);
  }
  std::sort(linhas.begin(), linhas.end(), [](const TDependencia& a, const TDependencia& b) {
    return std::tie(a.NumTransVenda, a.NumTransVendaOrig, a.NumTransVendaDest) <
           std::tie(b.NumTransVenda, b.NumTransVendaOrig, b.NumTransVendaDest);
  });
  for (TDependencia& d : linhas) FLista.push_back(std::move(d));
}

void TMapearDesdobramento::LocalizarZTLancDesdAMaior(TArrayOfRegistrosFK& fks, long long numtransvenda,
                                                     const std::string& prest) {
  TOraQuery titulo(&FSession);
  titulo.SQL = GetSQLTituloAMaior();
  titulo.ParamByName("NUMTRANSVENDA").SetAsInteger(numtransvenda);
  titulo.ParamByName("PREST").SetAsString(prest);
  titulo.Open();
  if (titulo.Eof()) return;
  TOraQuery q(&FSession);
  q.SQL = GetSQLZTLancAMaior();
  q.ParamByName("LOCALIZACAO").SetAsString(std::to_string(numtransvenda));
  q.ParamByName("PARCELA").SetAsString(prest);
  q.ParamByName("NUMNOTA").SetAsFloat(titulo.FieldByName("DUPLIC").AsFloat());
  q.ParamByName("CODFORNEC").SetAsFloat(titulo.FieldByName("CODCLI").AsFloat());
  q.Open();
  for (; !q.Eof(); q.Next()) {
    fks.push_back({std::make_shared<TRegistroZTLanc>(q.FieldByName("RECNUM").AsInteger()), TZTPrestFK::zpfZTLanc});
  }
}

void TMapearDesdobramento::LocalizarZTCreCliDesdAMaior(TArrayOfRegistrosFK& fks, long long numtransvenda,
                                                       const std::string& prest) {
  TOraQuery q(&FSession);
  q.SQL = GetSQLZTCreCliAMaior();
  q.ParamByName("NUMTRANSVENDA").SetAsInteger(numtransvenda);
  q.ParamByName("PRESTORIG").SetAsString(prest);
  q.Open();
  for (; !q.Eof(); q.Next()) {
    fks.push_back({std::make_shared<TRegistroZTCreCli>(q.FieldByName("CODIGO").AsInteger()), TZTPrestFK::zpfZTCreCli});
  }
}

TRegistroPtr TMapearDesdobramento::NoZTPrest(long long numtransvenda, const std::string& prest, bool a_maior) {
  if (!a_maior) return std::make_shared<TRegistroZtPrest>(numtransvenda, prest);
  TArrayOfRegistrosFK fks;
  LocalizarZTLancDesdAMaior(fks, numtransvenda, prest);
  LocalizarZTCreCliDesdAMaior(fks, numtransvenda, prest);
  if (fks.empty()) return std::make_shared<TRegistroZtPrest>(numtransvenda, prest);
  return std::make_shared<TRegistroFKZtPrest>(numtransvenda, prest, std::move(fks));
}

bool TMapearDesdobramento::JaInseridoNoArray(const TipoRegistro& tipo) const {
  return FChavesResultado.count(tipo.Chave()) > 0;
}

void TMapearDesdobramento::PreencherArrayTipoRegistro(const TipoRegistroPtr& tipo) {
  if (FChavesResultado.insert(tipo->Chave()).second) FResultado.push_back(tipo);
}

TArrayOfTipoRegistro TMapearDesdobramento::MapearDesdobramento(const TRegistro& registro, bool a_maior) {
  FLista.clear();
  try {
    LocalizarDependenciasPreecherListaBase(registro);
    while (!FLista.empty()) {
      const TDependencia d = std::move(FLista.front());
      FLista.pop_front();
      TipoRegistroPtr tipo;
      TRegistroPtr vizinho;
      if (FModo == tmZTPrest) {
        // The key decides whether the edge is new; the linked rows are looked up only for new edges.
        const TipoRegistroZTPrest chave(std::make_shared<TRegistroZtPrest>(d.NumTransVendaOrig, d.PrestOrig),
                                        std::make_shared<TRegistroZtPrest>(d.NumTransVendaDest, d.PrestDest));
        if (JaInseridoNoArray(chave)) continue;
        tipo = std::make_shared<TipoRegistroZTPrest>(NoZTPrest(d.NumTransVendaOrig, d.PrestOrig, a_maior),
                                                     NoZTPrest(d.NumTransVendaDest, d.PrestDest, a_maior));
        vizinho = std::make_shared<TRegistroZtPrest>(d.NumTransVenda, d.Prest);
      } else {
        tipo = std::make_shared<TipoRegistroZTLanc>(std::make_shared<TRegistroZTLanc>(d.NumTransVendaOrig),
                                                    std::make_shared<TRegistroZTLanc>(d.NumTransVendaDest));
        if (JaInseridoNoArray(*tipo)) continue;
        vizinho = std::make_shared<TRegistroZTLanc>(d.NumTransVenda);
      }
      PreencherArrayTipoRegistro(tipo);
      LocalizarDependenciasPreecherListaBase(*vizinho);
    }
  } catch (...) {
    FLista.clear();
    throw;
  }
  return FResultado;
}

void TMapearDesdobramento::MapearDesdobramento(const TArrayOfRegistro& registros, bool a_maior,
                                               TArrayOfTipoRegistro& tipos) {
  tipos.clear();
  std::unordered_set<std::string> chaves;
  for (const TRegistroPtr& registro : registros) {
    for (const TipoRegistroPtr& tipo : MapearDesdobramento(*registro, a_maior)) {
      if (chaves.insert(tipo->Chave()).second) tipos.push_back(tipo);
    }
  }
}
