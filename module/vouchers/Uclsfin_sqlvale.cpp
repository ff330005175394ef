// The statement texts of the voucher area: each builds its SQL without running it.
#include <initializer_list>
#include <string>

#include "rtl/Formatacao.h"
#include "vouchers/Uclsfin_dalvale.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<const char*> linhas) {
  TStringList sql;
  for (const char* linha : linhas) sql.Add(linha);
  return sql;
}

// A title is pasted into the report as a literal: its quotes are doubled, so a title can never
// end the literal and add SQL of its own.
[[nodiscard]] std::string Literal(const std::string& texto) {
  std::string literal;
  for (const char c : texto) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal;
}

[[nodiscard]] bool ParceiroRCA(TTipoParceiroVale tipo) {
  return tipo == TTipoParceiroVale::tpRCA || tipo == TTipoParceiroVale::tpProfissional ||
         tipo == TTipoParceiroVale::tpSupervisor;
}

[[nodiscard]] bool Sintetico(const TFiltroRelatorioVale& f) {
  return f.TipoRelatorio == TTipoRelatorioVale::trExtrato &&
         f.TipoRelatorioExtrato == TTipoRelatorioExtratoVale::teSintetico;
}

[[nodiscard]] const char* ColunaData(const TFiltroRelatorioVale& f) {
  return f.PesquisaPeriodo == TPesquisaPeriodoVale::ppDataLancamento ? "DTLANC" : "DTVENC";
}

void AdicionarColunasAgrupadas(TStringList& sql) {
  sql.Add(
      "SELECT DTBAIXAVALE, CODFILIAL, CODSUPERVISOR, NOMESUPERVISOR, CODFUNC, TIPOFUNC, "
      "TO_CHAR(CODFUNC)||TIPOFUNC AS CODTIPOFUNC, NOMEPACEIRO, STATUS_PARCEIRO, COUNT(*) AS QTD, "
      "SUM(VALORDEBITO) AS VALORDEBITOS, SUM(VALORCREDITO) AS VALORCREDITOS, SUM(VALORSALDO) AS VALORSALDO");
  sql.Add(" FROM (");
}

