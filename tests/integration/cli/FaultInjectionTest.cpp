#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

// The connection of a call is killed on the server (pg_terminate_backend) while the call is
// half-way through its writes: a trigger holds the call in its insert long enough for a second
// session to end it. Nothing of the call may remain, the command line must say what happened
// (exit 2), and the next call must succeed. The rows use keys of their own (branch 96, bank 9601,
// entries from 9600000) and the triggers are removed afterwards.
namespace {

using cli::Json;

const char* const kLimpeza =
    "DROP TRIGGER IF EXISTS tst_falha_lenta ON public.ztlanc;"
    "DROP TRIGGER IF EXISTS tst_falha_lenta ON public.ztmovcr;"
    "DROP FUNCTION IF EXISTS public.tst_falha_lenta();"
    "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 9600000 AND 9699999;"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9601;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9601;"
    "DELETE FROM public.ZTLANCBLOQ WHERE RECNUM BETWEEN 9600000 AND 9699999;"
    "DELETE FROM public.ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: 96000%';";

struct Falha {
  const char* Nome;
  const char* Tabela;    // where the insert is held
  const char* Operacao;  // the call
  std::string Pedido;
  const char* Contagem;      // what the call writes: 0 after the killed call, 1 after the retry
  const char* Preparo = "";  // committed rows the call works on
  const char* Evento = "INSERT";
};

void PrintTo(const Falha& falha, std::ostream* out) {
  *out << falha.Nome;
}

class FaultInjection : public ::testing::TestWithParam<Falha> {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:fault-injection");
    FSessao->ExecuteScript(kLimpeza);
    if (*GetParam().Preparo != '\0') FSessao->ExecuteScript(GetParam().Preparo);
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  // Holds every insert into `tabela` of the test's rows for a few seconds while `ativo` is set.
  void SegurarInsercoes(const std::string& tabela) {
    FSessao->ExecuteScript(
        "CREATE FUNCTION public.tst_falha_lenta() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN\n"
        "  IF current_setting('application_name') LIKE 'quorvin-fin%' THEN PERFORM pg_sleep(5); END IF;\n"
        "  RETURN NEW;\nEND $f$;\n"
        "CREATE TRIGGER tst_falha_lenta BEFORE " +
        std::string(GetParam().Evento) + " ON public." + tabela +
        " FOR EACH ROW EXECUTE FUNCTION public.tst_falha_lenta();");
  }
  void Liberar() {
    FSessao->ExecuteScript("DROP TRIGGER IF EXISTS tst_falha_lenta ON public." + std::string(GetParam().Tabela) + ";");
  }
  // Ends, from the test's own session, the first backend found sleeping in the trigger.
  std::thread Matador(std::atomic<int>& mortos) {
    return std::thread([this, &mortos] {
      auto sessao = testsupport::NewSession("tests:fault-killer");
      for (int tentativa = 0; tentativa < 100 && mortos == 0; ++tentativa) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto mortas = testsupport::QueryValue(
            *sessao,
            "SELECT COUNT(*) FROM (SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE wait_event = "
            "'PgSleep' AND application_name LIKE 'quorvin-fin%') t");
        if (mortas.value_or("0") != "0") mortos = 1;
      }
    });
  }
  std::string Contar() { return testsupport::QueryValue(*FSessao, GetParam().Contagem).value_or("?"); }
  std::pair<int, std::string> Chamar(const std::vector<std::string>& args, const std::string& entrada) {
    std::istringstream in(entrada);
    std::ostringstream out, err;
    const int codigo = cli::Main(args, in, out, err);
    return {codigo, out.str()};
  }
  std::unique_ptr<TOraSession> FSessao;
};

const std::string kLancamento =
    R"({"record": {"RECNUM": 9600001, "TIPOLANC": "C", "VALOR": 42.5, "CODCONTA": 3101, "HISTORICO": "FALHA",)"
    R"( "TIPOPARCEIRO": "O", "CODFILIAL": "96", "DTLANC": "2030-05-10", "DTVENC": "2030-05-20",)"
    R"( "DTEMISSAO": "2030-05-10"}})";
