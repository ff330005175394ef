#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

using F = RFin_FiltrosOpcoesContasReceber;
using Dal = TDALContasReceber;

TDateTime Dia(int d) {
  return TDateTime::EncodeDate(2026, 3, d);
}

// Every optional clause on: lists of each kind, both flags of the reversed-titles clause, every period.
F TodasAsClausulas() {
  F f;
  f.NUMTRANSVENDA = 501;
  f.PREST = "1";
  f.NUMNOTA = 9001;
  f.Filiais = "1, '02'";
  f.CODBANCO = 341;
  f.NUMTRANSINI = 10;
  f.NUMTRANSFIM = 20;
  f.Cobrancas = "'BK', 'D'";
  f.RCAs = "3,'4'";
  f.Rotas = "7";
  f.CODPORTADOR = "12";
  f.TipoPortador = 2;
  f.Cobradores = "5";
  f.Supervisores = "6";
  f.ClientesPrincipais = "8";
  f.Clientes = "100,101";
  f.CODPROFISSIONAL = "3";
  f.CobrancasBanco = "'BK'";
  f.CodigosBaixa = "9";
  f.NUMDOC = 77;
  f.NUMASSOCDNI = 88;
  f.DesconsiderarChequesDevolvidos = f.DesconsiderarJuros = f.DesconsiderarTransferencias = true;
  f.DesconsiderarVales = f.DesconsiderarContraPartidaEstorno = f.SomenteDevolucoes = true;
  f.SomenteBonificacoes = f.SomenteCreditos = f.DesconsiderarCartao = true;
  f.DesconsiderarEstornados = f.DesconsiderarEstornadosContraPartida = f.DesconsiderarCancelados = true;
  f.TipoTitulo = 0;
  f.SomenteAbertos = true;
  f.DTBAIXAINI = Dia(1), f.DTBAIXAFIM = Dia(2);
  f.DTPAGINI = Dia(3), f.DTPAGFIM = Dia(4);
  f.DTVENCINI = Dia(5), f.DTVENCFIM = Dia(6);
  f.DTEMISSAOINI = Dia(7), f.DTEMISSAOFIM = Dia(8);
  f.DTDESDINI = Dia(9), f.DTDESDFIM = Dia(10);
  f.DTREFINI = Dia(11), f.DTREFFIM = Dia(12);
  f.OrdenacaoColuna = 0;
  f.OrdenacaoModo = 2;
  return f;
}

F Ordenado(int coluna, int modo) {
  F f;
  f.OrdenacaoColuna = coluna;
  f.OrdenacaoModo = modo;
  return f;
}

const testsupport::StatementBuilders kListagemStatements({
    {"TDALContasReceber::MontarSQLCarregarTitulos (no optional clause)",
     [] { return Dal::MontarSQLCarregarTitulos(F{}).SQL; }},
    {"TDALContasReceber::MontarSQLCarregarTitulos (every clause)",
     [] { return Dal::MontarSQLCarregarTitulos(TodasAsClausulas()).SQL; }},
    {"TDALContasReceber::MontarSQLCarregarTitulos (by RCA name, then customer name)",
     [] { return Dal::MontarSQLCarregarTitulos(Ordenado(6, 3)).SQL; }},
    {"TDALContasReceber::MontarSQLCarregarTitulos (one title)",
     [] { return Dal::MontarSQLCarregarTitulos(501, "2").SQL; }},
    {"TDALContasReceber::MontarSQLCarregarTitulos (paid in a period)",
     [] {
       return Dal::MontarSQLCarregarTitulos("1,'2'", RFin_PeriodoData{Dia(1), Dia(31)}).SQL;
     }},
    {"TDALContasReceber::GetSQLDetalhePagamento", [] { return Dal::GetSQLDetalhePagamento(); }},
    {"TDALContasReceber::GetSQLExisteRastreioNaoRastreavel", [] { return Dal::GetSQLExisteRastreioNaoRastreavel(); }},
    {"TDALContasReceber::GetSQLIncluirRastreiosPagamento", [] { return Dal::GetSQLIncluirRastreiosPagamento(); }},
    {"TDALContasReceber::GetSQLApagarDadosRastreamentoDePagamento",
     [] { return Dal::GetSQLApagarDadosRastreamentoDePagamento(); }},
    {"TDALContasReceber::GetSQLLerRastreiosPagamento", [] { return Dal::GetSQLLerRastreiosPagamento(); }},
});

