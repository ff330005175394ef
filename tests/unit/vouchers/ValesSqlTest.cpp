#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/StatementBuilders.h"
#include "vouchers/Uclsfin_dalvale.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

using DAL = TDALVale;

TFiltroRelatorioVale Emissao() {
  TFiltroRelatorioVale f;
  f.CodigoFilial = "1";
  f.TipoParceiro = TTipoParceiroVale::tpFuncionario;
  f.TituloVale = "VALES";
  f.SituacaoVales = TSituacaoVales::svTodos;
  return f;
}

// An issue report of one employee over a period, every optional filter set.
TFiltroRelatorioVale EmissaoCompleta() {
  TFiltroRelatorioVale f = Emissao();
  f.DtaInicio = TDateTime::EncodeDate(2026, 1, 1);
  f.DtaFim = TDateTime::EncodeDate(2026, 1, 31);
  f.CodigoParceiro = 15;
  f.CodigoEmitente = 3;
  f.CodigoHistorico = 7;
  f.NumeroIniVale = 10;
  f.SituacaoVales = TSituacaoVales::svAbertos;
  return f;
}

// The synthetic extract of a supervisor's representatives groups by partner, keeps non-zero balances.
TFiltroRelatorioVale ExtratoSintetico() {
  TFiltroRelatorioVale f = Emissao();
  f.CodigoFilial = "99";
  f.TituloVale = "";
  f.PesquisaPeriodo = TPesquisaPeriodoVale::ppDataVencimento;
  f.DtaFim = TDateTime::EncodeDate(2026, 1, 31);
  f.TipoParceiro = TTipoParceiroVale::tpSupervisor;
  f.CodigoParceiro = 4;
  f.CodigoEmitente = -1;
  f.TipoRelatorio = TTipoRelatorioVale::trExtrato;
  f.TipoRelatorioExtrato = TTipoRelatorioExtratoVale::teSintetico;
  f.SaldoDiferenteZero = true;
  f.TipoOrdenacao = TTipoOrdenacaoVale::toNomeParceiro;
  return f;
}

// What vouchers/vouchers.sql.test holds, by block name. The row number comes from the sequence
// unless given; origin and commission are named only when set; the close matches the open row
// alone, so a second write-off changes nothing; a transfer moves only the open row; the account of
// the cash-closing check is written into the text.
const testsupport::StatementBuilders kVoucherStatements({
    {"TDALVale::GetSQLInserirZTCORREN (from the sequence)",
     [] { return DAL::GetSQLInserirZTCORREN(false, false, false); }},
    {"TDALVale::GetSQLInserirZTCORREN (given row number, origin and commission)",
     [] { return DAL::GetSQLInserirZTCORREN(true, true, true); }},
    {"TDALVale::GetSQLInserirZTCORREN (commission only)",
     [] { return DAL::GetSQLInserirZTCORREN(false, false, true); }},
    {"TDALVale::GetSQLBaixarZTCORREN (full)", [] { return DAL::GetSQLBaixarZTCORREN(false, false); }},
    {"TDALVale::GetSQLBaixarZTCORREN (partial, exported)", [] { return DAL::GetSQLBaixarZTCORREN(true, true); }},
    {"TDALVale::GetSQLEditarZTCORREN", [] { return DAL::GetSQLEditarZTCORREN(); }},
    {"TDALVale::GetSQLTransferenciaZTCORREN", [] { return DAL::GetSQLTransferenciaZTCORREN(); }},
    {"TDALVale::GetSQLLancamentosTransferencia", [] { return DAL::GetSQLLancamentosTransferencia(); }},
    {"TDALVale::GetSQLRecnumLancamentoPrincipal", [] { return DAL::GetSQLRecnumLancamentoPrincipal(); }},
    {"TDALVale::GetSQLCodContaContabil", [] { return DAL::GetSQLCodContaContabil(); }},
    {"TDALVale::GetSQLValeAberto", [] { return DAL::GetSQLValeAberto(); }},
    {"TValidacaoFinanceira::GetSQLControleCaixa", [] { return TValidacaoFinanceira::GetSQLControleCaixa(); }},
    {"TValidacaoFinanceira::GetSQLCaixaComFechamento (account 12)",
     [] { return TValidacaoFinanceira::GetSQLCaixaComFechamento(12); }},
    {"TValidacaoFinanceira::GetSQLCaixaAberto (any account)",
     [] { return TValidacaoFinanceira::GetSQLCaixaAberto(false); }},
    {"TValidacaoFinanceira::GetSQLCaixaAberto (on the account)",
     [] { return TValidacaoFinanceira::GetSQLCaixaAberto(true); }},
    {"TDALVale::GetSQLEmissaoVales (issue of an employee, every filter)",
     [] { return DAL::GetSQLEmissaoVales(EmissaoCompleta()); }},
    {"TDALVale::GetSQLEmissaoVales (synthetic extract of a supervisor)",
     [] { return DAL::GetSQLEmissaoVales(ExtratoSintetico()); }},
});

