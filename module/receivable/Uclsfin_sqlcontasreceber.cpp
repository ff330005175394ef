// The statement texts of the receivable title listing and of payment tracking: each builds its SQL,
// and the listing its binds, without running anything.
#include <array>
#include <string>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

using F = RFin_FiltrosOpcoesContasReceber;

// Whether the title takes part in any split, as origin or destination, in either split table.
constexpr const char* kExiste[] = {
    "       CASE WHEN EXISTS (SELECT 1 FROM ZTDESD",
    "                          WHERE ZTDESD.NUMTRANSVENDADEST = P.NUMTRANSVENDA AND ZTDESD.PRESTDEST = P.PREST",
    "                         UNION ALL",
    "                         SELECT 1 FROM ZTDESD",
    "                          WHERE ZTDESD.NUMTRANSVENDAORIG = P.NUMTRANSVENDA AND ZTDESD.PRESTORIG = P.PREST",
    "                         UNION ALL",
    "                         SELECT 1 FROM ZTDESDMAP",
    "                          WHERE ZTDESDMAP.NUMTRANSVENDAORIG = P.NUMTRANSVENDA AND ZTDESDMAP.PRESTORIG = P.PREST",
    "                         UNION ALL",
    "                         SELECT 1 FROM ZTDESDMAP",
    "                          WHERE ZTDESDMAP.NUMTRANSVENDADEST = P.NUMTRANSVENDA AND ZTDESDMAP.PRESTDEST = P.PREST)",
    "            THEN 'S' ELSE 'N' END EXISTE",
};

// Titles that were split into others are never listed.
constexpr const char* kNaoDesdobrado =
    "   AND NOT EXISTS (SELECT 1 FROM ZTDESD WHERE ZTDESD.NUMTRANSVENDAORIG = P.NUMTRANSVENDA AND ZTDESD.PRESTORIG = "
    "P.PREST UNION ALL SELECT 1 FROM ZTDESDMAP WHERE ZTDESDMAP.NUMTRANSVENDAORIG = P.NUMTRANSVENDA AND "
    "ZTDESDMAP.PRESTORIG = P.PREST)";

void Selecao(TStringList& sql, bool vpagoZerado) {
  sql.Add("SELECT P.CODFILIAL,");
  sql.Add("       P.NUMTRANSVENDA,");
  sql.Add("       P.DUPLIC NUMNOTA,");
  sql.Add("       P.PREST,");
  sql.Add("       P.VALOR,");
  sql.Add(vpagoZerado ? "       NVL(P.VPAGO, 0) VPAGO," : "       P.VPAGO,");
  sql.Add("       P.DTPAG,");
  sql.Add("       NVL(P.VALORDESC, 0) VALORDESC,");
  sql.Add("       NVL(P.TXPERM, 0) TXPERM,");
  sql.Add("       NVL(P.VLROUTROSACRESC, 0) VLROUTROSACRESC,");
  sql.Add("       NVL(P.VALORMULTA, 0) VALORMULTA,");
  sql.Add("       (NVL(P.TXPERM, 0) + NVL(P.VLROUTROSACRESC, 0)) VLRJUROSDESPS,");
  for (const char* linha : kExiste) sql.Add(linha);
}

void Periodo(TSQLContasReceber& sql, const char* coluna, const char* prefixo, const RFin_PeriodoData& periodo) {
  if (!periodo.PeriodoValido()) return;
  const std::string ini = std::string("DT") + prefixo + "INI";
  const std::string fim = std::string("DT") + prefixo + "FIM";
  sql.SQL.Add(std::string("   AND ") + coluna + " BETWEEN :" + ini + " AND :" + fim);
  sql.Binds.push_back({ini, periodo.DataInicial});
  sql.Binds.push_back({fim, periodo.DataFinal});
}

void Lista(TSQLContasReceber& sql, const char* coluna, const std::string& lista, bool texto) {
  const std::string clausula = TDALContasReceber::ClausulaListaIN(coluna, lista, texto);
  if (!clausula.empty()) sql.SQL.Add(clausula);
}

void Flag(TSQLContasReceber& sql, bool ligado, const char* clausula) {
  if (ligado) sql.SQL.Add(clausula);
}