// The analytic select: one row per ledger row, with the partner's name, displayed type and status.
void AdicionarColunasAnaliticas(TStringList& sql, const TFiltroRelatorioVale& f) {
  sql.Add(" SELECT DISTINCT '" + Literal(f.TituloVale) + "' AS TITULOVALE, DTBAIXAVALE,");
  sql.Add(" C.CODFILIAL, C.NUMVALE, NVL(C.NUMTRANS,0) AS NUMTRANS, NVL(C.VALOR,0) AS VALOR, C.CODFUNC,");
  // Employees and drivers are named from ZTEMPR (an inactive one marked), representatives from ZTUSUARI.
  sql.Add(" CASE WHEN C.TIPOFUNC = 'F' THEN");
  sql.Add("   (SELECT EF.NOME || DECODE(EF.SITUACAO, 'I', ' (INATIVO)', '') FROM ZTEMPR EF");
  sql.Add("     WHERE EF.TIPO = 'F' AND EF.MATRICULA = C.CODFUNC AND ROWNUM = 1)");
  sql.Add("      WHEN C.TIPOFUNC = 'M' THEN");
  sql.Add("   (SELECT EM.NOME || DECODE(EM.SITUACAO, 'I', ' (INATIVO)', '') FROM ZTEMPR EM, ZTCONSUM P");
  sql.Add(
      "     WHERE EM.TIPO = 'M' AND EM.MATRICULA = C.CODFUNC AND EM.CODSETOR = P.CODSETORMOTORISTA AND ROWNUM = 1)");
  sql.Add("      ELSE (SELECT UN.NOME FROM ZTUSUARI UN WHERE UN.CODUSUR = C.CODFUNC) END AS NOMEPACEIRO,");
  // A professional representative is stored as "R"; the report tells it apart by ZTUSUARI.TIPOVEND.
  sql.Add(" CASE WHEN C.TIPOFUNC = 'R' AND");
  sql.Add("   (SELECT UT.TIPOVEND FROM ZTUSUARI UT WHERE UT.CODUSUR = C.CODFUNC) = 'P' THEN 'P'");
  sql.Add("      ELSE C.TIPOFUNC END AS TIPOFUNC,");
  sql.Add(" CASE WHEN C.TIPOFUNC IN ('F', 'M') THEN");
  sql.Add("   NVL((SELECT DECODE(ES.SITUACAO, 'I', 'I', 'A') FROM ZTEMPR ES WHERE ES.MATRICULA = C.CODFUNC), 'A')");
  sql.Add("      ELSE NVL((SELECT DECODE(US.DTTERMINO, NULL, 'A', 'I') FROM ZTUSUARI US");
  sql.Add("     WHERE US.CODUSUR = C.CODFUNC), 'A') END AS STATUS_PARCEIRO,");
  if (f.TipoParceiro == TTipoParceiroVale::tpSupervisor) {
    sql.Add(" U2.CODSUPERVISOR,");
    sql.Add(" (SELECT S.NOME FROM ZTSUPERV S WHERE S.CODSUPERVISOR = U2.CODSUPERVISOR) AS NOMESUPERVISOR,");
  } else {
    sql.Add(" 0 AS CODSUPERVISOR, ' ' AS NOMESUPERVISOR,");
  }
  sql.Add(" C.CODHIST, H.HISTORICO, C.HISTORICO AS HISTORICO1, C.HISTORICO2, C.TIPOLANC, C.DTVENC, C.DTLANC,");
  sql.Add(" C.NUMDOC, C.RECNUM, C.CODEMITE, C.DTTRANSF, C.CODFUNCORIG, C.CODEMITEORIG, C.COBJUROS, C.CODBANCO,");
  sql.Add(" C.HORA, C.MINUTO, C.INDICE, C.DTDOC, C.CODROTINA,");
  sql.Add(
      " (SELECT L.CODCONTA FROM ZTLANC L, ZTCONTA Z WHERE L.CODCONTA = Z.CODCONTA(+) AND L.NUMTRANS = C.NUMTRANS "
      "AND L.NUMNOTA = C.NUMDOC AND ROWNUM = 1) CODCONTA,");
  sql.Add(
      " (SELECT Z.CONTA FROM ZTLANC L, ZTCONTA Z WHERE L.CODCONTA = Z.CODCONTA(+) AND L.NUMTRANS = C.NUMTRANS "
      "AND L.NUMNOTA = C.NUMDOC AND ROWNUM = 1) CONTA,");
  sql.Add(
      " E.NOME AS NOMEEMITENTE, DECODE(C.TIPOLANC,'D',C.VALOR,0) VALORDEBITO, DECODE(C.TIPOLANC,'C',C.VALOR,0) "
      "VALORCREDITO,");
  sql.Add(" DECODE(C.TIPOLANC,'C',C.VALOR,0) - DECODE(C.TIPOLANC,'D',C.VALOR,0) VALORSALDO");
  sql.Add(ParceiroRCA(f.TipoParceiro) ? " FROM ZTCORREN C, ZTHIST H, ZTEMPR E, ZTUSUARI U2"
                                      : " FROM ZTCORREN C, ZTHIST H, ZTEMPR E");
}