const std::string kMovimento =
    R"({"record": {"CODBANCO": 9601, "CODCOB": "FI", "TIPO": "D", "VALOR": 5, "DATA": "2026-01-02"}})";

INSTANTIATE_TEST_SUITE_P(
    Calls, FaultInjection,
    ::testing::Values(
        Falha{"PayableEntry", "ztlanc", "ContasPagar.Incluir", kLancamento,
              "SELECT COUNT(*) FROM ZTLANC WHERE RECNUM BETWEEN 9600000 AND 9699999"},
        Falha{"CashMovement", "ztmovcr", "MovimentacaoNumerarios.Incluir", kMovimento,
              "SELECT COUNT(*) + NVL(SUM(VALOR), 0) FROM ZTESTCR WHERE CODBANCO = 9601"},
        // The held entry stays held after the killed approval; the retry posts it.
        Falha{"SupplementationApproval", "ztlanc", "ContasPagar.AprovarSuplementacao",
              R"({"record": {"RECNUM": 9600010}})", "SELECT COUNT(*) FROM ZTLANC WHERE RECNUM = 9600010",
              "INSERT INTO public.ZTLANCBLOQ (RECNUM, CODFILIAL, CODCONTA, VALOR, HISTORICO, DTLANC, "
              "DTVENC) VALUES (9600010, '96', 3101, 12.5, 'RETIDO', DATE '2030-05-10', DATE '2030-05-20');"},
        // The rebuild rewrites the balances of the pair's movements: killed half-way, every
        // stored balance stays as it was.
        Falha{"BalanceRebuild", "ztmovcr", "MovimentacaoNumerarios.RecalcularSaldos",
              R"({"record": {"CODBANCO": 9601, "CODCOB": "FI", "SALDOINICIAL": 0,)"
              R"( "RECALCULARSALDOCONCILIADO": true, "RECALCULARSALDO": true}})",
              "SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9601 AND VLSALDO <> 999",
              "INSERT INTO public.ZTMOVCR (NUMTRANS, CODBANCO, CODCOB, DATA, TIPO, VALOR, VLSALDO) "
              "VALUES (96000001, 9601, 'FI', DATE '2026-01-02', 'D', 5, 999), (96000002, 9601, 'FI', "
              "DATE '2026-01-03', 'D', 7, 999);",
              "UPDATE"}),
    [](const ::testing::TestParamInfo<Falha>& info) { return std::string(info.param.Nome); });

// A single call killed half-way: exit 2 naming the lost connection, nothing written; the retry
// (a new call) posts it once.
TEST_P(FaultInjection, AKilledCallLeavesNothingAndTheNextOneSucceeds) {
  SegurarInsercoes(GetParam().Tabela);
  std::atomic<int> mortos = 0;
  std::thread matador = Matador(mortos);
  const auto [codigo, resposta] = Chamar({"call", GetParam().Operacao}, GetParam().Pedido);
  matador.join();
  ASSERT_EQ(mortos, 1) << "no call was caught in the trigger";
  EXPECT_EQ(codigo, 2) << resposta;
  const Json answer = Json::parse(resposta);
  EXPECT_EQ(answer["ok"], false);
  // ORA-03113 when the call was ended mid-statement, ORA-03114 when the end of the call found it gone.
  EXPECT_NE(resposta.find("ORA-0311"), std::string::npos) << resposta;
  Liberar();
  EXPECT_EQ(Contar(), "0");
  const auto [de_novo, segunda] = Chamar({"call", GetParam().Operacao}, GetParam().Pedido);
  EXPECT_EQ(de_novo, 0) << segunda;
  EXPECT_NE(Contar(), "0");
}

