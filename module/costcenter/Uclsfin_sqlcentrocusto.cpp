// The statement texts of the cost-center area's data access: each builds its SQL without running it.
#include <string>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

// The permission flag of a cost center: may the current user post to it (ZTLIB table 10)?
std::string Permissao(const std::string& codigo) {
  return "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = " + codigo +
         " AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END CCTEMPERMISSAO_ZTLIB";
}

// Active cost centers that receive entries.
void Ativo(TStringList& sql) {
  sql.Add("   AND NVL(CC.ATIVO, 'S') = 'S'");
  sql.Add("   AND NVL(CC.RECEBE_LANCTO, 'S') = 'S'");
}

// Active, receiving entries, and usable by the current user.
void Visibilidade(TStringList& sql) {
  Ativo(sql);
  sql.Add(
      "   AND EXISTS (SELECT L.CODIGON FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = CC.CODIGOCENTROCUSTO AND "
      "L.CODFUNC = :CODFUNC)");
}

}  // namespace

std::string TDALCentroCusto::LinhaPermissao(const std::string& codigo) {
  return Permissao(codigo);
}

void TDALCentroCusto::AddAtivo(TStringList& sql) {
  Ativo(sql);
}

void TDALCentroCusto::AddVisibilidade(TStringList& sql) {
  Visibilidade(sql);
}

namespace {

TStringList Linha(const std::string& text) {
  TStringList sql;
  sql.Add(text);
  return sql;
}

}  // namespace

