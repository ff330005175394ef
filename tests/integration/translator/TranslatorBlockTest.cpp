// Anonymous blocks translated to DO and run on PostgreSQL, over stand-ins of the server-side objects
// (object type with constructor and member procedures, collection, package functions) created inside
// the test's transaction.
#include <gtest/gtest.h>

#include "PgSession.h"

namespace translatortest {
namespace {

constexpr const char* kStandIns = R"sql(
CREATE SCHEMA tradutor_teste;
CREATE TEMP TABLE log_tradutor (seq serial, msg text);
CREATE TEMP TABLE ztcrecli (codigo numeric, valor numeric(12,2));
INSERT INTO ztcrecli VALUES (1, 10), (2, 20);
CREATE TYPE tradutor_teste.t_tradutor_titulo AS
  (codfunc numeric, numtransvenda numeric, prest varchar(10), valor numeric(12,2), dtvenc timestamp(0));
CREATE FUNCTION tradutor_teste.t_tradutor_titulo(p_codfunc numeric) RETURNS tradutor_teste.t_tradutor_titulo
  LANGUAGE sql AS $$ SELECT ROW(p_codfunc, NULL, NULL, NULL, NULL)::tradutor_teste.t_tradutor_titulo $$;
CREATE FUNCTION tradutor_teste.t_tradutor_titulo_buscarregistro(self tradutor_teste.t_tradutor_titulo,
  p_numtransvenda numeric, p_prest varchar) RETURNS tradutor_teste.t_tradutor_titulo LANGUAGE plpgsql AS $$
BEGIN self.numtransvenda := p_numtransvenda; self.prest := p_prest; RETURN self; END $$;
CREATE FUNCTION tradutor_teste.t_tradutor_titulo_desdobrar(self tradutor_teste.t_tradutor_titulo)
  RETURNS tradutor_teste.t_tradutor_titulo LANGUAGE plpgsql AS $$
BEGIN
  INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'desdobrar', self.codfunc, self.numtransvenda, self.prest,
                                                   to_char(self.dtvenc, 'DD/MM/YYYY')));
  RETURN self;
END $$;
CREATE DOMAIN tradutor_teste.lista_tradutor_titulo AS tradutor_teste.t_tradutor_titulo[];
CREATE FUNCTION tradutor_teste.lista_tradutor_titulo() RETURNS tradutor_teste.lista_tradutor_titulo
  LANGUAGE sql AS $$ SELECT '{}'::tradutor_teste.lista_tradutor_titulo $$;
CREATE SCHEMA pkg_tradutor;
CREATE FUNCTION pkg_tradutor.fnc_baixar(p_codigo numeric, p_lista tradutor_teste.lista_tradutor_titulo,
  p_usuario numeric, p_rotina numeric) RETURNS boolean LANGUAGE plpgsql AS $$
BEGIN
  FOR i IN 1 .. coalesce(array_length(p_lista, 1), 0) LOOP
    INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'baixar', p_codigo, i, p_lista[i].numtransvenda,
                                                     p_lista[i].prest, p_lista[i].valor, p_usuario, p_rotina));
  END LOOP;
  RETURN true;
END $$;
CREATE FUNCTION pkg_tradutor.p_registrar(pcodfilial varchar, pvalor numeric DEFAULT 0, pobs text DEFAULT NULL)
  RETURNS void LANGUAGE sql AS $$ INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'registrar', pcodfilial, pvalor, pobs)) $$;
SET LOCAL search_path = tradutor_teste, oracle, pg_catalog, "$user", public;
)sql";

class TranslatorBlock : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDb.Connected());
    FDb.Exec(kStandIns);
  }

  // The stand-ins' log lines joined by '|'.
  std::string Log() { return FDb.Value1("SELECT string_agg(msg, '|' ORDER BY seq) FROM log_tradutor").value_or(""); }

  void ExpectOk(const Outcome& outcome) { EXPECT_TRUE(outcome.Ok()) << outcome.SqlState << ": " << outcome.Error; }

  PgSession FDb;
};

