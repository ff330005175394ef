#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "vouchers/Uclsfin_dalvale.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

using DAL = TDALVale;

struct Statement {
  const char* Name;
  TStringList Sql;
  std::string Expected;
};

void PrintTo(const Statement& s, std::ostream* out) {
  *out << s.Name;
}

class VoucherStatement : public ::testing::TestWithParam<Statement> {};

TEST_P(VoucherStatement, IsSentAsWritten) {
  EXPECT_EQ(GetParam().Sql.Text(), GetParam().Expected);
}

const std::string kInsertColumns =
    "INSERT INTO ZTCORREN (RECNUM, CODFILIAL, DTLANC, CODFUNC, HISTORICO, TIPOLANC, VALOR, NUMDOC, CODHIST, "
    "HISTORICO2, DTVENC, DTVENCORIG, NUMVALE, TIPOFUNC, CODEMITE, CODFUNCORIG, CODROTINA, CODEMITEORIG, COBJUROS, "
    "CODBANCO, NUMTRANS, HORA, MINUTO, DTBAIXAVALE, CODFUNBAIXA, INDICE, NUMTRANSBAIXA, "
    "CONSIDERABASECALCULOIMPOSTO, DTDOC, VALEEXPORTADO";
const std::string kInsertValues =
    ":CODFILIAL, :DTLANC, :CODFUNC, :HISTORICO, :TIPOLANC, :VALOR, :NUMDOC, :CODHIST, :HISTORICO2, :DTVENC, "
    ":DTVENCORIG, :NUMVALE, :TIPOFUNC, :CODEMITE, :CODFUNCORIG, :CODROTINA, :CODEMITEORIG, :COBJUROS, :CODBANCO, "
    ":NUMTRANS, TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')), TO_NUMBER(TO_CHAR(SYSDATE, 'MI')), :DTBAIXAVALE, :CODFUNBAIXA, "
    ":INDICE, :NUMTRANSBAIXA, :CONSIDERABASECALCULOIMPOSTO, :DTDOC, :VALEEXPORTADO";
const std::string kCloseHead =
    "UPDATE ZTCORREN\n   SET DTBAIXAVALE = SYSDATE,\n       CODFUNBAIXA = :CODFUNBAIXA,\n"
    "       NUMTRANSBAIXA = :NUMTRANSBAIXA\n";
const std::string kCloseWhere =
    " WHERE RECNUM = :RECNUM\n   AND NUMVALE = :NUMVALE\n   AND CODFUNC = :CODFUNC\n   AND TIPOFUNC = :TIPOFUNC\n"
    "   AND DTBAIXAVALE IS NULL";
const std::string kOpenCash =
    "select DTLIMITEFECHAMENTO, sysdate DataAtual\n  from ztcontrolecx\n where codfunccaixa = :codfunccaixa\n"
    "   and dtfechamento is null";

