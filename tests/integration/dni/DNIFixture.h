#pragma once

#include <string>
#include <vector>

#include "dni/Uclsfin_blldepositonaoidentificadocomverba.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/TestHost.h"

namespace dnitest {

constexpr int kBanco = 9811;       // a bank no other test posts to
constexpr double kCliente = 8801;  // the allowance's customer
constexpr double kOutroCliente = 8802;

inline const std::string& Banco() {
  static const std::string banco = std::to_string(kBanco);
  return banco;
}

// A host on the test database running the deposit routine, with the bank's DNI deposits at hand.
class DNITest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Host().SetCodigoRotina(TBLLDepositoNaoIdentificadoComVerba::kRotinaBaixaVerbaComDNI);
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (8801, 'MERCADO BOA VISTA')");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (8802, 'OUTRO CLIENTE')");
  }

  IFin_DepositoNaoIdentificadoComVerba& Area() { return *Financeiro().GetDepositoNaoIdentificadoComVerba(); }

  // An open deposit: an unreconciled "C" movement of the bank's DNI, posted as the cash area posts.
  double Deposito(double valor, double numassoc = 0, double codcli = 0) {
    RFin_IncluirMovimentacaoNumerarios m;
    m.Inicializar();
    m.DATA = TDateTime::EncodeDate(2026, 11, 3);
    m.CODBANCO = kBanco;
    m.CODCOB = "DNI";
    m.VALOR = valor;
    m.TIPO = "C";
    m.HISTORICO = "DEPOSITO NAO IDENTIFICADO";
    m.NUMDOC = "DOC" + ShortestDecimal(valor);
    m.INDICE = "A";
    m.CODFUNC = 1;
    m.NUMASSOCDNI = numassoc;
    m.CODCLI = codcli;
    if (numassoc != 0) {
      m.DTASSOCIADNICLI = TDateTime::EncodeDate(2026, 11, 10);
      m.CODFUNCDNICLI = 42;
    }
    Financeiro().GetMovimentacaoNumerarios()->Incluir(m);
    return m.NUMTRANS;
  }

  // A receivable title tied to a deposit's association.
  void Titulo(double numtransvenda, double numassoc, double valor) {
    Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, CODCLI, VALOR, NUMASSOCDNI) VALUES (" +
         ShortestDecimal(numtransvenda) + ", '1', 8801, " + ShortestDecimal(valor) + ", " + ShortestDecimal(numassoc) +
         ")");
  }

  // The picker answers these picks and this clearing date, and records the window it was shown.
  void Escolher(std::vector<double> numtrans, TDateTime data = TDateTime::EncodeDate(2026, 11, 20)) {
    Host().SetSeletorDNI(
        [this, numtrans, data](const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) {
          Janela = janela;
          confirmar(TSelecaoDNI{numtrans, data});
          return TModalResult::mrOk;
        });
  }

  // The open deposits of the bank, as the DNI balance must mirror them.
  double DepositosEmAberto() {
    return ScalarNumber("SELECT NVL(SUM(VALOR), 0) FROM ZTMOVCR WHERE CODCOB = 'DNI' AND TIPO = 'C' AND CODBANCO = " +
                        Banco() + " AND ((CONCILIACAO <> 'OK') OR (CONCILIACAO IS NULL))");
  }
  double SaldoDNI() {
    return ScalarNumber("SELECT NVL(MAX(VALOR), 0) FROM ZTESTCR WHERE CODCOB = 'DNI' AND CODBANCO = " + Banco());
  }
  double SaldoConciliadoDNI() {
    return ScalarNumber("SELECT NVL(MAX(VALORCONCILIADO), 0) FROM ZTESTCR WHERE CODCOB = 'DNI' AND CODBANCO = " +
                        Banco());
  }
  // The balance invariant: the DNI balance is minus the open deposits, and settling moves no
  // reconciled money (what is reconciled is cleared in the same step).
  void EsperarSaldoCoerente() {
    EXPECT_DOUBLE_EQ(SaldoDNI(), RoundTo(-DepositosEmAberto(), 2));
    EXPECT_DOUBLE_EQ(SaldoConciliadoDNI(), 0);
  }
  // "TIPO VALOR CONCILIACAO" of the bank's DNI movements matching `filtro`, in the order posted.
  std::string Movimentos(const std::string& filtro = "1 = 1") {
    TOraQuery query(&Session());
    query.SQL.Add("SELECT TIPO, VALOR, CONCILIACAO FROM ZTMOVCR WHERE CODCOB = 'DNI' AND CODBANCO = " + Banco() +
                  " AND " + filtro + " ORDER BY ROWID");
    query.Open();
    std::string texto;
    for (; !query.Eof(); query.Next()) {
      if (!texto.empty()) texto += ", ";
      const std::string conciliacao = query.FieldByName("CONCILIACAO").AsString();
      texto += query.FieldByName("TIPO").AsString() + " " + ShortestDecimal(query.FieldByName("VALOR").AsFloat()) +
               " " + (conciliacao.empty() ? "-" : conciliacao);
    }
    return texto;
  }
  double Contar(const std::string& filtro) {
    return ScalarNumber("SELECT COUNT(*) FROM ZTMOVCR WHERE CODCOB = 'DNI' AND CODBANCO = " + Banco() + " AND " +
                        filtro);
  }

  TJanelaSelecaoDNI Janela;
};

}  // namespace dnitest