TEST_F(TranslatorBlock, ObjectMemberProceduresChangeTheVariable) {
  const char* block =
      "DECLARE CR T_TRADUTOR_TITULO; BEGIN CR := T_TRADUTOR_TITULO(:CODFUNC); "
      "CR.BUSCARREGISTRO(:NUMTRANSVENDA,:PREST); CR.DTVENC := :DTVENC; CR.DESDOBRAR; END;";
  ExpectOk(FDb.RunBlock(block, {{"CODFUNC", "5"},
                                {"NUMTRANSVENDA", "123"},
                                {"PREST", Quoted("1'A")},
                                {"DTVENC", "'2024-03-05 00:00:00'::timestamp"}}));
  // A literal holding the DO block's own dollar quote cannot end the block early.
  ExpectOk(FDb.RunBlock(block, {{"CODFUNC", "6"}, {"NUMTRANSVENDA", "124"}, {"PREST", Quoted("$ora$")}}));
  EXPECT_EQ(Log(), "desdobrar:5:123:1'A:05/03/2024|desdobrar:6:124:$ora$");
}

TEST_F(TranslatorBlock, CollectionsAreFilledElementByElement) {
  ExpectOk(
      FDb.RunBlock("DECLARE\r\n"
                   "  voLISTA LISTA_TRADUTOR_TITULO := LISTA_TRADUTOR_TITULO();\r\n"
                   "  vbBAIXOU BOOLEAN;\r\n"
                   "BEGIN\r\n"
                   "  voLISTA.EXTEND(2);\r\n"
                   "  voLISTA(1) := T_TRADUTOR_TITULO(5);\r\n"
                   "  voLISTA(1).NUMTRANSVENDA := 123;\r\n"
                   "  voLISTA(1).PREST := '1';\r\n"
                   "  voLISTA(1).VALOR := 100.5;\r\n"
                   "  voLISTA.EXTEND;\r\n"
                   "  voLISTA(voLISTA.COUNT) := T_TRADUTOR_TITULO(5);\r\n"
                   "  voLISTA(3).NUMTRANSVENDA := 124;\r\n"
                   "  voLISTA(3).VALOR := :VALOR;\r\n"
                   "  vbBAIXOU := PKG_TRADUTOR.FNC_BAIXAR(77, voLISTA, 5, 1234);\r\n"
                   "  IF vbBAIXOU AND voLISTA.COUNT = 3 THEN\r\n"
                   "    PKG_TRADUTOR.P_REGISTRAR('01');\r\n"
                   "  END IF;\r\n"
                   "END;\r\n",
                   {{"VALOR", "50"}}));
  EXPECT_EQ(Log(), "baixar:77:1:123:1:100.50:5:1234|baixar:77:2:5:1234|baixar:77:3:124:50.00:5:1234|registrar:01:0");
}

TEST_F(TranslatorBlock, SelectIntoWithoutRowsRaisesNoDataFound) {
  const char* block =
      "DECLARE vfVALOR NUMBER(14,2);\n"
      "BEGIN\n"
      "  SELECT VALOR INTO vfVALOR FROM ZTCRECLI WHERE CODIGO = :CODIGO;\n"
      "  PKG_TRADUTOR.P_REGISTRAR(pcodfilial => '99', pvalor => vfVALOR * 2);\n"
      "END;";
  ExpectOk(FDb.RunBlock(block, {{"CODIGO", "2"}}));
  EXPECT_EQ(FDb.RunBlock(block, {{"CODIGO", "3"}}).SqlState, "P0002");  // ORA-01403 for the driver
  EXPECT_EQ(Log(), "registrar:99:40.00");
}

TEST_F(TranslatorBlock, LoopsDatesAndHandlersRunAsInOracle) {
  ExpectOk(
      FDb.RunBlock("DECLARE d DATE; n NUMBER := 0; v NUMBER(14,2);\n"
                   "BEGIN\n"
                   "  d := SYSDATE;\n"
                   "  FOR i IN 1..3 LOOP n := n + i; END LOOP;\n"
                   "  PKG_TRADUTOR.P_REGISTRAR(TO_CHAR(d, 'US'), n);\n"
                   "  BEGIN\n"
                   "    SELECT VALOR INTO v FROM ZTCRECLI WHERE CODIGO > :CODIGO;\n"
                   "  EXCEPTION\n"
                   "    WHEN NO_DATA_FOUND THEN PKG_TRADUTOR.P_REGISTRAR('sem linha');\n"
                   "    WHEN TOO_MANY_ROWS THEN PKG_TRADUTOR.P_REGISTRAR('varias');\n"
                   "  END;\n"
                   "END;",
                   {{"CODIGO", "0"}}));
  EXPECT_EQ(Log(), "registrar:000000:6|registrar:varias:0");
}

}  // namespace
}  // namespace translatortest
