#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "oradb/TOraQuery.h"
#include "sdk/Exception.h"
#include "sdk/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/TestHost.h"

namespace cashtest {

// A movement as stored, in insertion order.
struct Movimento {
  std::string RowId;
  double NumTrans = 0;
  std::string Tipo;
  double Valor = 0;
  std::optional<double> VlSaldo;
  std::optional<double> VlSaldoConcil;
  std::string Conciliacao;
  TDateTime DtConcil;
  TDateTime DtCompensacao;
  double CodFuncConcil = 0;
};

// One month of ZTESTCRCOMPENSACAO.
struct MesCompensacao {
  double ValorDebito = 0;
  double ValorCredito = 0;
  double SaldoInicial = 0;
  double Saldo = 0;
  TDateTime DataSaldoInicial;
};

inline std::optional<double> Numero(TField field) {
  if (field.IsNull()) return std::nullopt;
  return field.AsFloat();
}

inline std::string Literal(double value) {
  return ShortestDecimal(value);
}
inline std::string Literal(TDateTime value) {
  return value.IsZero() ? "NULL" : "TO_DATE('" + value.ToIso() + "', 'YYYY-MM-DD HH24:MI:SS')";
}
inline std::string Literal(const std::string& value) {
  return value.empty() ? "NULL" : "'" + value + "'";
}

// The cash area on the test host, with helpers that read and write its tables directly.
class CashTest : public testsupport::HostTest {
 protected:
  IFin_MovimentacaoNumerarios& Caixa() { return *Financeiro().GetMovimentacaoNumerarios(); }

  // The data access as other areas create it (owned by the host component).
  TDALMovimentacaoNumerarios& Dal() {
    if (FDal == nullptr) FDal = new TDALMovimentacaoNumerarios(&Host());
    return *FDal;
  }

  static RFin_IncluirMovimentacaoNumerarios NovoMovimento(double banco, const std::string& cob, const std::string& tipo,
                                                          double valor) {
    RFin_IncluirMovimentacaoNumerarios r;
    r.Inicializar();
    r.DATA = TDateTime::EncodeDateTime(2025, 3, 10, 9, 30, 0);
    r.CODBANCO = banco;
    r.CODCOB = cob;
    r.TIPO = tipo;
    r.VALOR = valor;
    r.HISTORICO = "TESTE";
    r.HORA = 9;
    r.MINUTO = 30;
    r.CODFUNC = 1;
    r.INDICE = "A";
    r.CODROTINALANC = 632;
    return r;
  }

  std::optional<double> Saldo(double banco, const std::string& cob, const char* coluna = "VALOR") {
    TOraQuery q(&Session());
    q.SQL.Add(std::string("SELECT ") + coluna + " V FROM ZTESTCR WHERE CODCOB = :C AND CODBANCO = :B");
    q.ParamByName("C").SetAsString(cob);
    q.ParamByName("B").SetAsFloat(banco);
    q.Open();
    if (q.IsEmpty()) return std::nullopt;
    return Numero(q.FieldByName("V"));
  }
  std::optional<double> SaldoConciliado(double banco, const std::string& cob) {
    return Saldo(banco, cob, "VALORCONCILIADO");
  }

  void DefinirSaldo(double banco, const std::string& cob, double valor, double conciliado) {
    Exec("DELETE FROM ZTESTCR WHERE CODCOB = " + Literal(cob) + " AND CODBANCO = " + Literal(banco));
    Exec("INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO) VALUES (" + Literal(cob) + ", " +
         Literal(banco) + ", " + Literal(valor) + ", " + Literal(conciliado) + ")");
  }

  std::vector<Movimento> Movimentos(double banco, const std::string& cob) {
    TOraQuery q(&Session());
    q.SQL.Add("SELECT ROWID RID, NUMTRANS, TIPO, VALOR, VLSALDO, VLSALDOCONCIL, CONCILIACAO, DTCONCIL,");
    q.SQL.Add("       DTCOMPENSACAO, CODFUNCCONCIL");
    q.SQL.Add("  FROM ZTMOVCR WHERE CODBANCO = :B AND CODCOB = :C ORDER BY ROWID");
    q.ParamByName("B").SetAsFloat(banco);
    q.ParamByName("C").SetAsString(cob);
    q.Open();
    std::vector<Movimento> rows;
    for (q.First(); !q.Eof(); q.Next()) {
      rows.push_back({q.FieldByName("RID").AsString(), q.FieldByName("NUMTRANS").AsFloat(),
                      q.FieldByName("TIPO").AsString(), q.FieldByName("VALOR").AsFloat(),
                      Numero(q.FieldByName("VLSALDO")), Numero(q.FieldByName("VLSALDOCONCIL")),
                      q.FieldByName("CONCILIACAO").AsString(), q.FieldByName("DTCONCIL").AsDateTime(),
                      q.FieldByName("DTCOMPENSACAO").AsDateTime(), q.FieldByName("CODFUNCCONCIL").AsFloat()});
    }
    return rows;
  }

