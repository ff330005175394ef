#include <gtest/gtest.h>

#include <sstream>

#include "Call.h"
#include "Cli.h"
#include "OperationRegistry.h"
#include "RecordJson.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

namespace {

using cli::Json;

struct CliResult {
  int exit;
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int exit = cli::Main(args, in, out, err);
  return {exit, out.str(), err.str()};
}

TEST(CliProtocol, UnknownOperationAnswersUsageErrorWithoutTouchingTheDatabase) {
  const CliResult result = RunCli({"call", "Nada.Existe"}, "{}");
  EXPECT_EQ(result.exit, 2);
  const Json answer = Json::parse(result.out);
  EXPECT_EQ(answer["ok"], false);
  EXPECT_EQ(answer["exception"], "UsageError");
  EXPECT_EQ(answer["message"], "operação desconhecida: Nada.Existe (veja quorvin-fin call --list).");
}

TEST(CliProtocol, MalformedJsonIsAUsageError) {
  const CliResult result = RunCli({"call", "Frame.GetVersao"}, "{\"args\": ");
  EXPECT_EQ(result.exit, 2);
  EXPECT_EQ(Json::parse(result.out)["exception"], "UsageError");
}

struct BadRequest {
  const char* operation;
  const char* request;
  const char* message;
};

class CliBadRequest : public ::testing::TestWithParam<BadRequest> {};

TEST_P(CliBadRequest, IsRefusedWithAClearMessageAndExitTwo) {
  const BadRequest& bad = GetParam();
  const CliResult result = RunCli({"call", bad.operation}, bad.request);
  EXPECT_EQ(result.exit, 2) << result.out;
  const Json answer = Json::parse(result.out);
  EXPECT_EQ(answer["exception"], "UsageError");
  EXPECT_EQ(answer["message"], bad.message);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CliBadRequest,
    ::testing::Values(
        BadRequest{"Frame.CancelarDesdobramento", "[]", "a requisição deve ser um objeto JSON, recebido lista."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"args\": {}}", "args: campo obrigatório ausente \"modo\"."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"args\": {\"modo\": \"1\"}}",
                   "args.modo: esperado número inteiro, recebido texto."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"args\": {\"modo\": 1.5}}",
                   "args.modo: esperado número inteiro, recebido número."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"args\": {\"modo\": 1, \"extra\": 2}}",
                   "args: campo desconhecido \"extra\"."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"record\": {}}",
                   "Frame.CancelarDesdobramento recebe \"args\", não \"record\"."},
        BadRequest{"Frame.CancelarDesdobramento", "{\"args\": {\"modo\": 1}, \"outra\": 1}",
                   "chave desconhecida na requisição: \"outra\"."}));

TEST(CliProtocol, ListAndDescribeComeFromTheFieldTables) {
  const CliResult list = RunCli({"call", "--list"});
  EXPECT_EQ(list.exit, 0);
  EXPECT_NE(list.out.find("Frame.CancelarDesdobramento\n"), std::string::npos);

  const CliResult describe = RunCli({"call", "--describe", "Frame.CancelarDesdobramento"});
  EXPECT_EQ(describe.exit, 0);
  const Json answer = Json::parse(describe.out);
  EXPECT_EQ(answer["request"], "args");
  EXPECT_EQ(answer["fields"], Json::parse(R"([{"name": "modo", "type": "integer", "required": true}])"));

  EXPECT_EQ(RunCli({"call", "--describe", "Nada"}).exit, 2);
}

TEST(CliProtocol, CommandLineMistakesExitTwo) {
  EXPECT_EQ(RunCli({}).exit, 2);
  EXPECT_EQ(RunCli({"voar"}).exit, 2);
  EXPECT_EQ(RunCli({"call", "Frame.GetVersao", "--user", "abc"}).exit, 2);
  EXPECT_EQ(RunCli({"call", "Frame.GetVersao", "--confirm", "talvez"}).exit, 2);
  EXPECT_EQ(RunCli({"param", "set", "X"}).exit, 2);
  EXPECT_EQ(RunCli({"db", "explodir"}).exit, 2);
}

// Records travel through their field tables: every kind of field, widths counted in characters.
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

TEST(RecordJson, RefusesWrongValuesBeforeAnythingRuns) {
  const auto read = [](const char* json) {
    RFin_IncluirMovimentacaoNumerarios record;
    cli::ReadRecord(Json::parse(json), record, CamposIncluirMovimentacaoNumerarios(), "record");
  };
  const auto message = [&](const char* json) {
    try {
      read(json);
    } catch (const cli::UsageError& error) {
      return std::string(error.what());
    }
    return std::string("(aceito)");
  };
  EXPECT_EQ(message(R"({"CODCOB": "ÇÃOXY"})"), "record.CODCOB: no máximo 4 caracteres.");
  EXPECT_EQ(message(R"({"VALOR": "10"})"), "record.VALOR: esperado número, recebido texto.");
  EXPECT_EQ(message(R"({"TRAVARSALDO": "S"})"), "record.TRAVARSALDO: esperado true/false, recebido texto.");
  EXPECT_EQ(message(R"({"DATA": "2026-02-30"})"),
            "record.DATA: data inválida \"2026-02-30\" (use AAAA-MM-DD ou AAAA-MM-DDTHH:MM:SS).");
  EXPECT_EQ(message(R"({"DATA": 20260101})"),
            "record.DATA: esperada data \"AAAA-MM-DD\" ou \"AAAA-MM-DDTHH:MM:SS\", recebido número.");
  EXPECT_EQ(message(R"({"CODCOB": "D", "codcob": "D"})"), "record: campo desconhecido \"codcob\".");
  EXPECT_EQ(message(R"("texto")"), "record: esperado objeto JSON, recebido texto.");
}

}  // namespace
