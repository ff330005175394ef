#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/Uclsfin_except.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/ZTCore.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "support/ConcurrentHosts.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

// Slip issuing under concurrent sessions. The cases commit, so they use banks, charges and sales no
// other test uses, and remove what they wrote.
namespace {

namespace fs = std::filesystem;

constexpr const char* kBancoEmUso =
    "ExNaoFoiPossivelBloqueiRegistroBancario: Processo não permitido no momento!\rEste banco está sendo utilizado "
    "por outro processo no Quorvin! Favor aguardar...";

struct Sessao : testsupport::HostSession {
  IFin_ContasReceber* Area = nullptr;

  explicit Sessao(int numero) : HostSession("tests-boletos-" + std::to_string(numero)) {
    Area = Financeiro->GetContasReceber();
  }
  static TFin_GerarBoletos Pedido(double transacao) {
    TFin_GerarBoletos boleto;
    boleto.NUMTRANSVENDA = transacao;
    boleto.getParametros().gerarDadosBancarios(true);
    boleto.getParametros().gerarBoletos(true);
    return boleto;
  }
  bool Emitir(double transacao) {
    TFin_GerarBoletos boleto = Pedido(transacao);
    return Area->EmitirBoletosBancarios(boleto, false);
  }
  bool EmitirLote(const std::vector<double>& transacoes) {
    std::vector<TFin_GerarBoletos> boletos;
    for (const double transacao : transacoes) boletos.push_back(Pedido(transacao));
    return Area->EmitirBoletosBancarios(boletos, false);
  }
  void Exec(const std::string& sql) {
    TOraQuery query(&Host->Sessao());
    query.SQL.Add(sql);
    query.ExecSQL();
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Host->Sessao(), sql).value_or(""); }
  void Commitado(const std::vector<std::string>& comandos) {
    TOraTransaction transacao(Host->Sessao());
    for (const std::string& sql : comandos) Exec(sql);
    transacao.Commit();
  }
};

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
        "(9871, 'BRADESCO CONCORRENCIA', 237, '1172', '403005', '09', '237')",
        "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) VALUES "
        "(9872, 'ITAU CONCORRENCIA', 341, '0057', '12345', '109', '341')",
        "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BRL1', 'S', 9871)",
        "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BRL2', 'S', 9872)",
        "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, SACADOELETRONICO) VALUES (98701, 'PAGADOR CONCORRENCIA', 'N')",
        "INSERT INTO ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('GERARARQUIVOSPDFBOLETOS', '*', 'S')",
        "INSERT INTO ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('DIRETORIOARQUIVOSPDFBOLETOS', '*', '" + FPasta +
            "')"};
    // Sale 987001 is charged to the first bank, 987002 to the second, 987003 to both.
    const char* titulos[][3] = {{"987001", "1", "BRL1"},
                                {"987002", "1", "BRL2"},
                                {"987003", "1", "BRL1"},
                                {"987003", "2", "BRL2"},
                                {"987004", "1", "BRL1"}};
    for (const auto& [transacao, prest, cobranca] : titulos) {
      comandos.push_back(
          "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) "
          "VALUES (" +
          std::string(transacao) + ", '" + prest + "', " + transacao + ", '1', 98701, '" + cobranca +
          "', TO_DATE('2026-12-30', 'YYYY-MM-DD'), 10)");
    }
    for (const char* transacao : {"987001", "987002", "987003", "987004"}) {
      comandos.push_back("INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (" +
                         std::string(transacao) + ", " + transacao + ", 98701, 14)");
    }
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
  // Titles of the sale with bank data, and its PDF files.
  std::string Gerados(Sessao& sessao, double transacao) {
    return sessao.Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = " + std::to_string(int(transacao)) +
                        " AND CODBARRA IS NOT NULL");
  }
  // The own numbers `banco` gave, in ascending order.
  std::vector<long long> NossosNumeros(double banco) {
    TOraQuery consulta(&FVerificacao.Host->Sessao());
    consulta.SQL.Add("SELECT NOSSONUMBCO FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 987001 AND 987999 AND CODBANCOCM = " +
                     std::to_string(int(banco)) + " AND NOSSONUMBCO IS NOT NULL");
    consulta.Open();
    std::vector<long long> numeros;
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      numeros.push_back(std::stoll(consulta.FieldByName("NOSSONUMBCO").AsString()));
    }
    std::sort(numeros.begin(), numeros.end());
    return numeros;
  }
  [[nodiscard]] std::size_t Arquivos(const std::string& prefixo) const {
    std::size_t total = 0;
    for (const auto& entrada : fs::directory_iterator(FPasta)) {
      total += entrada.path().filename().string().rfind(prefixo, 0) == 0 ? 1 : 0;
    }
    return total;
  }

  Sessao FVerificacao{0};
  std::string FPasta;
  std::string FProdAnterior;
};

