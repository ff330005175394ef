#include "costcenter/Uclsfin_dalcentrocusto.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <set>
#include <vector>

#include "oradb/TOraSession.h"
#include "sdk/EAbort.h"
#include "sdk/Exception.h"
#include "sdk/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"

namespace {

// The permission flag of a cost center: may the current user post to it (ZTLIB table 10)?
std::string LinhaPermissao(const std::string& codigo) {
  return "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = " + codigo +
         " AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END CCTEMPERMISSAO_ZTLIB";
}

// Active cost centers that receive entries.
void AddAtivo(TStringList& sql) {
  sql.Add("   AND NVL(CC.ATIVO, 'S') = 'S'");
  sql.Add("   AND NVL(CC.RECEBE_LANCTO, 'S') = 'S'");
}

// Active, receiving entries, and usable by the current user.
void AddVisibilidade(TStringList& sql) {
  AddAtivo(sql);
  sql.Add(
      "   AND EXISTS (SELECT L.CODIGON FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = CC.CODIGOCENTROCUSTO AND "
      "L.CODFUNC = :CODFUNC)");
}

void Montar(TOraQuery& query, const TStringList& sql) {
  query.Close();
  query.SQL.Clear();
  for (const std::string& line : sql.Lines()) query.SQL.Add(line);
}

TStringList Linha(const std::string& text) {
  TStringList sql;
  sql.Add(text);
  return sql;
}

// A date of the row: NULL when not set.
void VincularData(TOraParam& param, const TField& field) {
  if (field.IsNull()) {
    param.Clear();
  } else {
    param.SetAsDateTimeOrNull(field.AsDateTime());
  }
}

// Numbers of a result read by cost center (first row of each code).
std::map<std::string, double> ValoresPorCentroCusto(TOraQuery& query, const char* coluna) {
  std::map<std::string, double> valores;
  for (query.First(); !query.Eof(); query.Next()) {
    const std::string codigo = Trim(query.FieldByName("CODIGOCENTROCUSTO").AsString());
    valores.emplace(codigo, query.FieldByName(coluna).AsFloat());
  }
  return valores;
}

// Binary noise of double sums never counts as going past a budget.
constexpr double kRuidoBinario = 1e-9;

}  // namespace

TDALCentroCusto::TDALCentroCusto(TComponent* owner, TTipoLancamento tipo) : TBaseSubModulo(owner), fTipoLancto(tipo) {}

TDALCentroCusto::~TDALCentroCusto() = default;

TOraSession& TDALCentroCusto::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

int TDALCentroCusto::CodigoFuncionario() {
  return Quorvin().SessaoAtual().Usuario().Matricula();
}

bool TDALCentroCusto::LancarZTLancBloqGeral() {
  IGerenteFinanceiro* gerente = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas_pagar = gerente == nullptr ? nullptr : gerente->GetContasPagar();
  return contas_pagar != nullptr && contas_pagar->GetLancarZTLancBloqGeral();
}

// ---------------------------------------------------------------------------------------------
// Statement texts

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

// ---------------------------------------------------------------------------------------------
// Pure helpers

std::string TDALCentroCusto::TabelaRateioFinanceiro(bool trabalha_suplementacao, bool lancar_bloqueado,
                                                    bool permitir_acima_orcado) {
  return trabalha_suplementacao && lancar_bloqueado && !permitir_acima_orcado ? "ZTRATEIOCENTROCUSTOBLOQ"
                                                                              : "ZTRATEIOCENTROCUSTO";
}

