// Payable entries per second through IFin_ContasPagar::Incluir (routine 749, budget control with
// supplementation on, the account's three cost centers when the cost-center area is in the build),
// against the floor: the very statements one Incluir sends, captured from the server's statement log
// and replayed through bare libpq with prepared statements. Both sides run in alternating batches on
// the same tables, one transaction per entry.

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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
#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr const char* kFilial = "8";
constexpr double kConta = 3109;

using bench::Executar;
using bench::Inteiro;
using bench::Valor;
using Clock = std::chrono::steady_clock;

bool TabelaExiste(TOraSession& sessao, const std::string& tabela) {
  return Valor(sessao, "SELECT COUNT(*) FROM USER_TABLES WHERE UPPER(TABLE_NAME) = '" + tabela + "'") != "0";
}

// The branch, its budget and, with the cost-center area, the account's three cost centers.
void Preparar(host::THostQuorvin& host, bool com_centro_custo, TDateTime vencimento) {
  TOraSession& sessao = host.Sessao();
  TOraTransaction transacao(sessao);
  if (!TabelaExiste(sessao, "ZTORCLAN")) {
    // The budget table arrives with the cost-center schema; a stand-in keeps the budget check real.
    std::string colunas;
    for (int mes = 1; mes <= 12; ++mes)
      colunas += ", VLORCMES" + std::string(mes < 10 ? "0" : "") + std::to_string(mes) + " numeric(14,2)";
    sessao.ExecuteScript("CREATE TABLE ZTORCLAN (CODCONTA numeric(10), CODFILIAL varchar(2), ANO numeric(4)" + colunas +
                         ")");
  }
  host.DefinirParametro("TRABSUPLORC", "S", kFilial);
  host.DefinirParametro("ORCREGCOMPETENCIA", "N", kFilial);
  host.DefinirParametro("CON_NUMDIASMAXEMISSAOCP", "30");
  host.DefinirParametro("CON_NUMDIASMINDESPPAG", "0");
  Executar(sessao,
           "INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) SELECT 501, 'PAPELARIA CENTRAL LTDA' FROM DUAL "
           "WHERE NOT EXISTS (SELECT 1 FROM ZTFORNEC WHERE CODFORNEC = 501)");
  const std::string mes = (vencimento.Month() < 10 ? "0" : "") + std::to_string(vencimento.Month());
  Executar(sessao, "DELETE FROM ZTORCLAN WHERE CODCONTA = 3109 AND CODFILIAL = '8'");
  Executar(sessao, "INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES" + mes + ") VALUES (3109, '8', " +
                       std::to_string(vencimento.Year()) + ", 99999999999)");
  if (com_centro_custo) {
    host.DefinirParametro("UTILIZACENTROCUSTO", "S", kFilial);
    Executar(sessao,
             "INSERT INTO ZTCONTA (CODCONTA, USARATEIOCENTROCUSTO) SELECT 3109, 'S' FROM DUAL "
             "WHERE NOT EXISTS (SELECT 1 FROM ZTCONTA WHERE CODCONTA = 3109)");
    const char* centros[][2] = {{"BENCH.A", "50"}, {"BENCH.B", "30"}, {"BENCH.C", "20"}};
    for (const auto& centro : centros) {
      const std::string codigo = std::string("'") + centro[0] + "'";
      Executar(sessao, "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO, RECEBE_LANCTO) SELECT " +
                           codigo + ", " + codigo + ", 'S', 'S' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM " +
                           "ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO = " + codigo + ")");
      Executar(sessao, "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, PERCRATEIO, CODIGOCENTROCUSTO) SELECT 3109, " +
                           std::string(centro[1]) + ", " + codigo + " FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM " +
                           "ZTCONTACENTROCUSTO WHERE CODCONTA = 3109 AND CODIGOCENTROCUSTO = " + codigo + ")");
      Executar(sessao, "INSERT INTO ZTLIB (CODTABELA, CODIGOA, CODFUNC) SELECT 10, " + codigo + ", " +
                           std::to_string(host.Matricula()) + " FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTLIB " +
                           "WHERE CODTABELA = 10 AND CODIGOA = " + codigo +
                           " AND CODFUNC = " + std::to_string(host.Matricula()) + ")");
    }
  }
  transacao.Commit();
}

