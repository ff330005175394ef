#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

namespace {

using cli::Json;

struct CliResult {
  int exit;
  std::string out;
};

CliResult RunCli(const std::vector<std::string>& args, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int exit = cli::Main(args, in, out, err);
  return {exit, out.str()};
}

// Sets (or, given nullptr, unsets) an environment variable for a scope and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { FOld ? setenv(FName, FOld->c_str(), 1) : unsetenv(FName); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// Command-line mistakes exit 2; the list and descriptions of operations come from the field tables.
TEST(CliProtocol, CommandLineMistakesExitTwoAndOperationsDescribeThemselves) {
  const CliResult malformed = RunCli({"call", "Frame.GetVersao"}, "{\"args\": ");
  EXPECT_EQ(malformed.exit, 2);
  EXPECT_EQ(Json::parse(malformed.out)["message"].get<std::string>().rfind("JSON inválido: ", 0), 0u);
  EXPECT_EQ(RunCli({}).exit, 2);
  EXPECT_EQ(RunCli({"voar"}).exit, 2);
  EXPECT_EQ(RunCli({"call", "Frame.GetVersao", "--user", "abc"}).exit, 2);
  EXPECT_EQ(RunCli({"call", "Frame.GetVersao", "--confirm", "talvez"}).exit, 2);
  EXPECT_EQ(RunCli({"param", "set", "X"}).exit, 2);
  EXPECT_EQ(RunCli({"db", "explodir"}).exit, 2);
  EXPECT_EQ(RunCli({"call", "--describe", "Nada"}).exit, 2);
  const CliResult list = RunCli({"call", "--list"});
  EXPECT_EQ(list.exit, 0);
  EXPECT_NE(list.out.find("CancelarDesdobramento.ListaAcoes\n"), std::string::npos);
  const CliResult describe = RunCli({"call", "--describe", "Frame.GetVersao"});
  EXPECT_EQ(describe.exit, 0);
  EXPECT_EQ(Json::parse(describe.out)["request"], "args");
  EXPECT_EQ(Json::parse(describe.out)["fields"], Json::array());
  const Json split = Json::parse(RunCli({"call", "--describe", "CancelarDesdobramento.Confirmar"}).out)["fields"];
  ASSERT_EQ(split.size(), 4u);
  EXPECT_EQ(split[0], Json::parse(R"({"name": "Modo", "type": "integer", "required": true})"));
  EXPECT_EQ(split[1]["name"], "Registros");
  EXPECT_EQ(split[1]["required"], false);
}

// Records travel through their field tables: every kind of field, both ways.
TEST(RecordJson, ReadsAndWritesEveryFieldKind) {
  RFin_IncluirMovimentacaoNumerarios record;
  record.Inicializar();
  cli::ReadRecord(Json::parse(R"({"NUMTRANS": 0, "DATA": "2026-03-01T10:20:30", "CODBANCO": 12,
                                   "CODCOB": "ÇÃO", "TIPO": "D", "TRAVARSALDO": false, "DTASSOCIADNICLI": "2026-03-02",
                                   "DTCONCIL": null, "DTCOMPENSACAO": 0})"),
                  record, CamposIncluirMovimentacaoNumerarios(), "record");
  EXPECT_EQ(record.DATA, TDateTime::EncodeDateTime(2026, 3, 1, 10, 20, 30));
  EXPECT_EQ(record.CODCOB, "ÇÃO");
  EXPECT_FALSE(record.TRAVARSALDO);
  const Json written = cli::WriteRecord(record, CamposIncluirMovimentacaoNumerarios());
  EXPECT_EQ(written["DATA"], "2026-03-01T10:20:30");
  EXPECT_EQ(written["DTASSOCIADNICLI"], "2026-03-02");
  EXPECT_TRUE(written["DTCONCIL"].is_null());
  EXPECT_EQ(written["CODBANCO"], 12.0);
}

std::string Nested(int depth) {
  return R"({"args": )" + std::string(depth, '[') + std::string(depth, ']') + "}";
}

