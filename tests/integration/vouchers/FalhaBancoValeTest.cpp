#include <gtest/gtest.h>

#include <string>

#include "ValesFixture.h"
#include "support/Failure.h"

namespace {

using valestest::ValesTest;

// A database failure in one statement of an operation: the table and event a trigger refuses, what
// runs, the class and the start of the message it surfaces with. The operation leaves nothing of
// itself behind, and the database failure stays reachable as its cause.
TEST_F(ValesTest, ADatabaseFailureSurfacesWithItsTextAndLeavesNothing) {
  const struct {
    const char* nome;
    const char* tabela;
    const char* evento;
    int operacao;  // 0 inclusion with movement, 1 write-off, 2 transfer
    const char* classe;
    const char* inicio;
  } casos[] = {
      {"MovementOfAnInclusion", "ZTMOVCR", "INSERT", 0, "Exception", "Erro ao inserir registro na ZTMOVCR:\r"},
      {"CloseOfAWriteOff", "ZTCORREN", "UPDATE", 1, "ExProcessoBaixaVale",
       "Ocorreu um problema durante o processo de baixa de vale. Erro: \rErro ao baixar registro na ZTCORREN:\r"},
      {"LedgerRowOfATransfer", "ZTCORREN", "UPDATE", 2, "Exception", "Erro ao editar registro na ZTCORREN:\r"},
      {"PayableEntryOfATransfer", "ZTLANC", "INSERT", 2, "Exception",
       "Erro ao transferir registro na ZTLANC:\rErro ao inserir registro na ZTLANC:\r"},
  };
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.recusa() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'recusado para testes'; END$$;");
  for (const auto& f : casos) {
    SCOPED_TRACE(f.nome);
    RFin_ParametrosInclusaoVale vale = Inclusao();
    vale.LANCARCONTASPAGAR = true;
    vale.MOVIMENTARCONTAVALE = f.operacao == 0;
    if (f.operacao != 0) {
      ASSERT_TRUE(Vales().IncluirVale(vale));
    }
    const std::string antes = Contagem();
    Session().ExecuteScript(std::string("CREATE TRIGGER recusa BEFORE ") + f.evento + " ON " + f.tabela +
                            " FOR EACH ROW EXECUTE FUNCTION pg_temp.recusa();");
    try {
      if (f.operacao == 0) Vales().IncluirVale(vale);
      if (f.operacao == 1) Vales().BaixarValeIndividual(Baixa(vale, 100), nullptr);
      if (f.operacao == 2) {
        Vales().TransferirVales(vale.RECNUM, kRCA, vale.NUMTRANS, vale.NUMDOC, "R", "ANA", vale.DTLANC);
      }
      ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), f.classe);
      EXPECT_EQ(e.Message().rfind(f.inicio, 0), 0u) << e.Message();
      EXPECT_NE(e.Message().find("recusado para testes"), std::string::npos) << e.Message();
      EXPECT_TRUE(testsupport::CausaDoBanco(e));
    }
    Session().ExecuteScript("DROP TRIGGER recusa ON " + std::string(f.tabela) + ";");
    EXPECT_EQ(Contagem(), antes);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC = 7703"), "0");
  }
}

}  // namespace
