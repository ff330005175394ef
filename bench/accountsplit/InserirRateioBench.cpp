// Payable entries per second through an account apportionment: one entry of 100.00 split over three
// accounts (two with cost centers, three and two of them) by IFin_RateioContas (proposal, whole-split
// validation and posting), against the floor: the very statements one split sends, captured from
// the server's statement log and replayed through bare libpq with prepared statements. Both sides
// run in alternating batches on the same tables, one transaction per split.

#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr const char* kFilial = "7";
constexpr double kRateio = 710;

using bench::Executar;
using bench::Inteiro;
using bench::Valor;
using Clock = std::chrono::steady_clock;

// Accounts 7101 (cost centers BR.A 50%, BR.B 30%, BR.C 20%), 7102 (BR.A and BR.B, half each) and
// 7103 (none), split 40% / 35% / 25% by apportionment 710.
void Preparar(host::THostQuorvin& host) {
  TOraSession& sessao = host.Sessao();
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(
      "DELETE FROM ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = 710;"
      "DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTCONTA WHERE CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTLIB WHERE CODIGOA LIKE 'BR.%';"
      "DELETE FROM ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'BR.%';"
      "INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (7101, 'BENCH UM', 'S'), "
      "(7102, 'BENCH DOIS', 'S'), (7103, 'BENCH TRES', 'N');"
      "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('BR.A', 'A'), ('BR.B', 'B'), ('BR.C', 'C');"
      "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (7101, 'BR.A', 50), "
      "(7101, 'BR.B', 30), (7101, 'BR.C', 20), (7102, 'BR.A', 50), (7102, 'BR.B', 50);"
      "INSERT INTO ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES (710, '7101', 40), "
      "(710, '7102', 35), (710, '7103', 25);");
  Executar(sessao, "INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA) SELECT 10, " + std::to_string(host.Matricula()) +
                       ", CODIGOCENTROCUSTO FROM ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'BR.%'");
  Executar(sessao,
           "INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) SELECT 501, 'PAPELARIA CENTRAL LTDA' FROM DUAL "
           "WHERE NOT EXISTS (SELECT 1 FROM ZTFORNEC WHERE CODFORNEC = 501)");
  host.DefinirParametro("CON_NUMDIASMAXEMISSAOCP", "30");
  transacao.Commit();
}

RFin_IncluirContasPagar Despesa(TDateTime dia) {
  RFin_IncluirContasPagar despesa;
  despesa.Inicializar();
  despesa.TIPOLANC = "C";
  despesa.TIPOPARCEIRO = "F";
  despesa.CODFORNEC = 501;
  despesa.CODFILIAL = kFilial;
  despesa.VALOR = 100;
  despesa.HISTORICO = "BENCH";
  despesa.DTLANC = dia;
  despesa.DTEMISSAO = dia;
  despesa.DTVENC = dia + 10;
  return despesa;
}

// One split: the proposal, its validation and the posting; answers the entries created.
std::vector<double> Ratear(IFin_RateioContas& area, TDateTime dia, double usuario) {
  (void)area.ProcessoRateioConta(true, tlFinanceiro, kFilial, kRateio, 100, dia, usuario, false, 0, 0, 0);
  area.ValidarDadosInformadosParaInclusao();
  RFin_IncluirContasPagar despesa = Despesa(dia);
  area.InserirRateioConta(despesa);
  return despesa.RecNums();
}

// One split is one call of the host, which checks its kept parameters once, as the command line
// does for each call or batch line.
void RatearUma(host::THostQuorvin& host, IFin_RateioContas& area, TDateTime dia) {
  host.NovaChamada();
  TOraTransaction transacao(host.Sessao());
  (void)Ratear(area, dia, host.Matricula());
  transacao.Commit();
}

// ---- Capture: the server's statement log of the module's session, between two markers.

struct Captura {
  std::vector<bench::Comando> Comandos;
  std::vector<double> RecNums;  // the entries the captured split created
};

Captura Capturar(host::THostQuorvin& host, IFin_RateioContas& area, TDateTime dia) {
  Captura captura;
  host.NovaChamada();
  captura.Comandos = bench::Capturar(host.Sessao(), [&] { captura.RecNums = Ratear(area, dia, host.Matricula()); });
  return captura;
}

