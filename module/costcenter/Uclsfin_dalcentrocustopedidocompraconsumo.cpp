#include "costcenter/Uclsfin_dalcentrocustopedidocompraconsumo.h"

#include <exception>

#include "costcenter/Uclsfin_rateiolinhas.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IQuorvin.h"

namespace {

void Montar(TOraQuery& query, const TStringList& sql) {
  query.Close();
  query.SQL.Clear();
  for (const std::string& line : sql.Lines()) query.SQL.Add(line);
}

}  // namespace

TDALCentroCustoPedidoCompraConsumo::TDALCentroCustoPedidoCompraConsumo(TComponent* owner) : TBaseSubModulo(owner) {}

TDALCentroCustoPedidoCompraConsumo::~TDALCentroCustoPedidoCompraConsumo() = default;

TDALCentroCusto& TDALCentroCustoPedidoCompraConsumo::Comum() {
  // The accounts and standard apportionments of payable entries.
  if (FComum == nullptr) FComum = new TDALCentroCusto(this, tlFinanceiro);  // owned by this
  return *FComum;
}

TOraSession& TDALCentroCustoPedidoCompraConsumo::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

int TDALCentroCustoPedidoCompraConsumo::CodigoFuncionario() {
  return Quorvin().SessaoAtual().Usuario().Matricula();
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::NovasLinhas() {
  return TLinhasCarregadas{std::make_unique<TOraQuery>(&Sessao())};
}

void TDALCentroCustoPedidoCompraConsumo::VincularPrestacao(TOraQuery& query, double prNumeroPedido,
                                                           const std::string& psPrestacao) {
  query.ParamByName("NUMPED").SetAsFloat(prNumeroPedido);
  query.ParamByName("PREST").SetAsString(Trim(psPrestacao));
}

// ---------------------------------------------------------------------------------------------
// Loaders

bool TDALCentroCustoPedidoCompraConsumo::CarregaRegistrosLancto(TOraQuery& pQryDados, double prNumeroPedido,
                                                                const std::string& psPrestacao) {
  Montar(pQryDados, GetSQLRegistrosLancto());
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  VincularPrestacao(pQryDados, prNumeroPedido, psPrestacao);
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCustoPedidoCompraConsumo::CarregaRateioPeloNumeroPedido(TOraQuery& pQryDados, double prNumeroPedido,
                                                                       const std::string& psPrestacao) {
  Montar(pQryDados, GetSQLRateioPeloNumeroPedido());
  VincularPrestacao(pQryDados, prNumeroPedido, psPrestacao);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCustoPedidoCompraConsumo::CarregaRateioPadraoConta_Gerencial(TOraQuery& pQryDados,
                                                                            const std::string& psCodConta) {
  // The account's own standard apportionment: installments carry no material-request item.
  Montar(pQryDados, TDALCentroCusto::GetSQLRateioPadraoConta(false));
  pQryDados.ParamByName("CODCONTA").SetAsString(psCodConta);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::RegistrosLancto(double prNumeroPedido,
                                                                      const std::string& psPrestacao) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRegistrosLancto(*linhas.Consulta, prNumeroPedido, psPrestacao);
  return linhas;
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::RateioPeloNumeroPedido(double prNumeroPedido,
                                                                             const std::string& psPrestacao) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRateioPeloNumeroPedido(*linhas.Consulta, prNumeroPedido, psPrestacao);
  return linhas;
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::RateioPadraoConta_Gerencial(const std::string& psCodConta) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRateioPadraoConta_Gerencial(*linhas.Consulta, psCodConta);
  return linhas;
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::RateioPadrao(const std::string& psCodRateio) {
  return Comum().RateioPadrao(psCodRateio);
}

TLinhasCarregadas TDALCentroCustoPedidoCompraConsumo::RegistrosDesdobramento(
    TParametrosCentroCustoPedidoCompraConsumo& parametros) {
  TLinhasCarregadas linhas = NovasLinhas();
  if (Trim(parametros.ListaRecNumDesdobramento).empty()) return linhas;
  TOraQuery& query = *linhas.Consulta;
  Montar(query, TDALCentroCusto::GetSQLRegistrosDesdobramento(
                    TDALCentroCusto::ListaRecNumSegura(parametros.ListaRecNumDesdobramento)));
  query.ParamByName("VLRTOTAL").SetAsFloat(parametros.VlrTotalTitulosSelecionadosDesd);
  query.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  query.Open();
  linhas.TemLinhas = !query.IsEmpty();
  return linhas;
}

bool TDALCentroCustoPedidoCompraConsumo::ContaUsaCentroCusto(const std::string& psCodConta) {
  TDALCentroCusto& comum = Comum();
  comum.CarregaContasCentroCusto(tlFinanceiro);
  TClientDataSet& contas = comum.GetCdsContaCentroCusto();
  const std::string conta = Trim(psCodConta);
  for (contas.First(); !contas.Eof(); contas.Next()) {
    if (Trim(contas.FieldByName("CODCONTA").AsString()) == conta) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// The in-memory row

bool TDALCentroCustoPedidoCompraConsumo::InsereCentroCusto(TParametrosCentroCustoPedidoCompraConsumo& parametros,
                                                           bool nova) {
  TParametrosCentroCustoPedidoCompraConsumo& p = parametros;
  TClientDataSet& rateios = p.cdsRateios();
  try {
    if (!rateios.Active()) TParametrosCentroCustoPedidoCompraConsumo::CriarCdsRateios(rateios);
    const std::string centro_custo = Trim(p.CodCentroCusto);
    const std::string prestacao = Trim(p.Prestacao);
    bool editar = p.AlterandoLancto;
    if (!editar && !nova) {
      // An existing row is found on NUMPED;PREST;CODIGOCENTROCUSTO.
      for (rateios.First(); !editar && !rateios.Eof();) {
        editar = !rateios.FieldByName("NUMPED").IsNull() && rateios.FieldByName("NUMPED").AsFloat() == p.NumeroPedido &&
                 Trim(rateios.FieldByName("PREST").AsString()) == prestacao &&
                 rateio_linhas::CentroCustoDaLinha(rateios) == centro_custo;
        if (!editar) rateios.Next();
      }
    }
    if (editar) {
      rateios.Edit();
    } else {
      rateios.Append();
    }
    rateios.FieldByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
    rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
    rateios.FieldByName("DESCCENTROCUSTO").SetAsString(p.DescCentroCusto);
    if (p.PercRateio > 0) {
      rateios.FieldByName("PERCRATEIO").SetAsFloat(p.PercRateio);
      rateios.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString(p.CCTemPermissao_ZTLib);
    }
    rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
    rateios.FieldByName("NUMPED").SetAsFloat(p.NumeroPedido);
    rateios.FieldByName("PREST").SetAsString(prestacao);
    rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
    if (p.DataLancto.IsZero()) {
      rateios.FieldByName("DTLANC").Clear();
    } else {
      rateios.FieldByName("DTLANC").SetAsDateTime(p.DataLancto);
    }
    rateios.Post();
    return true;
  } catch (const Exception& falha) {
    if (rateios.State() == TDataSetState::dsEdit || rateios.State() == TDataSetState::dsInsert) rateios.Cancel();
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de gravar o Centro de Custo! Erro: " + falha.Message()));
  }
}

// ---------------------------------------------------------------------------------------------
// Writers, locks, look-ups

void TDALCentroCustoPedidoCompraConsumo::InserirZTRATEIOCENTROCUSTOZTLANC3(
    TParametrosCentroCustoPedidoCompraConsumo& parametros) {
  TClientDataSet& rateios = parametros.cdsRateios();
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLInsert());
    query.ParamByName("NUMPED").SetAsFloat(rateios.FieldByName("NUMPED").AsFloat());
    query.ParamByName("PREST").SetAsString(rateios.FieldByName("PREST").AsString());
    query.ParamByName("CODCONTA").SetAsFloat(rateios.FieldByName("CODCONTA").AsFloat());
    query.ParamByName("VALOR").SetAsFloat(RoundTo(rateios.FieldByName("VALOR").AsFloat(), 2));
    query.ParamByName("PERCRATEIO").SetAsFloat(rateios.FieldByName("PERCRATEIO").AsFloat());
    if (rateios.FieldByName("DTLANC").IsNull()) {
      query.ParamByName("DTLANC").Clear();
    } else {
      query.ParamByName("DTLANC").SetAsDateTimeOrNull(rateios.FieldByName("DTLANC").AsDateTime());
    }
    query.ParamByName("CODFILIAL").SetAsString(rateios.FieldByName("CODFILIAL").AsString());
    query.ParamByName("CODIGOCENTROCUSTO").SetAsString(rateios.FieldByName("CODIGOCENTROCUSTO").AsString());
    try {
      query.ExecSQL();
    } catch (const Exception& falha) {
      GetValidador().Add(falha.Message());
      throw;
    }
  }
  rateios.First();
}

void TDALCentroCustoPedidoCompraConsumo::DeleteTodosCentroCusto(double prNumeroPedido, const std::string& psPrestacao) {
  try {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLDeleteTodos());
    VincularPrestacao(query, prNumeroPedido, psPrestacao);
    query.ExecSQL();
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Foi encontrado erro no momento de excluir registros antigos do Centro de Custo! Erro: " + falha.Message()));
  }
}

int TDALCentroCustoPedidoCompraConsumo::AlterarContaCentroCusto(double prNumeroPedido, const std::string& psPrestacao,
                                                                std::int64_t CodConta, const std::string& CodFilial) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLAlterarConta());
  query.ParamByName("CODCONTA").SetAsInteger(CodConta);
  VincularPrestacao(query, prNumeroPedido, psPrestacao);
  query.ParamByName("CODFILIAL").SetAsString(CodFilial);
  query.ExecSQL();
  return static_cast<int>(query.RowsAffected());
}

bool TDALCentroCustoPedidoCompraConsumo::TravarPrestacao(double prNumeroPedido, const std::string& psPrestacao) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarPrestacao());
  VincularPrestacao(query, prNumeroPedido, psPrestacao);
  query.Open();
  return !query.IsEmpty();
}

