#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/TOraSQL.h"
#include "oradb/Translator.h"
#include "oradb/internal/Binding.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::DatabaseTest;

// ---- Bind values written into blocks as literals ----

class BlockLiterals : public DatabaseTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec("CREATE TEMP TABLE literal_probe (n numeric, texto text)");
  }

  // A block as the translator hands it over: "$1" marks where the bind goes.
  static oradb::Translation Block(const std::string& before, const std::string& after) {
    oradb::Translation block;
    block.Text = before + "$1" + after;
    block.ParamNames = {"V"};
    block.IsBlock = true;
    block.BlockMarkers.push_back({before.size(), 2, 0});
    return block;
  }
};

// Whatever the text holds, it lands in the row as data: it cannot close the quote, the dollar
// quote of the block, or start a comment.
TEST_P(BlockLiterals, TextStaysData) {
  TOraParams params;
  params.Rebuild({"V"});
  params.ParamByName("V").SetAsString(GetParam());
  const oradb::Translation block = Block("DO $body$ BEGIN INSERT INTO literal_probe (texto) VALUES (", "); END $body$");
  Exec(oradb::internal::RenderWithLiterals(block, params));
  EXPECT_EQ(Value("SELECT texto FROM literal_probe"), GetParam());
  EXPECT_EQ(Value("SELECT count(*) FROM literal_probe"), "1");
}

INSTANTIATE_TEST_SUITE_P(Attempts, BlockLiterals,
                         ::testing::Values("D'ÁVILA", "x'); DELETE FROM literal_probe; --",
                                           "$body$; DROP TABLE literal_probe; DO $body$ BEGIN",
                                           "$$ END $$; SELECT 1; $$", "C:\\SPOOL\\", "-- comentário", "/* não fecha",
                                           "linha 1\r\nlinha 2", "'"));

TEST_F(BlockLiterals, NegativeNumbersAndDatesKeepTheirValue) {
  TOraParams params;
  params.Rebuild({"V"});
  params.ParamByName("V").SetAsInteger(-5);
  Exec(oradb::internal::RenderWithLiterals(
      Block("DO $b$ BEGIN INSERT INTO literal_probe (n) VALUES (10 -", "); END $b$"), params));
  EXPECT_EQ(Value("SELECT n FROM literal_probe"), "15");
  params.ParamByName("V").SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59));
  Exec(oradb::internal::RenderWithLiterals(
      Block("DO $b$ BEGIN UPDATE literal_probe SET texto = to_char(", ", 'DD/MM/YYYY HH24:MI:SS'); END $b$"), params));
  EXPECT_EQ(Value("SELECT texto FROM literal_probe"), "31/01/2026 23:59:59");
}

// ---- TOraSQL ----

TEST_F(BlockLiterals, AStatementWithoutABlockRunsWithItsBinds) {
  TOraSQL sql(&Session());
  sql.SQL.Add("INSERT INTO literal_probe (n, texto) VALUES (:N, :TEXTO)");
  sql.ParamByName("N").SetAsFloat(2.5);
  sql.ParamByName("texto").SetAsString("O'Brien");
  sql.Execute();
  EXPECT_EQ(Value("SELECT n || ' ' || texto FROM literal_probe"), "2.5 O'Brien");
}

TEST_F(BlockLiterals, AnOracleBlockRunsWithItsBindsInlined) {
  if (!oradb::Translate("BEGIN NULL; END;").IsBlock) {
    GTEST_SKIP() << "the translator in this build does not turn Oracle blocks into PL/pgSQL yet";
  }
  TOraSQL sql(&Session());
  sql.SQL.Add("BEGIN");
  sql.SQL.Add("  INSERT INTO literal_probe (n, texto) VALUES (:N, :TEXTO);");
  sql.SQL.Add("END;");
  sql.ParamByName("N").SetAsInteger(-7);
  sql.ParamByName("TEXTO").SetAsString("x'); DELETE FROM literal_probe; --$$");
  sql.Execute();
  EXPECT_EQ(Value("SELECT n || ' ' || texto FROM literal_probe"), "-7 x'); DELETE FROM literal_probe; --$$");
}

TEST_F(BlockLiterals, ABlockWithoutTextOrSessionFailsClearly) {
  TOraSQL orphan;
  orphan.SQL.Add("BEGIN NULL; END;");
  EXPECT_THROW(orphan.Execute(), Exception);
  TOraSQL empty(&Session());
  try {
    empty.Execute();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O bloco não tem instrução SQL.");
  }
}