[[nodiscard]] const char* TipoPortador(int tipo) {
  switch (tipo) {
    case 0:
      return "F";
    case 1:
      return "M";
    case 2:
      return "R";
    default:
      return "O";
  }
}

constexpr std::array<const char*, 9> kChavesOrdenacao{"P.CODUSUR",  "P.DTBAIXA",     "P.DTPAG",
                                                      "P.CODBANCO", "P.CODCOBBANCO", "P.CODCOB",
                                                      "U.NOME",     "P.VALOR",       "P.CODFUNCBAIXA"};

[[noreturn]] void ValorInvalido(const std::string& coluna, const std::string& valor) {
  throw Exception("Valor inválido na lista de " + coluna + ": \"" + valor + "\".");
}

}  // namespace

const char* LetraTipoRastreamento(TTipoRegistrosRastreamento Tipo) {
  switch (Tipo) {
    case TTipoRegistrosRastreamento::trrSped:
      return "S";
    case TTipoRegistrosRastreamento::trrRelatorio:
      return "R";
    case TTipoRegistrosRastreamento::trrConsulta:
      return "C";
  }
  throw Exception("Tipo de registro de rastreamento inválido.");
}

// A caller's list: numbers, or texts in single quotes with no quote inside: "   AND (COL IN ( ... ))". Each value is
// checked by the payable area's IN guard (numbers for a numeric column) and quoted by it for a text column, so the
// server compares like with like.
std::string TDALContasReceber::ClausulaListaIN(const std::string& Coluna, const std::string& Lista, bool ColunaTexto) {
  if (Trim(Lista).empty()) return {};
  std::string valores;
  for (const std::string& item : SplitTrimmed(Lista, ',')) {
    std::string valor = item;
    if (item.empty()) ValorInvalido(Coluna, item);
    if (item.front() == '\'') {
      if (item.size() < 2 || item.back() != '\'') ValorInvalido(Coluna, item);
      valor = item.substr(1, item.size() - 2);
      if (valor.find('\'') != std::string::npos || Trim(valor).empty()) ValorInvalido(Coluna, item);
    } else {
      (void)TDALContasPagar::MontaClausulaIN(Coluna, item, false, false);
    }
    if (!ColunaTexto) (void)TDALContasPagar::MontaClausulaIN(Coluna, valor, false, false);
    if (!valores.empty()) valores += ',';
    valores += valor;
  }
  if (valores.empty()) return {};  // only separators: nothing to filter by
  std::string clausula = "   AND " + TDALContasPagar::MontaClausulaIN(Coluna, valores, ColunaTexto, false);
  while (clausula.back() == ' ') clausula.pop_back();
  return clausula;
}

