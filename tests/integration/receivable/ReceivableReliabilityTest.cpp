#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <latch>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ReceivableSupport.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TClientDataSet.h"
#include "rtl/Formatacao.h"
#include "sdk/ZTCore.h"
#include "support/Failure.h"

// The receivable area under concurrent sessions and hostile command-line input. The cases commit,
// so each kind uses banks, charges, customers and sales no other test uses, and removes what it
// wrote before and after.
namespace {

namespace fs = std::filesystem;
using cli::Json;
using receivabletest::Sessao;

constexpr const char* kBancoEmUso =
    "ExNaoFoiPossivelBloqueiRegistroBancario: Processo não permitido no momento!\rEste banco está sendo utilizado "
    "por outro processo no Quorvin! Favor aguardar...";

// An open title of 10.00 (`valor` when given) due 2026-12-30 of customer `cliente`, branch "1".
std::string Titulo(const std::string& transacao, const std::string& prest, const std::string& cobranca,
                   const std::string& cliente, const std::string& valor = "10",
                   const std::string& vencimento = "2026-12-30") {
  return "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) VALUES (" +
         transacao + ", '" + prest + "', " + transacao + ", '1', " + cliente + ", '" + cobranca + "', TO_DATE('" +
         vencimento + "', 'YYYY-MM-DD'), " + valor + ")";
}

// Runs `chamada` in a transaction of its own, again after each refusal of a busy bank, until it goes
// through and is committed; answers how many times it was refused.
template <class Chamada>
int AteConseguir(TOraSession& sessao, Chamada chamada) {
  for (int recusas = 0;; ++recusas) {
    TOraTransaction transacao(sessao);
    try {
      chamada();
    } catch (const ExNaoFoiPossivelBloqueiRegistroBancario&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    transacao.Commit();
    return recusas;
  }
}

// Slips: banks 9871 and 9872 (charges BRL1 and BRL2), customer 98701, sales from 987001, PDFs in a
// folder of the test's own.
class BoletosReliability : public ::testing::Test {
 protected:
  void SetUp() override {
    FProdAnterior = DiretorioProd(-1);
    DefinirDiretorios(QUORVIN_PROD_DIR, DiretorioSpool(-1));
    FPasta = (fs::temp_directory_path() / "quorvin-boletos-concorrencia-XXXXXX").string();
    ASSERT_NE(::mkdtemp(FPasta.data()), nullptr);
    Limpar();
    std::vector<std::string> comandos{
        "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) VALUES "
        "(9871, 'BRADESCO CONCORRENCIA', 237, '1172', '403005', '09', '237'), "
        "(9872, 'ITAU CONCORRENCIA', 341, '0057', '12345', '109', '341')",
        "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BRL1', 'S', 9871), ('BRL2', 'S', 9872)",
        "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, SACADOELETRONICO) VALUES (98701, 'PAGADOR CONCORRENCIA', 'N')",
        "INSERT INTO ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('GERARARQUIVOSPDFBOLETOS', '*', 'S'), "
        "('DIRETORIOARQUIVOSPDFBOLETOS', '*', '" +
            FPasta + "')"};
    // Sale 987001 is charged to the first bank, 987002 to the second, 987003 to both.
    for (const auto& [transacao, prest, cobranca] : std::vector<std::array<const char*, 3>>{
             {"987001", "1", "BRL1"}, {"987002", "1", "BRL2"}, {"987003", "1", "BRL1"}, {"987003", "2", "BRL2"}}) {
      comandos.push_back(Titulo(transacao, prest, cobranca, "98701"));
    }
    comandos.push_back(Titulo("987004", "1", "BRL1", "98701"));
    for (int transacao = 987001; transacao <= 987004; ++transacao) comandos.push_back(Venda(transacao));
    FVerificacao.Commitado(comandos);
  }
  void TearDown() override {
    Limpar();
    std::error_code ignorado;
    fs::remove_all(FPasta, ignorado);
    DefinirDiretorios(FProdAnterior, DiretorioSpool(-1));
  }
  void Limpar() {
    FVerificacao.Commitado(
        {"DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 987001 AND 987999",
         "DELETE FROM ZTNFSAID WHERE NUMTRANSVENDA BETWEEN 987001 AND 987999",
         "DELETE FROM ZTBANCONOSSONUMERO WHERE CODBANCO IN (9871, 9872)",
         "DELETE FROM ZTCOB WHERE CODCOB IN ('BRL1', 'BRL2')", "DELETE FROM ZTBANCO WHERE CODBANCO IN (9871, 9872)",
         "DELETE FROM ZTCLIENT WHERE CODCLI = 98701",
         "DELETE FROM ZTPARAMETROS WHERE NOME IN ('GERARARQUIVOSPDFBOLETOS', 'DIRETORIOARQUIVOSPDFBOLETOS')"});
  }
  static std::string Venda(int transacao) {
    const std::string numero = std::to_string(transacao);
    return "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (" + numero + ", " + numero +
           ", 98701, 14)";
  }
  // Titles of the sale with bank data.
  static std::string Gerados(Sessao& sessao, int transacao) {
    return sessao.Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = " + std::to_string(transacao) +
                        " AND CODBARRA IS NOT NULL");
  }
  // The own numbers `banco` gave, in ascending order.
  std::vector<long long> NossosNumeros(int banco) {
    TOraQuery consulta(&FVerificacao.Host->Sessao());
    consulta.SQL.Add("SELECT NOSSONUMBCO FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 987001 AND 987999 AND CODBANCOCM = " +
                     std::to_string(banco) + " AND NOSSONUMBCO IS NOT NULL");
    consulta.Open();
    std::vector<long long> numeros;
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      numeros.push_back(std::stoll(consulta.FieldByName("NOSSONUMBCO").AsString()));
    }
    std::sort(numeros.begin(), numeros.end());
    return numeros;
  }
  // PDF files whose name starts with `prefixo`.
  [[nodiscard]] std::size_t Arquivos(const std::string& prefixo) const {
    std::size_t total = 0;
    for (const auto& entrada : fs::directory_iterator(FPasta)) {
      total += entrada.path().filename().string().rfind(prefixo, 0) == 0 ? 1 : 0;
    }
    return total;
  }

