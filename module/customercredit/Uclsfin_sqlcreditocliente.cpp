// The statement texts of the customer-credit area: each builds its SQL or PL/SQL without running it.
// Values inside a block are written as literals: numbers in their shortest decimal form, texts
// quoted with their quotes doubled, so no value can end a literal and add code of its own.
#include <string>
#include <vector>

#include "customercredit/ColunasAtualizaveis.h"
#include "customercredit/Uclsfin_dalcreditocliente.h"
#include "rtl/Formatacao.h"

namespace {

// Columns of the credit insert, in order; DTLANC, HORA and MINUTO come from the server clock.
const std::vector<std::string>& ColunasInsert() {
  static const std::vector<std::string> kColunas = {"CODCLI",
                                                    "DTLANC",
                                                    "CODFILIAL",
                                                    "NUMNOTA",
                                                    "NUMTRANSVENDA",
                                                    "SERIE",
                                                    "VALOR",
                                                    "DTDESCONTO",
                                                    "CODFILIALDESC",
                                                    "NUMNOTADESC",
                                                    "SERIEDESC",
                                                    "CODFUNC",
                                                    "HORA",
                                                    "MINUTO",
                                                    "ORIGEM",
                                                    "NUMTRANSVENDADESC",
                                                    "NUMTRANSENTDEVCLI",
                                                    "HISTORICO",
                                                    "CODFUNCLANC",
                                                    "NUMPED",
                                                    "NUMERARIO",
                                                    "CODMOVIMENTO",
                                                    "NUMLANCBAIXA",
                                                    "NUMTRANSBAIXA",
                                                    "NUMLANC",
                                                    "NUMTRANS",
                                                    "NUMPEDECF",
                                                    "NUMCAIXA",
                                                    "CODFUNCCX",
                                                    "NUMSERIEEQUIP",
                                                    "CODROTINA",
                                                    "PRESTRESTCLI",
                                                    "SITUACAO",
                                                    "NUMINDENIZ",
                                                    "OBS",
                                                    "CODADMCARTAO",
                                                    "NUMCUPOM",
                                                    "NSUTEF",
                                                    "BIN",
                                                    "CODIGO",
                                                    "VALORESTORNOLIBERADO",
                                                    "CODCLIORIG",
                                                    "NUMGIFTCARD",
                                                    "DTEMISSAOTITULO",
                                                    "NUMCRED",
                                                    "DTESTORNO",
                                                    "PRESTORIG",
                                                    "CODPLPAG"};
  return kColunas;
}

[[nodiscard]] std::string Valor(const std::string& coluna) {
  if (coluna == "DTLANC") return "TRUNC(SYSDATE)";
  if (coluna == "HORA") return "TO_NUMBER(TO_CHAR(SYSDATE, 'HH24'))";
  if (coluna == "MINUTO") return "TO_NUMBER(TO_CHAR(SYSDATE, 'MI'))";
  return ":" + coluna;
}

// Lines of a comma-separated list, `porLinha` items to a line, each line but the last ending in ",".
void AdicionarLista(TStringList& sql, const std::vector<std::string>& itens, std::size_t porLinha,
                    const std::string& prefixo) {
  std::string linha = prefixo;
  for (std::size_t i = 0; i < itens.size(); ++i) {
    linha += itens[i];
    if (i + 1 < itens.size()) linha += ",";
    if ((i + 1) % porLinha == 0 && i + 1 < itens.size()) {
      sql.Add(linha);
      linha = " ";
    } else if (i + 1 < itens.size()) {
      linha += " ";
    }
  }
  sql.Add(linha + ")");
}

[[nodiscard]] std::string N(double valor) {
  return ShortestDecimal(valor);
}

[[nodiscard]] std::string N(int valor) {
  return std::to_string(valor);
}

}  // namespace