// In a batch the killed line is answered with the lost connection; the lines after it run on a
// new connection and are posted.
TEST_P(FaultInjection, AKilledLineOfABatchIsAnsweredAndTheBatchGoesOn) {
  SegurarInsercoes(GetParam().Tabela);
  std::atomic<int> mortos = 0;
  std::thread matador = Matador(mortos);
  Json linha = Json::parse(GetParam().Pedido);
  linha["op"] = GetParam().Operacao;
  const std::string texto = linha.dump() + "\n";
  const auto [codigo, respostas] = Chamar({"call", "--batch"}, texto + R"({"op": "Frame.GetVersao"})"
                                                                       "\n");
  matador.join();
  ASSERT_EQ(mortos, 1);
  std::istringstream linhas(respostas);
  std::string primeira, segunda;
  ASSERT_TRUE(std::getline(linhas, primeira) && std::getline(linhas, segunda)) << respostas;
  EXPECT_NE(primeira.find("ORA-0311"), std::string::npos) << primeira;
  EXPECT_EQ(Json::parse(segunda)["ok"], true) << segunda;
  EXPECT_EQ(codigo, 2);
  EXPECT_EQ(Contar(), "0");
}

// Hands out its chunks one at a time and runs `entre` before each chunk after the first: a batch
// reads its next line only after answering the one before, so `entre` runs between two lines.
class EntradaEmPartes : public std::streambuf {
 public:
  EntradaEmPartes(std::vector<std::string> partes, std::function<void()> entre)
      : FPartes(std::move(partes)), FEntre(std::move(entre)) {}

 protected:
  int_type underflow() override {
    if (FProxima >= FPartes.size()) return traits_type::eof();
    if (FProxima > 0) FEntre();
    std::string& parte = FPartes[FProxima++];
    setg(parte.data(), parte.data(), parte.data() + parte.size());
    return traits_type::to_int_type(parte[0]);
  }

 private:
  std::vector<std::string> FPartes;
  std::function<void()> FEntre;
  std::size_t FProxima = 0;
};

// The server restarted between two lines of a batch: the line after the restart fails with the
// lost connection, the batch goes on over a new connection, and the line after it is posted.
TEST(FaultInjectionServer, ABatchGoesOnAfterTheServerRestartsBetweenTwoLines) {
  if (std::getenv("QUORVIN_DB_DIR") == nullptr) GTEST_SKIP() << "the server is not a private cluster of these tests";
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const std::string consulta =
      R"({"op": "MovimentacaoNumerarios.Incluir", "flags": {"rollback": true}, )"
      R"("record": {"CODBANCO": 9602, "CODCOB": "FI", "TIPO": "D", "VALOR": 1, "DATA": "2026-01-02"}})"
      "\n";
  int reinicios = 0;
  EntradaEmPartes partes({consulta, consulta, consulta}, [&] {
    if (reinicios++ > 0) return;
    const std::string script = std::string(QUORVIN_SOURCE_DIR) + "/scripts/db.sh";
    ASSERT_EQ(std::system((script + " stop >/dev/null && " + script + " start >/dev/null").c_str()), 0);
  });
  std::istream entrada(&partes);
  std::ostringstream saida, erros;
  cli::Main({"call", "--batch"}, entrada, saida, erros);
  std::istringstream respostas(saida.str());
  std::vector<Json> linhas;
  for (std::string linha; std::getline(respostas, linha);) linhas.push_back(Json::parse(linha));
  ASSERT_EQ(linhas.size(), 3u) << saida.str();
  EXPECT_EQ(linhas[0]["ok"], true) << linhas[0].dump();
  EXPECT_EQ(linhas[1]["ok"], false);
  EXPECT_NE(linhas[1].value("message", "").find("ORA-0311"), std::string::npos) << linhas[1].dump();
  EXPECT_EQ(linhas[2]["ok"], true) << linhas[2].dump();
}

}  // namespace
