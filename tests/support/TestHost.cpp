#include "TestHost.h"

#include <stdexcept>

#include "TestDatabase.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "oradb/TOraQuery.h"

namespace testsupport {

void HostTest::SetUp() {
  const std::string dsn = TestDsn();
  ASSERT_FALSE(dsn.empty());
  host::THostConfig config;
  config.Dsn = dsn;
  config.Matricula = 1;
  config.Programa = "tests";
  FHost = std::make_unique<host::THostQuorvin>(config);
  auto* gerente = new TGerenteFinanceiro(FHost.get());  // owned by the host component
  FFinanceiro = gerente;
  FHost->SetGerenteFinanceiro(gerente);
  FHost->Sessao().StartTransaction();
}

host::THostQuorvin& HostTest::Host() {
  if (!FHost) throw std::runtime_error("the test host is not connected (QUORVIN_TEST_DSN)");
  return *FHost;
}

IGerenteFinanceiro& HostTest::Financeiro() {
  static_cast<void>(Host());
  return *FFinanceiro;
}

void HostTest::TearDown() {
  if (FHost && FHost->Sessao().Connected() && FHost->Sessao().InTransaction()) FHost->Sessao().Rollback();
  FHost.reset();
}

void HostTest::Exec(const std::string& oracle_sql) {
  TOraQuery query(&Session());
  query.SQL.SetText(oracle_sql);
  query.ExecSQL();
}

std::string HostTest::Scalar(const std::string& oracle_sql) {
  TOraQuery query(&Session());
  query.SQL.SetText(oracle_sql);
  query.Open();
  if (query.IsEmpty() || query.Fields(0).IsNull()) return {};
  return query.Fields(0).AsString();
}

double HostTest::ScalarNumber(const std::string& oracle_sql) {
  TOraQuery query(&Session());
  query.SQL.SetText(oracle_sql);
  query.Open();
  return query.IsEmpty() ? 0.0 : query.Fields(0).AsFloat();
}

void HostTest::SetParametro(const std::string& nome, const std::string& valor, const std::string& codfilial) {
  FHost->DefinirParametro(nome, valor, codfilial);
}

void HostTest::AnswerConfirmations(TModalResult answer) {
  FHost->SetConfirmationPolicy([answer](const std::string&) { return answer; });
}

}  // namespace testsupport
