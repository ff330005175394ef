#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "CentroCustoFixture.h"
#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

// A payable entry of an account with cost centers, under budget control: the statements that do
// not wait on each other's answers travel together (the budget reads, the apportionment rows), and
// a failure among them is reported and undone as it is when each travels alone.
namespace {

using costcenter_it::CentroCustoTest;

class IncluirIdas : public CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (501, 'PAPELARIA CENTRAL LTDA')");
    // Account 910003 has one cost center, 910001 three (T1, T2, T3).
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910003, 'UM CENTRO', 'S')");
    Exec("INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (910003, 'T1', 100)");
    SetParametro("TRABSUPLORC", "S", "9");
    for (const char* conta : {"910001", "910003"}) {
      Exec(std::string("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (") + conta +
           ", '9', 2026, 1000000)");
    }
  }

  [[nodiscard]] RFin_IncluirContasPagar Despesa(double conta) {
    RFin_IncluirContasPagar registro;
    registro.Inicializar();
    registro.RECNUM = Host().ProximoRecNum();
    registro.TIPOLANC = "C";
    registro.VALOR = 100;
    registro.CODCONTA = conta;
    registro.HISTORICO = "MATERIAL DE ESCRITORIO";
    registro.TIPOPARCEIRO = "F";
    registro.CODFORNEC = 501;
    registro.CODFILIAL = "9";
    registro.DTLANC = Data(2026, 3, 1);
    registro.DTEMISSAO = Data(2026, 3, 1);
    registro.DTVENC = Data(2026, 3, 10);
    return registro;
  }

  // Round trips of one posting, the statements it sends already prepared by an earlier one.
  [[nodiscard]] std::uint64_t Idas(double conta) {
    RFin_IncluirContasPagar aquecimento = Despesa(conta);
    ContasPagar().Incluir(aquecimento);
    RFin_IncluirContasPagar registro = Despesa(conta);
    const std::uint64_t antes = oradb::RoundTrips(Session());
    ContasPagar().Incluir(registro);
    const std::uint64_t idas = oradb::RoundTrips(Session()) - antes;
    FRecNum = registro.RECNUM;
    return idas;
  }

  double FRecNum = 0;
};

// Three cost centers cost no more round trips than one: their rows travel together.
TEST_F(IncluirIdas, ThreeCostCentersCostTheRoundTripsOfOne) {
  const std::uint64_t um = Idas(910003);
  EXPECT_EQ(Linhas(static_cast<int>(FRecNum), "PERCRATEIO, VALOR"), "T1:100:100");
  const std::uint64_t tres = Idas(910001);
  EXPECT_EQ(Linhas(static_cast<int>(FRecNum), "PERCRATEIO, VALOR"), "T1:33.33:33.33 T2:33.33:33.33 T3:33.34:33.34");
  EXPECT_EQ(tres, um);
}

// The second of three apportionment rows fails in the database: the posting reports the designed
// message over the very failure that row reports alone, keeps the database cause, and leaves the
// transaction unable to commit, so neither the entry nor its first row is kept.
TEST_F(IncluirIdas, AFailingRowAmongThePipelinedOnesReportsItsOwnFailureAndNothingIsKept) {
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.recusa_t2() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'centro de custo recusado pelo servidor'; END$$;"
      "CREATE TRIGGER recusa_t2 BEFORE INSERT ON ZTRATEIOCENTROCUSTO FOR EACH ROW "
      "WHEN (NEW.CODIGOCENTROCUSTO = 'T2') EXECUTE FUNCTION pg_temp.recusa_t2();");
  // The failure of that row written alone, under a savepoint so the transaction goes on.
  std::string sozinha;
  {
    TOraQuery linha(&Session());
    linha.SQL.Add(
        "INSERT INTO ZTRATEIOCENTROCUSTO (RECNUM, CODCONTA, CODIGOCENTROCUSTO, CODFILIAL) "
        "VALUES (1, 910001, 'T2', '9')");
    linha.SetStatementSavepoint(true);
    try {
      linha.ExecSQL();
    } catch (const EOraError& falha) {
      sozinha = falha.Message();
    }
  }
  ASSERT_NE(sozinha.find("centro de custo recusado pelo servidor"), std::string::npos) << sozinha;

  RFin_IncluirContasPagar registro = Despesa(910001);
  try {
    ContasPagar().Incluir(registro);
    FAIL() << "posted";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message(),
              "Não foi possível inserir lançamentos de centro de custo! \r\rMensagem original: " + sozinha);
    EXPECT_TRUE(testsupport::CausaDoBanco(falha));
  }
  EXPECT_EQ(registro.MENSAGEM.rfind("Erro ao inserir registros!\r", 0), 0u) << registro.MENSAGEM;
  TStringList& validador = dynamic_cast<TBaseSubModulo&>(ContasPagar()).GetValidador();
  ASSERT_EQ(validador.Count(), 1u);
  EXPECT_EQ(validador[0], "Não foi possível inserir lançamentos de centro de custo! \r\rMensagem original: " + sozinha);
  EXPECT_FAILS_WITH(Session().Commit(),
                    "EOraError: ORA-02091: transação desfeita: um comando anterior falhou e a transação não pode ser "
                    "confirmada");
  const std::string recnum = ShortestDecimal(registro.RECNUM);
  const std::unique_ptr<TOraSession> outra = testsupport::NewSession("tests:idas");
  EXPECT_EQ(testsupport::QueryValue(*outra, "SELECT COUNT(*) FROM ZTLANC WHERE RECNUM = " + recnum), "0");
  EXPECT_EQ(testsupport::QueryValue(*outra, "SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + recnum), "0");
}

}  // namespace
