// Apportioning installments of consumption purchase orders without the form (the account's
// standard split over three cost centers, each checked against its monthly budget, the
// installment's rows replaced, one transaction each): installments per second through the module,
// beside the same statements sent through bare libpq.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <libpq-fe.h>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "support/Piso.h"
#include "support/Tabela.h"

namespace {

constexpr int kPrestacoes = 1000;
constexpr double kPrimeiroPedido = 9500000;
constexpr const char* kOperacao = "rateio de prestação de pedido";

double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

void Limpar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(
      "DELETE FROM ztrateiocentrocustoztlanc3 WHERE numped BETWEEN 9500000 AND 9599999;"
      "DELETE FROM ztlanc3 WHERE numped BETWEEN 9500000 AND 9599999;"
      "DELETE FROM ztorclancentrocusto WHERE codfilial = '95'; DELETE FROM ztorclan WHERE codfilial = '95';"
      "DELETE FROM ztcontacentrocusto WHERE codconta = 950001; DELETE FROM ztconta WHERE codconta = 950001;"
      "DELETE FROM ztlib WHERE codigoa LIKE 'BP%'; DELETE FROM ztcentrocusto WHERE codigocentrocusto LIKE 'BP%';"
      "DELETE FROM ztparametros WHERE codfilial = '95';");
  transacao.Commit();
}

void Preparar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(
      "INSERT INTO ztcentrocusto (codigocentrocusto, descricao) VALUES ('BP1', 'UM'), ('BP2', 'DOIS'), "
      "('BP3', 'TRES');"
      "INSERT INTO ztlib (codtabela, codfunc, codigoa) VALUES (10, 1, 'BP1'), (10, 1, 'BP2'), (10, 1, 'BP3');"
      "INSERT INTO ztconta (codconta, conta, usarateiocentrocusto) VALUES (950001, 'BENCH', 'S');"
      "INSERT INTO ztcontacentrocusto (codconta, codigocentrocusto, percrateio) VALUES (950001, 'BP1', 33.33), "
      "(950001, 'BP2', 33.33), (950001, 'BP3', 33.34);"
      "INSERT INTO ztorclan (codconta, codfilial, ano, vlorcmes03) VALUES (950001, '95', 2026, 99999999);"
      "INSERT INTO ztorclancentrocusto (ano, mes, codfilial, codconta, codigocentrocusto, percrateio, valor) VALUES "
      "(2026, 3, '95', 950001, 'BP1', 33, 9999999), (2026, 3, '95', 950001, 'BP2', 33, 9999999), "
      "(2026, 3, '95', 950001, 'BP3', 34, 9999999);"
      "INSERT INTO ztparametros (nome, codfilial, valor) VALUES ('REALIZARATEIOPEDIDOCOMPRACONSUMO', '95', 'S'), "
      "('BLOQLANCACIMAORCADOCENTROCUSTO', '95', 'S');");
  transacao.Commit();
}

void PrestacoesModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  IFin_CentroCustoPedidoCompraConsumo& area = *financeiro.GetCentroCustoPedidoCompraConsumo();
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] {
    for (int i = 0; i < kPrestacoes; ++i) {
      TOraTransaction transacao(host.Sessao());
      (void)area.ProcessoCentroCusto(false, "95", "950001", 100 + i * 0.01, kPrimeiroPedido + i, "1", data, false,
                                     false);
      transacao.Commit();
    }
  });
  std::printf("%-44s %6d prestações %6.2f s  %8.0f prestações/s\n", "rateio de prestações pelo módulo", kPrestacoes,
              segundos, kPrestacoes / segundos);
  bench::LinhaTabela(kOperacao, true, kPrestacoes / segundos,
                     static_cast<double>(oradb::RoundTrips(host.Sessao()) - antes) / kPrestacoes);
}

