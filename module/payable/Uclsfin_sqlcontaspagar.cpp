// The statement texts of the payable area's data access: each builds its SQL without running it.
// The insert of ZTLANC is built beside its column table in the data-access unit, where the same
// table binds the values.
#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "rtl/TStringList.h"

namespace {

using R = RFin_IncluirContasPagar;

[[nodiscard]] bool NumeroLiteral(const std::string& valor) {
  std::size_t posicao = 0;
  if (posicao < valor.size() && valor[posicao] == '-') ++posicao;
  std::size_t digitos = 0;
  while (posicao < valor.size() && valor[posicao] >= '0' && valor[posicao] <= '9') {
    ++posicao;
    ++digitos;
  }
  if (posicao < valor.size() && valor[posicao] == '.') {
    ++posicao;
    while (posicao < valor.size() && valor[posicao] >= '0' && valor[posicao] <= '9') {
      ++posicao;
      ++digitos;
    }
  }
  return digitos > 0 && posicao == valor.size();
}

[[nodiscard]] std::string Aspas(const std::string& valor) {
  std::string texto = "'";
  for (char c : valor) {
    texto += c;
    if (c == '\'') texto += '\'';
  }
  return texto + "'";
}

}  // namespace

std::string TDALContasPagar::GetSQLSelectZTLANC() {
  TStringList sql;
  bool primeira = true;
  for (const FieldDef<R>& coluna : ColunasZTLANC()) {
    if (std::string_view(coluna.Name) == "FORNECEDOR") continue;
    sql.Add(std::string(primeira ? "SELECT " : "       ") + "ZTLANC." + coluna.Name + ",");
    primeira = false;
  }
  // The partner's name as the partner tables hold it; other partner kinds keep the typed name.
  sql.Add("       CASE ZTLANC.TIPOPARCEIRO");
  sql.Add("         WHEN 'M' THEN (SELECT ZTEMPR.NOME FROM ZTEMPR");
  sql.Add("                         WHERE ZTEMPR.MATRICULA = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'R' THEN (SELECT ZTUSUARI.NOME FROM ZTUSUARI");
  sql.Add("                         WHERE ZTUSUARI.CODUSUR = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'C' THEN (SELECT ZTCLIENT.CLIENTE FROM ZTCLIENT");
  sql.Add("                         WHERE ZTCLIENT.CODCLI = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'F' THEN (SELECT ZTFORNEC.FORNECEDOR FROM ZTFORNEC");
  sql.Add("                         WHERE ZTFORNEC.CODFORNEC = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         ELSE ZTLANC.FORNECEDOR");
  sql.Add("       END FORNECEDOR");
  sql.Add("  FROM ZTLANC");
  sql.Add(" WHERE 1 = 1");
  return sql.Text();
}

std::string TDALContasPagar::MontaClausulaIN(const std::string& psColuna, const std::string& psLista, bool pbAspas,
                                             bool pbNegar) {
  if (Trim(psLista).empty()) return {};
  std::set<std::string> valores;  // sorted, each once
  for (std::string& valor : SplitTrimmed(psLista, ',')) {
    if (!pbAspas && !NumeroLiteral(valor)) {
      throw Exception("Valor inválido na lista de " + psColuna + ": \"" + valor + "\".");
    }
    valores.insert(std::move(valor));
  }
  if (valores.empty()) return {};

  // Oracle limits an IN list: each one is kept under 1000 characters.
  constexpr std::size_t kLimite = 1000;
  std::vector<std::string> blocos;
  std::string bloco;
  for (const std::string& bruto : valores) {
    const std::string valor = pbAspas ? Aspas(bruto) : bruto;
    if (!bloco.empty() && bloco.size() + 1 + valor.size() >= kLimite) {
      blocos.push_back(std::move(bloco));
      bloco.clear();
    }
    if (!bloco.empty()) bloco += ',';
    bloco += valor;
  }
  blocos.push_back(std::move(bloco));

  std::string condicoes;
  for (std::size_t indice = 0; indice < blocos.size(); ++indice) {
    if (indice > 0) condicoes += pbNegar ? "\r    AND " : "\r    OR ";
    condicoes += psColuna + (pbNegar ? " NOT IN ( " : " IN ( ") + blocos[indice] + " )";
  }
  return "(" + condicoes + ") ";
}