TStringList TDALCentroCusto::GetSQLRegistrosLancto(const TParametrosCentroCusto& parametros, bool bloqueados) {
  TStringList sql;
  if (parametros.LanctoFinanceiro) {
    const bool clone = parametros.FazCloneRegistroPrincipal;
    sql.Add("SELECT RC.RECNUM,");
    sql.Add(clone ? "       RC.CODFILIAL," : "       NVL(RC.CODFILIAL, L.CODFILIAL) CODFILIAL,");
    sql.Add("       RC.CODCONTA,");
    sql.Add("       NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) CODIGOCENTROCUSTO,");
    sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
    sql.Add("       RC.VALOR,");
    sql.Add("       RC.PERCRATEIO,");
    sql.Add("       RC.DTLANC,");
    sql.Add("       RC.CONTRAPARTIDA,");
    sql.Add(LinhaPermissao("CC.CODIGOCENTROCUSTO"));
    // Rows held for supplementation belong to entries held in ZTLANCBLOQ.
    const std::string rateio = bloqueados ? "ZTRATEIOCENTROCUSTOBLOQ RC" : "ZTRATEIOCENTROCUSTO RC";
    const std::string lancamento = bloqueados ? "ZTLANCBLOQ L" : "ZTLANC L";
    sql.Add(clone ? "  FROM " + rateio + ", ZTCENTROCUSTO CC"
                  : "  FROM " + rateio + ", ZTCENTROCUSTO CC, " + lancamento);
    sql.Add(" WHERE NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
    const bool principal = parametros.NumTransPrinc_CodPlanoConta != 0;
    // A principal's rows are what its counterpart negates: they are read even when the
    // principal's entry is not (or no longer) in ZTLANC, or the counterpart would fall back to
    // the standard apportionment with the sign it was given.
    if (!clone) sql.Add(principal ? "   AND RC.RECNUM = L.RECNUM(+)" : "   AND RC.RECNUM = L.RECNUM");
    // A principal's rows are copied even where its cost centers no longer take entries.
    if (!principal) AddAtivo(sql);
    sql.Add("   AND RC.RECNUM = :NUMTRANSACAO");
    sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  } else if (parametros.LanctoContabil) {
    sql.Add("SELECT DISTINCT NVL(RC.CODFILIAL, L.CODFILIAL) CODFILIAL,");
    sql.Add("       RC.NUMTRANSLANCTO,");
    sql.Add("       RC.NATUREZA,");
    sql.Add("       RC.CODIGOCENTROCUSTO,");
    sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
    sql.Add("       RC.VALOR,");
    sql.Add("       RC.PERCRATEIO,");
    sql.Add(LinhaPermissao("CC.CODIGOCENTROCUSTO"));
    sql.Add("  FROM ZTRATEIOCONTABILCC RC, ZTCENTROCUSTO CC, ZTLANCAMENTO L");
    sql.Add(" WHERE RC.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
    sql.Add("   AND RC.NUMTRANSLANCTO = L.NUMTRANSLANCTO");
    AddAtivo(sql);
    sql.Add("   AND RC.NUMTRANSLANCTO = :NUMTRANSACAO");
    sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  } else if (parametros.LanctoOrcamento) {
    sql.Add("SELECT DISTINCT RC.ANO,");
    sql.Add("       RC.MES,");
    sql.Add("       RC.CODFILIAL,");
    sql.Add("       RC.CODCONTA,");
    sql.Add("       RC.VALOR,");
    sql.Add("       RC.CODIGOCENTROCUSTO,");
    sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
    sql.Add("       RC.PERCRATEIO,");
    sql.Add(LinhaPermissao("CC.CODIGOCENTROCUSTO"));
    sql.Add("  FROM ZTORCLANCENTROCUSTO RC, ZTCENTROCUSTO CC");
    sql.Add(" WHERE RC.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
    AddVisibilidade(sql);
    sql.Add("   AND RC.ANO = :ANO");
    sql.Add("   AND RC.MES = :MES");
    sql.Add("   AND RC.CODFILIAL = :CODFILIAL");
    sql.Add("   AND RC.CODCONTA = :CODCONTA");
    sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  }
  return sql;
}

TStringList TDALCentroCusto::GetSQLRegistrosDesdobramento(const std::string& lista_recnum) {
  TStringList sql;
  sql.Add("SELECT DISTINCT RC.CODCONTA,");
  sql.Add("       NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       ((SUM(RC.VALOR) / :VLRTOTAL) * 100) PERCRATEIO,");
  sql.Add("       SUM(RC.VALOR) VALOR,");
  sql.Add(LinhaPermissao("RC.CODIGOCENTROCUSTO"));
  sql.Add("  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC, ZTLANC L");
  sql.Add(" WHERE NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  sql.Add("   AND RC.RECNUM = L.RECNUM");
  sql.Add("   AND RC.RECNUM IN (" + lista_recnum + ")");
  sql.Add(" GROUP BY RC.CODCONTA, CC.DESCRICAO, RC.CODIGOCENTROCUSTO, NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO)");
  sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCusto::GetSQLRateioPadrao() {
  TStringList sql;
  sql.Add("SELECT DISTINCT IC.CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       IC.PERCENTUAL PERCRATEIO");
  sql.Add("  FROM ZTRATEIOPADRAOCC RP, ZTITENSRATEIOPADRAOCC IC, ZTCENTROCUSTO CC");
  sql.Add(" WHERE RP.CODRATEIOCC = IC.CODRATEIOCC");
  sql.Add("   AND IC.CODIGOCENTROCUSTO = CC.CODIGOCENTROCUSTO");
  sql.Add("   AND IC.CODRATEIOCC = :CODRATEIOCC");
  AddVisibilidade(sql);
  sql.Add(" ORDER BY IC.CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCusto::GetSQLRateioPadraoConta(bool item_solicitacao) {
  TStringList sql;
  sql.Add("SELECT DISTINCT NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       CO.PERCRATEIO");
  sql.Add(item_solicitacao ? "  FROM ZTCONTACENTROCUSTOITEMSOLMAT CO, ZTCENTROCUSTO CC"
                           : "  FROM ZTCONTACENTROCUSTO CO, ZTCENTROCUSTO CC");
  sql.Add(" WHERE NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  sql.Add("   AND CO.CODCONTA = :CODCONTA");
  if (item_solicitacao) {
    sql.Add("   AND CO.NUMEROSOLICITACAO = :NUMEROSOLICITACAO");
    sql.Add("   AND CO.CODPRODUTO = :CODPRODUTO");
  }
  AddVisibilidade(sql);
  sql.Add(" ORDER BY CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCusto::GetSQLLanctoPadraoContabil() {
  TStringList sql;
  sql.Add("SELECT DISTINCT CO.CODLANCPADRAO,");
  sql.Add("       CO.CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO,");
  sql.Add("       CO.PERCENTUAL PERCRATEIO");
  sql.Add("  FROM ZTITENSCCCONTALANCTOPADRAO CO, ZTCENTROCUSTO CC");
  sql.Add(" WHERE CO.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  sql.Add("   AND CO.CODREDUZIDO_ZT = :CODCONTA");
  sql.Add("   AND CO.CODLANCPADRAO = :CODLANCPADRAO");
  AddVisibilidade(sql);
  sql.Add(" ORDER BY CO.CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCusto::GetSQLLancamentosEntrada() {
  // Open entries, or settled ones that reverse a payment (routines 1349, 3010 and 1301).
  const std::string aberto =
      "   AND (ZTLANC.DTPAGTO IS NULL OR (ZTLANC.DTPAGTO IS NOT NULL AND ZTLANC.VALOR < 0 AND ZTLANC.CODROTINABAIXA IN "
      "(1349, 3010, 1301)))";
  TStringList sql;
  sql.Add("SELECT DISTINCT RECNUM, NUMNOTA, CODFILIAL, VALOR, CODCONTA, DTLANC");
  sql.Add(
      "  FROM (SELECT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, ZTLANC.DTLANC");
  sql.Add("          FROM ZTLANC");
  sql.Add("         WHERE NVL(ZTLANC.NUMTRANSENTNF, ZTLANC.NUMTRANSENT) = :NUMTRANSENT");
  sql.Add(aberto);
  sql.Add("        UNION ALL");
  sql.Add(
      "        SELECT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, ZTLANC.DTLANC");
  sql.Add("          FROM ZTLANC, ZTNFENTFRETE");
  sql.Add("         WHERE ZTNFENTFRETE.NUMTRANSENTNF = :NUMTRANSENT");
  sql.Add("           AND ZTLANC.NUMTRANSENT = ZTNFENTFRETE.NUMTRANSENT");
  sql.Add("           AND ZTLANC.LOCALIZACAO LIKE '%'||:NUMNOTANF||'%'");
  sql.Add(aberto);
  sql.Add("       ) LANCAMENTOS");
  sql.Add(" ORDER BY RECNUM");
  return sql;
}

TStringList TDALCentroCusto::GetSQLLancamentosSaida() {
  return Linha(
      "SELECT DISTINCT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, ZTLANC.DTLANC "
      "FROM ZTLANC WHERE NUMTRANSVENDA = :NUMTRANSVENDA");
}

TStringList TDALCentroCusto::GetSQLContasCentroCusto(TTipoLancamento tipo) {
  if (tipo == tlFinanceiro || tipo == tlOrcamento) {
    return Linha(
        "SELECT DISTINCT CODCONTA, USARATEIOCENTROCUSTO USACENTROCUSTO FROM ZTCONTA WHERE "
        "NVL(USARATEIOCENTROCUSTO, 'N') = 'S'");
  }
  if (tipo == tlContabil) {
    return Linha(
        "SELECT DISTINCT CODREDUZIDO_ZT CODCONTA, USACENTROCUSTO, CODPLANOCONTA FROM ZTMODELOZT WHERE "
        "NVL(USACENTROCUSTO, 'N') = 'S'");
  }
  return {};
}

TStringList TDALCentroCusto::GetSQLItemSolicitacaoMateriais() {
  return Linha("SELECT L.CODCONTA, L.HISTORICO2 FROM ZTLANC L WHERE L.RECNUM = :RECNUM AND L.HISTORICO2 IS NOT NULL");
}

TStringList TDALCentroCusto::GetSQLCentroCustoPrioritario() {
  TStringList sql;
  sql.Add("SELECT RCOP.CODIGOCENTROCUSTO,");
  sql.Add("       CC.DESCRICAO DESCCENTROCUSTO");
  sql.Add("  FROM ZTRATEIOCENTROCUSTOPRIORITARIO RCOP, ZTCENTROCUSTO CC");
  sql.Add(" WHERE RCOP.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)");
  sql.Add("   AND RCOP.CODCONTA = :CODCONTA");
  AddAtivo(sql);
  sql.Add(" ORDER BY RCOP.CODIGOCENTROCUSTO");
  return sql;
}

TStringList TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTO(const std::string& tabela) {
  return Linha("INSERT INTO " + tabela +
               " (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, "
               "CODFILIAL, ORCAMENTOEXCEDIDO) VALUES (:RECNUM, :CODCONTA, :CODIGOCENTROCUSTO, :VALOR, :PERCRATEIO, "
               ":DTLANC, :CONTRAPARTIDA, :RECNUMPRINC, :CODFILIAL, :ORCAMENTOEXCEDIDO)");
}

TStringList TDALCentroCusto::GetSQLInsertZTRATEIOCONTABILCC() {
  return Linha(
      "INSERT INTO ZTRATEIOCONTABILCC (CODFILIAL, NUMTRANSLANCTO, CODIGOCENTROCUSTO, NATUREZA, VALOR, PERCRATEIO) "
      "VALUES (:CODFILIAL, :NUMTRANSLANCTO, :CODIGOCENTROCUSTO, :NATUREZA, :VALOR, :PERCRATEIO)");
}

TStringList TDALCentroCusto::GetSQLInsertZTORCLANCENTROCUSTO() {
  return Linha(
      "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) VALUES "
      "(:ANO, :MES, :CODFILIAL, :CODCONTA, :CODIGOCENTROCUSTO, :PERCRATEIO, :VALOR)");
}

TStringList TDALCentroCusto::GetSQLInsertZTCONTACENTROCUSTO() {
  return Linha(
      "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODCENTROCUSTO, PERCRATEIO, CODIGOCENTROCUSTO) VALUES (:CODCONTA, "
      ":CODCENTROCUSTO, :PERCRATEIO, :CODIGOCENTROCUSTO)");
}

TStringList TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO() {
  return Linha(
      "INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (RECNUM, CODCONTA, CODIGOCENTROCUSTO) VALUES (:RECNUM, :CODCONTA, "
      ":CODIGOCENTROCUSTO)");
}

TStringList TDALCentroCusto::GetSQLDeleteBloqueados() {
  return Linha("DELETE FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = :RECNUM");
}

TStringList TDALCentroCusto::GetSQLDeletePrioritario() {
  return Linha("DELETE FROM ZTRATEIOCENTROCUSTOPRIORITARIO WHERE CODCONTA = :CODCONTA");
}

TStringList TDALCentroCusto::GetSQLDeleteTodos(const TParametrosCentroCusto& parametros) {
  if (parametros.LanctoFinanceiro) return Linha("DELETE FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :NUMTRANSACAO");
  if (parametros.LanctoContabil) return Linha("DELETE FROM ZTRATEIOCONTABILCC WHERE NUMTRANSLANCTO = :NUMTRANSACAO");
  if (parametros.LanctoOrcamento) {
    return Linha(
        "DELETE FROM ZTORCLANCENTROCUSTO WHERE ANO = :ANO AND MES = :MES AND CODFILIAL = :CODFILIAL AND CODCONTA = "
        ":CODCONTA");
  }
  return Linha("DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA = :NUMTRANSACAO");
}

TStringList TDALCentroCusto::GetSQLEditaContabil() {
  return Linha("UPDATE ZTRATEIOCONTABILCC SET CODFILIAL = :CODFILIAL WHERE NUMTRANSLANCTO = :NUMTRANSACAO");
}

TStringList TDALCentroCusto::GetSQLAlterarConta() {
  return Linha("UPDATE ZTRATEIOCENTROCUSTO SET CODCONTA = :CODCONTA WHERE RECNUM = :RECNUM AND CODFILIAL = :CODFILIAL");
}

TStringList TDALCentroCusto::GetSQLEstornarRateio(std::int64_t recNumPernaNegativa, std::int64_t recnumPernaPositiva) {
  TStringList sql;
  sql.Add(
      "INSERT INTO ZTRATEIOCENTROCUSTO "
      "(RECNUM,CODCONTA,VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO) "
      "(");
  // The negative leg: the reversed rows with their values negated, marked as counterpart.
  sql.Add("SELECT " + std::to_string(recNumPernaNegativa) +
          ",CODCONTA,-VALOR,PERCRATEIO,DTLANC,'S',CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO FROM "
          "ZTRATEIOCENTROCUSTO WHERE RECNUM = :recNoEstornado");
  if (recnumPernaPositiva != -1) {
    sql.Add("UNION ALL SELECT " + std::to_string(recnumPernaPositiva) +
            ",CODCONTA, VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO "
            "FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :recNoEstornado");
  }
  sql.Add(")");
  return sql;
}

TStringList TDALCentroCusto::GetSQLReplicarRateio(std::int64_t recNumNovoRateio) {
  return Linha(
      "INSERT INTO ZTRATEIOCENTROCUSTO "
      "(RECNUM,CODCONTA,VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO) "
      "(SELECT " +
      std::to_string(recNumNovoRateio) +
      ",CODCONTA, VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO FROM "
      "ZTRATEIOCENTROCUSTO WHERE RECNUM = :RECNUMAREPLICAR)");
}

TStringList TDALCentroCusto::GetSQLTravarLancamentos(std::size_t quantidade, bool bloqueados) {
  std::string lista;
  for (std::size_t indice = 1; indice <= quantidade; ++indice) {
    lista += (indice > 1 ? ", :RECNUM" : ":RECNUM") + std::to_string(indice);
  }
  return Linha(std::string("SELECT RECNUM FROM ") + (bloqueados ? "ZTLANCBLOQ" : "ZTLANC") + " WHERE RECNUM IN (" +
               lista + ") ORDER BY RECNUM FOR UPDATE");
}

TStringList TDALCentroCusto::GetSQLTravarLancamentoContabil() {
  return Linha("SELECT NUMTRANSLANCTO FROM ZTLANCAMENTO WHERE NUMTRANSLANCTO = :NUMTRANSLANCTO FOR UPDATE");
}

TStringList TDALCentroCusto::GetSQLTravarConta() {
  return Linha("SELECT CODCONTA FROM ZTCONTA WHERE CODCONTA = :CODCONTA FOR UPDATE");
}

TStringList TDALCentroCusto::GetSQLTravarOrcamentoCentroCusto() {
  return Linha(
      "SELECT CODIGOCENTROCUSTO FROM ZTORCLANCENTROCUSTO WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND "
      "MES = :MES AND ANO = :ANO AND CODIGOCENTROCUSTO = :CODIGOCENTROCUSTO FOR UPDATE");
}

TStringList TDALCentroCusto::GetSQLQuantidadeRateios() {
  return Linha("SELECT COUNT(*) QTD FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :RECNUM");
}

TStringList TDALCentroCusto::GetSQLExisteConta() {
  return Linha("SELECT COUNT(*) QTD FROM ZTCONTA WHERE CODCONTA = :CODCONTA");
}

TStringList TDALCentroCusto::GetSQLCentrosCustoCadastrados(std::size_t quantidade) {
  std::string lista;
  for (std::size_t indice = 1; indice <= quantidade; ++indice) {
    lista += (indice > 1 ? ", :CODIGO" : ":CODIGO") + std::to_string(indice);
  }
  TStringList sql;
  sql.Add("SELECT NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO) CODIGOCENTROCUSTO,");
  sql.Add("       CASE WHEN NVL(CC.ATIVO, 'S') = 'S' AND NVL(CC.RECEBE_LANCTO, 'S') = 'S' THEN 'S' ELSE 'N' END ATIVO");
  sql.Add("  FROM ZTCENTROCUSTO CC");
  sql.Add(" WHERE NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO) IN (" + lista + ")");
  return sql;
}

TStringList TDALCentroCusto::GetSQLOrcamentoConta(int mes) {
  TStringList sql;
  sql.Add(" --CONSULTANDO ORCAMENTO E RATEIO DA CONTA ");
  sql.Add(" SELECT C.CODCONTA, ");
  sql.Add("        NVL(O.VLORCMES" + ZeroPad(mes, 2) + ", 0) AS ORCAMENTO_MES_CONTA, ");
  sql.Add("        C.CODIGOCENTROCUSTO, ");
  sql.Add("        C.PERCRATEIO, ");
  sql.Add("        NVL(C.VALOR,0) AS ORCAMENTO_MES_CENTRO_CUSTO ");
  sql.Add(" FROM ZTORCLANCENTROCUSTO C, ZTORCLAN O ");
  sql.Add(" WHERE C.CODCONTA  = O.CODCONTA ");
  sql.Add(" AND   C.ANO       = O.ANO ");
  sql.Add(" AND   C.CODFILIAL = O.CODFILIAL ");
  sql.Add(" AND C.CODCONTA    = :CODCONTA ");
  sql.Add(" AND O.CODFILIAL   = :CODFILIAL ");
  sql.Add(" AND C.MES         = :MES ");
  sql.Add(" AND O.ANO         = :ANO ");
  return sql;
}

TStringList TDALCentroCusto::GetSQLRealizadoConta(bool bloqueados, bool por_competencia) {
  // Each line of this statement ends with a carriage return of its own.
  TStringList sql;
  const auto add = [&sql](const std::string& line) { sql.Add(line + "\r"); };
  add(" --TOTAL DE LANCAMENTOS DO MES PARA A CONTA AGRUPADO POR CENTRO DE CUSTO ");
  add(" SELECT NVL(SUM(NVL(R.VALOR,0)),0) AS TOTAL, R.CODIGOCENTROCUSTO ");
  add(bloqueados ? " FROM ZTRATEIOCENTROCUSTOBLOQ R, ZTLANCBLOQ L" : " FROM ZTRATEIOCENTROCUSTO R, ZTLANC L");
  add(" WHERE R.RECNUM    = L.RECNUM ");
  add(" AND   R.CODFILIAL = :CODFILIAL ");
  add(" AND   R.CODCONTA  = :CODCONTA");
  if (por_competencia) {
    add(" AND EXTRACT(MONTH FROM L.DTCOMPETENCIA) = :MES ");
    add(" AND EXTRACT(YEAR FROM L.DTCOMPETENCIA)  = :ANO ");
  } else {
    add(" AND EXTRACT(MONTH FROM L.DTVENC) = :MES ");
    add(" AND EXTRACT(YEAR FROM L.DTVENC)  = :ANO ");
  }
  // Entries whose supplementation was rejected no longer count.
  if (bloqueados) add(" AND L.DTREJEICAOSUPLORC IS NULL ");
  add(" GROUP BY R.CODIGOCENTROCUSTO");
  return sql;
}

std::string TDALCentroCusto::ListaRecNumSegura(const std::string& lista) {
  // The list is pasted into an IN (...) condition: only whole numbers may reach the statement.
  std::string segura;
  for (const std::string& item : SplitTrimmed(lista, ',')) {
    if (item.find_first_not_of("0123456789") != std::string::npos) {
      throw Exception("Lista de lançamentos do desdobramento inválida: \"" + lista + "\".");
    }
    if (!segura.empty()) segura += ",";
    segura += item;
  }
  if (segura.empty()) throw Exception("Lista de lançamentos do desdobramento inválida: \"" + lista + "\".");
  return segura;
}
