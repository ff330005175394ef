#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Call.h"
#include "Cli.h"
#include "RecordJson.h"
#include "Runtime.h"
#include "support/TestDatabase.h"

// The payable and bordero operations on the command line, as the host's users call them: records
// read as payable records, usage errors naming the entry and field, the module's refusals with their
// class, a slip's barcode written back. Every request is rolled back.
namespace {

using cli::Json;

// The text of a batch: one request a line.
std::string Linhas(const std::vector<Json>& pedidos) {
  std::string linhas;
  for (const Json& pedido : pedidos) linhas += pedido.dump() + "\n";
  return linhas;
}

// The answers of `quorvin-fin call --batch` to `pedidos`, one a request; `codigo` takes its exit code.
std::vector<Json> Lote(const std::vector<Json>& pedidos, int* codigo = nullptr) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  std::istringstream entrada(Linhas(pedidos));
  std::ostringstream saida, erros;
  const int resultado = cli::Main({"call", "--batch"}, entrada, saida, erros);
  if (codigo != nullptr) *codigo = resultado;
  std::vector<Json> respostas;
  std::istringstream linhas_saida(saida.str());
  for (std::string linha; std::getline(linhas_saida, linha);) respostas.push_back(Json::parse(linha));
  EXPECT_EQ(respostas.size(), pedidos.size()) << saida.str() << erros.str();
  return respostas;
}

// A posting of routine 1234, rolled back, of an entry every rule accepts.
Json Lancamento(double recnum, double valor = 10) {
  return {{"op", "ContasPagar.Incluir"},
          {"flags", {{"rollback", true}, {"routine", 1234}}},
          {"record",
           {{"RECNUM", recnum},
            {"TIPOLANC", "C"},
            {"VALOR", valor},
            {"CODCONTA", 3101},
            {"HISTORICO", "VIA CLI"},
            {"TIPOPARCEIRO", "O"},
            {"CODFILIAL", "1"},
            {"DTLANC", "2030-05-10"},
            {"DTVENC", "2030-05-20"},
            {"DTEMISSAO", "2030-05-10"}}}};
}

Json Bordero(const Json& lancamentos) {
  return {{"op", "ContasPagar.BaixarBordero"},
          {"flags", {{"rollback", true}, {"routine", 740}}},
          {"args",
           {{"NUMBORDERO", 991},
            {"NUMTRANS", 99101},
            {"Valor", 10},
            {"CodBanco", 9301},
            {"CodCob", "D"},
            {"Lancamentos", lancamentos}}}};
}

// An entry posted, then again with a lower-case type: the record comes back, the refusal keeps its
// class and message, and the batch ends with the module's exit code.
TEST(PayableCli, PostsAnEntryAndAnswersTheRecordOrTheRejectionsClassAndMessage) {
  Json recusado = Lancamento(987654, 42.5);
  recusado["record"]["TIPOLANC"] = "p";
  int codigo = 0;
  const std::vector<Json> respostas = Lote({Lancamento(987654, 42.5), recusado}, &codigo);
  EXPECT_EQ(codigo, 1);
  ASSERT_EQ(respostas.size(), 2u);
  EXPECT_EQ(respostas[0]["ok"], true);
  EXPECT_EQ(respostas[0]["result"], true);
  EXPECT_EQ(respostas[0]["record"]["NFSERVICO"], "N");
  EXPECT_EQ(respostas[0]["record"]["RECNUM"], 987654);
  EXPECT_EQ(respostas[1], Json::parse(R"({"ok": false, "exception": "ExTipoLancamentoDiferentePeC",
      "message": "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."})"));
}