bool TDALCentroCusto::LerItemSolicitacao(const std::string& historico2, TItemSolicitacaoMateriais& item) {
  const std::size_t separador = historico2.find(';');
  if (separador == std::string::npos) return false;
  item.NumeroSolicitacao = TextoParaNumero(historico2.substr(0, separador));
  item.CodProduto = TextoParaNumero(historico2.substr(separador + 1));
  return true;
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

std::string TDALCentroCusto::MensagemOrcamentoExcedido(const std::string& centro_custo, int mes, int ano,
                                                       const std::string& filial, double realizado, double orcado,
                                                       double saldo, const std::string& ultima_linha) {
  return "Lançamentos do centro de custo " + centro_custo + " para " + ZeroPad(mes, 2) + "/" + std::to_string(ano) +
         " na filial " + filial + " ultrapassou o valor orçado na rotina 755!" + "\r" +
         "Lançamentos já realizados: " + FormatarValor(realizado) + "\r" + "Valor orçado: " + FormatarValor(orcado) +
         "\r" + "Saldo disponível: " + FormatarValor(saldo) + "\r" + ultima_linha;
}

double TDALCentroCusto::SaldoDisponivel(double orcado, double realizado) noexcept {
  if (orcado == 0) return 0;
  const bool mantem_sinal = orcado > 0 ? orcado > realizado : orcado < realizado;
  return mantem_sinal ? orcado - realizado : 0;
}

bool TDALCentroCusto::OrcamentoExcedido(double orcado, double realizado, double valor) noexcept {
  const double total = valor + realizado;
  if (orcado > 0) return total - orcado > kRuidoBinario;
  if (orcado < 0) return orcado - total > kRuidoBinario;
  return false;  // a zero budget is not controlled
}

// ---------------------------------------------------------------------------------------------
// Loaders

bool TDALCentroCusto::CarregaRegistrosLancto(TParametrosCentroCusto& pParametrosCentroCusto, TOraQuery& pQryDados,
                                             double prNumTransacao) {
  const TStringList sql = GetSQLRegistrosLancto(pParametrosCentroCusto, LancarZTLancBloqGeral());
  if (sql.IsEmpty()) return false;
  Montar(pQryDados, sql);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  if (pParametrosCentroCusto.LanctoOrcamento) {
    pQryDados.ParamByName("ANO").SetAsFloat(pParametrosCentroCusto.Ano);
    pQryDados.ParamByName("MES").SetAsFloat(pParametrosCentroCusto.Mes);
    pQryDados.ParamByName("CODFILIAL").SetAsString(pParametrosCentroCusto.CodFilial);
    pQryDados.ParamByName("CODCONTA").SetAsString(pParametrosCentroCusto.CodConta);
  } else {
    pQryDados.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
  }
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRegistrosDesdobramento(TParametrosCentroCusto& pParametrosCentroCusto,
                                                    TOraQuery& pQryDados) {
  if (Trim(pParametrosCentroCusto.ListaRecNumDesdobramento).empty()) return false;
  Montar(pQryDados, GetSQLRegistrosDesdobramento(ListaRecNumSegura(pParametrosCentroCusto.ListaRecNumDesdobramento)));
  pQryDados.ParamByName("VLRTOTAL").SetAsFloat(pParametrosCentroCusto.VlrTotalTitulosSelecionadosDesd);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRateioPadrao(TOraQuery& pQryDados, const std::string& psCodRateio) {
  Montar(pQryDados, GetSQLRateioPadrao());
  pQryDados.ParamByName("CODRATEIOCC").SetAsString(psCodRateio);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRateioPadraoConta_Gerencial(TOraQuery& pQryDados,
                                                         TParametrosCentroCusto& pParametrosCentroCusto) {
  const std::string conta = Trim(pParametrosCentroCusto.CodContaAReplicar).empty()
                                ? pParametrosCentroCusto.CodConta
                                : pParametrosCentroCusto.CodContaAReplicar;
  // Routine 3424 posts the entries of material requests: each item may carry its own apportionment.
  if (Quorvin().SessaoAtual().Usuario().CodigoRotina() == 3424) {
    const TItemSolicitacaoMateriais item =
        BuscarInformacoesItemSolicitacaoMateriaisNaZTLanc(pParametrosCentroCusto.NumTransacao);
    Montar(pQryDados, GetSQLRateioPadraoConta(true));
    pQryDados.ParamByName("CODCONTA").SetAsString(conta);
    pQryDados.ParamByName("NUMEROSOLICITACAO").SetAsFloat(item.NumeroSolicitacao);
    pQryDados.ParamByName("CODPRODUTO").SetAsFloat(item.CodProduto);
    pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
    pQryDados.Open();
    if (!pQryDados.IsEmpty()) return true;
  }
  Montar(pQryDados, GetSQLRateioPadraoConta(false));
  pQryDados.ParamByName("CODCONTA").SetAsString(conta);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLanctoPadrao_Contabil(TOraQuery& pQryDados, const std::string& psCodConta,
                                                   double prCodLanctoPadrao) {
  Montar(pQryDados, GetSQLLanctoPadraoContabil());
  pQryDados.ParamByName("CODCONTA").SetAsString(psCodConta);
  pQryDados.ParamByName("CODLANCPADRAO").SetAsFloat(prCodLanctoPadrao);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLancamentosEntrada(TOraQuery& pQryDados, double prNumTransEnt, double prNumNota) {
  Montar(pQryDados, GetSQLLancamentosEntrada());
  pQryDados.ParamByName("NUMTRANSENT").SetAsFloat(prNumTransEnt);
  pQryDados.ParamByName("NUMNOTANF").SetAsFloat(prNumNota);
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLancamentosSaida(TOraQuery& pQryDados, double prNumTransVenda) {
  Montar(pQryDados, GetSQLLancamentosSaida());
  pQryDados.ParamByName("NUMTRANSVENDA").SetAsFloat(prNumTransVenda);
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

void TDALCentroCusto::CriarCdsContaCentroCusto(TTipoLancamento tipo) {
  fcdsContaCentroCusto = std::make_unique<TClientDataSet>();
  fcdsContaCentroCusto->AddFieldDef("CODCONTA", TFieldType::ftString, 12, true);
  fcdsContaCentroCusto->AddFieldDef("USACENTROCUSTO", TFieldType::ftString, 1, true);
  if (tipo == tlContabil) fcdsContaCentroCusto->AddFieldDef("CODPLANOCONTA", TFieldType::ftInteger, 0, true);
  fcdsContaCentroCusto->CreateDataSet();
}

TClientDataSet& TDALCentroCusto::GetCdsContaCentroCusto() {
  if (!fcdsContaCentroCusto) CriarCdsContaCentroCusto(fTipoLancto);
  return *fcdsContaCentroCusto;
}

void TDALCentroCusto::CarregaContasCentroCusto(TTipoLancamento TipoLancamento) {
  // The list is rebuilt for the kind asked: accounting accounts carry their chart of accounts,
  // and rows of an earlier call never pile up.
  CriarCdsContaCentroCusto(TipoLancamento);
  const TStringList sql = GetSQLContasCentroCusto(TipoLancamento);
  if (sql.IsEmpty()) return;
  TOraQuery query(&Sessao());
  Montar(query, sql);
  query.Open();
  TClientDataSet& contas = *fcdsContaCentroCusto;
  for (query.First(); !query.Eof(); query.Next()) {
    contas.Append();
    for (std::size_t index = 0; index < query.FieldCount(); ++index) {
      TField origem = query.Fields(index);
      if (auto destino = contas.FindField(origem.FieldName())) destino->SetAsString(origem.AsString());
    }
    contas.Post();
  }
  contas.First();
}

TItemSolicitacaoMateriais TDALCentroCusto::BuscarInformacoesItemSolicitacaoMateriaisNaZTLanc(double prRecNum) {
  TItemSolicitacaoMateriais item;
  TOraQuery query(&Sessao());
  Montar(query, GetSQLItemSolicitacaoMateriais());
  query.ParamByName("RECNUM").SetAsFloat(prRecNum);
  query.Open();
  if (query.IsEmpty()) return item;
  if (LerItemSolicitacao(query.FieldByName("HISTORICO2").AsString(), item)) {
    item.CodConta = query.FieldByName("CODCONTA").AsFloat();
  }
  return item;
}

std::unique_ptr<TOraQuery> TDALCentroCusto::ExisteCentroCustoPrioritario(const std::string& pCodConta) {
  auto query = std::make_unique<TOraQuery>(&Sessao());
  Montar(*query, GetSQLCentroCustoPrioritario());
  query->ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(pCodConta));
  query->Open();
  return query;
}

bool TDALCentroCusto::ValidaCentroCustoPrioritario(const std::string& pCodConta, const std::string& pCodCentroCusto) {
  const std::unique_ptr<TOraQuery> query = ExisteCentroCustoPrioritario(pCodConta);
  for (query->First(); !query->Eof(); query->Next()) {
    if (Trim(query->FieldByName("CODIGOCENTROCUSTO").AsString()) == Trim(pCodCentroCusto)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// The in-memory row

namespace {

// Moves to the first visible row that satisfies `igual`; false leaves the cursor at the end.
template <class Predicado>
bool Localizar(TDataSet& dados, Predicado igual) {
  for (dados.First(); !dados.Eof(); dados.Next()) {
    if (igual(dados)) return true;
  }
  return false;
}

}  // namespace

bool TDALCentroCusto::InsereCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, bool nova) {
  TParametrosCentroCusto& p = pParametrosCentroCusto;
  TClientDataSet& rateios = p.cdsRateios();
  try {
    if (!rateios.Active()) TParametrosCentroCusto::CriarCdsRateios(rateios);
    const std::string centro_custo = Trim(p.CodCentroCusto);
    bool editar = p.AlterandoLancto;
    if (!editar && !nova && (p.LanctoFinanceiro || p.LanctoContabil)) {
      const char* chave = p.LanctoFinanceiro ? "RECNUM" : "NUMTRANSLANCTO";
      editar = Localizar(rateios, [&](TDataSet& linha) {
        return !linha.FieldByName(chave).IsNull() && linha.FieldByName(chave).AsFloat() == p.NumTransacao &&
               Trim(linha.FieldByName("CODIGOCENTROCUSTO").AsString()) == centro_custo;
      });
    }
    if (editar) {
      rateios.Edit();
    } else {
      rateios.Append();
    }
    if (!p.LanctoContabil) rateios.FieldByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
    rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
    rateios.FieldByName("DESCCENTROCUSTO").SetAsString(p.DescCentroCusto);
    if (p.PercRateio > 0) {
      rateios.FieldByName("PERCRATEIO").SetAsFloat(p.PercRateio);
      rateios.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString(p.CCTemPermissao_ZTLib);
    }
    if (p.LanctoFinanceiro) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("RECNUM").SetAsFloat(p.NumTransacao);
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
      if (p.DataLancto.IsZero()) {
        rateios.FieldByName("DTLANC").Clear();
      } else {
        rateios.FieldByName("DTLANC").SetAsDateTime(p.DataLancto);
      }
      rateios.FieldByName("CONTRAPARTIDA").SetAsString(p.ContraPartida_Natureza);
      if (p.ContraPartida_Natureza == "S" || p.NumTransPrinc_CodPlanoConta != 0) {
        rateios.FieldByName("RECNUMPRINC").SetAsFloat(p.NumTransPrinc_CodPlanoConta);
      }
    } else if (p.LanctoContabil) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("NUMTRANSLANCTO").SetAsFloat(p.NumTransacao);
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
      rateios.FieldByName("NATUREZA").SetAsString(p.ContraPartida_Natureza);
    } else if (p.LanctoOrcamento) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("ANO").SetAsFloat(p.Ano);
      rateios.FieldByName("MES").SetAsFloat(p.Mes);
      rateios.FieldByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
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
// Writers

void TDALCentroCusto::ExecutarPorLinha(TParametrosCentroCusto& parametros, const TStringList& sql,
                                       void (*vincular)(TOraQuery&, TDataSet&), bool registrar_falha) {
  TClientDataSet& rateios = parametros.cdsRateios();
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    TOraQuery query(&Sessao());
    Montar(query, sql);
    vincular(query, rateios);
    try {
      query.ExecSQL();
    } catch (const Exception& falha) {
      if (registrar_falha) GetValidador().Add(falha.Message());
      throw;
    }
  }
  rateios.First();
}

void TDALCentroCusto::InserirZTRATEIOCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto,
                                                 bool pLancarZtLancBloq) {
  const bool suplementacao =
      Quorvin().Parametros().ValorTextoFilial("TRABSUPLORC", pParametrosCentroCusto.CodFilial, "N") == "S";
  const std::string tabela = TabelaRateioFinanceiro(suplementacao, pLancarZtLancBloq,
                                                    pParametrosCentroCusto.PermitirGerarLancamentoAcimaOrcado);
  if (tabela == "ZTRATEIOCENTROCUSTOBLOQ") {
    // A held entry's rows are written whole each time: the earlier held rows of the entry go, or
    // its approval would copy both.
    std::set<double> lancamentos;
    TClientDataSet& rateios = pParametrosCentroCusto.cdsRateios();
    for (rateios.First(); !rateios.Eof(); rateios.Next()) lancamentos.insert(rateios.FieldByName("RECNUM").AsFloat());
    for (const double recnum : lancamentos) {
      TOraQuery query(&Sessao());
      Montar(query, GetSQLDeleteBloqueados());
      query.ParamByName("RECNUM").SetAsFloat(recnum);
      query.ExecSQL();
    }
  }
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCENTROCUSTO(tabela),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("RECNUM").SetAsFloat(linha.FieldByName("RECNUM").AsFloat());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        VincularData(query.ParamByName("DTLANC"), linha.FieldByName("DTLANC"));
        query.ParamByName("CONTRAPARTIDA").SetAsString(linha.FieldByName("CONTRAPARTIDA").AsString());
        query.ParamByName("RECNUMPRINC").SetAsFloat(linha.FieldByName("RECNUMPRINC").AsFloat());
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("ORCAMENTOEXCEDIDO").SetAsString(linha.FieldByName("ORCAMENTOEXCEDIDO").AsString());
      },
      true);
}

void TDALCentroCusto::InserirZTRATEIOCONTABILCC(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCONTABILCC(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("NUMTRANSLANCTO").SetAsFloat(linha.FieldByName("NUMTRANSLANCTO").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("NATUREZA").SetAsString(linha.FieldByName("NATUREZA").AsString());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
      },
      false);
}

void TDALCentroCusto::InserirZTORCLANCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTORCLANCENTROCUSTO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("ANO").SetAsFloat(linha.FieldByName("ANO").AsFloat());
        query.ParamByName("MES").SetAsString(linha.FieldByName("MES").AsString());
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
      },
      false);
}

void TDALCentroCusto::InserirZTCONTACENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTCONTACENTROCUSTO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODCENTROCUSTO").Clear();  // only the current code is stored
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
      },
      false);
}

