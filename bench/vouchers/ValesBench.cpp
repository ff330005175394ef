// Vouchers included and written off (one transaction each): the inclusion with its voucher
// movement, then the full write-off in cash with its settlement row and two movements. Vouchers
// per second through the module, beside the same statements sent through bare libpq.
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
#include "support/Host.h"
#include "support/Idas.h"
#include "support/Tabela.h"

namespace {

constexpr int kVales = 1000;
constexpr int kConta = 9834;
constexpr int kParceiro = 98340;

using bench::Segundos;

void Limpar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string conta = std::to_string(kConta);
  sessao.ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + conta + "; DELETE FROM ztestcr WHERE codbanco = " +
                       conta + "; DELETE FROM ztcorren WHERE codfunc = " + std::to_string(kParceiro) + ";");
  transacao.Commit();
}

// `idas`: the side's round trips over all vouchers.
void Relatar(const char* caminho, double segundos, bool modulo, std::uint64_t idas) {
  std::printf("%-44s %6d vales  %6.2f s  %8.0f vales/s\n", caminho, kVales, segundos, kVales / segundos);
  bench::LinhaTabela("vale incluído e baixado", modulo, kVales / segundos, static_cast<double>(idas) / kVales);
}

void ValesModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  IFin_Vales& vales = *financeiro.GetVales();
  const TDateTime hoje = host.DataServidor();
  const std::uint64_t idas = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] {
    for (int i = 0; i < kVales; ++i) {
      RFin_ParametrosInclusaoVale vale;
      vale.Inicializar();
      vale.CODFILIAL = "1";
      vale.TIPOPARCEIRO = "M";
      vale.CODPARCEIRO = kParceiro;
      vale.NATUREZA = "D";
      vale.VALOR = 100 + i * 0.01;
      vale.HISTORICO = "ADIANTAMENTO";
      vale.DTLANC = hoje;
      vale.CODBANCO = kConta;
      vale.MOVIMENTARCONTAVALE = true;
      {
        TOraTransaction transacao(host.Sessao());
        vales.IncluirVale(vale);
        transacao.Commit();
      }
      RFin_ParamBaixaVale baixa;
      baixa.Inicializar();
      baixa.NATUREZAVALE = nvDebito;
      baixa.NUMVALE = vale.NUMVALE;
      baixa.RECNUM = vale.RECNUM;
      baixa.VALORVALE = vale.VALOR;
      baixa.VALORBAIXA = vale.VALOR;
      baixa.CODPARCEIRO = kParceiro;
      baixa.TIPOPARCEIRO = "M";
      baixa.CODFILIAL = "1";
      baixa.CODHIST = 1;
      baixa.HISTORICO = "ACERTO";
      baixa.CODBANCOBAIXA = kConta;
      baixa.PAGOEMDINHEIRO = true;
      TOraTransaction transacao(host.Sessao());
      vales.BaixarValeIndividual(baixa, nullptr);
      transacao.Commit();
    }
  });
  Relatar("vales incluídos e baixados pelo módulo", segundos, true, oradb::RoundTrips(host.Sessao()) - idas);
}

// The floor: per voucher, the statements the module sends (cash-control reads, numbers, the row,
// each movement's balance update and insert; then the close, its number, the settlement row and
// two movements), prepared, one transaction for the inclusion and one for the write-off.
// A statement of the floor that fails would make it look faster than it is: it stops the run.
PGresult* Conferir(PGresult* resultado, PGconn* conexao) {
  const ExecStatusType estado = PQresultStatus(resultado);
  if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
    const std::string erro = PQerrorMessage(conexao);
    PQclear(resultado);
    throw Exception("libpq: " + erro);
  }
  return resultado;
}