void AdicionarCondicoes(TStringList& sql, const TFiltroRelatorioVale& f) {
  sql.Add(" WHERE C.CODHIST = H.CODHIST(+)");
  sql.Add(" AND C.CODEMITE = E.MATRICULA(+)");
  if (f.SituacaoVales == TSituacaoVales::svAbertos) sql.Add(" AND C.DTBAIXAVALE IS NULL");
  if (f.SituacaoVales == TSituacaoVales::svBaixados) sql.Add(" AND C.DTBAIXAVALE IS NOT NULL");

  const std::string data = std::string(" AND C.") + ColunaData(f);
  const bool inicio = f.DtaInicio.Value() > 0;
  const bool fim = f.DtaFim.Value() > 0;
  if (inicio && fim) {
    sql.Add(data + " BETWEEN :dDTAINI AND :dDTAFIM");
  } else if (inicio) {
    sql.Add(data + " >= :dDTAINI");
  } else if (fim) {
    sql.Add(data + " <= :dDTAFIM");
  }

  switch (f.TipoParceiro) {
    case TTipoParceiroVale::tpFuncionario:
      sql.Add(" AND C.TIPOFUNC = 'F' ");
      break;
    case TTipoParceiroVale::tpMotorista:
      sql.Add(" AND C.TIPOFUNC = 'M' ");
      break;
    case TTipoParceiroVale::tpRCA:
    case TTipoParceiroVale::tpProfissional:
    case TTipoParceiroVale::tpSupervisor:
      sql.Add(" AND C.CODFUNC = U2.CODUSUR");
      sql.Add(" AND NVL(U2.TIPOVEND,'X') ");
      sql.Add(f.TipoParceiro == TTipoParceiroVale::tpProfissional ? "=" : "<>");
      sql.Add(" 'P' ");
      sql.Add(" AND C.TIPOFUNC = 'R' ");
      break;
  }
  if (f.TipoParceiro == TTipoParceiroVale::tpSupervisor) {
    sql.Add(f.CodigoParceiro > 0 ? " AND U2.CODSUPERVISOR = :fCODSUPERVISOR" : " AND U2.CODSUPERVISOR > 0");
  } else {
    sql.Add(f.CodigoParceiro > 0 ? " AND C.CODFUNC = :fCODFUNC" : " AND C.CODFUNC > 0");
  }
  const std::string filial = Trim(f.CodigoFilial);
  if (!filial.empty() && filial != "99") sql.Add(" AND C.CODFILIAL = :sCODFILIAL");
  if (f.NumeroIniVale > 0 || f.NumeroFimVale > 0) sql.Add(" AND C.NUMVALE BETWEEN :fNUMVALEINI AND :fNUMVALEFIM");
  if (f.CodigoHistorico > 0) sql.Add(" AND C.CODHIST = :fCODHIST");
  if (f.CodigoEmitente > 0) sql.Add(" AND C.CODEMITE = :fCODEMITE");
  sql.Add(" AND C.TIPOLANC IN ('D','C')");
}

void AdicionarOrdemAnalitica(TStringList& sql, const TFiltroRelatorioVale& f) {
  if (f.SaldoDiferenteZero) {
    // Partners whose rows, all of them, add up to a balance other than zero.
    sql.Add(" WHERE (V1.CODFUNC, V1.TIPOFUNC) IN (SELECT V2.CODFUNC, V2.TIPOFUNC FROM VALES V2");
    sql.Add("   GROUP BY V2.CODFUNC, V2.TIPOFUNC HAVING SUM(V2.VALORSALDO) <> 0)");
  }
  const std::string data = ColunaData(f);
  switch (f.TipoOrdenacao) {
    case TTipoOrdenacaoVale::toCodigoParceiro:
      sql.Add("ORDER BY CODFILIAL, CODFUNC, TIPOLANC, " + data);
      break;
    case TTipoOrdenacaoVale::toNomeParceiro:
      sql.Add("ORDER BY CODFILIAL, NOMEPACEIRO, TIPOLANC, " + data);
      break;
    case TTipoOrdenacaoVale::toTipoParceiro:
      sql.Add("ORDER BY CODFILIAL, TIPOFUNC, CODFUNC, " + data);
      break;
    default:
      break;
  }
}

void AdicionarOrdemSintetica(TStringList& sql, const TFiltroRelatorioVale& f) {
  if (f.SaldoDiferenteZero) sql.Add(" WHERE VALORSALDO <> 0");
  if (f.TipoOrdenacao == TTipoOrdenacaoVale::toCodigoParceiro) sql.Add("ORDER BY CODFILIAL, CODSUPERVISOR, CODFUNC");
  if (f.TipoOrdenacao == TTipoOrdenacaoVale::toNomeParceiro) {
    sql.Add("ORDER BY CODFILIAL, CODSUPERVISOR, NOMEPACEIRO");
  }
}

}  // namespace

std::string TDALVale::TipoFuncionarioZTCORREN(const std::string& tipo) {
  return tipo == "P" ? "R" : tipo;
}

std::string TDALVale::TipoParceiroZTLANC(const std::string& tipo) {
  return tipo == "F" ? "O" : tipo;
}