void TDALCentroCusto::InserirZTRATEIOCENTROCUSTOPRIORITARIO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("RECNUM").SetAsFloat(linha.FieldByName("RECNUM").AsFloat());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
      },
      true);
}

// ---------------------------------------------------------------------------------------------
// Deletes, updates, reversal, replication, commit

void TDALCentroCusto::DeleteTodosCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, double prNumTransacao) {
  const TParametrosCentroCusto& p = pParametrosCentroCusto;
  try {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLDeleteTodos(p));
    if (p.LanctoOrcamento && !p.LanctoFinanceiro && !p.LanctoContabil) {
      query.ParamByName("ANO").SetAsFloat(p.Ano);
      query.ParamByName("MES").SetAsFloat(p.Mes);
      query.ParamByName("CODFILIAL").SetAsString(p.CodFilial);
      query.ParamByName("CODCONTA").SetAsString(p.CodConta);
    } else {
      query.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
    }
    query.ExecSQL();
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Foi encontrado erro no momento de excluir registros antigos do Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::DeleteCentroCustoPrioritario(TParametrosCentroCusto& pParametrosCentroCusto) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLDeletePrioritario());
  query.ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(pParametrosCentroCusto.CodConta));
  query.ExecSQL();
}

bool TDALCentroCusto::EditaLanctosCentroCustoContabil(TParametrosCentroCusto& pParametrosCentroCusto,
                                                      double prNumTransacao, bool pbFilial) {
  if (!pParametrosCentroCusto.LanctoContabil) return false;
  try {
    if (pbFilial) {
      TOraQuery query(&Sessao());
      Montar(query, GetSQLEditaContabil());
      query.ParamByName("CODFILIAL").SetAsString(pParametrosCentroCusto.CodFilial);
      query.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
      query.ExecSQL();
    }
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Foi encontrado erro no momento de editar registros antigos do Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta,
                                              const std::string& CodFilial) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLAlterarConta());
  query.ParamByName("CODCONTA").SetAsInteger(CodConta);
  query.ParamByName("RECNUM").SetAsInteger(RecNum);
  query.ParamByName("CODFILIAL").SetAsString(CodFilial);
  query.ExecSQL();
}