// The floor: per installment, the statements the module's path sends, prepared, in one
// transaction.
void PrestacoesLibpq(PGconn* conexao) {
  bench::PisoPreparado piso(conexao, "bench_costcenter");
  piso.Preparar("padrao",
                "SELECT DISTINCT co.codigocentrocusto, cc.descricao, co.percrateio FROM ztcontacentrocusto co, "
                "ztcentrocusto cc WHERE co.codigocentrocusto = cc.codigocentrocusto AND co.codconta = 950001 "
                "AND EXISTS (SELECT 1 FROM ztlib l WHERE l.codtabela = 10 AND l.codigoa = cc.codigocentrocusto "
                "AND l.codfunc = 1) ORDER BY 1",
                0);
  piso.Preparar("orcamento",
                "SELECT c.codigocentrocusto, c.valor FROM ztorclancentrocusto c, ztorclan o WHERE c.codconta = "
                "o.codconta AND c.ano = o.ano AND c.codfilial = o.codfilial AND c.codconta = 950001 AND "
                "o.codfilial = '95' AND c.mes = 3 AND o.ano = 2026",
                0);
  piso.Preparar("trava_orcamento",
                "SELECT codigocentrocusto FROM ztorclancentrocusto WHERE codconta = 950001 AND codfilial = '95' "
                "AND mes = 3 AND ano = 2026 AND codigocentrocusto = $1 FOR UPDATE",
                1);
  piso.Preparar("realizado",
                "SELECT SUM(valor), codigocentrocusto FROM ztrateiocentrocustoztlanc3 WHERE codconta = 950001 "
                "AND codfilial = '95' AND EXTRACT(MONTH FROM dtlanc) = 3 AND EXTRACT(YEAR FROM dtlanc) = 2026 "
                "GROUP BY codigocentrocusto",
                0);
  piso.Preparar("trava", "SELECT numped FROM ztlanc3 WHERE numped = $1 AND prest = '1' FOR UPDATE", 1);
  piso.Preparar("trava_conta", "SELECT codconta FROM ztconta WHERE codconta = 950001 FOR UPDATE", 0);
  piso.Preparar("apaga", "DELETE FROM ztrateiocentrocustoztlanc3 WHERE numped = $1 AND prest = '1'", 1);
  piso.Preparar("insere",
                "INSERT INTO ztrateiocentrocustoztlanc3 (numped, prest, codconta, valor, percrateio, dtlanc, "
                "codfilial, codigocentrocusto) VALUES ($1, '1', 950001, $2, $3, DATE '2026-03-10', '95', $4)",
                4);
  const char* centros[3] = {"BP1", "BP2", "BP3"};
  const char* percentuais[3] = {"33.33", "33.33", "33.34"};
  for (int i = 0; i < kPrestacoes; ++i) {
    piso.Transacao([&] {
      const std::string pedido = std::to_string(static_cast<long long>(kPrimeiroPedido) + 100000 / 2 + i);
      piso.Rodar("padrao");
      piso.Rodar("orcamento");
      for (const char* centro : centros) piso.Rodar("trava_orcamento", {centro});
      piso.Rodar("realizado");
      piso.Rodar("trava", {pedido.c_str()});
      piso.Rodar("trava_conta");
      piso.Rodar("apaga", {pedido.c_str()});
      const double valor = 100 + i * 0.01;
      double acumulado = 0;
      for (int linha = 0; linha < 3; ++linha) {
        const double parte = linha < 2 ? std::round(valor * 33.33) / 100 : std::round((valor - acumulado) * 100) / 100;
        acumulado += parte;
        char texto[32];
        std::snprintf(texto, sizeof texto, "%.2f", parte);
        piso.Rodar("insere", {pedido.c_str(), texto, percentuais[linha], centros[linha]});
      }
    });
  }
  piso.Relatar("mesmas instruções só com libpq", "prestações", kOperacao, kPrestacoes);
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::fprintf(stderr, "bench_costcenter: defina QUORVIN_DSN (scripts/bench.sh faz isso)\n");
    return 2;
  }
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_costcenter";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host
    host.SetGerenteFinanceiro(gerente);
    Limpar(host.Sessao());
    Preparar(host.Sessao());
    PrestacoesModulo(host, *gerente);
    PGconn* conexao = PQconnectdb(dsn);
    if (PQstatus(conexao) != CONNECTION_OK) {
      std::printf("libpq: %s\n", PQerrorMessage(conexao));
    } else {
      PrestacoesLibpq(conexao);
    }
    PQfinish(conexao);
    Limpar(host.Sessao());
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_costcenter: %s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
  return 0;
}