TSQLContasReceber TDALContasReceber::MontarSQLCarregarTitulos(const RFin_FiltrosOpcoesContasReceber& Filtros) {
  TSQLContasReceber sql;
  Selecao(sql.SQL, false);
  sql.SQL.Add("  FROM ZTPREST P, ZTPRACA R, ZTCLIENT C, ZTUSUARI U, ZTPRESTDNI D, ZTCOB B");
  sql.SQL.Add(" WHERE P.CODCLI = C.CODCLI");
  sql.SQL.Add("   AND C.CODPRACA = R.CODPRACA(+)");
  sql.SQL.Add("   AND P.CODUSUR = U.CODUSUR(+)");
  sql.SQL.Add("   AND P.CODCOB = B.CODCOB(+)");
  sql.SQL.Add("   AND P.NUMTRANSVENDA = D.NUMTRANSVENDA");
  sql.SQL.Add("   AND P.PREST = D.PREST");
  sql.SQL.Add(kNaoDesdobrado);
  // A filter that names a title lists only that title; one that names none lists every title the
  // other clauses admit (no title has sale transaction 0).
  if (Filtros.NUMTRANSVENDA > 0) {
    sql.SQL.Add("   AND P.NUMTRANSVENDA = :NUMTRANSVENDA");
    sql.SQL.Add("   AND P.PREST = :PREST");
    sql.Binds.push_back({"NUMTRANSVENDA", static_cast<long long>(Filtros.NUMTRANSVENDA)});
    sql.Binds.push_back({"PREST", Filtros.PREST});
  }
  if (Filtros.NUMNOTA != 0) {
    sql.SQL.Add("   AND P.NUMNOTA = :NUMNOTA");
    sql.Binds.push_back({"NUMNOTA", static_cast<long long>(Filtros.NUMNOTA)});
  }
  Lista(sql, "P.CODFILIAL", Filtros.Filiais, true);
  if (Filtros.CODBANCO != 0) {
    sql.SQL.Add("   AND P.CODBANCO = :CODBANCO");
    sql.Binds.push_back({"CODBANCO", static_cast<long long>(Filtros.CODBANCO)});
  }
  if (Filtros.IntervaloNumTrans().IntervalorValido()) {
    sql.SQL.Add("   AND P.NUMTRANS BETWEEN :NUMTRANSINI AND :NUMTRANSFIM");
    sql.Binds.push_back({"NUMTRANSINI", static_cast<long long>(Filtros.NUMTRANSINI)});
    sql.Binds.push_back({"NUMTRANSFIM", static_cast<long long>(Filtros.NUMTRANSFIM)});
  }
  Lista(sql, "P.CODCOB", Filtros.Cobrancas, true);
  Lista(sql, "P.CODUSUR", Filtros.RCAs, false);
  Lista(sql, "R.CODROTA", Filtros.Rotas, false);
  if (!Trim(Filtros.CODPORTADOR).empty()) {
    sql.SQL.Add("   AND P.CODPORTADOR = :CODPORTADOR");
    sql.SQL.Add("   AND P.TIPOPORTADOR = :TIPOPORTADOR");
    sql.Binds.push_back({"CODPORTADOR", Trim(Filtros.CODPORTADOR)});
    sql.Binds.push_back({"TIPOPORTADOR", std::string(TipoPortador(Filtros.TipoPortador))});
  }
  Lista(sql, "P.CODCOBRADOR", Filtros.Cobradores, false);
  Lista(sql, "P.CODSUPERVISOR", Filtros.Supervisores, false);
  Lista(sql, "C.CODCLIPRINC", Filtros.ClientesPrincipais, false);
  Lista(sql, "P.CODCLI", Filtros.Clientes, false);
  if (!Trim(Filtros.CODPROFISSIONAL).empty()) {
    sql.SQL.Add(
        "   AND ((P.CODUSUR2 = :CODPROFISSIONAL) OR (P.CODUSUR3 = :CODPROFISSIONAL) OR (P.CODUSUR4 = "
        ":CODPROFISSIONAL) OR (P.CODUSUR = :CODPROFISSIONAL))");
    sql.Binds.push_back({"CODPROFISSIONAL", Trim(Filtros.CODPROFISSIONAL)});
  }
  Lista(sql, "P.CODCOBBANCO", Filtros.CobrancasBanco, true);
  Lista(sql, "P.CODBAIXA", Filtros.CodigosBaixa, false);
  if (Filtros.NUMDOC != 0) {
    sql.SQL.Add("   AND D.NUMDOC = :NUMDOC");
    sql.Binds.push_back({"NUMDOC", static_cast<long long>(Filtros.NUMDOC)});
  }
  if (Filtros.NUMASSOCDNI != 0) {
    sql.SQL.Add("   AND P.NUMASSOCDNI = :NUMASSOCDNI");
    sql.Binds.push_back({"NUMASSOCDNI", static_cast<long long>(Filtros.NUMASSOCDNI)});
  }
  Flag(sql, Filtros.DesconsiderarChequesDevolvidos, "   AND P.CODCOB NOT IN ('CHDV', 'CHD1', 'CHD3')");
  Flag(sql, Filtros.DesconsiderarJuros, "   AND P.CODCOB NOT IN ('JUR')");
  Flag(sql, Filtros.DesconsiderarTransferencias, "   AND P.CODCOB NOT IN ('TR')");
  Flag(sql, Filtros.DesconsiderarVales, "   AND P.CODCOB NOT IN ('VALE')");
  Flag(sql, Filtros.DesconsiderarContraPartidaEstorno, "   AND P.CODCOB NOT IN ('ESTR')");
  Flag(sql, Filtros.SomenteDevolucoes, "   AND P.CODCOB IN ('DEVP', 'DEVT')");
  Flag(sql, Filtros.SomenteBonificacoes, "   AND P.CODCOB IN ('BNF', 'BNFT', 'BNFR', 'BNTR', 'BNRP')");
  Flag(sql, Filtros.SomenteCreditos, "   AND P.CODCOB IN ('CRED')");
  Flag(sql, Filtros.DesconsiderarCartao, "   AND NVL(B.CARTAO, 'N') <> 'S'");
  if (Filtros.DesconsiderarEstornados) {
    sql.SQL.Add("   AND (NOT(((NVL(P.PERMITEESTORNO,'S') = 'N' AND NVL(P.VPAGO,0) > 0)) -- Titulo original estornado");
    sql.SQL.Add("        OR (P.CODCOB = 'ESTR') -- Titulo gerado contra-partida");
    Flag(sql, Filtros.DesconsiderarEstornadosContraPartida,
         "        OR (((NVL(P.PERMITEESTORNO, 'S') = 'N') AND (P.VPAGO > 0)) OR P.CODCOB = 'ESTR')");
    sql.SQL.Add("       ))");
  }
  if (Filtros.DesconsiderarCancelados) {
    sql.SQL.Add("   AND P.CODCOB <> 'CANC'");
    sql.SQL.Add("   AND P.DTCANCEL IS NULL");
  }
  Flag(sql, Filtros.TipoTitulo == 0, "   AND NVL(P.TIPO, 'X') = 'M'");
  Flag(sql, Filtros.TipoTitulo == 1, "   AND NVL(P.TIPO, 'X') <> 'M'");
  // A title never paid (VPAGO NULL, as a restored title is) is open too.
  Flag(sql, Filtros.SomenteAbertos, "   AND NVL(P.VPAGO, 0) < P.VALOR");
  Periodo(sql, "P.DTBAIXA", "BAIXA", Filtros.PeriodoBaixa());
  Periodo(sql, "P.DTPAG", "PAG", Filtros.PeriodoPagamento());
  Periodo(sql, "P.DTVENC", "VENC", Filtros.PeriodoVencimento());
  Periodo(sql, "P.DTEMISSAO", "EMISSAO", Filtros.PeriodoEmissao());
  Periodo(sql, "P.DTDESD", "DESD", Filtros.PeriodoDesdobramento());
  Periodo(sql, "NVL(P.DTDESD, P.DTEMISSAO)", "REF", Filtros.PeriodoReferencia());
  // The ordering only sorts: the listing is not aggregated, so no grouping goes with it.
  if (Filtros.OrdenacaoColuna >= 0 && Filtros.OrdenacaoColuna < static_cast<int>(kChavesOrdenacao.size())) {
    const std::string chave = kChavesOrdenacao[static_cast<std::size_t>(Filtros.OrdenacaoColuna)];
    if (Filtros.OrdenacaoModo == 2) sql.SQL.Add(" ORDER BY " + chave + ", P.CODCLI");
    if (Filtros.OrdenacaoModo == 3) sql.SQL.Add(" ORDER BY " + chave + ", C.CLIENTE");
  }
  return sql;
}