  // A movement written straight into the table (history to rebuild); returns its ROWID.
  std::string InserirMovimento(double banco, const std::string& cob, double numtrans, TDateTime data,
                               const std::string& tipo, double valor, double vlsaldo,
                               const std::string& conciliacao = {}, TDateTime dtconcil = {},
                               TDateTime dtcompensacao = {}, double operacao = 0) {
    Exec(
        "INSERT INTO ZTMOVCR (NUMTRANS, DATA, CODBANCO, CODCOB, VALOR, TIPO, VLSALDO, VLSALDOCONCIL, CONCILIACAO, "
        "DTCONCIL, DTCOMPENSACAO, OPERACAO) VALUES (" +
        Literal(numtrans) + ", " + Literal(data) + ", " + Literal(banco) + ", " + Literal(cob) + ", " + Literal(valor) +
        ", " + Literal(tipo) + ", " + Literal(vlsaldo) + ", -1, " + Literal(conciliacao) + ", " + Literal(dtconcil) +
        ", " + Literal(dtcompensacao) + ", " + (operacao == 0 ? "NULL" : Literal(operacao)) + ")");
    return Scalar("SELECT MAX(ROWID) FROM ZTMOVCR");
  }

  void InserirMes(double banco, const std::string& cob, int ano, int mes, double debito, double credito, double inicial,
                  double saldo, TDateTime dataInicial = {}) {
    char texto[3];
    std::snprintf(texto, sizeof texto, "%02d", mes);
    Exec(
        "INSERT INTO ZTESTCRCOMPENSACAO (MES, ANO, CODBANCO, CODMOEDA, VALORDEBITO, VALORCREDITO, "
        "DATASALDOINICIAL, SALDOINICIAL, SALDO) VALUES ('" +
        std::string(texto) + "', '" + std::to_string(ano) + "', " + Literal(banco) + ", " + Literal(cob) + ", " +
        Literal(debito) + ", " + Literal(credito) + ", " + Literal(dataInicial) + ", " + Literal(inicial) + ", " +
        Literal(saldo) + ")");
  }

  std::optional<MesCompensacao> Mes(double banco, const std::string& cob, int ano, int mes) {
    char texto[3];
    std::snprintf(texto, sizeof texto, "%02d", mes);
    TOraQuery q(&Session());
    q.SQL.Add("SELECT VALORDEBITO, VALORCREDITO, SALDOINICIAL, SALDO, DATASALDOINICIAL FROM ZTESTCRCOMPENSACAO");
    q.SQL.Add(" WHERE CODBANCO = :B AND CODMOEDA = :C AND ANO = :A AND MES = :M");
    q.ParamByName("B").SetAsFloat(banco);
    q.ParamByName("C").SetAsString(cob);
    q.ParamByName("A").SetAsString(std::to_string(ano));
    q.ParamByName("M").SetAsString(texto);
    q.Open();
    if (q.IsEmpty()) return std::nullopt;
    return MesCompensacao{q.FieldByName("VALORDEBITO").AsFloat(), q.FieldByName("VALORCREDITO").AsFloat(),
                          q.FieldByName("SALDOINICIAL").AsFloat(), q.FieldByName("SALDO").AsFloat(),
                          q.FieldByName("DATASALDOINICIAL").AsDateTime()};
  }

  int MesesGravados(double banco, const std::string& cob) {
    return static_cast<int>(ScalarNumber("SELECT COUNT(*) FROM ZTESTCRCOMPENSACAO WHERE CODBANCO = " + Literal(banco) +
                                         " AND CODMOEDA = " + Literal(cob)));
  }

 private:
  TDALMovimentacaoNumerarios* FDal = nullptr;
};

}  // namespace cashtest
