#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

// The bordero operations on the command line: the list of entries read as payable records, usage
// errors naming the entry and field, the module's refusals with their class, the slip's barcode
// written back. Every request is rolled back.
namespace {

using cli::Json;

std::vector<Json> Lote(const std::vector<Json>& pedidos) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  std::string linhas;
  for (const Json& pedido : pedidos) linhas += pedido.dump() + "\n";
  std::istringstream entrada(linhas);
  std::ostringstream saida, erros;
  (void)cli::Main({"call", "--batch"}, entrada, saida, erros);
  std::vector<Json> respostas;
  std::istringstream linhas_saida(saida.str());
  for (std::string linha; std::getline(linhas_saida, linha);) respostas.push_back(Json::parse(linha));
  EXPECT_EQ(respostas.size(), pedidos.size()) << saida.str() << erros.str();
  return respostas;
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