// The row number comes from the sequence unless given; origin and commission are named only when
// set; the close matches the open row alone, so a second write-off changes nothing; a transfer
// moves only the open row; the account of the cash-closing check is written into the text.
INSTANTIATE_TEST_SUITE_P(
    Vouchers, VoucherStatement,
    ::testing::Values(
        Statement{"InsertFromSequence", DAL::GetSQLInserirZTCORREN(false, false, false),
                  kInsertColumns + ")\n VALUES (DFSEQ_ZTCORREN.NEXTVAL," + kInsertValues + ")"},
        Statement{"InsertWithGivenRecnumOriginAndCommission", DAL::GetSQLInserirZTCORREN(true, true, true),
                  kInsertColumns + ",ORIGEMLANCAMENTO,CODIGOCOMRCA)\n VALUES (:RECNUM," + kInsertValues +
                      ", :ORIGEMLANCAMENTO, :CODIGOCOMRCA)"},
        Statement{
            "InsertWithCommissionOnly", DAL::GetSQLInserirZTCORREN(false, false, true),
            kInsertColumns + ",CODIGOCOMRCA)\n VALUES (DFSEQ_ZTCORREN.NEXTVAL," + kInsertValues + ", :CODIGOCOMRCA)"},
        Statement{"CloseFull", DAL::GetSQLBaixarZTCORREN(false, false), kCloseHead + kCloseWhere},
        Statement{"ClosePartialExported", DAL::GetSQLBaixarZTCORREN(true, true),
                  kCloseHead + "     , VALEEXPORTADO = 'S'\n     , TIPOLANC = 'E'\n" + kCloseWhere},
        Statement{"Edit", DAL::GetSQLEditarZTCORREN(),
                  "UPDATE ZTCORREN\n   SET HISTORICO = :HISTORICO,\n       DTVENC = :DTVENC,\n"
                  "       CODFUNCPRORROG = :CODFUNCPRORROG,\n"
                  "       CONSIDERABASECALCULOIMPOSTO = :CONSIDERABASECALCULOIMPOSTO\n WHERE RECNUM = :RECNUM"},
        Statement{"TransferOfTheOpenRow", DAL::GetSQLTransferenciaZTCORREN(),
                  "--TRANSFERENCIA DE VALE\nUPDATE ZTCORREN SET CODFUNC = :CODFUNC, CODEMITE = :CODEMITE,\n"
                  "DTTRANSF = TRUNC(SYSDATE), TIPOFUNC = :TIPOFUNC WHERE RECNUM = :RECNUM\nAND DTBAIXAVALE IS NULL"},
        Statement{"PayableEntriesOfATransfer", DAL::GetSQLLancamentosTransferencia(),
                  " --VERIFICANDO SE NA ZTLANC HÁ REGISTROS PARA TRANSFERENCIA DO VALE\n"
                  "SELECT RECNUM, DTLANC, CODCONTA, CODFORNEC, HISTORICO, NUMNOTA, VALOR, DTVENC, VPAGO, DTPAGTO, "
                  "LOCALIZACAO, CODFILIAL, INDICE, TIPOLANC, DTEMISSAO, TIPOPARCEIRO, NOMEFUNC, CODFORNECPRINC, "
                  "HISTORICO2, MOEDA, DUPLIC, NUMBANCO, NUMTRANS\n  FROM ZTLANC\n WHERE DTLANC = :DTLANC\n"
                  "   AND NUMNOTA = :NUMNOTA\n   AND LOCALIZACAO = :LOCALIZACAO"},
        Statement{"PrincipalEntry", DAL::GetSQLRecnumLancamentoPrincipal(),
                  "SELECT ZTLANC.RECNUM\n  FROM ZTLANC, ZTCORREN\n WHERE ZTLANC.NUMTRANS = ZTCORREN.NUMTRANS\n"
                  "   AND ZTCORREN.NUMVALE = :NUMVALE\n ORDER BY ZTLANC.RECNUM"},
        Statement{"AccountingAccount", DAL::GetSQLCodContaContabil(),
                  "SELECT CODCONTABIL FROM ZTBANCO WHERE CODBANCO = :CODBANCO"},
        Statement{"OpenRowLocked", DAL::GetSQLValeAberto(),
                  "SELECT CODFUNC, TIPOFUNC, NVL(NUMTRANS, 0) NUMTRANS, NVL(NUMDOC, 0) NUMDOC, DTLANC, DTTRANSF\n"
                  "  FROM ZTCORREN\n WHERE RECNUM = :RECNUM\n   AND DTBAIXAVALE IS NULL\n   FOR UPDATE"},
        Statement{"CashControlSwitch", TValidacaoFinanceira::GetSQLControleCaixa(),
                  "SELECT NVL(UTILIZACONTROLECAIXA,'N') UTILIZACONTROLECAIXA FROM ZTCONSUM"},
        Statement{"CashClosingAccount", TValidacaoFinanceira::GetSQLCaixaComFechamento(12),
                  "select nvl(utilizafechamentocaixa,'N') UTILIZA from ztbanco\n  where codbanco =12"},
        Statement{"UsersOpenCash", TValidacaoFinanceira::GetSQLCaixaAberto(false), kOpenCash},
        Statement{"UsersOpenCashOnTheAccount", TValidacaoFinanceira::GetSQLCaixaAberto(true),
                  kOpenCash + "\nand codbanco = :codbanco"}),
    [](const ::testing::TestParamInfo<Statement>& info) { return info.param.Name; });

