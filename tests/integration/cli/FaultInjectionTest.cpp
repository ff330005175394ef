#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

// The trigger goes with its function; the rows of every case follow.
const char* const kLimpeza =
    "DROP FUNCTION IF EXISTS public.tst_falha_lenta() CASCADE;"
    "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 9600000 AND 9699999 OR CODFILIAL = '96';"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9601;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 1 AND NOME = 'OPERADOR DOS TESTES';"
    "DELETE FROM public.ZTCRECLI WHERE CODCLI = 9601;"
    "DELETE FROM public.ZTPREST WHERE NUMTRANSVENDA = 9600501;"
    "DELETE FROM public.ZTBANCO WHERE CODBANCO = 9601;"
    "DELETE FROM public.ZTCORREN WHERE CODFUNC = 9601;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 9601;"
    "DELETE FROM public.ZTHIST WHERE CODHIST = 9601;"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9601;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9601;"
    "DELETE FROM public.ZTLANCBLOQ WHERE RECNUM BETWEEN 9600000 AND 9699999;"
    "DELETE FROM public.ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: 96000%';"
    "DELETE FROM public.ZTPREST WHERE NUMTRANSVENDA = 960401;"
    "DELETE FROM public.ZTNFSAID WHERE NUMTRANSVENDA = 960401;"
    "DELETE FROM public.ZTBANCONOSSONUMERO WHERE CODBANCO = 9604;"
    "DELETE FROM public.ZTCOB WHERE CODCOB = 'FIBL';"
    "DELETE FROM public.ZTBANCO WHERE CODBANCO = 9604;"
    "DELETE FROM public.ZTCLIENT WHERE CODCLI = 9604;"
    "DELETE FROM public.ZTPREST WHERE NUMTRANSVENDA = 9600401;"
    "DELETE FROM public.ZTDESDPREST WHERE NUMTRANSVENDA = 9600401;"
    "DELETE FROM public.ZTDESD WHERE NUMTRANSVENDAORIG = 9600401 OR NUMTRANSVENDADEST = 9600401;"
    "DELETE FROM public.ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO = 'FALHA-96';"
    "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM = 9600601 OR CODFILIAL = '96';"
    "DELETE FROM public.ZTRATEIOCONTAS WHERE CODFILIAL = '96';"
    "DELETE FROM public.ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = 961;"
    "DELETE FROM public.ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = 9600701;"
    "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 960001 AND 960009;"
    "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 960001 AND 960009;"
    "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'FIC%';"
    "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'FIC%';"
    "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '96';"
    "DELETE FROM public.ZTSERVICOSPEDEFD WHERE CODSERVICO = 9600801;";

struct Falha {
  const char* Nome;
  const char* Tabela;    // where the insert is held
  const char* Operacao;  // the call
  std::string Pedido;
  const char* Contagem;      // what the call writes: 0 after the killed call, 1 after the retry
  const char* Preparo = "";  // committed rows the call works on
  const char* Evento = "INSERT";
  const char* Flags = "{}";   // the call's flags, as a batch line carries them
  const char* Inclusao = "";  // a committed call of the command line the call works on
};