  Sessao FVerificacao{"tests-boletos-0"};
  std::string FPasta;
  std::string FProdAnterior;
};

// While one session issues for a bank, a second one issuing another sale of that bank is refused at
// once, with nothing written, in both forms; a sale of a bank nobody holds goes through; once the
// first commits, the refused one goes through too.
TEST_F(BoletosReliability, ASecondSessionIssuingForTheSameBankIsRefusedAtOnce) {
  Sessao primeira("tests-boletos-1");
  Sessao segunda("tests-boletos-2");
  TOraTransaction transacao_primeira(primeira.Host->Sessao());
  ASSERT_TRUE(primeira.Emitir({987001}));
  {
    TOraTransaction transacao_segunda(segunda.Host->Sessao());
    EXPECT_FAILS_WITH(segunda.Emitir({987004}), kBancoEmUso);
    // A batch holding one free bank and the busy one locks neither.
    EXPECT_FAILS_WITH(segunda.Emitir({987002, 987003}), kBancoEmUso);
    for (const int transacao : {987004, 987002, 987003}) EXPECT_EQ(Gerados(segunda, transacao), "0") << transacao;
    EXPECT_EQ(Arquivos("987004-") + Arquivos("987003-"), 0u);
    EXPECT_TRUE(segunda.Emitir({987002}));
    transacao_segunda.Commit();
  }
  EXPECT_EQ(Arquivos("987002-"), 1u);
  transacao_primeira.Commit();
  TOraTransaction transacao_segunda(segunda.Host->Sessao());
  EXPECT_TRUE(segunda.Emitir({987003, 987004}));
  transacao_segunda.Commit();
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) || ':' || COUNT(DISTINCT CODBANCOCM || '-' || NOSSONUMBCO) FROM "
                               "ZTPREST WHERE NUMTRANSVENDA BETWEEN 987001 AND 987004 AND CODBARRA IS NOT NULL"),
            "5:5");
  EXPECT_EQ(Arquivos("987"), 5u);
}