// Dead rows of the entries removed and fresh statistics, outside any transaction (VACUUM runs in
// none), so each measurement starts from tables in the same shape.
void Arrumar(TOraSession& sessao) {
  sessao.ExecuteScript("VACUUM ANALYZE public.ZTLANC");
  sessao.ExecuteScript("VACUUM ANALYZE public.ZTRATEIOCENTROCUSTO");
  // The pages the bulk insert dirtied are written now, not by a checkpoint during the measurement
  // (a user that may not checkpoint measures with that noise).
  try {
    sessao.ExecuteScript("CHECKPOINT");
  } catch (const EOraError&) {
  }
}

// The account's history: entries [de, ate) of earlier months (due every day of the ten years
// before the measured month, every other one paid), with their three cost centers. The measured
// month itself stays as the benchmark left it.
void Historico(host::THostQuorvin& host, bool com_centro_custo, long de, long ate) {
  TOraSession& sessao = host.Sessao();
  TOraTransaction transacao(sessao);
  const std::string serie = "generate_series(" + std::to_string(de) + ", " + std::to_string(ate - 1) + ") i";
  sessao.ExecuteScript(
      "INSERT INTO public.ZTLANC (RECNUM, CODCONTA, CODFILIAL, VALOR, VPAGO, TIPOLANC, TIPOPARCEIRO, CODFORNEC, "
      "HISTORICO, DTLANC, DTEMISSAO, DTVENC, DTPAGTO) "
      "SELECT 5000000000 + i, 3109, '8', 10, CASE WHEN i % 2 = 0 THEN 10 END, 'C', 'F', 501, 'BENCH-HIST', "
      "d - INTERVAL '10 days', d - INTERVAL '10 days', d, CASE WHEN i % 2 = 0 THEN d END "
      "FROM " +
      serie + ", LATERAL (SELECT TIMESTAMP '2031-02-28' - (i % 3650) * INTERVAL '1 day' d) dia");
  if (com_centro_custo) {
    sessao.ExecuteScript(
        "INSERT INTO public.ZTRATEIOCENTROCUSTO (RECNUM, CODCONTA, CODFILIAL, CODIGOCENTROCUSTO, VALOR, PERCRATEIO) "
        "SELECT 5000000000 + i, 3109, '8', c.codigo, c.valor, c.perc FROM " +
        serie + ", (VALUES ('BENCH.A', 5, 50), ('BENCH.B', 3, 30), ('BENCH.C', 2, 20)) c(codigo, valor, perc)");
  }
  transacao.Commit();
  Arrumar(sessao);
}

// The entries the benchmark posted (all due in the measured month) go, so that each measurement
// starts from the same month and differs from the last only in the history before it.
void LimparMes(host::THostQuorvin& host) {
  TOraSession& sessao = host.Sessao();
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(
      "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM IN "
      "(SELECT RECNUM FROM public.ZTLANC WHERE CODFILIAL = '8' AND HISTORICO = 'BENCH');"
      "DELETE FROM public.ZTLANC WHERE CODFILIAL = '8' AND HISTORICO = 'BENCH'");
  transacao.Commit();
  Arrumar(sessao);
}

RFin_IncluirContasPagar Despesa(double recnum, TDateTime dia) {
  RFin_IncluirContasPagar despesa;
  despesa.Inicializar();
  despesa.RECNUM = recnum;
  despesa.TIPOLANC = "C";
  despesa.TIPOPARCEIRO = "F";
  despesa.CODFORNEC = 501;
  despesa.CODFILIAL = kFilial;
  despesa.CODCONTA = kConta;
  despesa.VALOR = 10;
  despesa.HISTORICO = "BENCH";
  despesa.DTLANC = dia;
  despesa.DTEMISSAO = dia;
  despesa.DTVENC = dia + 10;
  despesa.LABELROTINA = "749";
  return despesa;
}

// One entry is one call of the host, as one line of a batch.
void IncluirUma(host::THostQuorvin& host, IFin_ContasPagar& pagar, double recnum, TDateTime dia) {
  host.NovaChamada();
  RFin_IncluirContasPagar despesa = Despesa(recnum, dia);
  TOraTransaction transacao(host.Sessao());
  pagar.Incluir(despesa);
  transacao.Commit();
}

