// The statement texts of slip issuing: each builds its SQL without running it. Every value travels
// as a bind.
#include <array>
#include <initializer_list>
#include <string>

#include "receivable/Uclsfin_dalcontasreceber.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<std::string> linhas) {
  TStringList sql;
  for (const std::string& linha : linhas) sql.Add(linha);
  return sql;
}

// A payer's address column printed on the slip: the invoice's customer (F) when the title names one,
// else the title's customer (C); of that customer the billing address, or the delivery address when
// the billing street is empty or reads "O MESMO"/"MESMO" (the whole address switches, so a slip
// never mixes the street of one with the city of the other).
[[nodiscard]] std::string ColunaEnderecoCobranca(const std::string& cobranca, const std::string& entrega,
                                                 const std::string& apelido) {
  const auto escolha = [&](const char* cliente) {
    return std::string("CASE WHEN NVL(TRIM(") + cliente + ".ENDERCOB), 'O MESMO') IN ('O MESMO', 'MESMO') THEN " +
           cliente + "." + entrega + " ELSE " + cliente + "." + cobranca + " END";
  };
  return "               CASE WHEN ZTPREST.CODCLINF IS NOT NULL THEN " + escolha("F") + " ELSE " + escolha("C") +
         " END " + apelido + ",";
}

}  // namespace

TStringList TDALContasReceber::GetSQLValidarPermissaoAcesso530() {
  return Linhas({
      "SELECT NVL(ACESSO,'N') ACESSO FROM ZTCONTROI WHERE CODROTINA = :ROTINA AND CODCONTROLE = :ACESSO AND "
      "CODUSUARIO = :CODIGO",
  });
}

TStringList TDALContasReceber::GetSQLBuscarCondVendaZTNfSaid() {
  return Linhas({"SELECT CONDVENDA FROM ZTNFSAID WHERE 1 = 1 AND NUMTRANSVENDA = :NUMTRANSVENDA"});
}

TStringList TDALContasReceber::GetSQLVerificaNotaDevFornec() {
  return Linhas({
      "SELECT NVL(CONDVENDA,0) AS CONDVENDA, TIPOVENDA FROM ZTNFSAID WHERE 1 = 1 AND NUMTRANSVENDA = :NUMTRANSVENDA",
  });
}

TStringList TDALContasReceber::GetSQLCobrancaMarcadaParaEmitirBoleto() {
  return Linhas({"SELECT NVL(BOLETO, 'N') BOLETO FROM ZTCOB WHERE CODCOB = :CODCOB"});
}

TStringList TDALContasReceber::GetSQLBuscarInformacoesParaGerarDadosBancarios() {
  return Linhas({
      "SELECT ZTPREST.NUMTRANSVENDA, ZTPREST.PREST, ZTPREST.DUPLIC, ZTPREST.CODFILIAL, ZTPREST.CODCOB,",
      "       ZTPREST.DTVENC, ZTPREST.VALOR, ZTPREST.NOSSONUMBCO, ZTPREST.CODBARRA,",
      "       ZTFILIAL.RAZAOSOCIAL, ZTFILIAL.CGC,",
      "       DECODE(E.USABKCNPJCODCLIPRINC, 'S', NVL(E.CODCLIPRINC, E.CODCLI), E.CODCLI) CODCLI,",
      "       C.CLIENTE, C.CGCENT, ZTUSUARI.NOME NOMERCA, ZTPLPAG.DESCRICAO PLANOPAGAMENTO,",
      "       ZTNFSAID.NUMNOTA, ZTNFSAID.CONDVENDA",
      "  FROM ZTPREST, ZTFILIAL, ZTCLIENT E, ZTCLIENT C, ZTUSUARI, ZTNFSAID, ZTPLPAG",
      " WHERE ZTPREST.CODFILIAL = ZTFILIAL.CODIGO(+)",
      "   AND ZTPREST.CODCLI = E.CODCLI",
      "   AND C.CODCLI = DECODE(E.USABKCNPJCODCLIPRINC, 'S', NVL(E.CODCLIPRINC, E.CODCLI), E.CODCLI)",
      "   AND ZTPREST.CODUSUR = ZTUSUARI.CODUSUR(+)",
      "   AND ZTPREST.NUMTRANSVENDA = ZTNFSAID.NUMTRANSVENDA(+)",
      "   AND ZTNFSAID.CODPLPAG = ZTPLPAG.CODPLPAG(+)",
      "   AND ZTPREST.ORIGEMBOLETO IS NULL",
      "   AND NVL(ZTPREST.AGRUPADO, 'N') <> 'S'",
      "   AND ZTPREST.DTPAG IS NULL",
      "   AND ZTPREST.VALOR > 0",
      "   AND ((ZTPREST.NOSSONUMBCO IS NULL) OR ((ZTPREST.NOSSONUMBCO IS NOT NULL) AND (ZTPREST.CODBARRA IS NULL)))",
      "   AND ZTPREST.NUMTRANSVENDA = :NUMTRANSVENDA",
      "   AND ZTPREST.PREST = :PREST",
      " ORDER BY ZTPREST.DUPLIC, LPAD(ZTPREST.PREST, 2)",
  });
}