// ---- The report statement

TFiltroRelatorioVale Emissao() {
  TFiltroRelatorioVale f;
  f.CodigoFilial = "1";
  f.TipoParceiro = TTipoParceiroVale::tpFuncionario;
  f.TituloVale = "VALES";
  f.SituacaoVales = TSituacaoVales::svTodos;
  return f;
}

const std::string kAnalitico =
    " C.CODFILIAL, C.NUMVALE, NVL(C.NUMTRANS,0) AS NUMTRANS, NVL(C.VALOR,0) AS VALOR, C.CODFUNC,\n"
    " CASE WHEN C.TIPOFUNC = 'F' THEN\n"
    "   (SELECT EF.NOME || DECODE(EF.SITUACAO, 'I', ' (INATIVO)', '') FROM ZTEMPR EF\n"
    "     WHERE EF.TIPO = 'F' AND EF.MATRICULA = C.CODFUNC AND ROWNUM = 1)\n"
    "      WHEN C.TIPOFUNC = 'M' THEN\n"
    "   (SELECT EM.NOME || DECODE(EM.SITUACAO, 'I', ' (INATIVO)', '') FROM ZTEMPR EM, ZTCONSUM P\n"
    "     WHERE EM.TIPO = 'M' AND EM.MATRICULA = C.CODFUNC AND EM.CODSETOR = P.CODSETORMOTORISTA AND ROWNUM = 1)\n"
    "      ELSE (SELECT UN.NOME FROM ZTUSUARI UN WHERE UN.CODUSUR = C.CODFUNC) END AS NOMEPACEIRO,\n"
    " CASE WHEN C.TIPOFUNC = 'R' AND\n"
    "   (SELECT UT.TIPOVEND FROM ZTUSUARI UT WHERE UT.CODUSUR = C.CODFUNC) = 'P' THEN 'P'\n"
    "      ELSE C.TIPOFUNC END AS TIPOFUNC,\n"
    " CASE WHEN C.TIPOFUNC IN ('F', 'M') THEN\n"
    "   NVL((SELECT DECODE(ES.SITUACAO, 'I', 'I', 'A') FROM ZTEMPR ES WHERE ES.MATRICULA = C.CODFUNC), 'A')\n"
    "      ELSE NVL((SELECT DECODE(US.DTTERMINO, NULL, 'A', 'I') FROM ZTUSUARI US\n"
    "     WHERE US.CODUSUR = C.CODFUNC), 'A') END AS STATUS_PARCEIRO,\n";