void TDALCentroCusto::estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa,
                                     std::int64_t recnumPernaPositiva) {
  TParametrosCentroCusto sem_uso;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLEstornarRateio(recNumPernaNegativa, recnumPernaPositiva));
    query.ParamByName("recNoEstornado").SetAsInteger(recNumEstornado);
    query.ExecSQL();
  }
  Commit_InsercaoCentroCusto(sem_uso);
}

void TDALCentroCusto::ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio) {
  TParametrosCentroCusto sem_uso;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLReplicarRateio(recNumNovoRateio));
    query.ParamByName("RECNUMAREPLICAR").SetAsInteger(recNumAReplicar);
    query.ExecSQL();
  }
  Commit_InsercaoCentroCusto(sem_uso);
}

std::set<std::int64_t> TDALCentroCusto::TravarLancamentos(const std::vector<std::int64_t>& recnums, bool bloqueados) {
  std::set<std::int64_t> existentes;
  if (recnums.empty()) return existentes;
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarLancamentos(recnums.size(), bloqueados));
  for (std::size_t indice = 0; indice < recnums.size(); ++indice) {
    query.ParamByName("RECNUM" + std::to_string(indice + 1)).SetAsInteger(recnums[indice]);
  }
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) {
    existentes.insert(static_cast<std::int64_t>(query.FieldByName("RECNUM").AsFloat()));
  }
  return existentes;
}

