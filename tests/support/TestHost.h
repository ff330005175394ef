#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/THostQuorvin.h"
#include "sdk/IGerenteFinanceiro.h"

namespace testsupport {

// A reference host on the test database with the module's facade built in (no plug-in loading),
// its session in an open transaction that is rolled back after the test. Confirmations are
// answered Cancel unless the test says otherwise.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Throw when the fixture could not connect, so a fixture built on this one fails cleanly.
  [[nodiscard]] host::THostQuorvin& Host();
  [[nodiscard]] IGerenteFinanceiro& Financeiro();
  [[nodiscard]] TOraSession& Session() { return Host().Sessao(); }

  // Runs Oracle-dialect SQL on the test session (set-up rows, checks).
  void Exec(const std::string& oracle_sql);
  // First column of the first row as text ("" for no row or NULL).
  [[nodiscard]] std::string Scalar(const std::string& oracle_sql);
  [[nodiscard]] double ScalarNumber(const std::string& oracle_sql);
  void SetParametro(const std::string& nome, const std::string& valor, const std::string& codfilial = {});
  void AnswerConfirmations(TModalResult answer);

 private:
  std::unique_ptr<host::THostQuorvin> FHost;
  IGerenteFinanceiro* FFinanceiro = nullptr;
};

}  // namespace testsupport
