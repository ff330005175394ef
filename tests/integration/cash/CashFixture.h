#pragma once

#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace cashtest {

using Rows = std::vector<std::string>;
using testsupport::Failure;

// The account the tests write to; every test's writes are rolled back.
inline constexpr double kBanco = 9101;

// The cash area on the test host, with helpers that read and write its tables directly for the
// account kBanco and the collection code Cob.
class CashTest : public testsupport::HostTest {
 protected:
  IFin_MovimentacaoNumerarios& Caixa() { return *Financeiro().GetMovimentacaoNumerarios(); }

  // The data access as other areas create it, a new one on each call (owned by the host component).
  TDALMovimentacaoNumerarios& Dal() { return *new TDALMovimentacaoNumerarios(&Host()); }

  RFin_IncluirMovimentacaoNumerarios NovoMovimento(const std::string& tipo, double valor) const {
    RFin_IncluirMovimentacaoNumerarios r;
    r.Inicializar();
    r.DATA = TDateTime::EncodeDateTime(2025, 3, 10, 9, 30, 0);
    r.CODBANCO = kBanco, r.CODCOB = Cob, r.TIPO = tipo, r.VALOR = valor, r.CODFUNC = 1;
    return r;
  }

  // Each row of the query as its fields' text joined by '|' (NULL reads as empty).
  Rows Linhas(const std::string& sql) {
    TOraQuery q(&Session());
    q.SQL.Add(sql);
    q.Open();
    Rows rows;
    for (q.First(); !q.Eof(); q.Next()) {
      std::string row;
      for (std::size_t i = 0; i < q.FieldCount(); ++i) row += (i == 0 ? "" : "|") + q.Fields(i).AsString();
      rows.push_back(row);
    }
    return rows;
  }
  std::string DaConta(const std::string& moeda = "CODCOB") const {
    return " WHERE CODBANCO = " + ShortestDecimal(kBanco) + " AND " + moeda + " = '" + Cob + "'";
  }
  // The account's movements in insertion order, its balance row, its months in order.
  Rows Movimentos(const std::string& colunas) {
    return Linhas("SELECT " + colunas + " FROM ZTMOVCR" + DaConta() + " ORDER BY ROWID");
  }
  Rows Saldo() { return Linhas("SELECT VALOR, VALORCONCILIADO FROM ZTESTCR" + DaConta()); }
  Rows Meses() {
    return Linhas(
        "SELECT ANO || '-' || MES, VALORDEBITO, VALORCREDITO, SALDOINICIAL, SALDO, "
        "TO_CHAR(DATASALDOINICIAL, 'YYYY-MM-DD') FROM ZTESTCRCOMPENSACAO" +
        DaConta("CODMOEDA") + " ORDER BY ANO, MES");
  }

  // SQL literals for set-up rows: numbers as they are, texts (dates 'YYYY-MM-DD' too) quoted,
  // empty text as NULL.
  static std::string Sql(double valor) { return ShortestDecimal(valor); }
  static std::string Sql(const std::string& texto) { return texto.empty() ? "NULL" : "'" + texto + "'"; }
  template <class... T>
  static std::string Valores(const T&... valores) {
    std::string lista;
    ((lista += (lista.empty() ? "" : ", ") + Sql(valores)), ...);
    return " VALUES (" + lista + ")";
  }

  void DefinirSaldo(double valor, double conciliado) {
    Exec("INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO)" + Valores(Cob, kBanco, valor, conciliado));
  }

  // A movement written straight into the table (history to rebuild), reconciled when it has a
  // reconciliation date; its VLSALDOCONCIL is -1. Returns its ROWID.
  std::string InserirMovimento(double numtrans, const std::string& data, const std::string& tipo, double valor,
                               double vlsaldo, const std::string& dtconcil = "", const std::string& dtcompensacao = "",
                               const std::string& operacao = "") {
    Exec(
        "INSERT INTO ZTMOVCR (NUMTRANS, DATA, CODBANCO, CODCOB, VALOR, TIPO, VLSALDO, VLSALDOCONCIL, CONCILIACAO, "
        "DTCONCIL, DTCOMPENSACAO, OPERACAO)" +
        Valores(numtrans, data, kBanco, Cob, valor, tipo, vlsaldo, -1.0, std::string(dtconcil.empty() ? "" : "OK"),
                dtconcil, dtcompensacao, operacao));
    return Scalar("SELECT MAX(ROWID) FROM ZTMOVCR");
  }

  // A month of ZTESTCRCOMPENSACAO with stale sums (9 and 9).
  void InserirMes(int ano, int mes, double inicial, double saldo, const std::string& dataInicial = "",
                  const std::string& moeda = "") {
    Exec(
        "INSERT INTO ZTESTCRCOMPENSACAO (ANO, MES, CODBANCO, CODMOEDA, VALORDEBITO, VALORCREDITO, SALDOINICIAL, "
        "SALDO, DATASALDOINICIAL)" +
        Valores(std::to_string(ano), std::string(mes < 10 ? "0" : "") + std::to_string(mes), kBanco,
                moeda.empty() ? Cob : moeda, 9.0, 9.0, inicial, saldo, dataInicial));
  }

  std::string Cob = "TST";
};

}  // namespace cashtest
