// Listing 100,000 receivable titles under five filters (branches, charges, not cancelled, only open,
// due period), read forward through a server cursor in chunks, so memory stays bounded whatever the
// number of rows: titles per second and peak memory through the module, beside the same SELECT
// through bare libpq with the same cursor and chunk.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <libpq-fe.h>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraSession.h"
#include "oradb/Translator.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "sdk/fin/TCancDesdQry.h"
#include "support/Captura.h"
#include "support/Host.h"
#include "support/Tabela.h"

namespace {

constexpr int kTitulos = 100000;
constexpr int kLote = 1000;

using bench::Segundos;

void Limpar(TOraSession& sessao) {
  bench::ExecutarScript(sessao,
                        "DELETE FROM ztprestdni WHERE numtransvenda >= 8800000 AND numtransvenda < 8900000;"
                        " DELETE FROM ztprest WHERE numtransvenda >= 8800000 AND numtransvenda < 8900000;"
                        " DELETE FROM ztclient WHERE codcli BETWEEN 88001 AND 88010;");
}

std::string SqlPreparar() {
  return "INSERT INTO ztclient (codcli, cliente) SELECT 88000 + g, 'BENCH ' || g FROM generate_series(1, 10) g;"
         " INSERT INTO ztprest (numtransvenda, prest, duplic, codfilial, codcli, codcob, dtvenc, valor, vpago)"
         " SELECT 8800000 + g, '1', g, CASE WHEN g % 2 = 0 THEN '1' ELSE '2' END, 88001 + g % 10,"
         " CASE WHEN g % 3 = 0 THEN 'DH' ELSE 'BK' END, DATE '2026-01-01' + (g % 300), 10 + g / 100.0, 0"
         " FROM generate_series(0, " +
         std::to_string(kTitulos - 1) +
         ") g;"
         " INSERT INTO ztprestdni (numtransvenda, prest, numdoc) SELECT 8800000 + g, '1', g FROM generate_series(0, " +
         std::to_string(kTitulos - 1) + ") g; ANALYZE ztprest; ANALYZE ztprestdni;";
}

RFin_FiltrosOpcoesContasReceber Filtros() {
  RFin_FiltrosOpcoesContasReceber f;
  f.Filiais = "'1','2'";
  f.Cobrancas = "'BK','DH'";
  f.DesconsiderarCancelados = true;
  f.SomenteAbertos = true;
  f.DTVENCINI = TDateTime::EncodeDate(2026, 1, 1);
  f.DTVENCFIM = TDateTime::EncodeDate(2026, 12, 31);
  return f;
}

void Relatar(const char* lado, bool modulo, long linhas, double segundos, double soma) {
  std::printf("%-44s %7ld títulos  %6.2f s  %9.0f títulos/s  soma %.2f  pico %ld KB\n", lado, linhas, segundos,
              linhas / segundos, soma, bench::PicoMemoriaKb());
  bench::LinhaTabela("listagem de 100.000 títulos (5 filtros)", modulo, linhas / segundos, NAN);
}

void Modulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  bench::ExecutarScript(host.Sessao(), SqlPreparar());
  IFin_ContasReceber& area = *financeiro.GetContasReceber();
  long linhas = 0;
  double soma = 0;
  const double segundos = Segundos([&] {
    TOraTransaction transacao(host.Sessao());
    TCancDesdQry titulos(&host.Sessao());
    titulos.SetUniDirectional(true);
    titulos.SetFetchRows(kLote);
    area.CarregarTitulos(titulos, Filtros());
    for (titulos.First(); !titulos.Eof(); titulos.Next()) {
      ++linhas;
      soma += titulos.FieldByName("VALOR").AsFloat();
    }
    transacao.Commit();
  });
  Relatar("listagem pelo módulo (cursor, lotes de 1000)", true, linhas, segundos, soma);
  if (linhas != kTitulos) std::printf("esperados %d títulos, listados %ld\n", kTitulos, linhas);
}

// The floor: the module's SELECT as the translator renders it, through a cursor read in chunks.
void Libpq(PGconn* conexao) {
  auto executar = [&](const char* sql) { PQclear(PQexec(conexao, sql)); };
  executar(("BEGIN; " + SqlPreparar() + " COMMIT;").c_str());
  const TSQLContasReceber sql = TDALContasReceber::MontarSQLCarregarTitulos(Filtros());
  const oradb::Translation traducao = oradb::Translate(sql.SQL.Text());
  std::vector<std::string> valores;
  for (const std::string& nome : traducao.ParamNames) {
    for (const TSQLContasReceber::TBind& bind : sql.Binds) {
      if (bind.Nome == nome) valores.push_back(std::get<TDateTime>(bind.Valor).ToIso(true));
    }
  }
  std::vector<const char*> parametros;
  for (const std::string& v : valores) parametros.push_back(v.c_str());
  long linhas = 0;
  double soma = 0;
  const double segundos = Segundos([&] {
    executar("BEGIN");
    PQclear(PQexecParams(conexao, ("DECLARE titulos NO SCROLL CURSOR FOR " + traducao.Text).c_str(),
                         static_cast<int>(parametros.size()), nullptr, parametros.data(), nullptr, nullptr, 0));
    const std::string buscar = "FETCH " + std::to_string(kLote) + " FROM titulos";
    for (;;) {
      PGresult* lote = PQexec(conexao, buscar.c_str());
      const int n = PQntuples(lote);
      const int coluna = PQfnumber(lote, "valor");
      for (int i = 0; i < n; ++i) soma += std::strtod(PQgetvalue(lote, i, coluna), nullptr);
      linhas += n;
      PQclear(lote);
      if (n < kLote) break;
    }
    executar("CLOSE titulos");
    executar("COMMIT");
  });
  Relatar("mesmo SELECT só com libpq (cursor, lotes)", false, linhas, segundos, soma);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = Modulo;
  lados.Piso = Libpq;
  lados.Limpar = Limpar;
  return bench::Rodar("bench_receivable_listagem", lados);
}