TStringList TDALVale::GetSQLInserirZTCORREN(bool RecNumInformado, bool ComOrigem, bool ComComissao) {
  std::string colunas =
      "INSERT INTO ZTCORREN (RECNUM, CODFILIAL, DTLANC, CODFUNC, HISTORICO, TIPOLANC, VALOR, NUMDOC, CODHIST, "
      "HISTORICO2, DTVENC, DTVENCORIG, NUMVALE, TIPOFUNC, CODEMITE, CODFUNCORIG, CODROTINA, CODEMITEORIG, COBJUROS, "
      "CODBANCO, NUMTRANS, HORA, MINUTO, DTBAIXAVALE, CODFUNBAIXA, INDICE, NUMTRANSBAIXA, "
      "CONSIDERABASECALCULOIMPOSTO, DTDOC, VALEEXPORTADO";
  std::string valores = RecNumInformado ? " VALUES (:RECNUM," : " VALUES (DFSEQ_ZTCORREN.NEXTVAL,";
  valores +=
      ":CODFILIAL, :DTLANC, :CODFUNC, :HISTORICO, :TIPOLANC, :VALOR, :NUMDOC, :CODHIST, :HISTORICO2, :DTVENC, "
      ":DTVENCORIG, :NUMVALE, :TIPOFUNC, :CODEMITE, :CODFUNCORIG, :CODROTINA, :CODEMITEORIG, :COBJUROS, :CODBANCO, "
      ":NUMTRANS, TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')), TO_NUMBER(TO_CHAR(SYSDATE, 'MI')), :DTBAIXAVALE, "
      ":CODFUNBAIXA, :INDICE, :NUMTRANSBAIXA, :CONSIDERABASECALCULOIMPOSTO, :DTDOC, :VALEEXPORTADO";
  if (ComOrigem) {
    colunas += ",ORIGEMLANCAMENTO";
    valores += ", :ORIGEMLANCAMENTO";
  }
  if (ComComissao) {
    colunas += ",CODIGOCOMRCA";
    valores += ", :CODIGOCOMRCA";
  }
  TStringList sql;
  sql.Add(colunas + ")");
  sql.Add(valores + ")");
  return sql;
}

TStringList TDALVale::GetSQLBaixarZTCORREN(bool ValeExportado, bool BaixaParcial) {
  TStringList sql = Linhas({"UPDATE ZTCORREN", "   SET DTBAIXAVALE = SYSDATE,", "       CODFUNBAIXA = :CODFUNBAIXA,",
                            "       NUMTRANSBAIXA = :NUMTRANSBAIXA"});
  if (ValeExportado) sql.Add("     , VALEEXPORTADO = 'S'");
  if (BaixaParcial) sql.Add("     , TIPOLANC = 'E'");
  sql.Add(" WHERE RECNUM = :RECNUM");
  sql.Add("   AND NUMVALE = :NUMVALE");
  sql.Add("   AND CODFUNC = :CODFUNC");
  sql.Add("   AND TIPOFUNC = :TIPOFUNC");
  sql.Add("   AND DTBAIXAVALE IS NULL");
  return sql;
}

TStringList TDALVale::GetSQLEditarZTCORREN() {
  return Linhas({"UPDATE ZTCORREN", "   SET HISTORICO = :HISTORICO,", "       DTVENC = :DTVENC,",
                 "       CODFUNCPRORROG = :CODFUNCPRORROG,",
                 "       CONSIDERABASECALCULOIMPOSTO = :CONSIDERABASECALCULOIMPOSTO", " WHERE RECNUM = :RECNUM"});
}

TStringList TDALVale::GetSQLTransferenciaZTCORREN() {
  // Only the open row moves: a closed row sharing the RECNUM (a settlement) stays with its partner.
  return Linhas({"--TRANSFERENCIA DE VALE", "UPDATE ZTCORREN SET CODFUNC = :CODFUNC, CODEMITE = :CODEMITE,",
                 "DTTRANSF = TRUNC(SYSDATE), TIPOFUNC = :TIPOFUNC WHERE RECNUM = :RECNUM", "AND DTBAIXAVALE IS NULL"});
}