TStringList TDALContasReceber::GetSQLBuscarInformacoesParaImprimirBoleto() {
  TStringList sql = Linhas({
      "SELECT T.*,",
      "       CASE WHEN T.SOMATXBOLETO = 'S' AND T.ISENTOTXBOLETO = 'N' THEN T.VALOR_TEMP + T.VLTXBOLETO",
      "            ELSE T.VALOR_TEMP END VALOR,",
      "       CASE WHEN T.SOMATXBOLETO = 'S' AND T.ISENTOTXBOLETO = 'N' THEN T.VALOR_TEMP - T.VALORDESC + T.VLTXBOLETO",
      "            ELSE T.VALOR_TEMP - T.VALORDESC END VL_SEM_DESC,",
      "       CASE WHEN T.VLTXBOLETO > 0 AND T.SOMATARIFABANCDUPLIC = 'S' THEN T.VALOR_TEMP - T.VLTXBOLETO",
      "            ELSE T.VALOR_TEMP END VALOR_SEM_TAXA,",
      "       CASE WHEN T.SOMATARIFABANCDUPLIC = 'N' AND T.SOMATXBOLETO = 'S' THEN T.VALOR_TEMP + T.VLTXBOLETO",
      "            ELSE T.VALOR_TEMP END VALOR_COM_TAXA,",
      "       T.DTVENC DTVENC_CONTRA",
      "  FROM (SELECT ZTPREST.NUMTRANSVENDA, ZTPREST.PREST, ZTPREST.DUPLIC, ZTPREST.CODFILIAL, ZTPREST.CODCLI,",
      "               ZTPREST.CODCLINF, ZTPREST.CODCOB, ZTPREST.CODBANCOCM, ZTPREST.DTEMISSAO, ZTPREST.DTVENC,",
      "               NVL(ZTPREST.VALORDESC, 0) VALORDESC, NVL(ZTPREST.VLDEVOL, 0) VLDEVOL,",
      "               PKG_DADOSBANCARIOS.F_VALORBOLETO(ZTPREST.VALOR, ZTPREST.VLDEVOL, ZTPREST.TXVENDORCLI,",
      "                 ZTPREST.VLTXVENDOR, ZTPREST.VLTXIOF, ZTPREST.TXPERMPREVISTO, 0, 'N', 'S',",
      "                 :UTILIZAVALORBRUTO) VALOR_TEMP,",
      "               CASE WHEN NVL(ZTPREST.VLTXVENDOR, 0) < 0 THEN 0 ELSE NVL(ZTPREST.VLTXVENDOR, 0) END VLTXVENDOR,",
      "               NVL(ZTPREST.DTDESC, ZTPREST.DTVENC) DTDESCONTO,",
      "               LPAD(ZTPREST.CODFILIAL || TRIM(TO_CHAR(ZTPREST.DUPLIC, '0000000')) || TO_CHAR(ZTPREST.PREST), "
      "10,",
      "                 ' ') MDUPLICPREST,",
      "               ROUND(ZTPREST.VALOR * DECODE(ZTCOB.CALCJUROSCOBRANCA, 'S', NVL(ZTCOB.TXJUROS, 0),",
      "                 NVL((SELECT PERCJUROSMORA FROM ZTCONSUM WHERE ROWNUM = 1), 0)) / 100 / 30, 2) CALCJUROSDIARIO,",
      "               ZTPREST.VALOR + NVL(ZTPREST.VLDEVOL, 0) VALORBRUTO,",
      "               (SELECT COUNT(DISTINCT X.NOSSONUMBCO) FROM ZTPREST X",
      "                 WHERE X.NUMTRANSVENDA = ZTPREST.NUMTRANSVENDA AND X.CODCLI = ZTPREST.CODCLI",
      "                   AND X.CODCOB NOT IN ('DESD', 'DEVP', 'DEVT', 'ESTR')) QTPARCELASBOLETO,",
      "               (SELECT MAX(ZTCRECLI.HISTORICO) FROM ZTCRECLI",
      "                 WHERE ZTCRECLI.NUMTRANSVENDADESC = ZTPREST.NUMTRANSVENDA) HISTORICO,",
      "               ZTCOB.OBSNF OBSNFCOBRANCA,",
      "               C.CLIENTE, C.CGCENT CNPJCPFCLIENTE,",
  });
  constexpr std::array<std::array<const char*, 3>, 5> kEndereco = {{
      {"ENDERCOB", "ENDERENT", "ENDERECOCOBRANCA"},
      {"BAIRROCOB", "BAIRROENT", "BAIRROCOBRANCA"},
      {"MUNICCOB", "MUNICENT", "CIDADECOBRANCA"},
      {"ESTCOB", "ESTENT", "UFCOBRANCA"},
      {"CEPCOB", "CEPENT", "CEPCOBRANCA"},
  }};
  for (const auto& [cobranca, entrega, apelido] : kEndereco) {
    sql.Add(ColunaEnderecoCobranca(cobranca, entrega, apelido));
  }
  for (
      const char* linha : {
          "               ZTPREST.CODBARRA, ZTPREST.LINHADIG, ZTPREST.NOSSONUMBCO, ZTPREST.CODBARRA2,",
          "               ZTPREST.LINHADIG2, ZTPREST.NOSSONUMBCO2, ZTPREST.CODBANCOCM2, ZTPREST.DVCOB, "
          "ZTPREST.DIGITAO,",
          "               SUBSTR(ZTPREST.CODBARRA, 20, 25) AS ASBACE_BESC,",
          "               NVL(ZTPREST.VLTXBOLETO, 0) VLTXBOLETO, NVL(ZTCOB.SOMATXBOLETO, 'N') SOMATXBOLETO,",
          "               NVL(ZTPREST.TXPERM, 0) + NVL(ZTPREST.VLTXBOLETO, 0) TXPERM,",
          "               NVL(C.ISENTOTXBOLETO, 'N') ISENTOTXBOLETO,",
          "               NVL((SELECT SOMATARIFABANCDUPLIC FROM ZTCONSUM WHERE ROWNUM = 1), 'N') SOMATARIFABANCDUPLIC,",
          "               C.RECEBERBOLETOPOREMAIL, ZTPREST.PASTAARQUIVOBOLETO,",
          "               ZTFILIAL.RAZAOSOCIAL, ZTUSUARI.NOME NOMERCA, ZTPLPAG.DESCRICAO PLANOPAGAMENTO,",
          "               ZTNFSAID.NUMNOTA, NVL(ZTNFSAID.NUMCAR, 0) NUMCAR, NVL(ZTNFSAID.NUMSEQMONTAGEM, 0) "
          "NUMSEQMONTAGEM,",
          "               ZTPRACA.PRACA, ZTCARREG.DESTINO, ZTEMPR.NOME MOTORISTA, ZTBANCO.NOME NOMEBANCO",
          "          FROM ZTPREST, ZTFILIAL, ZTCLIENT E, ZTCLIENT C, ZTCLIENT F, ZTUSUARI, ZTNFSAID, ZTPLPAG, ZTPRACA,",
          "               ZTCARREG, ZTEMPR, ZTBANCO, ZTCOB",
          "         WHERE ZTPREST.CODFILIAL = ZTFILIAL.CODIGO(+)",
          "           AND ZTPREST.CODCLI = E.CODCLI",
          "           AND C.CODCLI = DECODE(E.USABKCNPJCODCLIPRINC, 'S', NVL(E.CODCLIPRINC, E.CODCLI), E.CODCLI)",
          "           AND ZTPREST.CODCLINF = F.CODCLI(+)",
          "           AND ZTPREST.CODUSUR = ZTUSUARI.CODUSUR(+)",
          "           AND ZTPREST.NUMTRANSVENDA = ZTNFSAID.NUMTRANSVENDA(+)",
          "           AND ZTNFSAID.CODPLPAG = ZTPLPAG.CODPLPAG(+)",
          "           AND C.CODPRACA = ZTPRACA.CODPRACA(+)",
          "           AND ZTNFSAID.NUMCAR = ZTCARREG.NUMCAR(+)",
          "           AND ZTCARREG.CODMOTORISTA = ZTEMPR.MATRICULA(+)",
          "           AND ZTPREST.CODBANCOCM = ZTBANCO.CODBANCO(+)",
          "           AND ZTPREST.CODCOB = ZTCOB.CODCOB(+)",
          "           AND ZTPREST.ORIGEMBOLETO IS NULL",
          "           AND NVL(ZTPREST.AGRUPADO, 'N') <> 'S'",
          "           AND ZTPREST.DTPAG IS NULL",
          "           AND ZTPREST.VALOR > 0",
          "           AND ZTPREST.NOSSONUMBCO IS NOT NULL",
          "           AND ZTPREST.CODBARRA IS NOT NULL",
          "           AND ZTPREST.LINHADIG IS NOT NULL",
          "           AND :NUMTRANSVENDA IN (ZTPREST.NUMTRANSVENDA ,ZTPREST.NUMTRANSVENDAST )",
          "           AND ZTPREST.PREST = :PREST) T",
          " ORDER BY T.NUMCAR, T.NUMSEQMONTAGEM, T.DUPLIC, LPAD(T.PREST, 2)",
      }) {
    sql.Add(linha);
  }
  return sql;
}

TStringList TDALContasReceber::GetSQLBuscarInformacoesFilial() {
  return Linhas({
      "SELECT CODIGO, RAZAOSOCIAL, CGC, ENDERECO, BAIRRO, CIDADE, UF, CEP FROM ZTFILIAL WHERE 1 = 1 AND CODIGO = "
      ":CODIGO",
  });
}

TStringList TDALContasReceber::GetSQLBuscarDataHoraServidor() {
  // 'hh24:mi': hours and minutes ('mm' would be the month).
  return Linhas({"SELECT TRUNC(SYSDATE) DATA, TO_CHAR(SYSDATE, 'hh24:mi') HORA FROM DUAL"});
}

TStringList TDALContasReceber::GetSQLRetornarDiretorioQuorvin() {
  return Linhas({"SELECT DIRQUORVIN FROM ZTCONSUM"});
}

TStringList TDALContasReceber::GetSQLAtualizarPastaPDFBoletoZTPREST() {
  return Linhas({
      "UPDATE ZTPREST SET PASTAARQUIVOBOLETO = :PASTAARQUIVOBOLETO WHERE NUMTRANSVENDA = :NUMTRANSVENDA AND DUPLIC = "
      ":DUPLIC",
  });
}