// Sessions issuing batches that need both banks, each retrying after the refusal until its batch is
// issued (half of them name the banks' sales in the other order): every refusal is the designed
// one, no own number repeats, each bank's numbers run from 1 without a gap to its counter, and each
// title has its PDF.
TEST_F(BoletosReliability, SessionsRetryingOnBusyBanksNeverRepeatOrSkipAnOwnNumber) {
  const int sessoes = testsupport::SoakSessions(4);
  const int lotes = 3;
  // Batch `l` of session `s`: sale 987100 + 2 * (s * lotes + l) on the first bank, the next one on
  // the second.
  const auto venda = [&](int s, int l, int banco) { return 987100 + 2 * (s * lotes + l) + banco; };
  std::vector<std::string> comandos;
  for (int i = 0; i < 2 * sessoes * lotes; ++i) {
    comandos.push_back(Titulo(std::to_string(987100 + i), "1", i % 2 == 0 ? "BRL1" : "BRL2", "98701"));
    comandos.push_back(Venda(987100 + i));
  }
  FVerificacao.Commitado(comandos);

  std::vector<int> recusas(static_cast<std::size_t>(sessoes), 0);
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-boletos-lotes", [&](testsupport::HostSession& sessao, int s) {
        IFin_ContasReceber* area = sessao.Financeiro->GetContasReceber();
        for (int l = 0; l < lotes; ++l) {
          std::vector<TFin_GerarBoletos> boletos{receivabletest::Pedido(venda(s, l, 0)),
                                                 receivabletest::Pedido(venda(s, l, 1))};
          if (s % 2 == 1) std::swap(boletos[0], boletos[1]);
          recusas[static_cast<std::size_t>(s)] +=
              AteConseguir(sessao.Host->Sessao(), [&] { (void)area->EmitirBoletosBancarios(boletos, false); });
        }
      });
  ASSERT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));

  const int por_banco = sessoes * lotes;
  std::vector<long long> esperados(static_cast<std::size_t>(por_banco));
  for (int i = 0; i < por_banco; ++i) esperados[static_cast<std::size_t>(i)] = i + 1;
  for (const int banco : {9871, 9872}) {
    EXPECT_EQ(NossosNumeros(banco), esperados) << "bank " << banco;
    EXPECT_EQ(FVerificacao.Valor("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = " +
                                 std::to_string(banco)),
              std::to_string(por_banco));
  }
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 987100 AND 987999 AND "
                               "CODBARRA IS NOT NULL AND LINHADIG IS NOT NULL"),
            std::to_string(2 * por_banco));
  EXPECT_EQ(Arquivos("987"), static_cast<std::size_t>(2 * por_banco));
  int total_recusas = 0;
  for (const int r : recusas) total_recusas += r;
  std::cout << "[figures] " << sessoes << " sessions x " << lotes << " slip batches on two banks: " << 2 * por_banco
            << " slips, own numbers 1.." << por_banco << " per bank, " << total_recusas << " refusals retried\n";
}

// Bank data: bank 9891 (charge BKRL), customer 98901, sales from 989100, two titles each.
constexpr int kPrimeiraTransacao = 989100;

void LimparDadosBancarios(Sessao& sessao) {
  sessao.Commitado({"DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 989100 AND 990099",
                    "DELETE FROM ZTBANCONOSSONUMERO WHERE CODBANCO = 9891", "DELETE FROM ZTCOB WHERE CODCOB = 'BKRL'",
                    "DELETE FROM ZTBANCO WHERE CODBANCO = 9891", "DELETE FROM ZTCLIENT WHERE CODCLI = 98901"});
}

void PrepararDadosBancarios(Sessao& sessao, int transacoes) {
  std::vector<std::string> comandos{
      "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) VALUES (9891, "
      "'BRADESCO CONCORRENCIA', 237, '1172', '403005', '09', '237')",
      "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BKRL', 'S', 9891)",
      "INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (98901, 'PAGADOR CONCORRENCIA')"};
  for (int t = 0; t < transacoes; ++t) {
    for (const char* prest : {"1", "2"}) {
      comandos.push_back(Titulo(std::to_string(kPrimeiraTransacao + t), prest, "BKRL", "98901", "19.99", "2026-06-01"));
    }
  }
  sessao.Commitado(comandos);
}

bool GerarDadosBancarios(Sessao& sessao, double transacao) {
  TFin_GerarBoletos boleto = receivabletest::Pedido(transacao, "", false);
  return sessao.DadosBancarios().GerarDadosBancarios(boleto);
}

class DadosBancariosReliability : public ::testing::Test {
 protected:
  void SetUp() override { LimparDadosBancarios(FVerificacao); }
  void TearDown() override { LimparDadosBancarios(FVerificacao); }
  Sessao FVerificacao{"tests-bankdata-0"};
};