void ValesLibpq(PGconn* conexao) {
  auto executar = [&](const char* sql) { PQclear(Conferir(bench::Exec(conexao, sql), conexao)); };
  auto rodar = [&](const char* nome, int n, const char* const* args) {
    return Conferir(bench::ExecPrepared(conexao, nome, n, args), conexao);
  };
  auto numero = [&](const char* nome) {
    PGresult* r = rodar(nome, 0, nullptr);
    std::string valor = PQgetvalue(r, 0, 0);
    PQclear(r);
    return valor;
  };
  const std::string conta = std::to_string(kConta);
  const std::string parceiro = std::to_string(kParceiro);
  for (const char* cob : {"VALE", "D"}) {
    executar(
        ("INSERT INTO ztestcr (codbanco, codcob, valor, valorconciliado) VALUES (" + conta + ", '" + cob + "', 0, 0)")
            .c_str());
  }
  PQclear(PQprepare(conexao, "controle", "SELECT COALESCE(utilizacontrolecaixa, 'N') FROM ztconsum", 0, nullptr));
  PQclear(PQprepare(conexao, "fechamento",
                    "SELECT COALESCE(utilizafechamentocaixa, 'N') FROM ztbanco WHERE codbanco = $1", 1, nullptr));
  PQclear(PQprepare(conexao, "numtrans", "SELECT nextval('qv_numtrans')", 0, nullptr));
  PQclear(PQprepare(conexao, "numvale", "SELECT nextval('qv_numvale')", 0, nullptr));
  PQclear(PQprepare(conexao, "recnum", "SELECT nextval('dfseq_ztcorren')", 0, nullptr));
  PQclear(PQprepare(conexao, "vale",
                    "INSERT INTO ztcorren (recnum, codfilial, dtlanc, codfunc, tipofunc, historico, tipolanc, valor, "
                    "numvale, numtrans, codbanco, indice, dtbaixavale, valeexportado, considerabasecalculoimposto) "
                    "VALUES ($1, '1', date_trunc('day', localtimestamp), $2, 'M', 'ADIANTAMENTO', $3, $4, $5, $6, $7, "
                    "'A', $8, 'N', 'N')",
                    8, nullptr));
  PQclear(PQprepare(conexao, "saldo",
                    "UPDATE ztestcr SET valor = COALESCE(valor, 0) + $1 WHERE codcob = $2 AND codbanco = $3 "
                    "RETURNING valor",
                    3, nullptr));
  PQclear(PQprepare(conexao, "movimento",
                    "INSERT INTO ztmovcr (numtrans, data, codbanco, codcob, historico, valor, tipo, numcarr, vlsaldo) "
                    "VALUES ($1, date_trunc('day', localtimestamp), $2, $3, 'ADIANTAMENTO', $4, $5, $6, $7)",
                    7, nullptr));
  PQclear(PQprepare(conexao, "fechar",
                    "UPDATE ztcorren SET dtbaixavale = localtimestamp(0), codfunbaixa = 1 WHERE recnum = $1 AND "
                    "numvale = $2 AND codfunc = $3 AND tipofunc = 'M' AND dtbaixavale IS NULL",
                    3, nullptr));
  const auto movimento = [&](const std::string& numtrans, const char* cob, const char* tipo, const char* valor,
                             const std::string& numvale) {
    const std::string variacao = std::string(tipo) == "D" ? valor : std::string("-") + valor;
    const char* saldo_args[3] = {variacao.c_str(), cob, conta.c_str()};
    PGresult* saldo = rodar("saldo", 3, saldo_args);
    const std::string vlsaldo = PQgetvalue(saldo, 0, 0);
    PQclear(saldo);
    const char* args[7] = {numtrans.c_str(), conta.c_str(), cob, valor, tipo, numvale.c_str(), vlsaldo.c_str()};
    PQclear(rodar("movimento", 7, args));
  };
  const std::uint64_t idas = bench::IdasPiso();
  const double segundos = Segundos([&] {
    for (int i = 0; i < kVales; ++i) {
      char valor[32];
      std::snprintf(valor, sizeof valor, "%.2f", 100 + i * 0.01);
      executar("BEGIN");
      PQclear(rodar("controle", 0, nullptr));
      const char* banco[1] = {conta.c_str()};
      PQclear(rodar("fechamento", 1, banco));
      const std::string numtrans = numero("numtrans");
      const std::string numvale = numero("numvale");
      const std::string recnum = numero("recnum");
      const char* vale[8] = {recnum.c_str(),  parceiro.c_str(), "D",           valor,
                             numvale.c_str(), numtrans.c_str(), conta.c_str(), nullptr};
      PQclear(rodar("vale", 8, vale));
      movimento(numtrans, "VALE", "D", valor, numvale);
      executar("COMMIT");

      executar("BEGIN");
      const char* fechar[3] = {recnum.c_str(), numvale.c_str(), parceiro.c_str()};
      PQclear(rodar("fechar", 3, fechar));
      const std::string baixa = numero("numtrans");
      const std::string recnum_baixa = numero("recnum");
      const char* liquidacao[8] = {recnum_baixa.c_str(), parceiro.c_str(), "C",           valor,
                                   numvale.c_str(),      baixa.c_str(),    conta.c_str(), "2026-01-01 00:00:00"};
      PQclear(rodar("vale", 8, liquidacao));
      movimento(baixa, "VALE", "C", valor, numvale);
      movimento(baixa, "D", "D", valor, numvale);
      executar("COMMIT");
    }
  });
  Relatar("mesmas instruções só com libpq", segundos, false, bench::IdasPiso() - idas);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = [](host::THostQuorvin& host, IGerenteFinanceiro& gerente) { ValesModulo(host, gerente); };
  lados.Piso = [](PGconn* conexao) { ValesLibpq(conexao); };
  lados.Limpar = Limpar;
  return bench::Rodar("bench_vouchers", lados);
}