// ---- TOraStoredProc ----

class StoredRoutines : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(R"(
      CREATE SCHEMA pkg_oradb_teste;
      CREATE FUNCTION pkg_oradb_teste.f_soma(p_a numeric, p_b numeric DEFAULT 0) RETURNS numeric
        LANGUAGE sql AS $$ SELECT p_a + p_b $$;
      CREATE FUNCTION pkg_oradb_teste.f_vencimento(p_dia timestamp(0), p_prazo integer) RETURNS timestamp(0)
        LANGUAGE sql AS $$ SELECT p_dia + p_prazo * interval '1 day' $$;
      CREATE FUNCTION pkg_oradb_teste.f_nome(p_nome text) RETURNS text
        LANGUAGE sql AS $$ SELECT coalesce(upper(p_nome), '(nulo)') $$;
      CREATE PROCEDURE pkg_oradb_teste.p_dobra(INOUT p_valor numeric, p_vezes integer)
        LANGUAGE plpgsql AS $$ BEGIN p_valor := p_valor * p_vezes; END $$;
      CREATE TEMP TABLE proc_log (texto text);
      CREATE FUNCTION pkg_oradb_teste.p_registra(p_texto text) RETURNS void
        LANGUAGE sql AS $$ INSERT INTO proc_log VALUES (p_texto) $$;
    )");
  }
};

TEST_F(StoredRoutines, AFunctionValueComesBackInResultWhateverTheParameterOrder) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_SOMA");
  proc.ParamByName("P_B").SetAsFloat(0.25);
  proc.ParamByName("p_a").SetAsString("9999999999.74");
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("RESULT").AsString(), "9999999999.99");
  EXPECT_DOUBLE_EQ(proc.ParamByName("RESULT").AsFloat(), 9999999999.99);
}

TEST_F(StoredRoutines, DatesGoAndComeBackAsDates) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("pkg_oradb_teste.f_vencimento");
  proc.SetIsFunction(true);
  proc.ParamByName("P_DIA").SetAsDate(TDateTime::EncodeDate(2026, 1, 31));
  proc.ParamByName("P_PRAZO").SetAsInteger(30);
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("RESULT").Kind(), TParamKind::pkDateTime);
  EXPECT_EQ(proc.ParamByName("RESULT").AsDateTime(), TDateTime::EncodeDate(2026, 3, 2));
}

TEST_F(StoredRoutines, NullArgumentsAndResultsAreNull) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_NOME");
  proc.ParamByName("P_NOME").SetAsString("");
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("RESULT").AsString(), "(nulo)");
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_SOMA");
  proc.ParamByName("P_A").Clear();
  proc.ExecProc();
  EXPECT_TRUE(proc.ParamByName("RESULT").IsNull());
}

TEST_F(StoredRoutines, AProcedureIsCalledAndItsInOutParametersComeBack) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("PKG_ORADB_TESTE.P_DOBRA");
  proc.ParamByName("P_VALOR").SetAsFloat(21.5);
  proc.ParamByName("P_VEZES").SetAsInteger(2);
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("P_VALOR").AsFloat(), 43.0);
  proc.ExecProc();  // the value that came back goes in again
  EXPECT_EQ(proc.ParamByName("P_VALOR").AsFloat(), 86.0);
}

TEST_F(StoredRoutines, AVoidFunctionRunsAsAProcedure) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("PKG_ORADB_TESTE.P_REGISTRA");
  proc.ParamByName("P_TEXTO").SetAsString("feito");
  proc.ExecProc();
  EXPECT_EQ(Value("SELECT texto FROM proc_log"), "feito");
}

TEST_F(StoredRoutines, UnknownRoutinesAndBadNamesFail) {
  TOraStoredProc proc(&Session());
  proc.SetStoredProcName("PKG_ORADB_TESTE.NAO_EXISTE");
  proc.ParamByName("P_A").SetAsInteger(1);
  try {
    proc.ExecProc();
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.ErrorCode(), 904);
    EXPECT_EQ(error.SqlState(), "42883");
  }
  Session().Rollback();
  Session().StartTransaction();
  proc.SetStoredProcName("F; DROP TABLE x");
  try {
    proc.ExecProc();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Nome de procedimento armazenado inválido: 'F; DROP TABLE x'.");
  }
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_NOME");
  try {
    static_cast<void>(proc.ParamByName("P_NOME => 1); DROP TABLE x; --"));
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Nome de parâmetro inválido: 'P_NOME => 1); DROP TABLE x; --'.");
  }
}

}  // namespace