// While one session holds the bank, a second is refused at once with the designed message instead
// of waiting, and its transaction stays usable; once the first commits, the second goes through.
TEST_F(DadosBancariosReliability, ASecondSessionIsRefusedAtOnceWhileTheBankIsInUse) {
  PrepararDadosBancarios(FVerificacao, 2);
  Sessao primeira("tests-bankdata-1");
  Sessao segunda("tests-bankdata-2");
  TOraTransaction transacao_primeira(primeira.Host->Sessao());
  ASSERT_TRUE(GerarDadosBancarios(primeira, kPrimeiraTransacao));
  {
    TOraTransaction transacao_segunda(segunda.Host->Sessao());
    EXPECT_FAILS_WITH(GerarDadosBancarios(segunda, kPrimeiraTransacao + 1), kBancoEmUso);
    EXPECT_EQ(segunda.Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 989101 AND CODBARRA IS NULL"), "2");
    // The package takes the same lock when it is called by other means.
    EXPECT_FAILS_WITH(segunda.Exec("BEGIN PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS('1', 'BKRL', 9891, 989101, 0, "
                                   "'1', 'N', 'N', 'S'); END;"),
                      std::string("EOraBusy: ORA-00054: could not obtain lock on row in relation \"ztbanco\""));
  }
  transacao_primeira.Commit();
  TOraTransaction transacao_segunda(segunda.Host->Sessao());
  EXPECT_TRUE(GerarDadosBancarios(segunda, kPrimeiraTransacao + 1));
  transacao_segunda.Commit();
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(DISTINCT NOSSONUMBCO) FROM ZTPREST WHERE CODCOB = 'BKRL'"), "4");
}

// Sessions generating for one bank at once, each retrying while the bank is busy: every title gets
// its own number, the counter ends at the number of titles, and no session ever waited on the lock.
TEST_F(DadosBancariosReliability, ConcurrentSessionsNeverRepeatAnOwnNumber) {
  const int sessoes = 4;
  const int transacoes_por_sessao = testsupport::SoakSessions(5);
  PrepararDadosBancarios(FVerificacao, sessoes * transacoes_por_sessao);
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-bankdata", [&](testsupport::HostSession& base, int s) {
        Sessao sessao(std::move(base));
        for (int t = 0; t < transacoes_por_sessao; ++t) {
          const double transacao = kPrimeiraTransacao + s * transacoes_por_sessao + t;
          (void)AteConseguir(sessao.Host->Sessao(), [&] { (void)GerarDadosBancarios(sessao, transacao); });
        }
      });
  ASSERT_EQ(erros, std::vector<std::string>(sessoes));

  const int titulos = sessoes * transacoes_por_sessao * 2;
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) || ':' || COUNT(DISTINCT NOSSONUMBCO) || ':' || MIN(NOSSONUMBCO) || "
                               "':' || MAX(NOSSONUMBCO) FROM ZTPREST WHERE CODCOB = 'BKRL' AND CODBARRA IS NOT NULL"),
            std::to_string(titulos) + ":" + std::to_string(titulos) +
                ":00000000001:" + std::string(11 - std::to_string(titulos).size(), '0') + std::to_string(titulos));
  EXPECT_EQ(FVerificacao.Valor("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = 9891"),
            std::to_string(titulos));
}

// A hostile command-line request: refused with its exit code and a message holding `Mensagem`, or
// (exit 0) done as asked.
struct Pedido {
  const char* Nome;
  const char* Campos;
  int Saida;
  const char* Mensagem;
  friend void PrintTo(const Pedido& c, std::ostream* out) { *out << c.Nome; }
};

std::string NomeDoPedido(const ::testing::TestParamInfo<Pedido>& info) {
  return info.param.Nome;
}

class DadosBancariosHostileInput : public ::testing::TestWithParam<Pedido> {};

INSTANTIATE_TEST_SUITE_P(Cli, DadosBancariosHostileInput,
                         ::testing::Values(Pedido{"TextWhereANumberGoes", R"("NUMTRANSVENDA": "989100")", 2,
                                                  "args.NUMTRANSVENDA: esperado número, recebido texto."},
                                           Pedido{"FractionalTransaction", R"("NUMTRANSVENDA": 989100.5)", 2,
                                                  "NUMTRANSVENDA"},
                                           Pedido{"InstalmentWiderThanItsColumn",
                                                  R"("NUMTRANSVENDA": 989100, "PREST": "1' OR '1'='1")", 2, "PREST"},
                                           Pedido{"NoTransactionNumber", R"("PREST": "1")", 2, "NUMTRANSVENDA"},
                                           Pedido{"UnknownTitle", R"("NUMTRANSVENDA": 989999)", 1,
                                                  "Não foi encontrado o registro do contas a receber."},
                                           Pedido{"QuoteInInstalment", R"("NUMTRANSVENDA": 989100, "PREST": "'")", 1,
                                                  "Não foi encontrado o registro do contas a receber."}),
                         NomeDoPedido);

