// Data access of the title listing and of payment tracking.
#include <cmath>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSQL.h"
#include "oradb/TOraSession.h"
#include "receivable/Uclsfin_dalcontasreceber.h"

namespace {

// Empty values travel as NULL: an empty text, an integer 0, a zero date.
void TextoOuNulo(TOraParam& param, const std::string& valor) {
  if (valor.empty()) {
    param.Clear();
  } else {
    param.SetAsString(valor);
  }
}

void InteiroOuNulo(TOraParam& param, long long valor) {
  if (valor == 0) {
    param.Clear();
  } else {
    param.SetAsInteger(valor);
  }
}

}  // namespace

void TDALContasReceber::Preparar(TOraQuery& Qry, const TSQLContasReceber& Sql) {
  Qry.Close();
  Qry.SQL.Clear();
  Qry.SQL = Sql.SQL;
  for (const TSQLContasReceber::TBind& bind : Sql.Binds) {
    TOraParam& param = Qry.ParamByName(bind.Nome);
    if (const auto* inteiro = std::get_if<long long>(&bind.Valor)) {
      param.SetAsInteger(*inteiro);
    } else if (const auto* texto = std::get_if<std::string>(&bind.Valor)) {
      param.SetAsString(*texto);
    } else {
      param.SetAsDate(std::get<TDateTime>(bind.Valor));
    }
  }
}

void TDALContasReceber::AbrirDetalhePagamento(TOraQuery& Qry, long long NumTransVenda, const std::string& Prest) {
  Qry.Close();
  Qry.SQL = GetSQLDetalhePagamento();
  Qry.ParamByName("NUMTRANSVENDA").SetAsInteger(NumTransVenda);
  Qry.ParamByName("PREST").SetAsString(Prest);
  Qry.Open();
}

void TDALContasReceber::IncluirRastreiosPagamento(TOraSession& Session, const TRastreioPagamento& Rastreio,
                                                  TTipoRegistrosRastreamento Tipo, TStatusRastreamentoTitulos Status) {
  const bool rastreado = Status == TStatusRastreamentoTitulos::srtRastreado;
  if (!rastreado) {
    TOraQuery existe(&Session);
    existe.SQL = GetSQLExisteRastreioNaoRastreavel();
    TextoOuNulo(existe.ParamByName("CODFILIAL"), Rastreio.CODFILIAL);
    InteiroOuNulo(existe.ParamByName("NUMNOTA"), Rastreio.NUMNOTA);
    existe.ParamByName("TIPO").SetAsString(LetraTipoRastreamento(Tipo));
    existe.Open();
    if (!existe.IsEmpty()) return;
  }
  TOraSQL insere(&Session);
  insere.SQL = GetSQLIncluirRastreiosPagamento();
  TextoOuNulo(insere.ParamByName("CODFILIAL"), Rastreio.CODFILIAL);
  InteiroOuNulo(insere.ParamByName("NUMNOTA"), Rastreio.NUMNOTA);
  InteiroOuNulo(insere.ParamByName("NUMTRANSVENDA"), Rastreio.NUMTRANSVENDA);
  TextoOuNulo(insere.ParamByName("DOCBAIXA"), Rastreio.DOCBAIXA);
  insere.ParamByName("DTPAG").SetAsDateTimeOrNull(Rastreio.DTPAG);
  insere.ParamByName("VALORNOTA").SetAsFloat(Rastreio.VALORNOTA);
  insere.ParamByName("VALORPARCELA").SetAsFloat(Rastreio.VALORPARCELA);
  insere.ParamByName("VALOR").SetAsFloat(Rastreio.VALOR);
  insere.ParamByName("TIPO").SetAsString(LetraTipoRastreamento(Tipo));
  insere.ParamByName("VLDESCONTO").SetAsFloat(Rastreio.VLDESCONTO);
  insere.ParamByName("VLJUROS").SetAsFloat(Rastreio.VLJUROS);
  insere.ParamByName("VLDESPESAS").SetAsFloat(Rastreio.VLDESPESAS);
  insere.ParamByName("VLMULTA").SetAsFloat(Rastreio.VLMULTA);
  insere.ParamByName("RASTREAVEL").SetAsString(rastreado ? "S" : "N");
  insere.Execute();
}

void TDALContasReceber::ApagarDadosRastreamentoDePagamento(TOraSession& Session, TTipoRegistrosRastreamento Tipo) {
  TOraSQL apaga(&Session);
  apaga.SQL = GetSQLApagarDadosRastreamentoDePagamento();
  apaga.ParamByName("TIPO").SetAsString(LetraTipoRastreamento(Tipo));
  apaga.Execute();
}

void TDALContasReceber::AbrirRastreiosPagamento(TOraSession& Session, TOraQuery& Qry, TTipoRegistrosRastreamento Tipo) {
  Qry.Close();
  Qry.SetSession(&Session);
  Qry.SQL = GetSQLLerRastreiosPagamento();
  Qry.ParamByName("TIPO").SetAsString(LetraTipoRastreamento(Tipo));
  Qry.Open();
}