std::string TDALContasPagar::GetSQLValorOrcado(int mes) {
  return "SELECT VLORCMES" + ZeroPad(mes, 2) +
         " AS VALOR FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = :ANO";
}

std::string TDALContasPagar::GetSQLTravarOrcamento() {
  return "SELECT CODCONTA FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = :ANO FOR "
         "UPDATE";
}

std::string TDALContasPagar::GetSQLValorLancado(const std::string& tabela, bool pago, bool porCompetencia) {
  TStringList sql;
  sql.Add(pago ? "SELECT NVL(SUM(VPAGO), 0) AS VALOR" : "SELECT NVL(SUM(VALOR), 0) AS VALOR");
  sql.Add("  FROM " + tabela);
  sql.Add(" WHERE CODCONTA = :CODCONTA");
  sql.Add("   AND CODFILIAL = :CODFILIAL");
  sql.Add(pago ? "   AND DTPAGTO IS NOT NULL" : "   AND DTPAGTO IS NULL");
  sql.Add("   AND RECNUM <> NVL(:RECNUM, 0)");
  sql.Add("   AND DTREJEICAOSUPLORC IS NULL");
  if (porCompetencia) {
    sql.Add("   AND DTCOMPETENCIA IS NOT NULL");
    sql.Add("   AND DTCOMPETENCIA >= :DTINICIO");
    sql.Add("   AND DTCOMPETENCIA < :DTFIM");
    sql.Add("   AND DTDESD IS NULL");
    sql.Add("   AND DTESTORNOBAIXA IS NULL");
  } else {
    const std::string data = pago ? "DTPAGTO" : "DTVENC";
    sql.Add("   AND " + data + " >= :DTINICIO");
    sql.Add("   AND " + data + " < :DTFIM");
  }
  return sql.Text();
}