TEST_P(DadosBancariosHostileInput, IsRefusedClearlyAndWritesNothing) {
  Sessao verificacao("tests-bankdata-0");
  LimparDadosBancarios(verificacao);
  PrepararDadosBancarios(verificacao, 1);
  const auto resposta = receivabletest::Chamar({"call", "ContasReceber.GerarDadosBancarios"},
                                               R"({"args": {)" + std::string(GetParam().Campos) + "}}");
  EXPECT_EQ(resposta.Codigo, GetParam().Saida) << resposta.Saida << resposta.Erros;
  const Json json = Json::parse(resposta.Saida);
  EXPECT_EQ(json["ok"], false);
  EXPECT_NE(json["message"].get<std::string>().find(GetParam().Mensagem), std::string::npos) << resposta.Saida;
  EXPECT_EQ(verificacao.Valor("SELECT COUNT(*) FROM ZTPREST WHERE CODCOB = 'BKRL' AND CODBARRA IS NOT NULL"), "0");
  LimparDadosBancarios(verificacao);
}

// Payment tracking: each session's temporary rows are its own, so runs of the same kind at once
// never delete or read one another's. Customer 98951, sales 989500 and up.
TEST(ContasReceberRastreioReliability, SessionsOfOneKindKeepTheirOwnRows) {
  Sessao dados("tests-rastreio-dados");
  const std::vector<std::string> limpeza{"DELETE FROM ZTPRESTDNI WHERE NUMTRANSVENDA BETWEEN 989500 AND 989599",
                                         "DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 989500 AND 989599",
                                         "DELETE FROM ZTCLIENT WHERE CODCLI = 98951"};
  dados.Commitado(limpeza);
  std::vector<std::string> titulos = {"INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (98951, 'RASTREIO')"};
  for (int i = 0; i < 3; ++i) {
    const std::string venda = std::to_string(989500 + i);
    titulos.push_back(
        "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) VALUES (" +
        venda + ", '1', " + venda + ", '1', 98951, 10, 10, DATE '2026-03-01', 'BK')");
    titulos.push_back("INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (" + venda + ", '1', 1)");
  }
  dados.Commitado(titulos);

  const int sessoes = testsupport::SoakSessions(8);
  std::latch escreveram(sessoes);
  std::vector<int> linhas(static_cast<std::size_t>(sessoes), -1);
  std::vector<std::string> depois(static_cast<std::size_t>(sessoes));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-rastreio", [&](testsupport::HostSession& sessao, int numero) {
        TOraSession& s = sessao.Host->Sessao();
        RFin_FiltrosOpcoesContasReceber filtros;
        filtros.Clientes = "98951";
        // Each run deletes the kind's rows and writes its own, committed, while the others do the same.
        for (int rodada = 0; rodada < 3; ++rodada) {
          TOraTransaction transacao(s);
          TClientDataSet resultado;
          sessao.Financeiro->GetContasReceber()->CarregarPagamentos(s, filtros, TStatusRastreamentoTitulos::srtTodos,
                                                                    TTipoRegistrosRastreamento::trrSped,
                                                                    TPersistenciaDados::tpdTabelaTemporaria, resultado);
          linhas[static_cast<std::size_t>(numero)] = static_cast<int>(resultado.RecordCount());
          transacao.Commit();
        }
        escreveram.arrive_and_wait();
        depois[static_cast<std::size_t>(numero)] =
            testsupport::QueryValue(s, "SELECT COUNT(*) FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = 'S'").value_or("");
        TOraTransaction transacao(s);
        sessao.Financeiro->GetContasReceber()->ApagarDadosRastreamentoDePagamento(s,
                                                                                  TTipoRegistrosRastreamento::trrSped);
        transacao.Commit();
      });
  dados.Commitado(limpeza);
  for (int i = 0; i < sessoes; ++i) {
    const auto n = static_cast<std::size_t>(i);
    EXPECT_EQ(erros[n], "") << i;
    EXPECT_EQ(linhas[n], 3) << i;
    EXPECT_EQ(depois[n], "3") << i;  // after every session has written and committed
  }
}

// Titles: sale 977800, customer 97780.
constexpr const char* kLimparTitulos = "DELETE FROM ZTPREST WHERE NUMTRANSVENDA = 977800";

