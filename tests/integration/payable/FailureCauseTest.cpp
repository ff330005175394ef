#include <gtest/gtest.h>

#include <exception>
#include <string>

#include "PayableFixture.h"
#include "oradb/EOraError.h"
#include "support/Failure.h"

// A database failure inside a payable posting keeps the module's message and stays reachable as
// the cause, so the host (and the command line's exit code) tells it from a business refusal.
namespace {

using testsupport::CausaDoBanco;

class FailureCause : public payabletest::PayableTest {
 protected:
  // Every insert into `tabela` fails in the database, as a lost row lock or a full disk would.
  void RecusarInsercoes(const std::string& tabela) {
    Session().ExecuteScript(
        "CREATE FUNCTION pg_temp.falha_de_banco() RETURNS trigger LANGUAGE plpgsql AS "
        "$$BEGIN RAISE EXCEPTION 'falha do servidor'; END$$;"
        "CREATE TRIGGER falha_de_banco BEFORE INSERT ON " +
        tabela + " FOR EACH ROW EXECUTE FUNCTION pg_temp.falha_de_banco();");
  }
};

TEST_F(FailureCause, APayableEntryKeepsTheDatabaseCauseBehindItsMessage) {
  RecusarInsercoes("ZTLANC");
  RFin_IncluirContasPagar registro = Valida();
  try {
    ContasPagar().Incluir(registro);
    FAIL() << "posted";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("falha do servidor"), std::string::npos) << e.Message();
    EXPECT_EQ(registro.MENSAGEM.rfind("Erro ao inserir registros!\r", 0), 0u) << registro.MENSAGEM;
    EXPECT_TRUE(CausaDoBanco(e)) << testsupport::ClassAndMessage(e);
  }
}

}  // namespace
