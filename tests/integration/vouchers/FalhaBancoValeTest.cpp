#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ValesFixture.h"
#include "support/Failure.h"

namespace {

using valestest::ValesTest;

// A database failure in one statement of an operation: the table and event a trigger refuses, what
// runs, the class and the start of the message it surfaces with. The operation leaves nothing of
// itself behind, and the database failure stays reachable as its cause.
struct Falha {
  const char* Name;
  const char* Tabela;
  const char* Evento;
  int Operacao;  // 0 inclusion with movement, 1 write-off, 2 transfer
  const char* Classe;
  const char* Inicio;
};

void PrintTo(const Falha& f, std::ostream* out) {
  *out << f.Name;
}

class FalhaBancoVale : public ValesTest, public ::testing::WithParamInterface<Falha> {};

TEST_P(FalhaBancoVale, SurfacesWithItsTextAndLeavesNothing) {
  const Falha& f = GetParam();
  RFin_ParametrosInclusaoVale vale = Inclusao();
  vale.LANCARCONTASPAGAR = true;
  vale.MOVIMENTARCONTAVALE = f.Operacao == 0;
  if (f.Operacao != 0) {
    ASSERT_TRUE(Vales().IncluirVale(vale));
  }
  const std::string antes = Contagem();
  Session().ExecuteScript(std::string("CREATE FUNCTION pg_temp.recusa() RETURNS trigger LANGUAGE plpgsql AS "
                                      "$$BEGIN RAISE EXCEPTION 'recusado para testes'; END$$;"
                                      "CREATE TRIGGER recusa BEFORE ") +
                          f.Evento + " ON " + f.Tabela + " FOR EACH ROW EXECUTE FUNCTION pg_temp.recusa();");
  try {
    if (f.Operacao == 0) Vales().IncluirVale(vale);
    if (f.Operacao == 1) Vales().BaixarValeIndividual(Baixa(vale, 100), nullptr);
    if (f.Operacao == 2) {
      Vales().TransferirVales(vale.RECNUM, kRCA, vale.NUMTRANS, vale.NUMDOC, "R", "ANA", vale.DTLANC);
    }
    FAIL() << "no failure";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), f.Classe);
    EXPECT_EQ(e.Message().rfind(f.Inicio, 0), 0u) << e.Message();
    EXPECT_NE(e.Message().find("recusado para testes"), std::string::npos) << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e));
  }
  Session().ExecuteScript("DROP TRIGGER recusa ON " + std::string(f.Tabela) + ";");
  EXPECT_EQ(Contagem(), antes);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC = 7703"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Vouchers, FalhaBancoVale,
    ::testing::Values(
        Falha{"MovementOfAnInclusion", "ZTMOVCR", "INSERT", 0, "Exception", "Erro ao inserir registro na ZTMOVCR:\r"},
        Falha{
            "CloseOfAWriteOff", "ZTCORREN", "UPDATE", 1, "ExProcessoBaixaVale",
            "Ocorreu um problema durante o processo de baixa de vale. Erro: \rErro ao baixar registro na ZTCORREN:\r"},
        Falha{"LedgerRowOfATransfer", "ZTCORREN", "UPDATE", 2, "Exception", "Erro ao editar registro na ZTCORREN:\r"},
        Falha{"PayableEntryOfATransfer", "ZTLANC", "INSERT", 2, "Exception",
              "Erro ao transferir registro na ZTLANC:\rErro ao inserir registro na ZTLANC:\r"}),
    [](const ::testing::TestParamInfo<Falha>& info) { return info.param.Name; });

}  // namespace