class TitulosReliability : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { FVerificacao.Commitado({kLimparTitulos}); }
  void TearDown() override { FVerificacao.Commitado({kLimparTitulos}); }
  Sessao FVerificacao{"tests-titulos-0"};
};

INSTANTIATE_TEST_SUITE_P(Sessoes, TitulosReliability, ::testing::Values(2, 8));

// Sessions inserting titles of one sale at once each get an instalment of their own, and each is
// told the instalment it took.
TEST_P(TitulosReliability, ConcurrentInsertionsOfOneSaleNeverShareAnInstalment) {
  const int sessoes = GetParam();
  std::vector<std::string> prestacoes(static_cast<std::size_t>(sessoes));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-titulos", [&](testsupport::HostSession& sessao, int s) {
        TContasReceberZTPrest t;
        t.CODFILIAL = "1";
        t.NUMTRANSVENDA = 977800;
        t.DUPLIC = 7780;
        t.DTVENC = TDateTime::EncodeDate(2027, 2, 1);
        t.CODCOB = "D";
        t.VALOR = 10;
        t.CODCLI = 97780;
        t.CODUSUR = 1;
        TOraTransaction transacao(sessao.Host->Sessao());
        sessao.Financeiro->GetContasReceber()->Incluir(t);
        transacao.Commit();
        prestacoes[static_cast<std::size_t>(s)] = t.PREST;
      });
  ASSERT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));
  std::set<std::string> esperadas;
  for (int p = 1; p <= sessoes; ++p) esperadas.insert(std::to_string(p));
  EXPECT_EQ(std::set<std::string>(prestacoes.begin(), prestacoes.end()), esperadas);
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) || ':' || COUNT(DISTINCT PREST) FROM ZTPREST WHERE NUMTRANSVENDA = "
                               "977800"),
            std::to_string(sessoes) + ":" + std::to_string(sessoes));
}

// Hostile titles through the command line: each is refused with a clear message and exit code
// before anything is written, or, for text that looks like SQL, stored exactly as written.
class TitulosHostileInput : public ::testing::TestWithParam<Pedido> {};

INSTANTIATE_TEST_SUITE_P(Cli, TitulosHostileInput,
                         ::testing::Values(Pedido{"TextWhereANumberGoes", R"("NUMTRANSVENDA": "977800")", 2,
                                                  "record.NUMTRANSVENDA: esperado número, recebido texto."},
                                           Pedido{"FractionalSale", R"("NUMTRANSVENDA": 977800.5)", 2, "NUMTRANSVENDA"},
                                           Pedido{"BranchWiderThanItsColumn", R"("CODFILIAL": "1' OR '1'='1")", 2,
                                                  "CODFILIAL"},
                                           Pedido{"ImpossibleDueDate", R"("DTVENC": "2027-02-30")", 2, "DTVENC"},
                                           Pedido{"NegativeValue", R"("VALOR": -5)", 1,
                                                  "O valor informado não pode estar vazio ou igual a zero."},
                                           Pedido{"SqlInTheObservation", R"("OBS2": "x'); DELETE FROM ZTPREST; --")", 0,
                                                  "\"result\": \"1\""}),
                         NomeDoPedido);

TEST_P(TitulosHostileInput, IsRefusedClearlyOrStoredAsWritten) {
  Sessao verificacao("tests-titulos-0");
  verificacao.Commitado({kLimparTitulos});
  // The fields of a valid title, then the case's own (a field named twice takes the later value).
  const auto resposta = receivabletest::Chamar(
      {"call", "ContasReceber.Incluir"},
      std::string(R"({"record": {"CODFILIAL": "1", "NUMTRANSVENDA": 977800, "DUPLIC": 7780, "DTVENC": "2027-02-01",)"
                  R"( "CODCOB": "D", "VALOR": 10, "CODCLI": 97780, "CODUSUR": 1, )") +
          GetParam().Campos + "}}");
  EXPECT_EQ(resposta.Codigo, GetParam().Saida) << resposta.Saida << resposta.Erros;
  EXPECT_NE(resposta.Saida.find(GetParam().Mensagem), std::string::npos) << resposta.Saida;
  EXPECT_EQ(verificacao.Valor("SELECT COUNT(*) || ':' || MAX(OBS2) FROM ZTPREST WHERE NUMTRANSVENDA = 977800"),
            GetParam().Saida == 0 ? "1:x'); DELETE FROM ZTPREST; --" : "0:");
  verificacao.Commitado({kLimparTitulos});
}

}  // namespace
