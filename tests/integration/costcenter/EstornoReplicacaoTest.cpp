#include <gtest/gtest.h>

#include <sstream>

#include "CentroCustoFixture.h"
#include "Cli.h"
#include "RecordJson.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

namespace {

using costcenter_it::Todas;

// Reversal and replication commit the session: their rows use keys of their own (RECNUMs from
// 8800001) and are removed after each test.
class EstornoTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Exec(
        "INSERT INTO ZTRATEIOCENTROCUSTO (RECNUM, CODCONTA, CODIGOCENTROCUSTO, CODCENTROCUSTO, VALOR, PERCRATEIO, "
        "CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, DTLANC) SELECT 8800001, 910001, CC, 'OLD', 50, 50, 'N', 7, '9', "
        "TO_DATE('2026-03-10', 'YYYY-MM-DD') FROM (SELECT 'E1' CC FROM DUAL UNION ALL SELECT 'E2' FROM DUAL) X");
  }
  void TearDown() override {
    if (Session().InTransaction()) Session().Rollback();
    Session().StartTransaction();
    Exec("DELETE FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800001 AND 8800099");
    Session().Commit();
    HostTest::TearDown();
  }
  [[nodiscard]] std::string Linhas(int recnum) {
    return Todas(Session(),
                 "SELECT CODIGOCENTROCUSTO, VALOR, CONTRAPARTIDA, RECNUMPRINC, CODCENTROCUSTO, PERCRATEIO, "
                 "TO_CHAR(DTLANC, 'YYYYMMDD') FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " +
                     std::to_string(recnum) + " ORDER BY 1");
  }
};

TEST_F(EstornoTest, ReversalWritesTheNegativeLegAndThePositiveOneAndReplicationACopyEachCommitted) {
  IFin_CentroCusto& area = *Financeiro().GetCentroCusto();
  const std::string negativa = "E1:-50:S:7:OLD:50:20260310 E2:-50:S:7:OLD:50:20260310";
  const std::string copia = "E1:50:N:7:OLD:50:20260310 E2:50:N:7:OLD:50:20260310";
  area.estornarRateio(8800001, 8800002, -1);
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(Linhas(8800002), negativa);
  EXPECT_EQ(Linhas(-1), "");
  area.estornarRateio(8800001, 8800003, 8800004);
  EXPECT_EQ(Linhas(8800003), negativa);
  EXPECT_EQ(Linhas(8800004), copia);
  area.ReplicarRateio(8800001, 8800010);
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(Linhas(8800010), copia);
  area.estornarRateio(8800050, 8800051, 8800052);  // an entry without rows: nothing written
  EXPECT_FALSE(Session().InTransaction());
  TOraSession outra;
  outra.Connect(testsupport::TestDsn(), "tests:estorno");
  EXPECT_EQ(Todas(outra,
                  "SELECT RECNUM, COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800001 AND 8800099 "
                  "GROUP BY RECNUM ORDER BY 1"),
            "8800001:2 8800002:2 8800003:2 8800004:2 8800010:2");
}

// ---------------------------------------------------------------------------------------------
// The command line (it commits: its rows are removed after each test)

class CentroCustoCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testsupport::TestDsn().empty());
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao.Connect(testsupport::TestDsn(), "tests:cli");
  }
  void TearDown() override {
    FSessao.ExecuteScript(
        "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800100 AND 8800199;"
        "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'CLI%';"
        "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'CLI%';"
        "DELETE FROM public.ZTCONTA WHERE CODCONTA = 880001;"
        "DELETE FROM public.ZTPARAMETROS WHERE NOME = 'UTILIZACENTROCUSTO' AND CODFILIAL = '88';");
  }
  int Run(const std::vector<std::string>& args, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int exit = cli::Main(args, in, out, err);
    FOut = out.str();
    FErr = err.str();
    return exit;
  }
  TOraSession FSessao;
  std::string FOut;
  std::string FErr;
};

TEST_F(CentroCustoCliTest, BadInputAnswersTheExceptionClassAndItsMessage) {
  ASSERT_EQ(
      Run({"call", "CentroCusto.ProcessoCentroCusto"},
          R"({"args": {"TipoLancto": 0, "CodFilial": "88", "CodConta": "", "NumTransacao": 1, "ValorLancto": 1}})"),
      1)
      << FOut << FErr;
  EXPECT_EQ(cli::Json::parse(FOut), cli::Json::parse(R"({"ok": false, "exception": "ExCodigoContaVazio",
                                  "message": "Código de conta não informado."})"));
  ASSERT_EQ(Run({"call", "CentroCusto.ProcessoCentroCustoAReplicar"},
                R"({"args": {"TipoLancto": 0, "RateiosAReplicar": [{"CODIGOCENTROCUSTO": "A", "VALOR": 1}]}})"),
            2);
  EXPECT_EQ(cli::Json::parse(FOut)["message"], "args.RateiosAReplicar: campo desconhecido \"VALOR\".");
  ASSERT_EQ(
      Run({"call", "CentroCusto.DeleteTodosRegistrosLancto"}, R"({"args": {"TipoLancamento": 4, "NumTransacao": 1}})"),
      2);
}

TEST_F(CentroCustoCliTest, ABatchHostApportionsAnEntryWithRowsToReplicate) {
  FSessao.ExecuteScript(
      "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('CLI1', 'UM'), ('CLI2', 'DOIS');"
      "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'CLI1'), (10, 1, 'CLI2');"
      "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (880001, 'CLI', 'S');"
      "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('UTILIZACENTROCUSTO', '88', 'S');");
  const std::string pedido =
      R"({"op": "CentroCusto.ContaTrabalhaCentroCusto", "args": {"CodFilial": "88", "CodConta": "880001"}})"
      "\n"
      R"({"op": "CentroCusto.ProcessoCentroCustoAReplicar", "args": {"TipoLancto": 0, "CodFilial": "88", )"
      R"("CodConta": "880001", "NumTransacao": 8800101, "ValorLancto": 10, "DataLancto": "2026-03-10", )"
      R"("RateiosAReplicar": [{"CODIGOCENTROCUSTO": "CLI1", "PERCRATEIO": 33.33}, )"
      R"({"CODIGOCENTROCUSTO": "CLI2", "PERCRATEIO": 66.67}]}})"
      "\n"
      R"({"op": "CentroCusto.ProcessoCentroCusto", "args": {"TipoLancto": 0, "CodFilial": "88", )"
      R"("CodConta": "880001", "NumTransacao": 8800102, "ValorLancto": 1, "DataLancto": "2026-03-10"}, )"
      R"("flags": {"rollback": true}})"
      "\n";
  ASSERT_EQ(Run({"call", "--batch"}, pedido), 0) << FOut << FErr;
  std::istringstream respostas(FOut);
  std::vector<cli::Json> json;
  for (std::string linha; std::getline(respostas, linha);) json.push_back(cli::Json::parse(linha));
  ASSERT_EQ(json.size(), 3u) << FOut;
  EXPECT_EQ(json[0]["result"], true);
  EXPECT_EQ(json[1]["result"], cli::Json::parse(R"({"status": true, "mensagens": []})"));
  EXPECT_EQ(json[2]["result"]["status"], true);
  // The replicated rows stay for later entries of the same process; the last call rolled back.
  EXPECT_EQ(Todas(FSessao,
                  "SELECT RECNUM, CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN "
                  "8800100 AND 8800199 ORDER BY RECNUM, CODIGOCENTROCUSTO"),
            "8800101:CLI1:3.33 8800101:CLI2:6.67");
}

}  // namespace