const std::string kColunasComuns =
    " C.CODHIST, H.HISTORICO, C.HISTORICO AS HISTORICO1, C.HISTORICO2, C.TIPOLANC, C.DTVENC, C.DTLANC,\n"
    " C.NUMDOC, C.RECNUM, C.CODEMITE, C.DTTRANSF, C.CODFUNCORIG, C.CODEMITEORIG, C.COBJUROS, C.CODBANCO,\n"
    " C.HORA, C.MINUTO, C.INDICE, C.DTDOC, C.CODROTINA,\n"
    " (SELECT L.CODCONTA FROM ZTLANC L, ZTCONTA Z WHERE L.CODCONTA = Z.CODCONTA(+) AND L.NUMTRANS = C.NUMTRANS "
    "AND L.NUMNOTA = C.NUMDOC AND ROWNUM = 1) CODCONTA,\n"
    " (SELECT Z.CONTA FROM ZTLANC L, ZTCONTA Z WHERE L.CODCONTA = Z.CODCONTA(+) AND L.NUMTRANS = C.NUMTRANS "
    "AND L.NUMNOTA = C.NUMDOC AND ROWNUM = 1) CONTA,\n"
    " E.NOME AS NOMEEMITENTE, DECODE(C.TIPOLANC,'D',C.VALOR,0) VALORDEBITO, DECODE(C.TIPOLANC,'C',C.VALOR,0) "
    "VALORCREDITO,\n"
    " DECODE(C.TIPOLANC,'C',C.VALOR,0) - DECODE(C.TIPOLANC,'D',C.VALOR,0) VALORSALDO\n";

// An issue report of one employee over a period, every optional filter set.
TEST(VoucherReport, IssueOfAnEmployeeWithEveryFilterIsBuiltWhole) {
  TFiltroRelatorioVale f = Emissao();
  f.DtaInicio = TDateTime::EncodeDate(2026, 1, 1);
  f.DtaFim = TDateTime::EncodeDate(2026, 1, 31);
  f.CodigoParceiro = 15;
  f.CodigoEmitente = 3;
  f.CodigoHistorico = 7;
  f.NumeroIniVale = 10;
  f.SituacaoVales = TSituacaoVales::svAbertos;
  EXPECT_EQ(DAL::GetSQLEmissaoVales(f).Text(),
            " WITH VALES AS (\n SELECT DISTINCT 'VALES' AS TITULOVALE, DTBAIXAVALE,\n" + kAnalitico +
                " 0 AS CODSUPERVISOR, ' ' AS NOMESUPERVISOR,\n" + kColunasComuns +
                " FROM ZTCORREN C, ZTHIST H, ZTEMPR E\n WHERE C.CODHIST = H.CODHIST(+)\n"
                " AND C.CODEMITE = E.MATRICULA(+)\n AND C.DTBAIXAVALE IS NULL\n"
                " AND C.DTLANC BETWEEN :dDTAINI AND :dDTAFIM\n AND C.TIPOFUNC = 'F' \n AND C.CODFUNC = :fCODFUNC\n"
                " AND C.CODFILIAL = :sCODFILIAL\n AND C.NUMVALE BETWEEN :fNUMVALEINI AND :fNUMVALEFIM\n"
                " AND C.CODHIST = :fCODHIST\n AND C.CODEMITE = :fCODEMITE\n AND C.TIPOLANC IN ('D','C')\n"
                " ) SELECT V1.* FROM VALES V1\nORDER BY CODFILIAL, CODFUNC, TIPOLANC, DTLANC");
}

