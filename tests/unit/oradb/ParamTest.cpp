#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "oradb/TOraParam.h"
#include "oradb/internal/BindNames.h"
#include "sdk/Exception.h"

namespace {

struct LiteralCase {
  const char* label;
  std::function<void(TOraParam&)> set;
  const char* literal;
};

class ParamLiteral : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(ParamLiteral, IsEscapedSoTheValueStaysData) {
  TOraParam param("X");
  GetParam().set(param);
  EXPECT_EQ(param.SqlLiteral(), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParamLiteral,
    ::testing::Values(
        LiteralCase{"plain", [](TOraParam& p) { p.SetAsString("ABC"); }, "'ABC'"},
        LiteralCase{"quote", [](TOraParam& p) { p.SetAsString("D'ÁVILA"); }, "'D''ÁVILA'"},
        LiteralCase{"closing quote then statement", [](TOraParam& p) { p.SetAsString("x'); DROP TABLE ztlanc; --"); },
                    "'x''); DROP TABLE ztlanc; --'"},
        LiteralCase{"only quotes", [](TOraParam& p) { p.SetAsString("''"); }, "''''''"},
        // '$' never appears in a literal, so no value can close the dollar quote of a block.
        LiteralCase{"dollar quote", [](TOraParam& p) { p.SetAsString("$$; DROP TABLE t; $$"); },
                    "('' || chr(36) || '' || chr(36) || '; DROP TABLE t; ' || chr(36) || '' || chr(36) || '')"},
        LiteralCase{"tagged dollar quote", [](TOraParam& p) { p.SetAsString("a$body$b"); },
                    "('a' || chr(36) || 'body' || chr(36) || 'b')"},
        LiteralCase{"backslash", [](TOraParam& p) { p.SetAsString("C:\\SPOOL\\"); }, "'C:\\SPOOL\\'"},
        LiteralCase{"empty is NULL", [](TOraParam& p) { p.SetAsString(""); }, "NULL"},
        LiteralCase{"unset", [](TOraParam&) {}, "NULL"},
        LiteralCase{"cleared",
                    [](TOraParam& p) {
                      p.SetAsInteger(1);
                      p.Clear();
                    },
                    "NULL"},
        LiteralCase{"integer", [](TOraParam& p) { p.SetAsInteger(42); }, "42"},
        // A negative number after a minus sign must not form a "--" comment.
        LiteralCase{"negative", [](TOraParam& p) { p.SetAsInteger(-5); }, "(-5)"},
        LiteralCase{"negative float", [](TOraParam& p) { p.SetAsFloat(-0.25); }, "(-0.25)"},
        LiteralCase{"float", [](TOraParam& p) { p.SetAsFloat(9999999999.99); }, "9999999999.99"},
        LiteralCase{"date", [](TOraParam& p) { p.SetAsDate(TDateTime::EncodeDateTime(2026, 1, 31, 10, 0, 0)); },
                    "TIMESTAMP '2026-01-31 00:00:00'"},
        LiteralCase{"date-time",
                    [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59)); },
                    "TIMESTAMP '2026-01-31 23:59:59'"}),
    [](const ::testing::TestParamInfo<LiteralCase>& info) {
      std::string name;
      for (const char c : std::string(info.param.label)) name += (c == ' ' || c == '-') ? '_' : c;
      return name;
    });

TEST(ParamValue, TravelsAsShortestTextAndReadsBack) {
  TOraParam param("VALOR");
  param.SetAsFloat(0.1 + 0.2);
  EXPECT_EQ(param.WireValue(), std::optional<std::string>("0.30000000000000004"));
  param.SetAsFloat(12.5);
  EXPECT_EQ(param.Kind(), TParamKind::pkFloat);
  EXPECT_EQ(param.AsString(), "12.5");
  EXPECT_EQ(param.AsInteger(), 13);
  param.SetAsString("9999999999.99");
  EXPECT_DOUBLE_EQ(param.AsFloat(), 9999999999.99);
  param.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 8, 5, 0));
  EXPECT_EQ(param.WireValue(), std::optional<std::string>("2026-01-31 08:05:00"));
  EXPECT_EQ(param.AsString(), "31/01/2026 08:05:00");
  EXPECT_EQ(param.AsDateTime(), TDateTime::EncodeDateTime(2026, 1, 31, 8, 5, 0));
  param.Clear();
  EXPECT_TRUE(param.IsNull());
  EXPECT_EQ(param.AsFloat(), 0.0);
  EXPECT_EQ(param.AsString(), "");
}

TEST(ParamValue, RefusesWhatTheServerCouldNotStore) {
  TOraParam param("OBS");
  try {
    param.SetAsString(std::string("a\0b", 3));
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O parâmetro 'OBS' contém um caractere nulo, que o banco de dados não aceita.");
  }
  try {
    param.SetAsFloat(std::numeric_limits<double>::infinity());
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Valor numérico inválido para o parâmetro 'OBS'.");
  }
  param.SetAsString("abc");
  try {
    static_cast<void>(param.AsFloat());
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O valor 'abc' do parâmetro 'OBS' não é um número válido.");
  }
}

TEST(ParamList, RebuildKeepsValuesOfNamesStillUsed) {
  TOraParams params;
  params.Rebuild({"CODCOB", "CODBANCO"});
  params.ParamByName("codcob").SetAsString("D");
  params.ParamByName("CODBANCO").SetAsInteger(1);
  params.Rebuild({"VALOR", "CODCOB"});
  ASSERT_EQ(params.Count(), 2u);
  EXPECT_EQ(params[0].Name(), "VALOR");
  EXPECT_TRUE(params[0].IsNull());
  EXPECT_EQ(params[1].AsString(), "D");
  EXPECT_EQ(params.FindParam("CODBANCO"), nullptr);
  try {
    static_cast<void>(params.ParamByName("CodBanco"));
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Parâmetro 'CodBanco' não encontrado.");
  }
}

struct ScanCase {
  const char* text;
  std::vector<std::string> names;
};

class BindScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(BindScan, FindsTheBindsOutsideQuotesAndComments) {
  EXPECT_EQ(oradb::internal::ScanBindNames(GetParam().text), GetParam().names) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BindScan,
    ::testing::Values(ScanCase{"SELECT * FROM ZTESTCR WHERE CODCOB = :CODCOB\n  AND CODBANCO = :codbanco",
                               {"CODCOB", "CODBANCO"}},
                      ScanCase{"UPDATE T SET A = :X, B = DECODE(NVL(:N, 0), 0, B, :N) WHERE C = :X", {"X", "N"}},
                      ScanCase{"SELECT ':NAO' || \":NAO\" FROM DUAL -- :NAO\nWHERE A = :SIM /* :NAO */", {"SIM"}},
                      ScanCase{"SELECT TO_CHAR(SYSDATE, 'hh24:mi'), X::text FROM DUAL", {}},
                      ScanCase{"BEGIN V := :A; CR.F(:B#1, :C$); END;", {"A", "B#1", "C$"}},
                      ScanCase{"WHERE A = 'it''s :NAO' AND B = :SIM", {"SIM"}},
                      ScanCase{"WHERE A = 'unterminated :NAO", {}}, ScanCase{"WHERE A = :", {}}));

}  // namespace