// Ends, from the test's own session, the first backend found sleeping in the trigger.
std::thread Matador(std::atomic<int>& mortos) {
  return std::thread([&mortos] {
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

struct Resposta {
  int Codigo = 0;
  std::string Saida;
  bool Morto = false;  // a call was caught in the trigger and ended
  // The answer lines, each parsed.
  [[nodiscard]] std::vector<Json> Linhas() const {
    std::vector<Json> linhas;
    std::istringstream texto(Saida);
    for (std::string linha; std::getline(texto, linha);) linhas.push_back(Json::parse(linha));
    return linhas;
  }
};

Resposta Chamar(const std::vector<std::string>& args, const std::string& entrada) {
  std::istringstream in(entrada);
  std::ostringstream out, err;
  const int codigo = cli::Main(args, in, out, err);
  return {codigo, out.str()};
}

// The call run while every `evento` on `tabela` by the command line is held for a few seconds in a
// trigger and the held backend is ended; the trigger is gone afterwards.
Resposta ChamarEMatar(TOraSession& sessao, const std::string& tabela, const std::string& evento,
                      const std::vector<std::string>& args, const std::string& entrada) {
  sessao.ExecuteScript(
      "CREATE FUNCTION public.tst_falha_lenta() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN\n"
      "  IF current_setting('application_name') LIKE 'quorvin-fin%' THEN PERFORM pg_sleep(5); END IF;\n"
      "  RETURN NEW;\nEND $f$;\n"
      "CREATE TRIGGER tst_falha_lenta BEFORE " +
      evento + " ON public." + tabela + " FOR EACH ROW EXECUTE FUNCTION public.tst_falha_lenta();");
  std::atomic<int> mortos = 0;
  std::thread matador = Matador(mortos);
  Resposta resposta = Chamar(args, entrada);
  matador.join();
  sessao.ExecuteScript("DROP FUNCTION IF EXISTS public.tst_falha_lenta() CASCADE;");
  resposta.Morto = mortos == 1;
  return resposta;
}

// The command line's environment and a session of the test's own, with the rows of every case removed
// before and after.
class ComSessao : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:fault-injection");
    FSessao->ExecuteScript(kLimpeza);
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or("?"); }
  std::unique_ptr<TOraSession> FSessao;
};

void PrintTo(const Falha& falha, std::ostream* out) {
  *out << falha.Nome;
}

class FaultInjection : public ComSessao, public ::testing::WithParamInterface<Falha> {
 protected:
  void SetUp() override {
    ComSessao::SetUp();
    if (*GetParam().Preparo != '\0') FSessao->ExecuteScript(GetParam().Preparo);
    if (*GetParam().Inclusao != '\0') {
      const Resposta inclusao = Chamar({"call", "--batch"}, std::string(GetParam().Inclusao) + "\n");
      ASSERT_EQ(inclusao.Codigo, 0) << inclusao.Saida;
    }
  }
  Resposta Matando(const std::vector<std::string>& args, const std::string& entrada) {
    return ChamarEMatar(*FSessao, GetParam().Tabela, GetParam().Evento, args, entrada);
  }
  std::string Contar() { return Valor(GetParam().Contagem); }
  // The call's flags as command-line options.
  static std::vector<std::string> Chamada(const Falha& falha) {
    std::vector<std::string> args{"call", falha.Operacao};
    const Json flags = Json::parse(falha.Flags);
    for (const auto& [chave, valor] : flags.items()) {
      std::string opcao = "--" + chave;
      std::replace(opcao.begin(), opcao.end(), '_', '-');
      args.push_back(opcao);
      args.push_back(valor.is_string() ? valor.get<std::string>() : valor.dump());
    }
    return args;
  }
};

const std::string kLancamento =
    R"({"record": {"RECNUM": 9600001, "TIPOLANC": "C", "VALOR": 42.5, "CODCONTA": 3101, "HISTORICO": "FALHA",)"
    R"( "TIPOPARCEIRO": "O", "CODFILIAL": "96", "DTLANC": "2030-05-10", "DTVENC": "2030-05-20",)"
    R"( "DTEMISSAO": "2030-05-10"}})";
// Account 960001 splits cost centers FIC1 60% and FIC2 40% in branch 96, which apportions entries
// and purchase orders.
const char* const kCentrosDeCusto =
    "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('FIC1', 'UM'), ('FIC2', 'DOIS');"
    "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'FIC1'), (10, 1, 'FIC2');"
    "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (960001, 'FALHA', 'S');"
    "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (960001, 'FIC1', 60), "
    "(960001, 'FIC2', 40);"
    "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('UTILIZACENTROCUSTO', '96', 'S'), "
    "('REALIZARATEIOPEDIDOCOMPRACONSUMO', '96', 'S');";
const std::string kMovimento =
    R"({"record": {"CODBANCO": 9601, "CODCOB": "FI", "TIPO": "D", "VALOR": 5, "DATA": "2026-01-02"}})";

INSTANTIATE_TEST_SUITE_P(
    Calls, FaultInjection,
    ::testing::Values(
        Falha{"PayableEntry", "ztlanc", "ContasPagar.Incluir", kLancamento,
              "SELECT COUNT(*) FROM ZTLANC WHERE RECNUM BETWEEN 9600000 AND 9699999"},
        // A receivable title: killed in its insert, no instalment is taken.
        Falha{"ReceivableTitle", "ztprest", "ContasReceber.Incluir",
              R"({"record": {"CODFILIAL": "96", "NUMTRANSVENDA": 9600501, "DUPLIC": 96005, "DTVENC": "2030-06-01",)"
              R"( "CODCOB": "D", "VALOR": 12.5, "CODCLI": 9601, "CODUSUR": 1}})",
              "SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 9600501"},
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
              "UPDATE"},
        // The bordero's entries are paid before its money moves: the entries stay unpaid after the
        // killed settlement.
        Falha{"BorderoSettlement", "ztmovcr", "ContasPagar.BaixarBordero",
              R"({"args": {"NUMBORDERO": 961, "NUMTRANS": 96001, "Valor": 30, "CodBanco": 9601, "CodCob": "D",)"
              R"( "Lancamentos": [{"RECNUM": 9600101, "VALOR": 10}, {"RECNUM": 9600102, "VALOR": 20}]}})",
              "SELECT (SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '96' AND (DTPAGTO IS NOT NULL OR VPAGO IS NOT "
              "NULL OR RECNUM NOT IN (9600101, 9600102))) + (SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9601) + "
              "(SELECT COUNT(*) FROM ZTESTCR WHERE CODBANCO = 9601) FROM DUAL",
              "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9601, 'FORNECEDOR DA FALHA');"
              "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, CODFORNEC, TIPOPARCEIRO, TIPOLANC, VALOR, "
              "NUMBORDERO, HISTORICO, DTLANC, DTVENC) VALUES (9600101, '96', 3101, 9601, 'F', 'C', 10, 961, 'FRETE', "
              "DATE '2026-03-02', DATE '2026-03-20'), (9600102, '96', 3101, 9601, 'F', 'C', 20, 961, 'FRETE', "
              "DATE '2026-03-02', DATE '2026-03-20');",
              "INSERT", R"({"routine": 740})"},
        // The deposit is cleared before the allowance's movements are written: after the killed
        // settlement it is open again, and the bank's balances are as they were.
        Falha{"DNISettlement", "ztmovcr", "DepositoNaoIdentificadoComVerba.BaixarVerbaComDNI",
              R"({"args": {"CodigoCliente": 8801, "CodigoBanco": 9601, "NumeroVerba": 960, "ValorVerba": 100}})",
              "SELECT (SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9601 AND (NUMTRANS <> 96000201 OR "
              "CONCILIACAO = 'OK')) + (SELECT COUNT(*) FROM ZTESTCR WHERE CODBANCO = 9601 AND NOT (CODCOB = 'DNI' "
              "AND VALOR = -100)) FROM DUAL",
              "INSERT INTO public.ZTMOVCR (NUMTRANS, CODBANCO, CODCOB, DATA, TIPO, VALOR, HISTORICO, INDICE) VALUES "
              "(96000201, 9601, 'DNI', DATE '2026-11-03', 'C', 100, 'DEPOSITO NAO IDENTIFICADO', 'A');"
              "INSERT INTO public.ZTESTCR (CODBANCO, CODCOB, VALOR) VALUES (9601, 'DNI', -100);",
              "INSERT", R"({"routine": 1803, "pick": "96000201", "clearing_date": "2026-11-20"})"},
        // A partial write-off closes the voucher, writes the open rest and pays through a payable
        // entry: killed at that entry, the voucher is open again with nothing beside it.
        Falha{
            "PartialVoucherWriteOff", "ztlanc", "Vales.BaixarValeIndividual",
            R"({"record": {"NATUREZAVALE": 1, "NUMVALE": 9601, "RECNUM": 96000301, "NUMDOC": 4455,)"
            R"( "VALORVALE": 100, "VALORBAIXA": 30, "CODPARCEIRO": 9601, "TIPOPARCEIRO": "F",)"
            R"( "TEXTOFUNCIONARIO": "FUNCIONARIO DA FALHA", "CODFILIAL": "96", "CODHIST": 9601,)"
            R"( "HISTORICO": "ACERTO DE VIAGEM", "HISTORICO2": "DEVOLUCAO", "DTVENC": "2026-03-30",)"
            R"( "CODBANCOVALE": 9601, "CODBANCOBAIXA": 9601, "NUMTRANSBAIXA": 96002, "CODCONTA": 3101,)"
            R"( "CODIGOCOMRCA": 12}})",
            "SELECT (SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC = 9601 AND (RECNUM <> 96000301 OR DTBAIXAVALE IS "
            "NOT NULL)) + (SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '96') + (SELECT COUNT(*) FROM ZTMOVCR "
            "WHERE CODBANCO = 9601) + (SELECT COUNT(*) FROM ZTESTCR WHERE CODBANCO = 9601) FROM DUAL",
            "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) VALUES (9601, "
            "'FUNCIONARIO DA FALHA', 'FALHA', 'F', 'A');"
            "INSERT INTO public.ZTHIST (CODHIST, HISTORICO) VALUES (9601, 'ADIANTAMENTO');"
            "INSERT INTO public.ZTBANCO (CODBANCO, NOME, CODCONTABIL, UTILIZAFECHAMENTOCAIXA) VALUES (9601, "
            "'CAIXA DA FALHA', 11101, 'S');"
            "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR DOS TESTES', "
            "'OPERADOR UM', 'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM public.ZTEMPR WHERE MATRICULA = 1);",
            "INSERT", R"({"routine": 1266})",
            R"({"op": "Vales.IncluirVale", "record": {"NUMVALE": 9601, "RECNUM": 96000301, "CODFILIAL": "96",)"
            R"( "TIPOPARCEIRO": "F", "CODPARCEIRO": 9601, "NATUREZA": "D", "VALOR": 100,)"
            R"( "HISTORICO": "ADIANTAMENTO DE VIAGEM", "HISTORICO2": "VIAGEM", "CODHIST": 9601, "NUMDOC": 4455,)"
            R"( "DTLANC": "2026-03-02", "DTDOC": "2026-03-01", "DTVENC": "2026-03-30", "CODBANCO": 9601,)"
            R"( "CODCONTA": 3101}})"},
        // Slips of a sale of two instalments: killed while the bank data of the first is written, no
        // title keeps an own number, barcode or line, and the bank's counter is as it was.
        Falha{"SlipIssue", "ztprest", "ContasReceber.EmitirBoletosBancarios",
              R"({"args": {"NUMTRANSVENDA": 960401, "GerarDadosBancarios": true}})",
              "SELECT (SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 960401 AND (NOSSONUMBCO IS NOT NULL OR "
              "CODBARRA IS NOT NULL OR LINHADIG IS NOT NULL)) + (SELECT COUNT(*) FROM ZTBANCONOSSONUMERO WHERE "
              "CODBANCO = 9604) FROM DUAL",
              "INSERT INTO public.ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) "
              "VALUES (9604, 'BANCO DA FALHA', 237, '1172', '403005', '09', '237');"
              "INSERT INTO public.ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('FIBL', 'S', 9604);"
              "INSERT INTO public.ZTCLIENT (CODCLI, CLIENTE) VALUES (9604, 'PAGADOR DA FALHA');"
              "INSERT INTO public.ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (960401, 960401, 9604, "
              "14);"
              "INSERT INTO public.ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) "
              "VALUES (960401, '1', 960401, '96', 9604, 'FIBL', DATE '2026-12-30', 10), (960401, '2', 960401, '96', "
              "9604, 'FIBL', DATE '2027-01-30', 20);",
              "UPDATE"},
        // The cancellation of a split restores the title before it links the split's titles to it:
        // killed at the first link, the title is not restored and the split stands.
        Falha{"SplitCancellation", "ztdesd", "CancelarDesdobramento.Confirmar",
              R"({"args": {"Modo": 1, "Registros": [{"NUMTRANSVENDA": 9600401, "PREST": "1"}]}})",
              "SELECT (SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 9600401 AND PREST NOT IN ('1', '2', '3')) "
              "+ (SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 9600401 AND CODCOB = 'DESD' AND PREST <> '1') "
              "FROM DUAL",
              "INSERT INTO public.ZTPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, VPAGO, DTPAG, DTVENC) VALUES "
              "(9600401, '1', 9601, 'DESD', 30, 30, DATE '2026-01-05', DATE '2030-02-05'), (9600401, '2', 9601, 'BK', "
              "10, NULL, NULL, DATE '2030-02-05'), (9600401, '3', 9601, 'BK', 20, NULL, NULL, DATE '2030-02-05');"
              "INSERT INTO public.ZTDESDPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, DTVENC, OPERACAODESD, "
              "QTREPLICAS) VALUES (9600401, '1', 9601, 'BK', 30, DATE '2030-02-05', 'TONormal', 0);"
              "INSERT INTO public.ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES "
              "(9600401, '1', 9600401, '2'), (9600401, '1', 9600401, '3');"},
        // A loan's money enters after its contract is written: killed at the movement, no contract
        // remains and the account's balance is as it was.
        Falha{"LoanContract", "ztmovcr", "ContratoEmprestimo.Salvar",
              R"({"record": {"NUMCONTRATO": "FALHA-96", "TIPOCONTRATO": "3", "CODBANCO": 9601, "VLRTOTAL": 50}})",
              "SELECT (SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO = 'FALHA-96') + (SELECT COUNT(*) "
              "FROM ZTMOVCR WHERE CODBANCO = 9601) + (SELECT COUNT(*) FROM ZTESTCR WHERE CODBANCO = 9601) FROM DUAL"},
        // An entry's apportionment over two cost centers: killed at its first row, no row remains.
        Falha{"CostCenterApportionment", "ztrateiocentrocusto", "CentroCusto.ProcessoCentroCusto",
              R"({"args": {"TipoLancto": 0, "CodFilial": "96", "CodConta": "960001", "DataLancto": "2026-03-10",)"
              R"( "NumTransacao": 9600601, "ValorLancto": 10.01}})",
              "SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 9600601", kCentrosDeCusto},
        // A purchase order instalment's apportionment: likewise.
        Falha{"PurchaseOrderApportionment", "ztrateiocentrocustoztlanc3",
              "CentroCustoPedidoCompraConsumo.ProcessoCentroCusto",
              R"({"args": {"CodFilial": "96", "CodConta": "960001", "DataLancto": "2026-03-10", "Prestacao": "1",)"
              R"( "NumeroPedido": 9600701, "ValorLancto": 10}})",
              "SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = 9600701", kCentrosDeCusto},
        Falha{"ServiceRendered", "ztservicospedefd", "ServicosPrestadosSPED_EFD.IncluirServicosPrestadosSPED_EFD",
              R"({"record": {"CODSERVICO": 9600801, "CODCONSTCIVIL": 1, "CODTIPOSERVICO": 100000003,)"
              R"( "SERIENF": "A1", "HOUVEVALORRETENCAOINSS": "S",)"
              R"( "TRANSACAOABERTA": true}})",
              "SELECT COUNT(*) FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = 9600801"}),
    [](const ::testing::TestParamInfo<Falha>& info) { return std::string(info.param.Nome); });

