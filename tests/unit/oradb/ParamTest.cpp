#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "oradb/TOraParam.h"
#include "oradb/internal/BindNames.h"
#include "support/Failure.h"

namespace {

using testsupport::Failure;

TEST(ParamLiteral, IsEscapedSoTheValueStaysData) {
  const std::pair<std::function<void(TOraParam&)>, const char*> cases[] = {
      {[](TOraParam& p) { p.SetAsString("D'ÁVILA"); }, "'D''ÁVILA'"},
      {[](TOraParam& p) { p.SetAsString("x'); DROP TABLE ztlanc; --"); }, "'x''); DROP TABLE ztlanc; --'"},
      // '$' never appears in a literal, so no value can close the dollar quote of a block.
      {[](TOraParam& p) { p.SetAsString("$$; DROP TABLE t; $$"); },
       "('' || chr(36) || '' || chr(36) || '; DROP TABLE t; ' || chr(36) || '' || chr(36) || '')"},
      {[](TOraParam& p) { p.SetAsString(""); }, "NULL"},
      {[](TOraParam& p) { p.SetAsInteger(1), p.Clear(); }, "NULL"},
      {[](TOraParam& p) { p.SetAsInteger(42); }, "42"},
      // A negative number after a minus sign must not form a "--" comment.
      {[](TOraParam& p) { p.SetAsInteger(-5); }, "(-5)"},
      {[](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59)); },
       "TIMESTAMP '2026-01-31 23:59:59'"}};
  for (const auto& [set, literal] : cases) {
    TOraParam param("X");
    set(param);
    EXPECT_EQ(param.SqlLiteral(), literal);
  }
}

// A value travels as its shortest exact text and rounds half up to an integer; what the server could
// not store is refused.
TEST(ParamValue, TravelsAsShortestTextAndRefusesWhatTheServerCouldNotStore) {
  TOraParam param("OBS");
  param.SetAsFloat(0.1 + 0.2);
  EXPECT_EQ(param.WireValue(), std::optional<std::string>("0.30000000000000004"));
  param.SetAsFloat(12.5);
  EXPECT_EQ(param.AsInteger(), 13);
  param.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 8, 5, 0));
  EXPECT_EQ(param.WireValue(), std::optional<std::string>("2026-01-31 08:05:00"));
  EXPECT_EQ(param.AsString(), "31/01/2026 08:05:00");
  EXPECT_EQ(Failure([&] { param.SetAsString(std::string("a\0b", 3)); }),
            "Exception: O parâmetro 'OBS' contém um caractere nulo, que o banco de dados não aceita.");
  EXPECT_EQ(Failure([&] { param.SetAsFloat(std::numeric_limits<double>::infinity()); }),
            "Exception: Valor numérico inválido para o parâmetro 'OBS'.");
  param.SetAsString("abc");
  EXPECT_EQ(Failure([&] { static_cast<void>(param.AsFloat()); }),
            "Exception: O valor 'abc' do parâmetro 'OBS' não é um número válido.");
}

TEST(BindScan, FindsTheBindsOutsideQuotesAndComments) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"SELECT * FROM ZTESTCR WHERE CODCOB = :CODCOB\n  AND CODBANCO = :codbanco", {"CODCOB", "CODBANCO"}},
      {"SELECT ':NAO' || \":NAO\" FROM DUAL -- :NAO\nWHERE A = :SIM /* :NAO */", {"SIM"}},
      {"SELECT TO_CHAR(SYSDATE, 'hh24:mi'), X::text FROM DUAL", {}},
      {"BEGIN V := :A; CR.F(:B#1, :C$); END;", {"A", "B#1", "C$"}},
      {"WHERE A = 'unterminated :NAO", {}},
      {"WHERE A = :", {}}};
  for (const auto& [text, names] : cases) EXPECT_EQ(oradb::internal::ScanBindNames(text), names) << text;
}

// A text is scanned once for the process: the same text answers the same names, another text its
// own; the oldest text is dropped past the bound, and names a caller holds stay valid.
TEST(BindScan, KeepsEachTextsNamesOnce) {
  using oradb::internal::ScanBindNamesCached;
  const std::string text = "SELECT :A, :B FROM DUAL -- nomes guardados";
  const auto first = ScanBindNamesCached(text);
  EXPECT_EQ(*first, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ScanBindNamesCached(std::string(text)).get(), first.get());
  EXPECT_EQ(*ScanBindNamesCached("SELECT :A, :C FROM DUAL -- nomes guardados"), (std::vector<std::string>{"A", "C"}));
  for (std::size_t i = 0; i <= oradb::internal::kBindNamesCacheSize; ++i) {
    static_cast<void>(ScanBindNamesCached("SELECT :X" + std::to_string(i) + " FROM DUAL"));
  }
  const auto again = ScanBindNamesCached(text);
  EXPECT_NE(again.get(), first.get());
  EXPECT_EQ(*again, *first);
}

}  // namespace