// A request is checked against the operation's field table before anything runs (these tests have
// no database), and whatever arrives on stdin, a single call answers one JSON object with exit 2: a
// UsageError naming what is wrong. No crash, no rounding of a key into another record, nothing handed
// to the module.
TEST(CliHostileInput, IsAUsageErrorAnsweredInJson) {
  const std::string split = "CancelarDesdobramento.ListaAcoes";
  const std::string post = "MovimentacaoNumerarios.Incluir";
  const std::string pagar = "ContasPagar.Incluir";
  const std::string inteiro = ": esperado número inteiro, recebido número.";
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"Nada.Existe", "{}", "operação desconhecida: Nada.Existe (veja quorvin-fin call --list)."},
      {split, "[]", "a requisição deve ser um objeto JSON, recebido lista."},
      {split, R"({"args": {}})", "args: campo obrigatório ausente \"Modo\"."},
      {split, R"({"args": {"Modo": "1"}})", "args.Modo: esperado número inteiro, recebido texto."},
      {split, R"({"args": {"Modo": 1.5}})", "args.Modo: esperado número inteiro, recebido número."},
      {split, R"({"args": {"Modo": 1, "extra": 2}})", "args: campo desconhecido \"extra\"."},
      {split, R"({"record": {}})", "CancelarDesdobramento.ListaAcoes recebe \"args\", não \"record\"."},
      {split, R"({"args": {"Modo": 1}, "outra": 1})", "chave desconhecida na requisição: \"outra\"."},
      // The records of a selection: the mode's key, nothing else.
      {split, R"({"args": {"Modo": 3, "Registros": []}})",
       "args.Modo: use 1 (títulos, ZTPREST) ou 2 (lançamentos, ZTLANC)."},
      {split, R"({"args": {"Modo": 1}})", "args: campo obrigatório ausente \"Registros\"."},
      {split, R"({"args": {"Modo": 1, "Registros": []}})", "args.Registros: selecione ao menos um registro."},
      {split, R"({"args": {"Modo": 1, "Registros": {"RECNUM": 1}}})",
       "args.Registros: esperada lista de registros, recebido objeto."},
      {split, R"({"args": {"Modo": 1, "Registros": [{"RECNUM": 1}]}})",
       "args.Registros[0]: um título tem NUMTRANSVENDA (maior que zero) e PREST, sem RECNUM."},
      {split, R"({"args": {"Modo": 2, "Registros": [{"RECNUM": 5, "PREST": "1"}]}})",
       "args.Registros[0]: um lançamento tem RECNUM (maior que zero), sem NUMTRANSVENDA nem PREST."},
      {split, R"({"args": {"Modo": 1, "Registros": [{"NUMTRANSVENDA": 5, "PREST": "1' OR 1=1"}]}})",
       "args.Registros[0].PREST: no máximo 2 caracteres."},
      {"CancelarDesdobramento.Confirmar",
       R"({"args": {"Modo": 2, "DesdobramentosAMaior": [{"RECNUM": 5, "DTVENC": "2026-01-01"}]}})",
       "args.DesdobramentosAMaior[0]: DTVENC só vale numa decisão de vencimento."},
      // Record widths are counted in characters, not bytes.
      {post, R"({"record": {"CODCOB": "ÇÃOXY"}})", "record.CODCOB: no máximo 4 caracteres."},
      {post, R"({"record": {"VALOR": "10"}})", "record.VALOR: esperado número, recebido texto."},
      {post, R"({"record": {"TRAVARSALDO": "S"}})", "record.TRAVARSALDO: esperado true/false, recebido texto."},
      {post, R"({"record": {"DATA": "2026-02-30"}})",
       "record.DATA: data inválida \"2026-02-30\" (use AAAA-MM-DD ou AAAA-MM-DDTHH:MM:SS)."},
      {post, R"({"record": {"DATA": 20260101}})",
       "record.DATA: esperada data \"AAAA-MM-DD\" ou \"AAAA-MM-DDTHH:MM:SS\", recebido número."},
      {post, R"({"record": {"CODCOB": "D", "codcob": "D"}})", "record: campo desconhecido \"codcob\"."},
      {post, R"({"record": "texto"})", "record: esperado objeto JSON, recebido texto."},
      // Hostile input: deep nesting, numbers beyond a double, broken UTF-8, NUL, fractions of keys.
      {"Frame.GetVersao", Nested(50000), "JSON inválido: aninhamento acima de 64 níveis."},
      {"Frame.GetVersao", Nested(64), "JSON inválido: aninhamento acima de 64 níveis."},
      {post, R"({"record": {"VALOR": 1e400}})", "JSON inválido: número fora do intervalo de um double."},
      {post, "{\"record\": {\"HISTORICO\": \"a\xff\"}}", "JSON inválido: o byte 28 não é UTF-8 válido."},
      {post, "{\"record\": {\"HISTORICO\": \"\xc0\xaf\"}}", "JSON inválido: o byte 27 não é UTF-8 válido."},
      {post, R"({"record": {"HISTORICO": "a\u0000b"}})", "record.HISTORICO: texto com caractere nulo (\\u0000)."},
      {pagar, R"({"record": {"RECNUM": 650000.5}})", "record.RECNUM" + inteiro},
      {pagar, R"({"record": {"CODFORNEC": -0.001}})", "record.CODFORNEC" + inteiro},
      {pagar, R"({"record": {"RECNUM": 5e-324}})", "record.RECNUM" + inteiro},
      {pagar, R"({"record": {"RECNUM": 1e17}})", "record.RECNUM: inteiro fora do intervalo."},
      {post, R"({"record": {"CODBANCO": 1.5}})", "record.CODBANCO" + inteiro}};
  for (const auto& [operation, request, message] : cases) {
    SCOPED_TRACE(operation + " " + request.substr(0, 80));
    const CliResult result = RunCli({"call", operation}, request);
    EXPECT_EQ(result.exit, 2);
    EXPECT_EQ(Json::parse(result.out), (Json{{"ok", false}, {"exception", "UsageError"}, {"message", message}}));
  }
}