// A single call killed half-way: exit 2 naming the lost connection, nothing written; the retry
// (a new call) posts it once.
TEST_P(FaultInjection, AKilledCallLeavesNothingAndTheNextOneSucceeds) {
  const Resposta r = Matando(Chamada(GetParam()), GetParam().Pedido);
  ASSERT_TRUE(r.Morto) << "no call was caught in the trigger";
  EXPECT_EQ(r.Codigo, 2) << r.Saida;
  EXPECT_EQ(Json::parse(r.Saida)["ok"], false);
  // ORA-03113 when the call was ended mid-statement, ORA-03114 when the end of the call found it gone.
  EXPECT_NE(r.Saida.find("ORA-0311"), std::string::npos) << r.Saida;
  EXPECT_EQ(Contar(), "0");
  const Resposta de_novo = Chamar(Chamada(GetParam()), GetParam().Pedido);
  EXPECT_EQ(de_novo.Codigo, 0) << de_novo.Saida;
  EXPECT_NE(Contar(), "0");
}

// In a batch the killed line is answered with the lost connection; the lines after it run on a
// new connection and are posted.
TEST_P(FaultInjection, AKilledLineOfABatchIsAnsweredAndTheBatchGoesOn) {
  Json linha = Json::parse(GetParam().Pedido);
  linha["op"] = GetParam().Operacao;
  linha["flags"] = Json::parse(GetParam().Flags);
  const Resposta r = Matando({"call", "--batch"}, linha.dump() + "\n" + R"({"op": "Frame.GetVersao"})" + "\n");
  ASSERT_TRUE(r.Morto) << "no call was caught in the trigger";
  const std::vector<Json> linhas = r.Linhas();
  ASSERT_EQ(linhas.size(), 2u) << r.Saida;
  EXPECT_NE(linhas[0].dump().find("ORA-0311"), std::string::npos) << linhas[0].dump();
  EXPECT_EQ(linhas[1]["ok"], true) << linhas[1].dump();
  EXPECT_EQ(r.Codigo, 2);
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
  const std::vector<Json> linhas = Resposta{0, saida.str()}.Linhas();
  ASSERT_EQ(linhas.size(), 3u) << saida.str();
  EXPECT_EQ(linhas[0]["ok"], true) << linhas[0].dump();
  EXPECT_EQ(linhas[1]["ok"], false);
  EXPECT_NE(linhas[1].value("message", "").find("ORA-0311"), std::string::npos) << linhas[1].dump();
  EXPECT_EQ(linhas[2]["ok"], true) << linhas[2].dump();
}