// Each request's varying part puts its lines into the statement (in this order) and keeps others
// out of it.
TEST(VoucherReportVariant, PutsItsLinesInOrder) {
  const struct {
    const char* nome;
    void (*ajustar)(TFiltroRelatorioVale&);
    std::vector<std::string> contem;
    std::vector<std::string> nao_contem;
  } casos[] = {
      {"TitleQuotesAreDoubled",
       [](TFiltroRelatorioVale& f) { f.TituloVale = "VALES D'OESTE' || (SELECT 1) --"; },
       {" SELECT DISTINCT 'VALES D''OESTE'' || (SELECT 1) --' AS TITULOVALE, DTBAIXAVALE,\n"},
       {}},
      {"DriversWithoutCodeOrBranch",
       [](TFiltroRelatorioVale& f) {
         f.TipoParceiro = TTipoParceiroVale::tpMotorista;
         f.CodigoFilial = " ";
       },
       {"\n AND C.TIPOFUNC = 'M' \n AND C.CODFUNC > 0\n AND C.TIPOLANC IN ('D','C')\n"},
       {"CODFILIAL = :sCODFILIAL", "U2", "NUMVALE BETWEEN"}},
      {"RepresentativesNotProfessional",
       [](TFiltroRelatorioVale& f) { f.TipoParceiro = TTipoParceiroVale::tpRCA; },
       {"ZTEMPR E, ZTUSUARI U2\n",
        "\n AND C.CODFUNC = U2.CODUSUR\n AND NVL(U2.TIPOVEND,'X') \n<>\n 'P' \n AND C.TIPOFUNC = 'R' \n"
        " AND C.CODFUNC > 0\n"},
       {"CODSUPERVISOR > 0"}},
      {"ProfessionalRepresentatives",
       [](TFiltroRelatorioVale& f) {
         f.TipoParceiro = TTipoParceiroVale::tpProfissional;
         f.CodigoParceiro = 8;
       },
       {"\n AND NVL(U2.TIPOVEND,'X') \n=\n 'P' \n AND C.TIPOFUNC = 'R' \n AND C.CODFUNC = :fCODFUNC\n"},
       {"<>"}},
      {"EverySupervisor",
       [](TFiltroRelatorioVale& f) { f.TipoParceiro = TTipoParceiroVale::tpSupervisor; },
       {" AND C.TIPOFUNC = 'R' \n AND U2.CODSUPERVISOR > 0\n"},
       {"C.CODFUNC > 0", ":fCODFUNC"}},
      {"WrittenOffFromADueDate",
       [](TFiltroRelatorioVale& f) {
         f.SituacaoVales = TSituacaoVales::svBaixados;
         f.PesquisaPeriodo = TPesquisaPeriodoVale::ppDataVencimento;
         f.DtaInicio = TDateTime::EncodeDate(2026, 2, 1);
         f.TipoOrdenacao = TTipoOrdenacaoVale::toTipoParceiro;
       },
       {" AND C.DTBAIXAVALE IS NOT NULL\n AND C.DTVENC >= :dDTAINI\n",
        "\nORDER BY CODFILIAL, TIPOFUNC, CODFUNC, DTVENC"},
       {"DTBAIXAVALE IS NULL", ":dDTAFIM"}},
      {"LastVoucherNumberAlone",
       [](TFiltroRelatorioVale& f) { f.NumeroFimVale = 50; },
       {" AND C.NUMVALE BETWEEN :fNUMVALEINI AND :fNUMVALEFIM\n"},
       {":fCODHIST", ":fCODEMITE"}},
      {"AnalyticExtractOfNonZeroBalancesByName",
       [](TFiltroRelatorioVale& f) {
         f.TipoRelatorio = TTipoRelatorioVale::trExtrato;
         f.SaldoDiferenteZero = true;
         f.TipoOrdenacao = TTipoOrdenacaoVale::toNomeParceiro;
       },
       {" ) SELECT V1.* FROM VALES V1\n WHERE (V1.CODFUNC, V1.TIPOFUNC) IN (SELECT V2.CODFUNC, V2.TIPOFUNC "
        "FROM VALES V2\n   GROUP BY V2.CODFUNC, V2.TIPOFUNC HAVING SUM(V2.VALORSALDO) <> 0)\n"
        "ORDER BY CODFILIAL, NOMEPACEIRO, TIPOLANC, DTLANC"},
       {"GROUP BY CODFILIAL", "WHERE VALORSALDO <> 0"}},
      {"OrderingWithoutItsOwnClause",
       [](TFiltroRelatorioVale& f) { f.TipoOrdenacao = TTipoOrdenacaoVale::toSemOrdem2; },
       {" ) SELECT V1.* FROM VALES V1"},
       {"ORDER BY"}},
      {"SyntheticByCode",
       [](TFiltroRelatorioVale& f) {
         f.TipoRelatorio = TTipoRelatorioVale::trExtrato;
         f.TipoRelatorioExtrato = TTipoRelatorioExtratoVale::teSintetico;
       },
       {"COUNT(*) AS QTD", " ) SELECT V1.* FROM VALES V1\nORDER BY CODFILIAL, CODSUPERVISOR, CODFUNC"},
       {"WHERE VALORSALDO", "TIPOLANC, DTLANC"}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    TFiltroRelatorioVale f = Emissao();
    caso.ajustar(f);
    const std::string sql = DAL::GetSQLEmissaoVales(f).Text();
    std::size_t depois = 0;
    for (const std::string& linha : caso.contem) {
      const std::size_t onde = sql.find(linha, depois);
      EXPECT_NE(onde, std::string::npos) << "missing or out of order: [" << linha << "]\n" << sql;
      if (onde != std::string::npos) depois = onde + linha.size();
    }
    for (const std::string& linha : caso.nao_contem) {
      EXPECT_EQ(sql.find(linha), std::string::npos) << "unexpected: [" << linha << "]\n" << sql;
    }
  }
}

}  // namespace
