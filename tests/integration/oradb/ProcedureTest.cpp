#include <gtest/gtest.h>

#include <string>

#include "oradb/TOraSQL.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

// ---- TOraSQL: statements with their binds, Oracle blocks with the values written in ----

class BlockLiterals : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec("CREATE TEMP TABLE literal_probe (n numeric, texto text)");
  }
};

// Whatever the text holds, it lands in the row as data: it cannot close the quote, the dollar
// quote of the block, or start a comment.
TEST_F(BlockLiterals, TextStaysData) {
  TOraSQL sql(&Session());
  sql.SQL.Add("INSERT INTO literal_probe (n, texto) VALUES (:N, :TEXTO)");
  sql.ParamByName("N").SetAsFloat(2.5);
  sql.ParamByName("texto").SetAsString("O'Brien");
  sql.Execute();
  EXPECT_EQ(Value("SELECT n || ' ' || texto FROM literal_probe"), "2.5 O'Brien");
  TOraSQL block(&Session());
  block.SQL.Add("BEGIN");
  block.SQL.Add("  DELETE FROM literal_probe; INSERT INTO literal_probe (n, texto) VALUES (:N, :TEXTO);");
  block.SQL.Add("END;");
  block.ParamByName("N").SetAsInteger(-7);
  for (const char* text : {"D'ÁVILA", "x'); DELETE FROM literal_probe; --",
                           "$ora$; DROP TABLE literal_probe; DO $ora$ BEGIN", "C:\\SPOOL\\", "linha 1\r\nlinha 2"}) {
    block.ParamByName("TEXTO").SetAsString(text);
    block.Execute();
    EXPECT_EQ(Value("SELECT string_agg(n || ' ' || texto, '|') FROM literal_probe"), "-7 " + std::string(text));
  }
}

// ---- TOraStoredProc ----

class StoredRoutines : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(R"(
      CREATE SCHEMA pkg_oradb_teste;
      CREATE FUNCTION pkg_oradb_teste.f_soma(p_a numeric, p_b numeric DEFAULT 0) RETURNS numeric
        LANGUAGE sql AS $$ SELECT p_a + p_b $$;
      CREATE PROCEDURE pkg_oradb_teste.p_dobra(INOUT p_valor numeric, p_vezes integer)
        LANGUAGE plpgsql AS $$ BEGIN p_valor := p_valor * p_vezes; END $$;
    )");
    proc.SetSession(&Session());
  }

  TOraStoredProc proc{nullptr};
};

TEST_F(StoredRoutines, AFunctionValueComesBackInResultWhateverTheParameterOrder) {
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_SOMA");
  proc.ParamByName("P_B").SetAsFloat(0.25);
  proc.ParamByName("p_a").SetAsString("9999999999.74");
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("RESULT").AsString(), "9999999999.99");
}

TEST_F(StoredRoutines, AProcedureGivesBackItsInOutParameters) {
  proc.SetStoredProcName("PKG_ORADB_TESTE.P_DOBRA");
  proc.ParamByName("P_VALOR").SetAsFloat(21.5);
  proc.ParamByName("P_VEZES").SetAsInteger(2);
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("P_VALOR").AsFloat(), 43.0);
  proc.ExecProc();  // the value that came back goes in again
  EXPECT_EQ(proc.ParamByName("P_VALOR").AsFloat(), 86.0);
}

// Names are written into the statement text, so anything but an identifier is refused.
TEST_F(StoredRoutines, BadNamesAreRefused) {
  proc.SetStoredProcName("F; DROP TABLE x");
  EXPECT_EQ(Failure([&] { proc.ExecProc(); }),
            "Exception: Nome de procedimento armazenado inválido: 'F; DROP TABLE x'.");
  proc.SetStoredProcName("PKG_ORADB_TESTE.F_SOMA");
  EXPECT_EQ(Failure([&] { static_cast<void>(proc.ParamByName("P_A => 1); DROP TABLE x; --")); }),
            "Exception: Nome de parâmetro inválido: 'P_A => 1); DROP TABLE x; --'.");
}

}  // namespace