// A customer credit killed half-way through its insert: the credit and its money side are gone with
// the rollback. Its change log is written on the host's second session and committed at once, so
// the steps logged before the kill remain, and only they; the next inclusion writes one credit.
using FaultInjectionCredit = ComSessao;

TEST_F(FaultInjectionCredit, AKilledInclusionLeavesOnlyItsChangeLog) {
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTBANCO (CODBANCO, NOME) VALUES (9601, 'CAIXA DA FALHA');"
      "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR DOS TESTES', "
      "'OPERADOR UM', 'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM public.ZTEMPR WHERE MATRICULA = 1);");
  // The inclusion's logged steps, counted: started / failed / ended.
  const auto passos = [&] {
    return Valor(
        "SELECT COUNT(DECODE(OBSERVACOES, 'InserirZTCreCli-Inicio', 1)) || '/' || "
        "COUNT(DECODE(OBSERVACOES, 'InserirZTCreCli-Falhou', 1)) || '/' || "
        "COUNT(DECODE(OBSERVACOES, 'InserirZTCreCli-Fim', 1)) FROM ZTLOGALTERACAODADOS WHERE TABELA = 'ZTCRECLI'");
  };
  const auto somar = [](const std::string& contagem, int inicio, int falha, int fim) {
    int a = 0, b = 0, c = 0;
    std::sscanf(contagem.c_str(), "%d/%d/%d", &a, &b, &c);
    return std::to_string(a + inicio) + "/" + std::to_string(b + falha) + "/" + std::to_string(c + fim);
  };
  const std::string log_antes = passos();
  const std::vector<std::string> args{"call", "CreditoCliente.IncluirCreditoCliente"};
  const std::string pedido =
      R"({"args": {"CreditoCliente": {"CODCLI": 9601, "CODFILIAL": "1", "VALOR": 25, "HISTORICO": "FALHA",)"
      R"( "Movimentacao": {"Tipo": 0, "CodigoCaixaBanco": 9601, "CodigoCobranca": "D"}}}})";
  const Resposta r = ChamarEMatar(*FSessao, "ztcrecli", "INSERT", args, pedido);
  ASSERT_TRUE(r.Morto) << "no call was caught in the trigger";
  EXPECT_EQ(r.Codigo, 2) << r.Saida;
  EXPECT_NE(r.Saida.find("ORA-0311"), std::string::npos) << r.Saida;
  EXPECT_EQ(Valor("SELECT (SELECT COUNT(*) FROM ZTCRECLI WHERE CODCLI = 9601) || '/' || (SELECT COUNT(*) FROM ZTMOVCR "
                  "WHERE CODBANCO = 9601) || '/' || (SELECT COUNT(*) FROM ZTESTCR WHERE CODBANCO = 9601) FROM DUAL"),
            "0/0/0");
  // Started and failed, never ended: the steps the log committed on its own session.
  EXPECT_EQ(passos(), somar(log_antes, 1, 1, 0));

  const Resposta de_novo = Chamar(args, pedido);
  EXPECT_EQ(de_novo.Codigo, 0) << de_novo.Saida;
  EXPECT_EQ(Json::parse(de_novo.Saida)["result"]["incluido"], true) << de_novo.Saida;
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTCRECLI WHERE CODCLI = 9601"), "1");
  EXPECT_NE(Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9601"), "0");
  EXPECT_EQ(passos(), somar(log_antes, 2, 1, 1));
}

