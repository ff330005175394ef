#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "RecordJson.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

extern char** environ;

// The command line killed with SIGKILL in the middle of a batch: the lines it answered stay
// committed, the line it was running leaves nothing (the server rolls its transaction back when
// the connection goes), no lock outlives the process, and the next call posts at once. The rows
// use bank 9603 of their own; the trigger is removed afterwards.
namespace {

using cli::Json;

const char* const kLimpeza =
    "DROP TRIGGER IF EXISTS tst_cliente_morto ON public.ztmovcr;"
    "DROP FUNCTION IF EXISTS public.tst_cliente_morto();"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9603;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9603;";

std::string Movimento(double valor) {
  return R"({"op": "MovimentacaoNumerarios.Incluir", "record": {"CODBANCO": 9603, "CODCOB": "KC", "TIPO": "D", )"
         R"("VALOR": )" +
         std::to_string(valor) + R"(, "DATA": "2026-01-02"}})" + "\n";
}

// A `quorvin-fin call --batch` process with its standard input and output as pipes.
class ProcessoLote {
 public:
  ProcessoLote() {
    int entrada[2];
    int saida[2];
    if (pipe(entrada) != 0 || pipe(saida) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_adddup2(&acoes, entrada[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&acoes, saida[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&acoes, entrada[1]);
    posix_spawn_file_actions_addclose(&acoes, saida[0]);
    std::string programa = QUORVIN_CLI_PATH;
    std::string call = "call";
    std::string batch = "--batch";
    char* argv[] = {programa.data(), call.data(), batch.data(), nullptr};
    const int erro = posix_spawn(&FPid, programa.c_str(), &acoes, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&acoes);
    close(entrada[0]);
    close(saida[1]);
    FEntrada = entrada[1];
    FSaida = saida[0];
    if (erro != 0) throw std::runtime_error("posix_spawn: " + std::to_string(erro));
  }
  ~ProcessoLote() {
    if (FPid > 0) Matar();
    close(FEntrada);
    close(FSaida);
  }
  ProcessoLote(const ProcessoLote&) = delete;
  ProcessoLote& operator=(const ProcessoLote&) = delete;

  void Escrever(const std::string& linha) {
    ASSERT_EQ(write(FEntrada, linha.data(), linha.size()), static_cast<ssize_t>(linha.size()));
  }
  // One answer line (the batch answers each line before it reads the next).
  std::string LerResposta() {
    std::string linha;
    char c = 0;
    while (read(FSaida, &c, 1) == 1 && c != '\n') linha += c;
    return linha;
  }
  // SIGKILL: no handler, no rollback of its own, the connection simply drops.
  int Matar() {
    kill(FPid, SIGKILL);
    int estado = 0;
    waitpid(FPid, &estado, 0);
    FPid = -1;
    return estado;
  }

 private:
  pid_t FPid = -1;
  int FEntrada = -1;
  int FSaida = -1;
};

class KilledClient : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:killed-client");
    FSessao->ExecuteScript(kLimpeza);
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or("?"); }
  // Waits until `sql` answers `esperado` (at most `segundos`); answers the last value read.
  std::string Esperar(const std::string& sql, const std::string& esperado, int segundos) {
    std::string valor;
    for (int i = 0; i < segundos * 20; ++i) {
      valor = Valor(sql);
      if (valor == esperado) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return valor;
  }
  std::unique_ptr<TOraSession> FSessao;
};

TEST_F(KilledClient, AKilledBatchKeepsItsAnsweredLinesAndLeavesNothingOfTheRunningOne) {
  ProcessoLote lote;
  lote.Escrever(Movimento(5));
  const Json primeira = Json::parse(lote.LerResposta());
  ASSERT_EQ(primeira["ok"], true) << primeira.dump();

  // The next line is held in its insert, after it moved (and locked) the balance row.
  FSessao->ExecuteScript(
      "CREATE FUNCTION public.tst_cliente_morto() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN\n"
      "  IF current_setting('application_name') LIKE 'quorvin-fin%' THEN PERFORM pg_sleep(3); END IF;\n"
      "  RETURN NEW;\nEND $f$;\n"
      "CREATE TRIGGER tst_cliente_morto BEFORE INSERT ON public.ztmovcr"
      " FOR EACH ROW EXECUTE FUNCTION public.tst_cliente_morto();");
  lote.Escrever(Movimento(7));
  const std::string dormindo =
      "SELECT COUNT(*) FROM pg_stat_activity WHERE wait_event = 'PgSleep' AND application_name LIKE 'quorvin-fin%'";
  ASSERT_EQ(Esperar(dormindo, "1", 10), "1") << "the second line never reached its insert";
  const int estado = lote.Matar();
  EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL);
  FSessao->ExecuteScript("DROP TRIGGER IF EXISTS tst_cliente_morto ON public.ztmovcr;");

  // The server ends the orphaned backend and rolls its transaction back.
  EXPECT_EQ(Esperar("SELECT COUNT(*) FROM pg_stat_activity WHERE application_name LIKE 'quorvin-fin%'", "0", 20), "0");
  EXPECT_EQ(Valor("SELECT COUNT(*) || ':' || SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = 9603"), "1:5.00");
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9603 AND CODCOB = 'KC'"), "5");

  // No lock is left behind: a new batch posts to the same balance row at once.
  ProcessoLote outro;
  outro.Escrever(Movimento(7));
  const Json depois = Json::parse(outro.LerResposta());
  EXPECT_EQ(depois["ok"], true) << depois.dump();
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9603 AND CODCOB = 'KC'"), "12");
}

}  // namespace