// The floor: the captured statements through bare libpq, each captured entry number replaced by a
// new one.
class Piso {
 public:
  Piso(const std::string& dsn, Captura captura) : FPiso(dsn, std::move(captura.Comandos)), FRecNums(captura.RecNums) {}

  void Ratear(double primeiro_recnum) {
    std::map<std::string, std::string> novos;
    for (std::size_t indice = 0; indice < FRecNums.size(); ++indice) {
      novos[ShortestDecimal(FRecNums[indice])] = ShortestDecimal(primeiro_recnum + static_cast<double>(indice));
    }
    FPiso.Executar(novos);
  }

  [[nodiscard]] std::size_t Quantidade() const noexcept { return FPiso.Quantidade(); }

 private:
  bench::PisoLibpq FPiso;
  std::vector<double> FRecNums;
};

void Limpar(host::THostQuorvin& host) {
  TOraTransaction limpeza(host.Sessao());
  host.Sessao().ExecuteScript(
      "DELETE FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '7' AND CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTRATEIOCONTAS WHERE CODFILIAL = '7' AND CODRATEIOCONTA = 710;"
      "DELETE FROM ZTLANC WHERE CODFILIAL = '7' AND HISTORICO = 'BENCH';");
  limpeza.Commit();
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_accountsplit: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int lotes = Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const int por_lote = Inteiro("QUORVIN_BENCH_BATCH_SIZE", 100);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_accountsplit";
    config.CacheParametros = true;
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    IFin_RateioContas& area = *gerente->GetRateioContas();
    const TDateTime dia = TDateTime::EncodeDate(2031, 3, 10);
    Preparar(host);

    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) RatearUma(host, area, dia);
    Captura captura = Capturar(host, area, dia);
    const std::size_t entradas_por_rateio = captura.RecNums.size();
    if (Inteiro("QUORVIN_BENCH_VERBOSE", 0) != 0) {
      for (const bench::Comando& comando : captura.Comandos) {
        std::printf("-- %zu parameter(s)\n%s\n", comando.Parametros.size(), comando.Texto.c_str());
      }
    }
    // The floor's entries are numbered far from the module's own.
    double recnum = 0;
    {
      TOraTransaction transacao(host.Sessao());
      recnum = std::atof(Valor(host.Sessao(), "SELECT NVL(MAX(RECNUM), 0) FROM ZTLANC").c_str()) + 50000000;
      transacao.Commit();
    }
    Piso piso(dsn, std::move(captura));
    const auto proximo = [&] {
      const double primeiro = recnum;
      recnum += static_cast<double>(entradas_por_rateio);
      return primeiro;
    };
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) piso.Ratear(proximo());

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    for (int lote = 0; lote < lotes; ++lote) {
      auto inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) RatearUma(host, area, dia);
      tempo_modulo += Clock::now() - inicio;
      inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) piso.Ratear(proximo());
      tempo_piso += Clock::now() - inicio;
    }

    const double rateios = static_cast<double>(lotes) * por_lote;
    const double entradas = rateios * static_cast<double>(entradas_por_rateio);
    const double modulo = entradas / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = entradas / std::chrono::duration<double>(tempo_piso).count();
    std::printf("bench_accountsplit: %.0f splits per side, %zu entries and %zu statements per split\n", rateios,
                entradas_por_rateio, piso.Quantidade());
    std::printf("  InserirRateioConta (module): %8.1f entries/s\n", modulo);
    std::printf("  floor (bare libpq):          %8.1f entries/s\n", fundo);
    std::printf("  module / floor:              %8.3f\n", modulo / fundo);
    // Per entry of a split: the split's statements (plus BEGIN and COMMIT) over its entries.
    const double idas = static_cast<double>(piso.Quantidade() + 2) / static_cast<double>(entradas_por_rateio);
    bench::LinhaTabela("InserirRateioConta, 3 contas (por lançamento)", true, modulo, idas);
    bench::LinhaTabela("InserirRateioConta, 3 contas (por lançamento)", false, fundo, idas);
    Limpar(host);
  } catch (const std::exception& erro) {
    std::cerr << "bench_accountsplit: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