std::string Binds(const TSQLContasReceber& sql) {
  std::string texto;
  for (const TSQLContasReceber::TBind& b : sql.Binds) {
    if (!texto.empty()) texto += " ";
    texto += b.Nome + "=";
    if (const auto* i = std::get_if<long long>(&b.Valor)) texto += std::to_string(*i);
    if (const auto* s = std::get_if<std::string>(&b.Valor)) texto += "'" + *s + "'";
    if (const auto* d = std::get_if<TDateTime>(&b.Valor)) texto += d->ToIso(true);
  }
  return texto;
}

// The binds follow the clauses: each is set exactly when its clause is written, and the bearer kind
// maps 0, 1, 2 to F, M, R and anything else to O.
TEST(ListagemContasReceber, BindsFollowTheClausesInOrder) {
  EXPECT_EQ(Binds(Dal::MontarSQLCarregarTitulos(F{})), "");
  EXPECT_EQ(Binds(Dal::MontarSQLCarregarTitulos(TodasAsClausulas())),
            "NUMTRANSVENDA=501 PREST='1' NUMNOTA=9001 CODBANCO=341 NUMTRANSINI=10 NUMTRANSFIM=20 CODPORTADOR='12' "
            "TIPOPORTADOR='R' CODPROFISSIONAL='3' NUMDOC=77 NUMASSOCDNI=88 DTBAIXAINI=2026-03-01 "
            "DTBAIXAFIM=2026-03-02 DTPAGINI=2026-03-03 DTPAGFIM=2026-03-04 DTVENCINI=2026-03-05 DTVENCFIM=2026-03-06 "
            "DTEMISSAOINI=2026-03-07 DTEMISSAOFIM=2026-03-08 DTDESDINI=2026-03-09 DTDESDFIM=2026-03-10 "
            "DTREFINI=2026-03-11 DTREFFIM=2026-03-12");
  for (const auto& [tipo, letra] :
       std::vector<std::pair<int, std::string>>{{0, "F"}, {1, "M"}, {2, "R"}, {3, "O"}, {4, "O"}, {-1, "O"}}) {
    F f;
    f.CODPORTADOR = "5";
    f.TipoPortador = tipo;
    EXPECT_EQ(Binds(Dal::MontarSQLCarregarTitulos(f)), "CODPORTADOR='5' TIPOPORTADOR='" + letra + "'") << tipo;
  }
  // An inverted or unset period and an interval ending at 0 add nothing.
  F f;
  f.DTPAGINI = Dia(5), f.DTPAGFIM = Dia(4);
  f.DTVENCINI = Dia(5);
  f.NUMTRANSINI = 3;
  EXPECT_EQ(Dal::MontarSQLCarregarTitulos(f).SQL.Text(), Dal::MontarSQLCarregarTitulos(F{}).SQL.Text());
}

// The ordering only sorts, never groups: a selector outside 0..8 or a mode other than 2 and 3 adds
// nothing.
TEST(ListagemContasReceber, OrderingOnlyForKnownSelectorAndMode) {
  const std::string sem = Dal::MontarSQLCarregarTitulos(F{}).SQL.Text();
  for (const auto& [coluna, modo] : std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 4}, {9, 2}, {-1, 3}}) {
    EXPECT_EQ(Dal::MontarSQLCarregarTitulos(Ordenado(coluna, modo)).SQL.Text(), sem) << coluna << "/" << modo;
  }
  const std::string texto = Dal::MontarSQLCarregarTitulos(Ordenado(8, 2)).SQL.Text();
  EXPECT_NE(texto.find("\n ORDER BY P.CODFUNCBAIXA, P.CODCLI"), std::string::npos);
  EXPECT_EQ(texto.find("GROUP BY"), std::string::npos);
}

