#include <gtest/gtest.h>

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

// A request is checked against the operation's field table before anything runs (these tests
// have no database): a mistake answers UsageError, exit 2, with a message naming what is wrong.
TEST(CliProtocol, BadRequestsAreRefusedWithAClearMessageAndExitTwo) {
  const std::string split = "Frame.CancelarDesdobramento";
  const std::string post = "MovimentacaoNumerarios.Incluir";
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"Nada.Existe", "{}", "operação desconhecida: Nada.Existe (veja quorvin-fin call --list)."},
      {split, "[]", "a requisição deve ser um objeto JSON, recebido lista."},
      {split, R"({"args": {}})", "args: campo obrigatório ausente \"modo\"."},
      {split, R"({"args": {"modo": "1"}})", "args.modo: esperado número inteiro, recebido texto."},
      {split, R"({"args": {"modo": 1.5}})", "args.modo: esperado número inteiro, recebido número."},
      {split, R"({"args": {"modo": 1, "extra": 2}})", "args: campo desconhecido \"extra\"."},
      {split, R"({"record": {}})", "Frame.CancelarDesdobramento recebe \"args\", não \"record\"."},
      {split, R"({"args": {"modo": 1}, "outra": 1})", "chave desconhecida na requisição: \"outra\"."},
      // Record widths are counted in characters, not bytes.
      {post, R"({"record": {"CODCOB": "ÇÃOXY"}})", "record.CODCOB: no máximo 4 caracteres."},
      {post, R"({"record": {"VALOR": "10"}})", "record.VALOR: esperado número, recebido texto."},
      {post, R"({"record": {"TRAVARSALDO": "S"}})", "record.TRAVARSALDO: esperado true/false, recebido texto."},
      {post, R"({"record": {"DATA": "2026-02-30"}})",
       "record.DATA: data inválida \"2026-02-30\" (use AAAA-MM-DD ou AAAA-MM-DDTHH:MM:SS)."},
      {post, R"({"record": {"DATA": 20260101}})",
       "record.DATA: esperada data \"AAAA-MM-DD\" ou \"AAAA-MM-DDTHH:MM:SS\", recebido número."},
      {post, R"({"record": {"CODCOB": "D", "codcob": "D"}})", "record: campo desconhecido \"codcob\"."},
      {post, R"({"record": "texto"})", "record: esperado objeto JSON, recebido texto."}};
  for (const auto& [operation, request, message] : cases) {
    const CliResult result = RunCli({"call", operation}, request);
    EXPECT_EQ(result.exit, 2) << request;
    EXPECT_EQ(Json::parse(result.out), (Json{{"ok", false}, {"exception", "UsageError"}, {"message", message}}));
  }
}

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
  EXPECT_NE(list.out.find("Frame.CancelarDesdobramento\n"), std::string::npos);
  const CliResult describe = RunCli({"call", "--describe", "Frame.CancelarDesdobramento"});
  EXPECT_EQ(describe.exit, 0);
  EXPECT_EQ(Json::parse(describe.out)["request"], "args");
  EXPECT_EQ(Json::parse(describe.out)["fields"],
            Json::parse(R"([{"name": "modo", "type": "integer", "required": true}])"));
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

}  // namespace