// A split of one payable entry over two accounts, the first with cost centers: killed when the
// first entry's split row is written (after the entry itself), no entry, split row or cost-center
// row remains; the next batch posts the split whole.
using FaultInjectionSplit = ComSessao;

TEST_F(FaultInjectionSplit, AKilledSplitPostingLeavesNoEntryAndTheNextBatchPostsIt) {
  FSessao->ExecuteScript(std::string(kCentrosDeCusto) +
                         "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (960002, 'SEM "
                         "CENTROS', 'N');"
                         "INSERT INTO public.ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES "
                         "(961, '960001', 50), (961, '960002', 50);"
                         "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9601, 'FORNECEDOR DA FALHA');");
  const std::string lote =
      R"({"op": "RateioContas.ProcessoRateioConta", "args": {"CodFilial": "96", "CodRateioConta": 961,)"
      R"( "ValorLancto": 200, "DataLancto": "2030-05-10"}})"
      "\n"
      R"({"op": "RateioContas.InserirRateioConta", "record": {"TIPOLANC": "C", "VALOR": 200, "HISTORICO": "RATEIO",)"
      R"( "TIPOPARCEIRO": "F", "CODFORNEC": 9601, "CODFILIAL": "96", "DTLANC": "2030-05-10", "DTVENC": "2030-05-20",)"
      R"( "DTEMISSAO": "2030-05-10"}})"
      "\n";
  const std::string escrito =
      "SELECT (SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '96') || '/' || (SELECT COUNT(*) FROM ZTRATEIOCONTAS "
      "WHERE CODFILIAL = '96') || '/' || (SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '96') FROM DUAL";
  const Resposta r = ChamarEMatar(*FSessao, "ztrateiocontas", "INSERT", {"call", "--batch"}, lote);
  ASSERT_TRUE(r.Morto) << "no call was caught in the trigger";
  EXPECT_EQ(r.Codigo, 2);
  const std::vector<Json> respostas = r.Linhas();
  ASSERT_EQ(respostas.size(), 2u);
  EXPECT_EQ(respostas[0]["ok"], true) << respostas[0].dump();
  EXPECT_NE(respostas[1].value("message", "").find("ORA-0311"), std::string::npos) << respostas[1].dump();
  EXPECT_EQ(Valor(escrito), "0/0/0");

  const Resposta de_novo = Chamar({"call", "--batch"}, lote);
  EXPECT_EQ(de_novo.Codigo, 0) << de_novo.Saida;
  EXPECT_EQ(Valor(escrito), "2/2/2");
}

}  // namespace