// The synthetic extract of a supervisor's representatives groups by partner, keeps non-zero balances.
TEST(VoucherReport, SyntheticExtractOfASupervisorIsBuiltWhole) {
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
  EXPECT_EQ(DAL::GetSQLEmissaoVales(f).Text(),
            " WITH VALES AS (\nSELECT DTBAIXAVALE, CODFILIAL, CODSUPERVISOR, NOMESUPERVISOR, CODFUNC, TIPOFUNC, "
            "TO_CHAR(CODFUNC)||TIPOFUNC AS CODTIPOFUNC, NOMEPACEIRO, STATUS_PARCEIRO, COUNT(*) AS QTD, "
            "SUM(VALORDEBITO) AS VALORDEBITOS, SUM(VALORCREDITO) AS VALORCREDITOS, SUM(VALORSALDO) AS VALORSALDO\n"
            " FROM (\n SELECT DISTINCT '' AS TITULOVALE, DTBAIXAVALE,\n" +
                kAnalitico +
                " U2.CODSUPERVISOR,\n"
                " (SELECT S.NOME FROM ZTSUPERV S WHERE S.CODSUPERVISOR = U2.CODSUPERVISOR) AS NOMESUPERVISOR,\n" +
                kColunasComuns +
                " FROM ZTCORREN C, ZTHIST H, ZTEMPR E, ZTUSUARI U2\n WHERE C.CODHIST = H.CODHIST(+)\n"
                " AND C.CODEMITE = E.MATRICULA(+)\n AND C.DTVENC <= :dDTAFIM\n AND C.CODFUNC = U2.CODUSUR\n"
                " AND NVL(U2.TIPOVEND,'X') \n<>\n 'P' \n AND C.TIPOFUNC = 'R' \n"
                " AND U2.CODSUPERVISOR = :fCODSUPERVISOR\n AND C.TIPOLANC IN ('D','C')\n )\n"
                " GROUP BY CODFILIAL, CODSUPERVISOR, NOMESUPERVISOR, CODFUNC, TIPOFUNC, NOMEPACEIRO, STATUS_PARCEIRO, "
                "DTBAIXAVALE\n ) SELECT V1.* FROM VALES V1\n WHERE VALORSALDO <> 0\n"
                "ORDER BY CODFILIAL, CODSUPERVISOR, NOMEPACEIRO");
}

// One request's varying part, and the lines it must put into the statement (in this order) and
// keep out of it.
struct Variante {
  const char* Name;
  void (*Ajustar)(TFiltroRelatorioVale&);
  std::vector<std::string> Contem;
  std::vector<std::string> NaoContem;
};

void PrintTo(const Variante& v, std::ostream* out) {
  *out << v.Name;
}

class VoucherReportVariant : public ::testing::TestWithParam<Variante> {};