TSQLContasReceber TDALContasReceber::MontarSQLCarregarTitulos(int NumTransVenda, const std::string& Prest) {
  TSQLContasReceber sql;
  Selecao(sql.SQL, false);
  sql.SQL.Add("  FROM ZTPREST P");
  sql.SQL.Add(" WHERE P.NUMTRANSVENDA = :NUMTRANSVENDA AND P.PREST = :PREST");
  sql.SQL.Add(kNaoDesdobrado);
  sql.Binds.push_back({"NUMTRANSVENDA", static_cast<long long>(NumTransVenda)});
  sql.Binds.push_back({"PREST", Prest});
  return sql;
}

TSQLContasReceber TDALContasReceber::MontarSQLCarregarTitulos(const std::string& Filiais,
                                                              const RFin_PeriodoData& Periodo) {
  const std::string filiais = ClausulaListaIN("P.CODFILIAL", Filiais, true);
  if (filiais.empty()) throw Exception("Informe as filiais dos títulos pagos no período.");
  TSQLContasReceber sql;
  Selecao(sql.SQL, true);
  sql.SQL.Add("  FROM ZTPREST P");
  // The branch list, checked and quoted as every caller's list: "WHERE (P.CODFILIAL IN ( ... )) ".
  sql.SQL.Add(" WHERE " + filiais.substr(std::string("   AND ").size()));
  sql.SQL.Add("   AND P.DTPAG BETWEEN :DTPAGINI AND :DTPAGFIM");
  sql.SQL.Add("   AND P.CODCOB NOT IN ('CRED', 'DESD', 'ESTR', 'CANC', 'TR', 'DEVP', 'DEVT')");
  sql.SQL.Add("   AND NVL(VPAGO, 0) > 0");
  sql.SQL.Add(kNaoDesdobrado);
  sql.Binds.push_back({"DTPAGINI", Periodo.DataInicial});
  sql.Binds.push_back({"DTPAGFIM", Periodo.DataFinal});
  return sql;
}