TStringList TDALVale::GetSQLLancamentosTransferencia() {
  return Linhas({" --VERIFICANDO SE NA ZTLANC HÁ REGISTROS PARA TRANSFERENCIA DO VALE",
                 "SELECT RECNUM, DTLANC, CODCONTA, CODFORNEC, HISTORICO, NUMNOTA, VALOR, DTVENC, VPAGO, DTPAGTO, "
                 "LOCALIZACAO, CODFILIAL, INDICE, TIPOLANC, DTEMISSAO, TIPOPARCEIRO, NOMEFUNC, CODFORNECPRINC, "
                 "HISTORICO2, MOEDA, DUPLIC, NUMBANCO, NUMTRANS",
                 "  FROM ZTLANC", " WHERE DTLANC = :DTLANC", "   AND NUMNOTA = :NUMNOTA",
                 "   AND LOCALIZACAO = :LOCALIZACAO"});
}

TStringList TDALVale::GetSQLRecnumLancamentoPrincipal() {
  return Linhas({"SELECT ZTLANC.RECNUM", "  FROM ZTLANC, ZTCORREN", " WHERE ZTLANC.NUMTRANS = ZTCORREN.NUMTRANS",
                 "   AND ZTCORREN.NUMVALE = :NUMVALE", " ORDER BY ZTLANC.RECNUM"});
}

TStringList TDALVale::GetSQLCodContaContabil() {
  return Linhas({"SELECT CODCONTABIL FROM ZTBANCO WHERE CODBANCO = :CODBANCO"});
}

TStringList TDALVale::GetSQLValeAberto() {
  return Linhas({"SELECT CODFUNC, TIPOFUNC, NVL(NUMTRANS, 0) NUMTRANS, NVL(NUMDOC, 0) NUMDOC, DTLANC, DTTRANSF",
                 "  FROM ZTCORREN", " WHERE RECNUM = :RECNUM", "   AND DTBAIXAVALE IS NULL", "   FOR UPDATE"});
}

TStringList TDALVale::GetSQLEmissaoVales(const TFiltroRelatorioVale& filtro) {
  TStringList sql;
  sql.Add(" WITH VALES AS (");
  const bool sintetico = Sintetico(filtro);
  if (sintetico) AdicionarColunasAgrupadas(sql);
  AdicionarColunasAnaliticas(sql, filtro);
  AdicionarCondicoes(sql, filtro);
  if (sintetico) {
    sql.Add(" )");
    sql.Add(
        " GROUP BY CODFILIAL, CODSUPERVISOR, NOMESUPERVISOR, CODFUNC, TIPOFUNC, NOMEPACEIRO, STATUS_PARCEIRO, "
        "DTBAIXAVALE");
  }
  sql.Add(" ) SELECT V1.* FROM VALES V1");
  if (sintetico) {
    AdicionarOrdemSintetica(sql, filtro);
  } else if (filtro.TipoRelatorioExtrato == TTipoRelatorioExtratoVale::teAnalitico) {
    AdicionarOrdemAnalitica(sql, filtro);
  }
  return sql;
}

std::string TDALVale::FiltroStatusParceiro(TStatusParceiroVale status) {
  if (status == TStatusParceiroVale::spAtivo) return "STATUS_PARCEIRO = 'A'";
  if (status == TStatusParceiroVale::spInativo) return "STATUS_PARCEIRO = 'I'";
  return "";
}

// ---- Cash control

TStringList TValidacaoFinanceira::GetSQLControleCaixa() {
  return Linhas({"SELECT NVL(UTILIZACONTROLECAIXA,'N') UTILIZACONTROLECAIXA FROM ZTCONSUM"});
}

TStringList TValidacaoFinanceira::GetSQLCaixaComFechamento(double pCodCaixa) {
  TStringList sql;
  sql.Add("select nvl(utilizafechamentocaixa,'N') UTILIZA from ztbanco");
  sql.Add("  where codbanco =" + ShortestDecimal(pCodCaixa));
  return sql;
}

TStringList TValidacaoFinanceira::GetSQLCaixaAberto(bool PorCaixa) {
  TStringList sql = Linhas({"select DTLIMITEFECHAMENTO, sysdate DataAtual", "  from ztcontrolecx",
                            " where codfunccaixa = :codfunccaixa", "   and dtfechamento is null"});
  if (PorCaixa) sql.Add("and codbanco = :codbanco");
  return sql;
}