// While one session issues for a bank, a second one issuing another sale of that bank is refused at
// once, with nothing written, in both forms; a sale of a bank nobody holds goes through; once the
// first commits, the refused one goes through too.
TEST_F(BoletosReliability, ASecondSessionIssuingForTheSameBankIsRefusedAtOnce) {
  Sessao primeira(1);
  Sessao segunda(2);
  TOraTransaction transacao_primeira(primeira.Host->Sessao());
  ASSERT_TRUE(primeira.Emitir(987001));
  {
    TOraTransaction transacao_segunda(segunda.Host->Sessao());
    EXPECT_FAILS_WITH(segunda.Emitir(987004), kBancoEmUso);
    // A batch holding one free bank and the busy one locks neither.
    EXPECT_FAILS_WITH(segunda.EmitirLote({987002, 987003}), kBancoEmUso);
    EXPECT_EQ(Gerados(segunda, 987004), "0");
    EXPECT_EQ(Gerados(segunda, 987002), "0");
    EXPECT_EQ(Gerados(segunda, 987003), "0");
    EXPECT_EQ(Arquivos("987004-"), 0u);
    EXPECT_EQ(Arquivos("987003-"), 0u);
    EXPECT_TRUE(segunda.Emitir(987002));
    transacao_segunda.Commit();
  }
  EXPECT_EQ(Arquivos("987002-"), 1u);
  transacao_primeira.Commit();
  TOraTransaction transacao_segunda(segunda.Host->Sessao());
  EXPECT_TRUE(segunda.EmitirLote({987003, 987004}));
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
    const std::string transacao = std::to_string(987100 + i);
    comandos.push_back(
        "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) VALUES (" +
        transacao + ", '1', " + transacao + ", '1', 98701, '" + (i % 2 == 0 ? "BRL1" : "BRL2") +
        "', TO_DATE('2026-12-30', 'YYYY-MM-DD'), 10)");
    comandos.push_back("INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (" + transacao + ", " +
                       transacao + ", 98701, 14)");
  }
  FVerificacao.Commitado(comandos);

  std::vector<int> recusas(static_cast<std::size_t>(sessoes), 0);
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-boletos-lotes", [&](testsupport::HostSession& sessao, int s) {
        IFin_ContasReceber* area = sessao.Financeiro->GetContasReceber();
        for (int l = 0; l < lotes; ++l) {
          std::vector<TFin_GerarBoletos> boletos{Sessao::Pedido(venda(s, l, 0)), Sessao::Pedido(venda(s, l, 1))};
          if (s % 2 == 1) std::swap(boletos[0], boletos[1]);
          while (true) {
            TOraTransaction transacao(sessao.Host->Sessao());
            try {
              (void)area->EmitirBoletosBancarios(boletos, false);
            } catch (const ExNaoFoiPossivelBloqueiRegistroBancario&) {
              ++recusas[static_cast<std::size_t>(s)];
              std::this_thread::sleep_for(std::chrono::milliseconds(2));
              continue;
            }
            transacao.Commit();
            break;
          }
        }
      });
  ASSERT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));

  const int por_banco = sessoes * lotes;
  std::vector<long long> esperados(static_cast<std::size_t>(por_banco));
  for (int i = 0; i < por_banco; ++i) esperados[static_cast<std::size_t>(i)] = i + 1;
  for (const double banco : {9871.0, 9872.0}) {
    EXPECT_EQ(NossosNumeros(banco), esperados) << "bank " << banco;
    EXPECT_EQ(FVerificacao.Valor("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = " +
                                 std::to_string(int(banco))),
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

}  // namespace