TStringList TDALContasReceber::GetSQLDetalhePagamento() {
  TStringList sql;
  sql.Add("SELECT P.CODFILIAL,");
  sql.Add("       P.DUPLIC NUMNOTA,");
  sql.Add("       P.NUMTRANSVENDA,");
  sql.Add("       P.PREST,");
  sql.Add("       P.CODCOB,");
  sql.Add("       (TO_CHAR(P.NUMTRANSVENDA) || '-' || P.PREST) DOCBAIXA,");
  sql.Add("       P.VALOR,");
  sql.Add("       P.VPAGO,");
  sql.Add("       P.DTPAG,");
  sql.Add("       P.DTESTORNO,");
  sql.Add("       NVL(N.VLTOTGER, P.VALOR) VLTOTGER,");
  sql.Add("       NVL(P.VALORDESC, 0) VALORDESC,");
  sql.Add("       NVL(P.TXPERM, 0) TXPERM,");
  sql.Add("       NVL(P.VLROUTROSACRESC, 0) VLROUTROSACRESC,");
  sql.Add("       NVL(P.VALORMULTA, 0) VALORMULTA,");
  sql.Add("       (NVL(P.TXPERM, 0) + NVL(P.VLROUTROSACRESC, 0)) VLRJUROSDESPS");
  sql.Add("  FROM ZTPREST P, ZTNFSAID N");
  sql.Add(" WHERE P.NUMTRANSVENDA = N.NUMTRANSVENDA(+)");
  sql.Add("   AND P.DUPLIC = N.NUMNOTA(+)");
  sql.Add("   AND P.NUMTRANSVENDA = :NUMTRANSVENDA AND P.PREST = :PREST");
  return sql;
}

TStringList TDALContasReceber::GetSQLExisteRastreioNaoRastreavel() {
  TStringList sql;
  sql.Add(
      "SELECT 1 FROM ZTCONTASPAGARSPED_TEMP WHERE CODFILIAL = :CODFILIAL AND NUMNOTA = :NUMNOTA AND RASTREAVEL = "
      "'N' AND TIPO = :TIPO");
  return sql;
}

TStringList TDALContasReceber::GetSQLIncluirRastreiosPagamento() {
  TStringList sql;
  sql.Add(
      "INSERT INTO ZTCONTASPAGARSPED_TEMP (CODFILIAL, NUMNOTA, NUMTRANSVENDA, DOCBAIXA, DTPAG, VALORNOTA, "
      "VALORPARCELA, VALOR, TIPO, VLDESCONTO, VLJUROS, VLDESPESAS, VLMULTA, RASTREAVEL) VALUES (:CODFILIAL, "
      ":NUMNOTA, :NUMTRANSVENDA, :DOCBAIXA, :DTPAG, :VALORNOTA, :VALORPARCELA, :VALOR, :TIPO, :VLDESCONTO, "
      ":VLJUROS, :VLDESPESAS, :VLMULTA, :RASTREAVEL)");
  return sql;
}

TStringList TDALContasReceber::GetSQLApagarDadosRastreamentoDePagamento() {
  TStringList sql;
  sql.Add("DELETE FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = :TIPO");
  return sql;
}

TStringList TDALContasReceber::GetSQLLerRastreiosPagamento() {
  TStringList sql;
  sql.Add(
      "SELECT CODFILIAL, NUMNOTA, NUMTRANSVENDA, DOCBAIXA, DTPAG, VALORNOTA, VALORPARCELA, VALOR, TIPO, "
      "VLDESCONTO, VLJUROS, VLDESPESAS, VLMULTA, RASTREAVEL FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = :TIPO");
  return sql;
}
