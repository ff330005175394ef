// Generating the bank data of receivable titles (own number, barcode, typeable line), one sale per
// transaction: titles per second through the module, beside the same statements (titles, bank of
// the charge, bank row, its lock, the package call) sent through bare libpq.
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
#include "sdk/fin/TFin_GerarBoletos.h"
#include "support/Captura.h"
#include "support/Host.h"
#include "support/Piso.h"
#include "support/Tabela.h"

namespace {

constexpr int kTitulos = 2000;
constexpr int kPrimeiraVenda = 8600000;
constexpr const char* kOperacao = "dados bancários de um título";

using bench::Segundos;

void Limpar(TOraSession& sessao) {
  bench::ExecutarScript(
      sessao,
      "DELETE FROM ztprest WHERE numtransvenda >= 8600000 AND numtransvenda < 8700000;"
      " DELETE FROM ztbanconossonumero WHERE codbanco = 8601; DELETE FROM ztcob WHERE codcob = 'BBEN';"
      " DELETE FROM ztbanco WHERE codbanco = 8601; DELETE FROM ztclient WHERE codcli = 86001;");
}

// The bank, its charge, the payer and one open title per sale.
std::string SqlPreparar() {
  return "INSERT INTO ztbanco (codbanco, nome, numbanco, agencia, conta, numcarteira, codcompensacao)"
         " VALUES (8601, 'BENCH', 237, '1172', '403005', '09', '237');"
         " INSERT INTO ztcob (codcob, boleto, codbanco) VALUES ('BBEN', 'S', 8601);"
         " INSERT INTO ztclient (codcli, cliente) VALUES (86001, 'BENCH');"
         " INSERT INTO ztprest (numtransvenda, prest, duplic, codfilial, codcli, codcob, dtvenc, valor)"
         " SELECT 8600000 + g, '1', g, '1', 86001, 'BBEN', DATE '2026-06-01' + (g % 300), 10 + g / 100.0"
         " FROM generate_series(0, " +
         std::to_string(kTitulos - 1) + ") g;";
}

void Modulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  bench::ExecutarScript(host.Sessao(), SqlPreparar());
  auto& area = dynamic_cast<IFin_GeracaoDadosBancarios&>(*financeiro.GetContasReceber());
  const std::uint64_t idas = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] {
    for (int i = 0; i < kTitulos; ++i) {
      TOraTransaction transacao(host.Sessao());
      TFin_GerarBoletos boleto;
      boleto.NUMTRANSVENDA = kPrimeiraVenda + i;
      boleto.getParametros().gerarDadosBancarios(true);
      (void)area.GerarDadosBancarios(boleto);
      transacao.Commit();
    }
  });
  std::printf("%-44s %6d títulos  %6.2f s  %8.0f títulos/s\n", "dados bancários pelo módulo", kTitulos, segundos,
              kTitulos / segundos);
  bench::LinhaTabela(kOperacao, true, kTitulos / segundos,
                     static_cast<double>(oradb::RoundTrips(host.Sessao()) - idas) / kTitulos);
}

// The floor: per sale, the statements the module sends, prepared, one transaction each (the
// titles, the bank of the charge, the bank row, its lock, the package call).
void Libpq(PGconn* conexao) {
  PQclear(PQexec(conexao, ("BEGIN; " + SqlPreparar() + " COMMIT;").c_str()));
  bench::PisoPreparado piso(conexao, "bench_receivable");
  piso.Preparar("titulos",
                "SELECT ztprest.*, COALESCE(ztclient.sacadoeletronico, 'N') sacadoeletronico FROM ztprest, ztclient"
                " WHERE ztprest.codcli = ztclient.codcli AND $1 IN (ztprest.numtransvenda, ztprest.numtransvendast)"
                " AND ztprest.codcob NOT IN ('DESD','CANC','CRED')"
                " AND (SELECT COALESCE(boleto, 'N') FROM ztcob WHERE codcob = ztprest.codcob) = 'S' ORDER BY prest",
                1);
  piso.Preparar("cobranca", "SELECT COALESCE(codbanco, 0) codbanco FROM ztcob WHERE codcob = $1", 1);
  piso.Preparar("banco",
                "SELECT codbanco, nome, numbanco, agencia, conta, numcarteira, numconvenio, codcedente, nomertm,"
                " COALESCE(numdiasprotesto, 0), codcompensacao FROM ztbanco WHERE codbanco = $1",
                1);
  piso.Preparar("bloqueio", "SELECT * FROM ztbanco WHERE codbanco = $1 FOR UPDATE NOWAIT", 1);
  piso.Preparar("gerar", "SELECT pkg_dadosbancarios.p_geradadosbancarios($1, $2, $3, $4, $5, $6, 'N', 'N', 'S')", 6);
  for (int i = 0; i < kTitulos; ++i) {
    const std::string venda = std::to_string(kPrimeiraVenda + i);
    piso.Transacao([&] {
      if (piso.Rodar("titulos", {venda.c_str()}).Linhas != 1) {
        std::fprintf(stderr, "bench_receivable: o piso não achou o título da venda %s\n", venda.c_str());
        std::exit(1);
      }
      static_cast<void>(piso.Rodar("cobranca", {"BBEN"}));
      static_cast<void>(piso.Rodar("banco", {"8601"}));
      static_cast<void>(piso.Rodar("bloqueio", {"8601"}));
      static_cast<void>(piso.Rodar("gerar", {"1", "BBEN", "8601", venda.c_str(), "0", "1"}));
    });
  }
  piso.Relatar("mesmas instruções só com libpq", "títulos", kOperacao, kTitulos);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = Modulo;
  lados.Piso = Libpq;
  lados.Limpar = Limpar;
  return bench::Rodar("bench_receivable", lados);
}