// A caller's list is numbers or single-quoted texts; anything else is refused with the IN guard's
// message before a statement exists. Text columns get every value quoted; numeric ones plain.
TEST(ListagemContasReceber, CallerListsAreCheckedAndQuotedByColumnType) {
  struct Caso {
    const char* lista;
    bool texto;
    const char* clausula;
  };
  for (const Caso& c : std::vector<Caso>{
           {"1, 2", false, "   AND (P.CODCLI IN ( 1,2 ))"},
           {"'1','2'", false, "   AND (P.CODCLI IN ( 1,2 ))"},
           {"1, '02'", true, "   AND (P.CODCLI IN ( '02','1' ))"},
           {"'A B'", true, "   AND (P.CODCLI IN ( 'A B' ))"},
           {"  ", true, ""},
           {" , ,", false, ""},
           {"1,,2,", false, "   AND (P.CODCLI IN ( 1,2 ))"},
       }) {
    EXPECT_EQ(Dal::ClausulaListaIN("P.CODCLI", c.lista, c.texto), c.clausula) << c.lista;
  }
  struct Recusa {
    const char* lista;
    bool texto;
    const char* valor;
  };
  for (const Recusa& r : std::vector<Recusa>{
           {"1) OR (1=1", false, "1) OR (1=1"},
           {"1; DELETE FROM ZTPREST", false, "1; DELETE FROM ZTPREST"},
           {"'a' OR 'x'='x'", true, "'a' OR 'x'='x'"},
           {"'a''b'", true, "'a''b'"},
           {"'abc", true, "'abc"},
           {"'", true, "'"},
           {"'12x'", false, "12x"},
           {"A", true, "A"},
           {"''", true, "''"},
       }) {
    EXPECT_FAILS_WITH(Dal::ClausulaListaIN("P.CODCLI", r.lista, r.texto),
                      std::string("Exception: Valor inválido na lista de P.CODCLI: \"") + r.valor + "\".")
        << r.lista;
  }
  F f;
  f.Rotas = "1 UNION SELECT 1";
  EXPECT_FAILS_WITH(Dal::MontarSQLCarregarTitulos(f),
                    "Exception: Valor inválido na lista de R.CODROTA: \"1 UNION SELECT 1\".");
  EXPECT_FAILS_WITH(Dal::MontarSQLCarregarTitulos("1' OR '1'='1", RFin_PeriodoData{Dia(1), Dia(2)}),
                    "Exception: Valor inválido na lista de P.CODFILIAL: \"1' OR '1'='1\".");
}

// Only an origin refused as launched outside the splitting, or as settled while that settlement
// stands, is untraced.
TEST(ListagemContasReceber, UntracedOriginRule) {
  const std::string baixado =
      "Este título já foi baixado, para realizar o cancelamento de desdobramento é necessário estorna-lo pela rotina "
      "1209!";
  const std::string naoHomologado =
      "Este registro não está preparado para o processo de cancelamento, pois foi lançado por uma rotina não "
      "homologada para este processo!";
  EXPECT_TRUE(OrigemNaoRastreavel(baixado, false));
  EXPECT_FALSE(OrigemNaoRastreavel(baixado, true));
  EXPECT_TRUE(OrigemNaoRastreavel(naoHomologado, false));
  EXPECT_TRUE(OrigemNaoRastreavel(naoHomologado, true));
  EXPECT_FALSE(OrigemNaoRastreavel("", false));
  EXPECT_FALSE(OrigemNaoRastreavel("Erro na validação dos valores dos títulos envolvidos no desdobramento", false));
}

}  // namespace