// Command-line mistakes of a single call are answered in JSON too; so is a database that cannot be
// reached, in a single call and on every line of a batch.
TEST(CliProtocol, EveryFailureOfACallIsAJsonAnswer) {
  const auto message = [](const CliResult& result) { return Json::parse(result.out).value("message", ""); };
  const CliResult user = RunCli({"call", "Frame.GetVersao", "--user", "4294967297"});
  EXPECT_EQ(user.exit, 2);
  EXPECT_EQ(message(user), "--user espera um número inteiro, recebido \"4294967297\".");
  EXPECT_EQ(message(RunCli({"call", "--describe", "Nada"})), "operação desconhecida: Nada.");

  CliResult single, batch;
  {
    const ScopedEnv unreachable("QUORVIN_DSN", "host=/nonexistent/quorvin dbname=nada connect_timeout=2");
    single = RunCli({"call", "Frame.GetVersao"});
    batch = RunCli({"call", "--batch"}, "{\"op\": \"Frame.GetVersao\"}\n\n[1]\n");
  }
  EXPECT_EQ(single.exit, 2);
  EXPECT_EQ(Json::parse(single.out)["exception"], "EOraError");
  EXPECT_EQ(message(single).rfind("ORA-12541: não foi possível conectar ao banco de dados: ", 0), 0u);
  EXPECT_EQ(batch.exit, 2);
  std::istringstream lines(batch.out);
  int answers = 0;
  for (std::string line; std::getline(lines, line); ++answers) EXPECT_EQ(Json::parse(line)["exception"], "EOraError");
  EXPECT_EQ(answers, 2);
}

// A private cluster stopped with `db stop` stays stopped: a call says so instead of starting it
// again behind the stop.
TEST(CliProtocol, ACallDoesNotRestartAClusterStoppedOnPurpose) {
  const std::string pasta = ::testing::TempDir() + "quorvin-parado";
  ASSERT_EQ(
      std::system(("rm -rf '" + pasta + "' && mkdir -p '" + pasta + "' && touch '" + pasta + "/stopped'").c_str()), 0);
  CliResult result;
  {
    const ScopedEnv no_dsn("QUORVIN_DSN", nullptr);
    const ScopedEnv stopped("QUORVIN_DB_DIR", pasta.c_str());
    result = RunCli({"call", "Frame.GetVersao"});
  }
  EXPECT_EQ(result.exit, 2);
  EXPECT_NE(Json::parse(result.out).value("message", "").find("o banco local foi parado com 'db stop'"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(std::system(("rm -rf '" + pasta + "'").c_str()), 0);
}

// A negative zero is stored as zero.
TEST(RecordJson, NegativeZeroIsZero) {
  RFin_IncluirMovimentacaoNumerarios record;
  cli::ReadRecord(Json::parse(R"({"VALOR": -0.0, "CODBANCO": -0.0})"), record, CamposIncluirMovimentacaoNumerarios(),
                  "record");
  EXPECT_FALSE(std::signbit(record.VALOR));
  EXPECT_FALSE(std::signbit(record.CODBANCO));
}

}  // namespace