bool TDALCentroCusto::TravarLancamentoContabil(std::int64_t numtranslancto) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarLancamentoContabil());
  query.ParamByName("NUMTRANSLANCTO").SetAsInteger(numtranslancto);
  query.Open();
  return !query.IsEmpty();
}

bool TDALCentroCusto::TravarConta(std::int64_t codconta) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarConta());
  query.ParamByName("CODCONTA").SetAsInteger(codconta);
  query.Open();
  return !query.IsEmpty();
}

int TDALCentroCusto::QuantidadeRateios(std::int64_t recnum) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLQuantidadeRateios());
  query.ParamByName("RECNUM").SetAsInteger(recnum);
  query.Open();
  return static_cast<int>(query.FieldByName("QTD").AsFloat());
}

bool TDALCentroCusto::ExisteConta(std::int64_t codconta) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLExisteConta());
  query.ParamByName("CODCONTA").SetAsInteger(codconta);
  query.Open();
  return query.FieldByName("QTD").AsFloat() > 0;
}

std::map<std::string, bool> TDALCentroCusto::CentrosCustoCadastrados(const std::vector<std::string>& codigos) {
  // A bounded number of binds per statement, however many rows the caller gives.
  constexpr std::size_t kPorConsulta = 100;
  std::map<std::string, bool> cadastrados;
  for (std::size_t inicio = 0; inicio < codigos.size(); inicio += kPorConsulta) {
    const std::size_t quantidade = std::min(kPorConsulta, codigos.size() - inicio);
    TOraQuery query(&Sessao());
    Montar(query, GetSQLCentrosCustoCadastrados(quantidade));
    for (std::size_t indice = 0; indice < quantidade; ++indice) {
      query.ParamByName("CODIGO" + std::to_string(indice + 1)).SetAsString(codigos[inicio + indice]);
    }
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) {
      cadastrados[Trim(query.FieldByName("CODIGOCENTROCUSTO").AsString())] =
          query.FieldByName("ATIVO").AsString() == "S";
    }
  }
  return cadastrados;
}