std::string TDALCreditoCliente::QuotedStr(const std::string& texto) {
  std::string literal = "'";
  for (const char c : texto) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

TStringList TDALCreditoCliente::GetSQLInserirZTCreCli() {
  TStringList sql;
  std::vector<std::string> valores;
  for (const std::string& coluna : ColunasInsert()) valores.push_back(Valor(coluna));
  AdicionarLista(sql, ColunasInsert(), 8, "INSERT INTO ZTCRECLI (");
  AdicionarLista(sql, valores, 8, "VALUES (");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLObterCredito() {
  TStringList sql;
  sql.Add(" SELECT C.*  FROM ZTCRECLI C WHERE C.CODIGO = :CODIGO AND C.DTDESCONTO IS NULL ");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLCreditoExiste() {
  TStringList sql;
  sql.Add(" SELECT 1 FROM ZTCRECLI C WHERE C.CODIGO = :CODIGO");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLInserirLog() {
  TStringList sql;
  sql.Add("INSERT INTO ZTLOGALTERACAODADOS (DATA, CODFUNC, CODROTINA, TABELA, COLUNA, TIPOVALOR, VALORALFA,");
  sql.Add(" VALORALFAANT, VALORNUM, VALORNUMANT, PROGRAMA, OBSERVACOES, OBSERVACOES2, OBSERVACOES3, CODIGO)");
  sql.Add("VALUES (SYSDATE, :CODFUNC, :CODROTINA, 'ZTCRECLI', 'NUMTRANSVENDA', 'N', :VALORALFA,");
  sql.Add(" :VALORALFAANT, :VALORNUM, :VALORNUMANT, :NOMEROTINA, :OBSERVACOES, :OBSERVACOES2, :OBSERVACOES3, :CODIGO)");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLUpdateZTCreCli(const TCreditoCliente& c, bool somenteAberto) {
  TStringList sql;
  sql.Add(" UPDATE ZTCRECLI SET CODCLI = CODCLI ");
  const auto coluna = [&sql](bool presente, const char* nome) {
    if (presente) sql.Add(std::string(", ") + nome + " = :" + nome + " ");
  };
  const auto numero = [&coluna](double valor, const char* nome) { coluna(valor > 0, nome); };
  const auto texto = [&coluna](const std::string& valor, const char* nome) { coluna(!valor.empty(), nome); };
  const auto data = [&coluna](TDateTime valor, const char* nome) { coluna(valor.Value() > 0, nome); };
  ColunasAtualizaveis(c, numero, texto, data);
  coluna(c.CODPLPAG > 0, "CODPLPAG");
  sql.Add(" WHERE CODIGO = :CODIGO");
  // A credit is closed once: a second close (another session's reversal) finds no open row.
  if (somenteAberto) sql.Add("   AND DTDESCONTO IS NULL AND DTESTORNO IS NULL");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLDTPAGTitulo() {
  TStringList sql;
  sql.Add("SELECT DTPAG FROM ZTPREST WHERE ZTPREST.NUMTRANSVENDA = :NUMTRANSVENDA AND PREST = :PREST");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLBaixarTituloComoCredito(bool juros, bool caixa, bool fechamento,
                                                              bool zerarDesconto) {
  TStringList sql;
  sql.Add("UPDATE ZTPREST SET VPAGO = :VPAGO,");
  sql.Add("       DTPAG = TRUNC(SYSDATE),");
  sql.Add("       CODBAIXA = :CODBAIXA,");
  sql.Add("       DTBAIXA = TRUNC(SYSDATE),");
  sql.Add("       CODCOBORIG = :CODCOBORIG,");
  sql.Add("       DTBAIXACRED = SYSDATE,");
  sql.Add("       DTULTALTER = TRUNC(SYSDATE),");
  if (juros) sql.Add("       TXPERM = :TXPERM,");
  if (caixa) {
    sql.Add("       DTCXMOT = TRUNC(SYSDATE),");
    sql.Add("       CODFUNCCXMOT = :CODFUNCCXMOT,");
  }
  if (fechamento) {
    sql.Add("       DTFECHA = TRUNC(SYSDATE),");
    sql.Add("       CODFUNCFECHA = :CODFUNCFECHA,");
  }
  if (zerarDesconto) {
    sql.Add("       VALORDESC = 0,");
    sql.Add("       PERDESC = 0,");
  }
  sql.Add("       CODCOB = 'CRED',");
  sql.Add("       CODFUNCULTALTER = :CODFUNCULTALTER");
  sql.Add(" WHERE ZTPREST.NUMTRANSVENDA = :NUMTRANSVENDA AND PREST = :PREST");
  // Only an open title is paid: a second settlement of the same title changes no row.
  sql.Add("   AND DTPAG IS NULL");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLBaixarUmCreditoComUmOuVariosTitulos(
    double codigoCredito, const std::vector<TContasReceberZTPrest>& titulos, int usuario, int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("voLISTA LISTA_ZT_CONTASRECEBER := LISTA_ZT_CONTASRECEBER();");
  sql.Add("vbBAIXOU BOOLEAN;");
  sql.Add("BEGIN");
  sql.Add("voLISTA.EXTEND(" + std::to_string(titulos.size()) + ");");
  for (std::size_t i = 0; i < titulos.size(); ++i) {
    const TContasReceberZTPrest& t = titulos[i];
    const std::string item = "voLISTA(" + std::to_string(i + 1) + ")";
    sql.Add(item + " := T_ZT_CONTASRECEBER(" + N(usuario) + ");");
    sql.Add(item + ".NUMTRANSVENDA := " + N(t.NUMTRANSVENDA) + ";");
    sql.Add(item + ".DUPLIC := " + N(t.DUPLIC) + ";");
    sql.Add(item + ".PREST := " + QuotedStr(t.PREST) + ";");
    sql.Add(item + ".VALOR := " + N(t.VALOR) + ";");
    sql.Add(item + ".VALORAPROVEITADOCREDITO := " + N(t.VALORAPROVEITADOCREDITO) + ";");
  }
  sql.Add("vbBAIXOU := PKG_CREDITOCLIENTE.FNC_BAIXAR1CREDITONTITULOS(" + N(codigoCredito) + ", voLISTA, " + N(usuario) +
          ", " + N(rotina) + ");");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLBaixarUmTituloComUmOuVariosCreditos(const TContasReceberZTPrest& titulo,
                                                                          const std::vector<TCreditoCliente>& creditos,
                                                                          int usuario, int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("voLISTA LISTA_ZT_CREDITOCLIENTE := LISTA_ZT_CREDITOCLIENTE();");
  sql.Add("voCONTARECEBER T_ZT_CONTASRECEBER;");
  sql.Add("vbBAIXOU BOOLEAN;");
  sql.Add("BEGIN");
  for (std::size_t i = 0; i < creditos.size(); ++i) {
    const std::string item = "voLISTA(" + std::to_string(i + 1) + ")";
    sql.Add("voLISTA.EXTEND;");
    sql.Add(item + " := T_ZT_CREDITOCLIENTE(" + N(usuario) + ", " + N(rotina) + ");");
    sql.Add(item + ".CODIGO := " + N(creditos[i].CODIGO) + ";");
  }
  sql.Add("voCONTARECEBER := T_ZT_CONTASRECEBER(" + N(usuario) + ");");
  sql.Add("voCONTARECEBER.NUMTRANSVENDA := " + N(titulo.NUMTRANSVENDA) + ";");
  sql.Add("voCONTARECEBER.PREST := " + QuotedStr(titulo.PREST) + ";");
  sql.Add("vbBAIXOU := PKG_CREDITOCLIENTE.FNC_BAIXAR1TITULONCREDITOS(voCONTARECEBER, voLISTA, " + N(usuario) + ", " +
          N(rotina) + ");");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLEstornarTituloBaixadoComCredito(double numeroTransacaoVenda,
                                                                      const std::string& prestacao, int usuario,
                                                                      int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("vfVALORESTORNADO NUMBER(14,2);");
  sql.Add("BEGIN");
  sql.Add("vfVALORESTORNADO := PKG_CREDITOCLIENTE.FNC_ESTORNARCREDITOBAIXADO(" + N(numeroTransacaoVenda) + ", " +
          N(rotina) + ", " + N(usuario) + ", " + QuotedStr(prestacao) + ", TRUE);");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLApenasGerarContraPartidaCredito(double codigoCredito, double numCred,
                                                                      double numeroNota, double numeroTransacaoVenda,
                                                                      int usuario, int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("voCREDITOCLIENTE T_ZT_CREDITOCLIENTE;");
  sql.Add("BEGIN");
  sql.Add("voCREDITOCLIENTE := T_ZT_CREDITOCLIENTE(" + N(usuario) + ", " + N(rotina) + ");");
  sql.Add("voCREDITOCLIENTE.BUSCARCREDITO(" + N(codigoCredito) + ");");
  sql.Add("voCREDITOCLIENTE.NUMCRED := " + N(numCred) + ";");
  sql.Add("voCREDITOCLIENTE.HISTORICO := " +
          QuotedStr("DESDOBRAMENTO EM BAIXA NF.: " + N(numeroNota) + " - NUMTRANSVENDA.: " + N(numeroTransacaoVenda)) +
          ";");
  sql.Add("voCREDITOCLIENTE.ESTORNARTOTAL;");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLInserirRegistroDesdobramento(double origem, double destino, int usuario,
                                                                   int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("voDESDCREDITO T_ZT_DESDCREDITOCLIENTE;");
  sql.Add("BEGIN");
  sql.Add("voDESDCREDITO := T_ZT_DESDCREDITOCLIENTE(" + N(usuario) + ", " + N(rotina) + ");");
  sql.Add("voDESDCREDITO.CODIGOORIG := " + N(origem) + ";");
  sql.Add("voDESDCREDITO.CODIGODEST := " + N(destino) + ";");
  sql.Add("voDESDCREDITO.INSERIR;");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLApenasBaixarCredito(const TCreditoCliente& c, int usuario, int rotina) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("voCREDITOCLIENTE T_ZT_CREDITOCLIENTE;");
  sql.Add("BEGIN");
  sql.Add("voCREDITOCLIENTE := T_ZT_CREDITOCLIENTE(" + N(usuario) + ", " + N(rotina) + ");");
  sql.Add("voCREDITOCLIENTE.BUSCARCREDITO(" + N(c.CODIGO) + ");");
  sql.Add("--BAIXA O CREDITO");
  sql.Add("voCREDITOCLIENTE.CODFILIALDESC := " + QuotedStr(c.CODFILIALDESC) + ";");
  sql.Add("voCREDITOCLIENTE.NUMNOTADESC := " + N(c.NUMNOTADESC) + ";");
  sql.Add("voCREDITOCLIENTE.NUMTRANSVENDADESC := " + N(c.NUMTRANSVENDADESC) + ";");
  sql.Add("voCREDITOCLIENTE.PRESTRESTCLI := " + QuotedStr(c.PRESTRESTCLI) + ";");
  sql.Add("voCREDITOCLIENTE.CODFUNC := " + N(c.CODFUNC) + ";");
  sql.Add("voCREDITOCLIENTE.NUMCAIXA := " + N(c.NUMCAIXA) + ";");
  sql.Add("voCREDITOCLIENTE.NUMSERIEEQUIP := " + QuotedStr(c.NUMSERIEEQUIP) + ";");
  sql.Add("voCREDITOCLIENTE.NUMCRED := " + N(c.NUMCRED) + ";");
  sql.Add("voCREDITOCLIENTE.CODFUNCCX := " + N(c.CODFUNCCX) + ";");
  sql.Add("voCREDITOCLIENTE.BAIXAR;");
  sql.Add("END;");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLBaixarCreditoClienteVarejo() {
  TStringList sql;
  sql.Add("SELECT PKG_CREDITOCLIENTE.FNC_BAIXADECREDITOVAREJO(pfCODIGOCREDITO => :pfCODIGOCREDITO,");
  sql.Add(" pfVALORBAIXAR => :pfVALORBAIXAR, pfNUMPEDECF => :pfNUMPEDECF, psNUMSERIEEQUIP => :psNUMSERIEEQUIP,");
  sql.Add(" pfNUMCAIXA => :pfNUMCAIXA, pfNUMCUPOM => :pfNUMCUPOM, psHISTORICO => :psHISTORICO,");
  sql.Add(" pfCODIGOROTINA => :pfCODIGOROTINA, pfMATRICULAUSUARIO => :pfMATRICULAUSUARIO,");
  sql.Add(" psCODIGOFILIALDESCONTO => :psCODIGOFILIALDESCONTO) psCODIGOSCREDITOGERADO FROM DUAL");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLAtualizarBaixarCreditoClienteVarejo() {
  TStringList sql;
  sql.Add("SELECT CASE WHEN PKG_CREDITOCLIENTE.FNC_ATUALIZABAIXACREDITOVAREJO(pfCODIGOCREDITO => :pfCODIGOCREDITO,");
  sql.Add(" pfCODIGOROTINA => :pfCODIGOROTINA, pfMATRICULAUSUARIO => :pfMATRICULAUSUARIO) THEN 'S' ELSE 'N' END");
  sql.Add(" ATUALIZOU FROM DUAL");
  return sql;
}

TStringList TDALCreditoCliente::GetSQLEstornarBaixaCreditoClienteVarejo() {
  TStringList sql;
  sql.Add("SELECT PKG_CREDITOCLIENTE.FNC_ESTORNARBAIXACREDITOVAREJO(pfNUMTRANSVENDADESC => :pfNUMTRANSVENDADESC,");
  sql.Add(" pfCODIGOROTINA => :pfCODIGOROTINA, pfMATRICULAUSUARIO => :pfMATRICULAUSUARIO) psCODIGOSCREDITOGERADO");
  sql.Add(" FROM DUAL");
  return sql;
}