bool TDALCentroCustoPedidoCompraConsumo::TravarConta(std::int64_t codconta) {
  return Comum().TravarConta(codconta);
}

bool TDALCentroCustoPedidoCompraConsumo::ExisteConta(std::int64_t codconta) {
  return Comum().ExisteConta(codconta);
}

TDateTime TDALCentroCustoPedidoCompraConsumo::VencimentoPrestacao(double prNumeroPedido,
                                                                  const std::string& psPrestacao) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLVencimentoPrestacao());
  VincularPrestacao(query, prNumeroPedido, psPrestacao);
  query.Open();
  if (query.IsEmpty() || query.FieldByName("DTVENC").IsNull()) return TDateTime();
  return query.FieldByName("DTVENC").AsDateTime();
}

TOrcamentosCentroCusto TDALCentroCustoPedidoCompraConsumo::ValidarOrcamentoConta(const std::string& codconta,
                                                                                 const std::string& filial, int mes,
                                                                                 int ano, bool por_competencia,
                                                                                 const std::set<std::string>& centros) {
  return Comum().OrcamentosTravados(codconta, filial, mes, ano, centros, {GetSQLRealizadoConta(por_competencia)});
}

// ---------------------------------------------------------------------------------------------
// Statement texts

namespace {

TStringList Linha(const std::string& text) {
  TStringList sql;
  sql.Add(text);
  return sql;
}

}  // namespace

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLRegistrosLancto() {
  TStringList sql;
  sql.Add("SELECT DISTINCT RC.NUMPED,");
  sql.Add("       RC.PREST,");
  sql.Add("       RC.CODFILIAL,");
  sql.Add("       RC.CODCONTA,");
  sql.Add("       RC.CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       RC.VALOR,");
  sql.Add("       RC.PERCRATEIO,");
  sql.Add("       RC.DTLANC,");
  sql.Add(TDALCentroCusto::LinhaPermissao("CC.CODIGOCENTROCUSTO"));
  sql.Add("  FROM ZTRATEIOCENTROCUSTOZTLANC3 RC, ZTCENTROCUSTO CC");
  sql.Add(" WHERE RC.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  TDALCentroCusto::AddAtivo(sql);
  sql.Add("   AND RC.NUMPED = :NUMPED");
  sql.Add("   AND RC.PREST = :PREST");
  sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLRateioPeloNumeroPedido() {
  TStringList sql;
  sql.Add("SELECT DISTINCT CO.CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       CO.PERCRATEIO");
  sql.Add("  FROM ZTRATEIOCENTROCUSTOZTLANC3 CO, ZTCENTROCUSTO CC");
  sql.Add(" WHERE CO.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  sql.Add("   AND CO.NUMPED = :NUMPED");
  sql.Add("   AND CO.PREST = :PREST");
  TDALCentroCusto::AddVisibilidade(sql);
  sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLInsert() {
  return Linha(
      "INSERT INTO ZTRATEIOCENTROCUSTOZTLANC3 (NUMPED, PREST, CODCONTA, VALOR, PERCRATEIO, DTLANC, CODFILIAL, "
      "CODIGOCENTROCUSTO) VALUES(:NUMPED, :PREST, :CODCONTA, :VALOR, :PERCRATEIO, :DTLANC, :CODFILIAL, "
      ":CODIGOCENTROCUSTO)");
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLDeleteTodos() {
  return Linha("DELETE FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = :NUMPED AND PREST = :PREST");
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLAlterarConta() {
  return Linha(
      "UPDATE ZTRATEIOCENTROCUSTOZTLANC3 SET CODCONTA = :CODCONTA WHERE NUMPED = :NUMPED AND PREST = :PREST AND "
      "CODFILIAL = :CODFILIAL");
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLTravarPrestacao() {
  return Linha("SELECT NUMPED FROM ZTLANC3 WHERE NUMPED = :NUMPED AND PREST = :PREST FOR UPDATE");
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLVencimentoPrestacao() {
  return Linha("SELECT DTVENC FROM ZTLANC3 WHERE NUMPED = :NUMPED AND PREST = :PREST");
}

TStringList TDALCentroCustoPedidoCompraConsumo::GetSQLRealizadoConta(bool por_competencia) {
  // Each line of this statement ends with a carriage return of its own, as the payable one.
  TStringList sql;
  const auto add = [&sql](const std::string& line) { sql.Add(line + "\r"); };
  add(" --TOTAL DE LANCAMENTOS DO MES PARA A CONTA AGRUPADO POR CENTRO DE CUSTO ");
  add(" SELECT NVL(SUM(NVL(R.VALOR,0)),0) AS TOTAL, R.CODIGOCENTROCUSTO ");
  add(" FROM ZTRATEIOCENTROCUSTOZTLANC3 R ");
  if (por_competencia) add(" , ZTLANC3 L");
  add(" WHERE R.CODCONTA                 = :CODCONTA ");
  add(" AND   R.CODFILIAL                = :CODFILIAL ");
  if (!por_competencia) {
    add(" AND EXTRACT(MONTH FROM R.DTLANC) = :MES ");
    add(" AND EXTRACT(YEAR FROM R.DTLANC)  = :ANO ");
  } else {
    add(" AND   R.NUMPED                   = L.NUMPED");
    add(" AND   R.PREST                    = L.PREST");
    add(" AND EXTRACT(MONTH FROM L.DTVENC) = :MES ");
    add(" AND EXTRACT(YEAR FROM L.DTVENC)  = :ANO ");
  }
  add(" GROUP BY R.CODIGOCENTROCUSTO");
  return sql;
}