void TDALCentroCusto::Commit_InsercaoCentroCusto(TParametrosCentroCusto& /*pParametrosCentroCusto*/) {
  try {
    Sessao().Commit();
  } catch (const Exception& falha) {
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de comitar o Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::RollBack_InsercaoCentroCusto(TParametrosCentroCusto& /*pParametrosCentroCusto*/) {
  try {
    Sessao().Rollback();
  } catch (const Exception& falha) {
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de cancelar o Centro de Custo! Erro: " + falha.Message()));
  }
}

// ---------------------------------------------------------------------------------------------
// Budget by account and cost center

bool TDALCentroCusto::ValidarOrcamentoConta(TParametrosCentroCusto& pParametrosCentroCusto) {
  TParametrosCentroCusto& p = pParametrosCentroCusto;
  IQuorvinParametros& parametros = Quorvin().Parametros();
  const bool por_competencia = parametros.ValorTextoFilial("ORCREGCOMPETENCIA", p.CodFilial, "N") == "S";
  const TDateTime referencia = por_competencia ? p.DataCompetencia : p.DataVencimento;
  const int mes = referencia.Month();
  const int ano = referencia.Year();
  const bool suplementacao = parametros.ValorTextoFilial("TRABSUPLORC", p.CodFilial, "N") == "S";

  const auto vincular = [&](TOraQuery& query) {
    query.ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
    query.ParamByName("CODFILIAL").SetAsString(p.CodFilial);
    query.ParamByName("MES").SetAsInteger(mes);
    query.ParamByName("ANO").SetAsInteger(ano);
  };

  std::map<std::string, double> orcamentos;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLOrcamentoConta(mes));
    vincular(query);
    query.Open();
    if (query.IsEmpty()) return true;  // no budget for the account in the month
    orcamentos = ValoresPorCentroCusto(query, "ORCAMENTO_MES_CENTRO_CUSTO");
  }
  // Each budgeted cost center of the entry is locked (in code order, so sessions never wait on each
  // other in a circle) before what was realized is read: another session checking the same
  // account, branch, month and cost center waits until this one's rows are committed and counted.
  {
    std::set<std::string> centros;
    TClientDataSet& linhas = p.cdsRateios();
    for (linhas.First(); !linhas.Eof(); linhas.Next()) {
      const std::string centro_custo = Trim(linhas.FieldByName("CODIGOCENTROCUSTO").AsString());
      if (orcamentos.count(centro_custo) > 0) centros.insert(centro_custo);
    }
    linhas.First();
    for (const std::string& centro_custo : centros) {
      TOraQuery query(&Sessao());
      Montar(query, GetSQLTravarOrcamentoCentroCusto());
      vincular(query);
      query.ParamByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
      query.Open();
    }
  }
  const auto realizados = [&](bool bloqueados) {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLRealizadoConta(bloqueados, por_competencia));
    vincular(query);
    query.Open();
    return ValoresPorCentroCusto(query, "TOTAL");
  };
  const std::map<std::string, double> realizado_lancados = realizados(false);
  const std::map<std::string, double> realizado_bloqueados =
      suplementacao ? realizados(true) : std::map<std::string, double>{};
  const auto total_de = [](const std::map<std::string, double>& valores, const std::string& codigo) {
    const auto found = valores.find(codigo);
    return found == valores.end() ? 0.0 : found->second;
  };

  TClientDataSet& rateios = p.cdsRateios();
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    const std::string centro_custo = Trim(rateios.FieldByName("CODIGOCENTROCUSTO").AsString());
    const auto orcamento = orcamentos.find(centro_custo);
    if (orcamento == orcamentos.end()) continue;
    const double realizado = total_de(realizado_lancados, centro_custo) + total_de(realizado_bloqueados, centro_custo);
    const double orcado = orcamento->second;
    if (!OrcamentoExcedido(orcado, realizado, rateios.FieldByName("VALOR").AsFloat())) continue;
    const double saldo = SaldoDisponivel(orcado, realizado);
    if (!p.PermitirGerarLancamentoAcimaOrcado && !suplementacao) {
      throw Exception(MensagemOrcamentoExcedido(
          centro_custo, mes, ano, p.CodFilial, realizado, orcado, saldo,
          "Usuário sem permissão para lançar acima do orçamento.\rConforme definido no parâmetro 2961 - Bloqueio de "
          "lançamento de despesa acima do orçado para o centro de custo da rotina 132."));
    }
    const std::string pergunta =
        suplementacao && !p.PermitirGerarLancamentoAcimaOrcado
            ? "Confirma geração de lançamento acima do orçamento para suplementação orçamentária?"
            : "Confirma geração de lançamento acima do orçamento ?";
    const std::string texto =
        MensagemOrcamentoExcedido(centro_custo, mes, ano, p.CodFilial, realizado, orcado, saldo, pergunta);
    if (Quorvin().SessaoAtual().Mensagens().Confirmar(texto) != TModalResult::mrOk) throw EAbort();
    rateios.Edit();
    rateios.FieldByName("ORCAMENTOEXCEDIDO").SetAsString("S");
    rateios.Post();
  }
  rateios.First();
  return true;
}