std::string TDALContasPagar::GetSQLLancamentoRetido(const std::string& colunas) {
  TStringList sql;
  sql.Add("SELECT " + colunas + ", CODMOEDABAIXA");
  sql.Add("  FROM ZTLANCBLOQ");
  sql.Add(" WHERE RECNUM = :RECNUM");
  sql.Add("   FOR UPDATE");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLTravarLancamentoRetido() {
  TStringList sql;
  sql.Add("SELECT DTREJEICAOSUPLORC");
  sql.Add("  FROM ZTLANCBLOQ");
  sql.Add(" WHERE RECNUM = :RECNUM");
  sql.Add("   FOR UPDATE");
  return sql.Text();
}

std::string TDALContasPagar::MensagemNaoEncontrado(double recnum) {
  return "RecNum: " + ShortestDecimal(recnum) + " não encontrado na tabela ZTLANCBLOQ !";
}

// ---- Bordero settlement

namespace {

// Columns a side entry does not copy from its source: its own values follow the copied ones, and
// the signature and foreign-currency columns stay empty.
constexpr const char* kColunasNaoCopiadas[] = {
    "RECNUM",       "VALOR",       "VPAGOBORDERO",     "VPAGO",     "VLVARIACAOCAMBIAL",
    "VALORDEV",     "TXPERM",      "DESCONTOFIN",      "DTLANC",    "CODROTINACAD",
    "CODCONTA",     "LOCALIZACAO", "NUMSEQBORDERO",    "HISTORICO", "HISTORICO2",
    "DTASSINATURA", "ASSINATURA",  "MOEDAESTRANGEIRA", "COTACAO",   "VALORMOEDAESTRANGEIRA",
    "RECNUMBAIXA",
};

}  // namespace

std::string TDALContasPagar::GetSQLUpdateZTLANC(const std::string& psExtra) {
  TStringList sql;
  sql.Add("UPDATE ZTLANC SET ZTLANC.VPAGO = NVL(ZTLANC.VALOR, 0) - NVL(ZTLANC.VALORDEV, 0),");
  sql.Add(
      "       VPAGOBORDERO = NVL(VALOR, 0) - NVL(VALORDEV, 0) + NVL(TXPERM, 0) - NVL(DESCONTOFIN, 0) + "
      "NVL(VLVARIACAOCAMBIAL,0),");
  sql.Add("       LOCALIZACAO = DECODE(TRIM(NVL(LOCALIZACAO, '')), '', TO_CHAR(:NUMTRANS), LOCALIZACAO),");
  sql.Add("       DTPAGTO = :DTPAGTO,");
  sql.Add("       CODFUNCBAIXA = :CODFUNCBAIXA,");
  sql.Add("       CODROTINABAIXA = :CODROTINABAIXA,");
  sql.Add("       NUMBANCO = :NUMBANCO,");
  sql.Add("       NUMTRANS = DECODE(NVL(:NUMTRANS, 0), 0, NUMTRANS, :NUMTRANS),");
  sql.Add("       DTPROCESSAMENTO = TRUNC(SYSDATE),");
  sql.Add("       OBSRETORNO = 'BAIXA AUTOM. - ROTINA 740',");
  sql.Add("       AUTENTICACAO = :AUTENTICACAO");
  const std::string extra = Trim(psExtra);
  if (!extra.empty()) sql.Add("       " + (extra.rfind(',', 0) == 0 ? extra : ", " + extra));
  sql.Add(" WHERE ZTLANC.DTPAGTO IS NULL AND ZTLANC.RECNUM = :RECNUM");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLIncluirLancamentoAdicional(const std::vector<std::string>& colunas) {
  std::string copiadas;
  for (const std::string& coluna : colunas) {
    if (std::find(std::begin(kColunasNaoCopiadas), std::end(kColunasNaoCopiadas), coluna) !=
        std::end(kColunasNaoCopiadas)) {
      continue;
    }
    copiadas += coluna + ", ";
  }
  TStringList sql;
  sql.Add("INSERT INTO ZTLANC (" + copiadas +
          "RECNUM, VALOR, VPAGOBORDERO, VPAGO, CODCONTA, TXPERM, DESCONTOFIN, VLVARIACAOCAMBIAL, NUMSEQBORDERO, "
          "VALORDEV, DTLANC, LOCALIZACAO, HISTORICO, CODROTINACAD, RECNUMBAIXA)");
  // Every value is bound, so one text serves every copy (translated and prepared once per session);
  // an empty history keeps the source's own.
  sql.Add("SELECT " + copiadas +
          ":RECNUMNOVO, :VALOR, :VALOR, :VALOR, :CODCONTA, 0, 0, 0, 0, 0, TRUNC(SYSDATE), TO_CHAR(NUMTRANS), "
          "NVL(:HISTORICO, HISTORICO), CODROTINABAIXA, RECNUM");
  sql.Add("  FROM ZTLANC WHERE RECNUM = :RECNUM");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLLancamentosAdicionais() {
  TStringList sql;
  sql.Add("SELECT ZTLANC.CODFILIAL, ZTLANC.CODCONTA, ZTLANC.RECNUM, ZTLANC.VALOR, ZTLANC.DTLANC");
  sql.Add("  FROM ZTLANC, ZTCONTA");
  sql.Add(" WHERE ZTLANC.NUMBORDERO = :NUMBORDERO");
  sql.Add("   AND ZTLANC.CODCONTA = ZTCONTA.CODCONTA");
  sql.Add("   AND ZTCONTA.USARATEIOCENTROCUSTO = 'S'");
  sql.Add("   AND ZTLANC.RECNUMBAIXA > 0");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLDevolucaoVerbas() {
  TStringList sql;
  sql.Add("SELECT NVL(SUM(ZTMOVCRFOR.VALOR),0) VALORDEV");
  sql.Add("  FROM ZTVERBA, ZTMOVCRFOR");
  sql.Add(" WHERE ZTVERBA.NUMVERBA = ZTMOVCRFOR.NUMVERBA");
  sql.Add("   AND ZTMOVCRFOR.NUMLANC = :RECNUM");
  sql.Add("   AND ZTVERBA.ORIGEM = 'D'");
  sql.Add("   AND ZTMOVCRFOR.DTESTORNO IS NULL");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLDescontoVerbas() {
  TStringList sql;
  sql.Add("SELECT ZTVERBA.CODCONTA, SUM(ZTMOVCRFOR.VALOR) VLDESCVERBA");
  sql.Add("  FROM ZTVERBA, ZTMOVCRFOR");
  sql.Add(" WHERE ZTVERBA.NUMVERBA = ZTMOVCRFOR.NUMVERBA");
  sql.Add("   AND ZTMOVCRFOR.NUMLANC = :RECNUM");
  sql.Add("   AND ZTVERBA.ORIGEM = 'C'");
  sql.Add("   AND ZTMOVCRFOR.DTESTORNO IS NULL");
  sql.Add(" GROUP BY ZTVERBA.CODCONTA");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLUpdateProcesso1804() {
  TStringList sql;
  sql.Add("UPDATE ZTLANC SET DTBORDER = TRUNC(SYSDATE), NUMBORDERO = :NUMBORDERO, NUMSEQBORDERO = 1,");
  sql.Add("       NUMBANCO = :NUMBANCO, DTASSINATURA = TRUNC(SYSDATE), ASSINATURA = :ASSINATURA,");
  sql.Add("       DESCONTOFIN = DECODE(NVL(DESCONTOFIN,0), 0, :DESCONTOFIN, DESCONTOFIN),");
  sql.Add("       TXPERM = DECODE(NVL(TXPERM,0), 0, :TXPERM, TXPERM), HISTORICO = :HISTORICO");
  sql.Add(" WHERE RECNUM = :RECNUM AND DTPAGTO IS NULL AND NUMBORDERO IS NULL");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLTravarRegistros(const std::string& tabela, const std::string& filtro) {
  return " SELECT * FROM " + tabela + (Trim(filtro).empty() ? std::string() : " WHERE " + filtro) +
         " FOR UPDATE NOWAIT";
}

std::string TDALContasPagar::GetSQLDetentoresLock(const std::string& tabela) {
  TStringList sql;
  sql.Add("SELECT B.OSUSER, A.SID, B.USERNAME, D.NAME || '.' || C.NAME NAME, A.ID1, A.ID2, B.PROGRAM, B.TERMINAL,");
  sql.Add("       B.MACHINE, U.MATRICULA MATRICULAQUOR, U.NOME NOMEQUOR, U.PROGRAM PROGRAMAQUOR,");
  sql.Add("       U.TERMINAL TERMINALQUOR, U.MACHINE MACHINEQUOR");
  sql.Add("  FROM V$LOCK A, V$SESSION B, SYS.OBJ$ C, SYS.USER$ D,");
  sql.Add("       (SELECT SID, ZTEMPR.MATRICULA, ZTEMPR.NOME, PROGRAM, TERMINAL, MACHINE");
  sql.Add("          FROM SYS.V_$SESS_INFO, ZTEMPR");
  sql.Add(
      "         WHERE SUBSTR(CLIENT_INFO, INSTR(CLIENT_INFO, ':') + 1, LENGTH(CLIENT_INFO)) = "
      "to_char(ZTEMPR.MATRICULA)) U");
  sql.Add(" WHERE A.ID1 = C.OBJ#(+)");
  sql.Add("   AND A.SID = B.SID");
  sql.Add("   AND B.SID = U.SID(+)");
  sql.Add("   AND C.OWNER# = D.USER#(+)");
  sql.Add("   AND B.USERNAME IS NOT NULL");
  sql.Add("   AND UPPER(C.NAME) = UPPER('" + tabela + "')");
  sql.Add(" ORDER BY 1");
  return sql.Text();
}

std::string TDALContasPagar::MensagemLock(const std::string& tabela, const std::string& filtro,
                                          const std::string& operacao, const std::string& blocos) {
  const std::string filtro_usado = Trim(filtro).empty() ? std::string("Nenhum.") : Utf8Left(" Onde " + filtro, 200);
  return "Não é possível " + operacao + " no momento." + "\r" + "A tabela " + tabela +
         " está sendo utilizada no momento por um ou" + "\r" + "mais processos!" + "\r\r" +
         "Filtro utilizado: " + filtro_usado + "\r\r" + "Informações de lock:" + "\r\r" + blocos;
}

std::string TDALContasPagar::GetSQLPeriodoBloqueado() {
  return "SELECT COUNT(*) AS QTD FROM ZTENCERRAMENTOFINANCEIRO E WHERE E.ANO = :ANO AND E.CODFILIAL = :CODFILIAL AND "
         "E.MES = :MES AND E.DIA = :DIA";
}