TEST_P(VoucherReportVariant, PutsItsLinesInOrder) {
  TFiltroRelatorioVale f = Emissao();
  GetParam().Ajustar(f);
  const std::string sql = DAL::GetSQLEmissaoVales(f).Text();
  std::size_t depois = 0;
  for (const std::string& linha : GetParam().Contem) {
    const std::size_t onde = sql.find(linha, depois);
    EXPECT_NE(onde, std::string::npos) << "missing or out of order: [" << linha << "]\n" << sql;
    if (onde != std::string::npos) depois = onde + linha.size();
  }
  for (const std::string& linha : GetParam().NaoContem) {
    EXPECT_EQ(sql.find(linha), std::string::npos) << "unexpected: [" << linha << "]\n" << sql;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Vouchers, VoucherReportVariant,
    ::testing::Values(
        Variante{"TitleQuotesAreDoubled",
                 [](TFiltroRelatorioVale& f) { f.TituloVale = "VALES D'OESTE' || (SELECT 1) --"; },
                 {" SELECT DISTINCT 'VALES D''OESTE'' || (SELECT 1) --' AS TITULOVALE, DTBAIXAVALE,\n"},
                 {}},
        Variante{"DriversWithoutCodeOrBranch",
                 [](TFiltroRelatorioVale& f) {
                   f.TipoParceiro = TTipoParceiroVale::tpMotorista;
                   f.CodigoFilial = " ";
                 },
                 {"\n AND C.TIPOFUNC = 'M' \n AND C.CODFUNC > 0\n AND C.TIPOLANC IN ('D','C')\n"},
                 {"CODFILIAL = :sCODFILIAL", "U2", "NUMVALE BETWEEN"}},
        Variante{"RepresentativesNotProfessional",
                 [](TFiltroRelatorioVale& f) { f.TipoParceiro = TTipoParceiroVale::tpRCA; },
                 {"ZTEMPR E, ZTUSUARI U2\n",
                  "\n AND C.CODFUNC = U2.CODUSUR\n AND NVL(U2.TIPOVEND,'X') \n<>\n 'P' \n AND C.TIPOFUNC = 'R' \n"
                  " AND C.CODFUNC > 0\n"},
                 {"CODSUPERVISOR > 0"}},
        Variante{"ProfessionalRepresentatives",
                 [](TFiltroRelatorioVale& f) {
                   f.TipoParceiro = TTipoParceiroVale::tpProfissional;
                   f.CodigoParceiro = 8;
                 },
                 {"\n AND NVL(U2.TIPOVEND,'X') \n=\n 'P' \n AND C.TIPOFUNC = 'R' \n AND C.CODFUNC = :fCODFUNC\n"},
                 {"<>"}},
        Variante{"EverySupervisor",
                 [](TFiltroRelatorioVale& f) { f.TipoParceiro = TTipoParceiroVale::tpSupervisor; },
                 {" AND C.TIPOFUNC = 'R' \n AND U2.CODSUPERVISOR > 0\n"},
                 {"C.CODFUNC > 0", ":fCODFUNC"}},
        Variante{"WrittenOffFromADueDate",
                 [](TFiltroRelatorioVale& f) {
                   f.SituacaoVales = TSituacaoVales::svBaixados;
                   f.PesquisaPeriodo = TPesquisaPeriodoVale::ppDataVencimento;
                   f.DtaInicio = TDateTime::EncodeDate(2026, 2, 1);
                   f.TipoOrdenacao = TTipoOrdenacaoVale::toTipoParceiro;
                 },
                 {" AND C.DTBAIXAVALE IS NOT NULL\n AND C.DTVENC >= :dDTAINI\n",
                  "\nORDER BY CODFILIAL, TIPOFUNC, CODFUNC, DTVENC"},
                 {"DTBAIXAVALE IS NULL", ":dDTAFIM"}},
        Variante{"LastVoucherNumberAlone",
                 [](TFiltroRelatorioVale& f) { f.NumeroFimVale = 50; },
                 {" AND C.NUMVALE BETWEEN :fNUMVALEINI AND :fNUMVALEFIM\n"},
                 {":fCODHIST", ":fCODEMITE"}},
        Variante{"AnalyticExtractOfNonZeroBalancesByName",
                 [](TFiltroRelatorioVale& f) {
                   f.TipoRelatorio = TTipoRelatorioVale::trExtrato;
                   f.SaldoDiferenteZero = true;
                   f.TipoOrdenacao = TTipoOrdenacaoVale::toNomeParceiro;
                 },
                 {" ) SELECT V1.* FROM VALES V1\n WHERE (V1.CODFUNC, V1.TIPOFUNC) IN (SELECT V2.CODFUNC, V2.TIPOFUNC "
                  "FROM VALES V2\n   GROUP BY V2.CODFUNC, V2.TIPOFUNC HAVING SUM(V2.VALORSALDO) <> 0)\n"
                  "ORDER BY CODFILIAL, NOMEPACEIRO, TIPOLANC, DTLANC"},
                 {"GROUP BY CODFILIAL", "WHERE VALORSALDO <> 0"}},
        Variante{"OrderingWithoutItsOwnClause",
                 [](TFiltroRelatorioVale& f) { f.TipoOrdenacao = TTipoOrdenacaoVale::toSemOrdem2; },
                 {" ) SELECT V1.* FROM VALES V1"},
                 {"ORDER BY"}},
        Variante{"SyntheticByCode",
                 [](TFiltroRelatorioVale& f) {
                   f.TipoRelatorio = TTipoRelatorioVale::trExtrato;
                   f.TipoRelatorioExtrato = TTipoRelatorioExtratoVale::teSintetico;
                 },
                 {"COUNT(*) AS QTD", " ) SELECT V1.* FROM VALES V1\nORDER BY CODFILIAL, CODSUPERVISOR, CODFUNC"},
                 {"WHERE VALORSALDO", "TIPOLANC, DTLANC"}}),
    [](const ::testing::TestParamInfo<Variante>& info) { return info.param.Name; });

}  // namespace