// A batch reads the parameters its postings use once: every later line costs only the check of
// the parameters' version.
TEST(PayableCli, ABatchReadsItsParametersOnceAndChecksTheirVersionPerLine) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  // Parameter reads of a batch of `linhas` postings through one runtime, as `call --batch` runs them.
  const auto leituras = [](int linhas) {
    cli::CallFlags flags;
    cli::Runtime runtime(flags);
    std::vector<Json> pedidos;
    for (int linha = 0; linha < linhas; ++linha) pedidos.push_back(Lancamento(987000 + linha));
    std::istringstream entrada(Linhas(pedidos));
    std::ostringstream saida;
    const std::uint64_t antes = runtime.Host().LeiturasParametros();
    EXPECT_EQ(cli::RunBatch(runtime, entrada, saida, flags), 0) << saida.str();
    return runtime.Host().LeiturasParametros() - antes;
  };
  const std::uint64_t uma = leituras(1);
  EXPECT_GT(uma, 2u);
  EXPECT_EQ(leituras(25), uma + 24);
}

TEST(BorderoCli, EntriesArePayableRecordsAndRefusalsKeepTheirClass) {
  const std::vector<Json> respostas = Lote({
      Bordero(Json::array({{{"RECNUM", 99999991}, {"VALOR", 10}}})),
      Bordero(Json::array({{{"RECNUM", 99999991}}, {{"RECNUM", 99999992}, {"VALOR", "dez"}}})),
      Bordero(Json::object()),
      Bordero(Json::array()),
      {{"op", "ContasPagar.EstornarConhecimentoDeFrete"},
       {"flags", {{"rollback", true}}},
       {"args", {{"RECNUM", 0}, {"Modo", 1}}}},
      {{"op", "ContasPagar.ValidarLinhaDigitavel"},
       {"record",
        {{"FORMATO", 1},
         {"CODIGO", "34191.09008 00012.345609 00001.234566 8 13810000001999"},
         {"VALOR", 19.99},
         {"DTVENC", "2026-03-10"}}}},
      {{"op", "ContasPagar.VerificarPeriodoBloqueado"}, {"args", {{"CODFILIAL", "1"}, {"DATA", "2030-05-31"}}}},
  });
  ASSERT_EQ(respostas.size(), 7u);
  EXPECT_EQ(respostas[0], Json::parse(R"({"ok": false, "exception": "Exception", "message":
      "Não foi possível baixar o borderô nº 991. O lançamento RECNUM 99999991 já está baixado ou não existe."})"));
  EXPECT_EQ(respostas[1]["exception"], "UsageError");
  EXPECT_EQ(respostas[1]["message"], "args.Lancamentos[1].VALOR: esperado número, recebido texto.");
  EXPECT_EQ(respostas[2]["message"], "args.Lancamentos: esperada lista de lançamentos (registros de contas a pagar).");
  EXPECT_EQ(respostas[3]["exception"], "UsageError");
  EXPECT_EQ(respostas[4]["exception"], "ExRecNumVazio");
  EXPECT_EQ(respostas[5]["result"], true);
  EXPECT_EQ(respostas[5]["record"]["CODIGOBARRAS"], "34198138100000019991090000012345600000123456");
  EXPECT_EQ(respostas[6]["result"], false);
}

// Every operation that writes refuses to run outside a transaction, before anything is written.
TEST(BorderoCli, WritingOperationsRefuseToRunWithoutATransaction) {
  Json bordero = Bordero(Json::array({{{"RECNUM", 99999991}, {"VALOR", 10}}}));
  bordero["flags"]["no_transaction"] = true;
  const Json sem_transacao = {{"no_transaction", true}};
  const std::vector<Json> respostas = Lote({
      bordero,
      {{"op", "ContasPagar.BaixarLancamentoAutomaticamente"},
       {"flags", sem_transacao},
       {"args", {{"RECNUM", 99999991}, {"CodBanco", 9301}}}},
      {{"op", "ContasPagar.EstornarConhecimentoDeFrete"},
       {"flags", sem_transacao},
       {"args", {{"RECNUM", 99999991}, {"Modo", 1}}}},
  });
  for (const Json& resposta : respostas) {
    EXPECT_EQ(resposta, Json::parse(R"({"ok": false, "exception": "ExTransacaoNaoIniciada",
        "message": "Transação não iniciada."})"));
  }
}

}  // namespace
