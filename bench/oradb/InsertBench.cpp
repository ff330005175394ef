// A prepared INSERT through TOraQuery against the same statement through bare libpq
// (PQexecPrepared), both in one transaction on a temporary table, one row per iteration; the
// translations each side caused are counted (`traducoes`): a text the cache holds is never
// translated again, whether one query runs it or a new query per row. Connection from QUORVIN_DSN.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sys/resource.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "oradb/Translator.h"

namespace {

constexpr const char* kCreateTable =
    "CREATE TEMP TABLE bench_insert (id bigint, nome varchar(40), valor numeric(14,2), quando timestamp(0))";

std::string Dsn() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  return dsn == nullptr ? std::string() : std::string(dsn);
}

void InsertThroughOraQuery(benchmark::State& state) {
  TOraSession session;
  try {
    session.Connect(Dsn(), "bench:0");
    session.ExecuteScript(kCreateTable);
    session.StartTransaction();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
    return;
  }
  const bool new_query_per_row = state.range(0) != 0;
  const auto prepare = [](TOraQuery& insert) {
    insert.SQL.Add("INSERT INTO bench_insert (id, nome, valor, quando)");
    insert.SQL.Add("VALUES (:ID, :NOME, :VALOR, :QUANDO)");
  };
  TOraQuery insert(&session);
  prepare(insert);
  const TDateTime when = TDateTime::EncodeDateTime(2026, 1, 31, 10, 0, 0);
  const auto run = [&](TOraQuery& query, long long id) {
    query.ParamByName("ID").SetAsInteger(id);
    query.ParamByName("NOME").SetAsString("FORNECEDOR DE TESTE");
    query.ParamByName("VALOR").SetAsFloat(1234.56);
    query.ParamByName("QUANDO").SetAsDateTime(when);
    query.ExecSQL();
  };
  run(insert, 0);  // the text's one translation, before the count starts
  const std::size_t translations = oradb::TranslationCount();
  const std::uint64_t trips = oradb::RoundTrips(session);
  long long id = 0;
  for (auto _ : state) {
    if (new_query_per_row) {
      TOraQuery fresh(&session);
      prepare(fresh);
      run(fresh, ++id);
    } else {
      run(insert, ++id);
    }
  }
  state.counters["traducoes"] = static_cast<double>(oradb::TranslationCount() - translations);
  state.counters["idas"] =
      benchmark::Counter(static_cast<double>(oradb::RoundTrips(session) - trips), benchmark::Counter::kAvgIterations);
  session.Rollback();
  state.SetItemsProcessed(state.iterations());
}

// The floor: the values already in text form, one PQexecPrepared per row.
void InsertThroughBareLibpq(benchmark::State& state) {
  PGconn* conn = PQconnectdb(Dsn().c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    state.SkipWithError(PQerrorMessage(conn));
    PQfinish(conn);
    return;
  }
  PQclear(PQexec(conn, kCreateTable));
  PQclear(PQexec(conn, "BEGIN"));
  const std::array<Oid, 4> types{0, 0, 0, 1114};
  PQclear(PQprepare(conn, "bench_insert", "INSERT INTO bench_insert (id, nome, valor, quando) VALUES ($1, $2, $3, $4)",
                    4, types.data()));
  long long id = 0;
  for (auto _ : state) {
    const std::string id_text = std::to_string(++id);
    const std::array<const char*, 4> values{id_text.c_str(), "FORNECEDOR DE TESTE", "1234.56", "2026-01-31 10:00:00"};
    PGresult* result = PQexecPrepared(conn, "bench_insert", 4, values.data(), nullptr, nullptr, 0);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) {
      state.SkipWithError(PQresultErrorMessage(result));
      PQclear(result);
      break;
    }
    PQclear(result);
  }
  PQclear(PQexec(conn, "ROLLBACK"));
  PQfinish(conn);
  state.counters["idas"] = 1;
  state.SetItemsProcessed(state.iterations());
}

// Repeated and interleaved: on a shared machine the load drifts, and back-to-back runs of one side
// would carry the drift into the comparison. Compare the medians.
BENCHMARK(InsertThroughBareLibpq)->MinTime(1.0)->Repetitions(10)->UseRealTime();
// Argument 0: one query run again; 1: a new query with the same text per row.
BENCHMARK(InsertThroughOraQuery)->Arg(0)->Arg(1)->MinTime(1.0)->Repetitions(10)->UseRealTime();

// The console's report, and for each benchmark's median one line of the final table
// (support/Tabela.h's format: this file has no other use for that header's dependencies).
class TableReporter : public benchmark::ConsoleReporter {
 public:
  // Without colours: each table line must start its own line for scripts/bench.sh to collect.
  TableReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    GetOutputStream().flush();
    for (const Run& run : runs) {
      if (run.aggregate_name != "median") continue;
      const auto rate = run.counters.find("items_per_second");
      const auto trips = run.counters.find("idas");
      if (rate == run.counters.end()) continue;
      const bool floor = run.run_name.function_name == "InsertThroughBareLibpq";
      const bool fresh = run.run_name.args == "1";
      std::printf("tabela|%s|%s|%.1f|%.0f|%ld\n",
                  fresh ? "INSERT preparado, consulta nova por linha" : "INSERT preparado (linha)",
                  floor ? "piso" : "modulo", static_cast<double>(rate->second),
                  trips == run.counters.end() ? std::nan("") : static_cast<double>(trips->second), PeakKb());
      std::fflush(stdout);
    }
  }

 private:
  static long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  std::vector<char*> args(argv, argv + argc);
  // Defaults first, so flags given on the command line win.
  args.insert(args.begin() + 1, {interleave.data(), aggregates.data()});
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