// The statements one entry sends, captured from the server's log.
std::vector<bench::Comando> Capturar(host::THostQuorvin& host, IFin_ContasPagar& pagar, double recnum, TDateTime dia) {
  host.NovaChamada();
  return bench::Capturar(host.Sessao(), [&] {
    RFin_IncluirContasPagar despesa = Despesa(recnum, dia);
    pagar.Incluir(despesa);
  });
}

// The floor: the captured statements through bare libpq, the captured entry number replaced by the
// one being posted.
class Piso {
 public:
  Piso(const std::string& dsn, std::vector<bench::Comando> comandos, double recnum_capturado)
      : FPiso(dsn, std::move(comandos)), FRecNumCapturado(ShortestDecimal(recnum_capturado)) {}

  void Incluir(double recnum) { FPiso.Executar({{FRecNumCapturado, ShortestDecimal(recnum)}}); }
  void Explicar(double recnum) { FPiso.Explicar({{FRecNumCapturado, ShortestDecimal(recnum)}}); }

 private:
  bench::PisoLibpq FPiso;
  std::string FRecNumCapturado;
};

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_payable: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int lotes = Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const int por_lote = Inteiro("QUORVIN_BENCH_BATCH_SIZE", 200);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.CodigoRotina = 749;
    config.Programa = "bench_payable";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    IFin_ContasPagar& pagar = *gerente->GetContasPagar();
    const bool com_centro_custo = gerente->GetCentroCusto() != nullptr;
    const TDateTime dia = TDateTime::EncodeDate(2031, 3, 10);
    Preparar(host, com_centro_custo, dia + 10);

    double recnum = 0;
    {
      TOraTransaction transacao(host.Sessao());
      recnum = std::max(std::atof(Valor(host.Sessao(), "SELECT NVL(MAX(RECNUM), 0) FROM ZTLANC").c_str()),
                        host.ProximoRecNum()) +
               1000000;
      transacao.Commit();
    }
    // Without the parameters kept in memory: every parameter is read for every entry, as a host
    // that reads them each time would; this list is the earlier floor.
    host.SetCacheParametros(false);
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) IncluirUma(host, pagar, ++recnum, dia);
    const double capturado_sem_cache = ++recnum;
    std::vector<bench::Comando> comandos_sem_cache = Capturar(host, pagar, capturado_sem_cache, dia);
    // The command line's host: parameters kept across calls, their version read once per call.
    host.SetCacheParametros(true);
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) IncluirUma(host, pagar, ++recnum, dia);
    const double capturado = ++recnum;
    std::vector<bench::Comando> comandos = Capturar(host, pagar, capturado, dia);
    const std::size_t quantidade_comandos = comandos.size();
    const std::size_t quantidade_sem_cache = comandos_sem_cache.size();
    if (Inteiro("QUORVIN_BENCH_VERBOSE", 0) != 0) {
      for (const bench::Comando& comando : comandos) {
        std::printf("-- %zu parameter(s)\n%s\n", comando.Parametros.size(), comando.Texto.c_str());
      }
    }
    Piso piso(dsn, std::move(comandos), capturado);
    Piso piso_sem_cache(dsn, std::move(comandos_sem_cache), capturado_sem_cache);
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) piso.Incluir(++recnum);
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) piso_sem_cache.Incluir(++recnum);

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    Clock::duration tempo_piso_sem_cache{};
    std::uint64_t idas_modulo = 0;
    for (int lote = 0; lote < lotes; ++lote) {
      auto inicio = Clock::now();
      const std::uint64_t idas_antes = oradb::RoundTrips(host.Sessao());
      for (int i = 0; i < por_lote; ++i) IncluirUma(host, pagar, ++recnum, dia);
      idas_modulo += oradb::RoundTrips(host.Sessao()) - idas_antes;
      tempo_modulo += Clock::now() - inicio;
      inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) piso.Incluir(++recnum);
      tempo_piso += Clock::now() - inicio;
      inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) piso_sem_cache.Incluir(++recnum);
      tempo_piso_sem_cache += Clock::now() - inicio;
    }

    const double total = static_cast<double>(lotes) * por_lote;
    const auto taxa = [&](Clock::duration tempo) { return total / std::chrono::duration<double>(tempo).count(); };
    const double modulo = taxa(tempo_modulo);
    const double fundo = taxa(tempo_piso);
    const double fundo_sem_cache = taxa(tempo_piso_sem_cache);
    std::printf("bench_payable: %.0f entries per side, cost centers: %s\n", total,
                com_centro_custo ? "three per entry" : "area not in this build");
    std::printf("  statements per entry:    %8zu (parameters read each time: %zu)\n", quantidade_comandos,
                quantidade_sem_cache);
    std::printf("  Incluir (module):        %8.1f entries/s\n", modulo);
    std::printf("  floor (bare libpq):      %8.1f entries/s\n", fundo);
    std::printf("  earlier floor:           %8.1f entries/s (parameters read each time)\n", fundo_sem_cache);
    std::printf("  module / floor:          %8.3f\n", modulo / fundo);
    std::printf("  module / earlier floor:  %8.3f\n", modulo / fundo_sem_cache);
    // The module's round trips as its session counted them; the floor's are its statements plus
    // BEGIN and COMMIT.
    const double idas_por_entrada = static_cast<double>(idas_modulo) / total;
    std::printf("  module round trips:      %8.2f per entry\n", idas_por_entrada);
    bench::LinhaTabela("Incluir, 3 centros de custo e orçamento", true, modulo, idas_por_entrada);
    bench::LinhaTabela("Incluir, 3 centros de custo e orçamento", false, fundo,
                       static_cast<double>(quantidade_comandos + 2));
    bench::LinhaTabela("Incluir, piso anterior (parâmetros lidos a cada vez)", false, fundo_sem_cache,
                       static_cast<double>(quantidade_sem_cache + 2));

    // The same posting with n and then 4n entries of earlier months already in the account: the
    // budget and cost-center sums read only the measured month, so the rate should not move.
    const long historico = Inteiro("QUORVIN_BENCH_HISTORY", 100000);
    const int lotes_historico = Inteiro("QUORVIN_BENCH_HISTORY_BATCHES", 4);
    if (historico > 0) {
      long presentes = 0;
      for (const long fator : {1L, 4L}) {
        Historico(host, com_centro_custo, presentes, historico * fator);
        presentes = historico * fator;
        LimparMes(host);
        Clock::duration modulo_h{};
        Clock::duration piso_h{};
        std::uint64_t idas_h = 0;
        for (int lote = 0; lote < lotes_historico; ++lote) {
          auto inicio = Clock::now();
          const std::uint64_t idas_antes = oradb::RoundTrips(host.Sessao());
          for (int i = 0; i < por_lote; ++i) IncluirUma(host, pagar, ++recnum, dia);
          idas_h += oradb::RoundTrips(host.Sessao()) - idas_antes;
          modulo_h += Clock::now() - inicio;
          inicio = Clock::now();
          for (int i = 0; i < por_lote; ++i) piso.Incluir(++recnum);
          piso_h += Clock::now() - inicio;
        }
        const double entradas = static_cast<double>(lotes_historico) * por_lote;
        const double taxa_modulo = entradas / std::chrono::duration<double>(modulo_h).count();
        const double taxa_piso = entradas / std::chrono::duration<double>(piso_h).count();
        std::printf("  with %8ld earlier entries in the account: module %8.1f, floor %8.1f entries/s\n", presentes,
                    taxa_modulo, taxa_piso);
        const std::string operacao = "Incluir, " + std::to_string(presentes) + " anteriores na conta";
        bench::LinhaTabela(operacao.c_str(), true, taxa_modulo, static_cast<double>(idas_h) / entradas);
        bench::LinhaTabela(operacao.c_str(), false, taxa_piso, static_cast<double>(quantidade_comandos + 2));
      }
      if (Inteiro("QUORVIN_BENCH_EXPLAIN", 0) != 0) {
        std::printf("\n== plans with %ld entries in the account\n", presentes);
        piso.Explicar(++recnum);
      }
    }

    TOraTransaction limpeza(host.Sessao());
    Executar(host.Sessao(), "DELETE FROM ZTLANC WHERE CODFILIAL = '8' AND HISTORICO IN ('BENCH', 'BENCH-HIST')");
    if (com_centro_custo) Executar(host.Sessao(), "DELETE FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '8'");
    limpeza.Commit();
  } catch (const std::exception& erro) {
    std::cerr << "bench_payable: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
