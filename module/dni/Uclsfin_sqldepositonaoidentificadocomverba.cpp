// The statement texts of the unidentified deposits' data access: each builds its SQL without running it.
#include <string>

#include "dni/Uclsfin_daldepositonaoidentificadocomverba.h"
#include "rtl/Formatacao.h"

namespace {

// The allowance number as the settling movements' history writes it.
[[nodiscard]] std::string TextoVerba(double NumeroVerba) {
  return ShortestDecimal(NumeroVerba);
}

// The filter that finds the settling debits of an allowance that are not reversed yet.
void AdicionarFiltroBaixa(TStringList& sql, const std::string& prefixo, double NumeroVerba) {
  sql.Add(" WHERE " + prefixo + "NUMCARR = :NUMEROVERBA");
  sql.Add(" AND   " + prefixo + "HISTORICO LIKE 'BAIXA DE DNI COM VERBA N.:%" + TextoVerba(NumeroVerba) + "%'");
  sql.Add("AND   " + prefixo + "DTCONCIL IS NOT NULL");
  sql.Add("AND   " + prefixo + "CODCOB = 'DNI'");
  sql.Add("AND   " + prefixo + "TIPO = 'D'");
  sql.Add("AND   " + prefixo + "DTESTORNO IS NULL");
}

}  // namespace

TStringList TDALDepositoNaoIdentificadoComVerba::GetSQLConsultarDNIs(int CodigoBanco, double CodigoCliente) {
  TStringList sql;
  sql.Add("SELECT SELECIONADO, DATA, NUMDOC, HISTORICO, NUMTRANS, ROWID, VALOR,");
  sql.Add("       NUMASSOCDNI, DTASSOCIADNICLI, CODCLI, CODFUNCDNICLI, VALORTOTALASSOCIADO,");
  sql.Add("       NVL((VALOR - VALORTOTALASSOCIADO),0) AS VALORDISPONIVEL");
  sql.Add("  FROM (");
  sql.Add(" SELECT 'N' SELECIONADO,");
  sql.Add("        M.DATA, M.NUMDOC, M.HISTORICO, M.NUMTRANS, M.ROWID, M.VALOR,");
  sql.Add("        M.NUMASSOCDNI, M.DTASSOCIADNICLI, M.CODCLI, M.CODFUNCDNICLI,");
  sql.Add("        NVL((SELECT SUM(P.VALOR)");
  sql.Add("               FROM ZTPREST P");
  sql.Add("              WHERE P.NUMASSOCDNI = M.NUMASSOCDNI), 0) VALORTOTALASSOCIADO");
  sql.Add("   FROM ZTMOVCR M");
  sql.Add(" WHERE ((M.CONCILIACAO <> 'OK') OR (M.CONCILIACAO IS NULL)) ");
  sql.Add(" AND   CODCOB = 'DNI'");
  sql.Add(" AND CODBANCO = " + std::to_string(CodigoBanco));
  sql.Add(" AND   TIPO = 'C'");
  sql.Add(" AND   ((CODCLI IS NULL) OR (CODCLI = " + ShortestDecimal(CodigoCliente) + ")) ");
  sql.Add(" )");
  sql.Add(" ORDER BY VALORDISPONIVEL ASC ");
  return sql;
}

TStringList TDALDepositoNaoIdentificadoComVerba::GetSQLLocalizarBaixaParaEstorno(double NumeroVerba) {
  TStringList sql;
  sql.Add("SELECT M.NUMTRANS, M.CODBANCO, M.NUMASSOCDNI, M.DTASSOCIADNICLI, M.CODCLI, M.CODFUNCDNICLI");
  sql.Add("  FROM ZTMOVCR M");
  AdicionarFiltroBaixa(sql, "M.", NumeroVerba);
  // The first debit of the settlement gives the reversal its bank and association.
  sql.Add(" ORDER BY M.NUMTRANS");
  return sql;
}

TStringList TDALDepositoNaoIdentificadoComVerba::GetSQLMarcarBaixaEstornada(double NumeroVerba) {
  TStringList sql;
  sql.Add("UPDATE ZTMOVCR");
  sql.Add("   SET DTESTORNO = SYSDATE");
  AdicionarFiltroBaixa(sql, "", NumeroVerba);
  return sql;
}
