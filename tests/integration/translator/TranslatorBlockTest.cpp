// Anonymous blocks translated to DO and run on PostgreSQL through TOraSQL, over stand-ins of the
// server-side objects (object type with constructor and member procedures, collection, package
// functions) created inside the test's transaction.
#include <gtest/gtest.h>

#include "oradb/TOraSQL.h"
#include "support/TestDatabase.h"

namespace {

constexpr const char* kStandIns = R"sql(
CREATE TEMP TABLE log_tradutor (seq serial, msg text);
CREATE TYPE t_tradutor_titulo AS
  (codfunc numeric, numtransvenda numeric, prest varchar(10), valor numeric(12,2), dtvenc timestamp(0));
CREATE FUNCTION t_tradutor_titulo(p_codfunc numeric) RETURNS t_tradutor_titulo
  LANGUAGE sql AS $$ SELECT ROW(p_codfunc, NULL, NULL, NULL, NULL)::t_tradutor_titulo $$;
CREATE FUNCTION t_tradutor_titulo_buscarregistro(self t_tradutor_titulo, p_numtransvenda numeric, p_prest varchar)
  RETURNS t_tradutor_titulo LANGUAGE plpgsql AS $$
BEGIN self.numtransvenda := p_numtransvenda; self.prest := p_prest; RETURN self; END $$;
CREATE FUNCTION t_tradutor_titulo_desdobrar(self t_tradutor_titulo) RETURNS t_tradutor_titulo LANGUAGE plpgsql AS $$
BEGIN INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'desdobrar', self.codfunc, self.numtransvenda,
  self.prest, to_char(self.dtvenc, 'DD/MM/YYYY'))); RETURN self; END $$;
CREATE DOMAIN lista_tradutor_titulo AS t_tradutor_titulo[];
CREATE FUNCTION lista_tradutor_titulo() RETURNS lista_tradutor_titulo
  LANGUAGE sql AS $$ SELECT '{}'::lista_tradutor_titulo $$;
CREATE SCHEMA pkg_tradutor;
CREATE FUNCTION pkg_tradutor.fnc_baixar(p_codigo numeric, p_lista lista_tradutor_titulo, p_usuario numeric,
  p_rotina numeric) RETURNS boolean LANGUAGE plpgsql AS $$
BEGIN FOR i IN 1 .. coalesce(array_length(p_lista, 1), 0) LOOP
  INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'baixar', p_codigo, i, p_lista[i].numtransvenda,
    p_lista[i].prest, p_lista[i].valor, p_usuario, p_rotina));
END LOOP; RETURN true; END $$;
CREATE FUNCTION pkg_tradutor.p_registrar(pcodfilial varchar, pvalor numeric DEFAULT 0, pobs text DEFAULT NULL)
  RETURNS void LANGUAGE sql AS $$ INSERT INTO log_tradutor (msg) VALUES (concat_ws(':', 'registrar', pcodfilial, pvalor, pobs)) $$;
)sql";

using TranslatorBlock = testsupport::DatabaseTest;

// Member procedures change the object variable; a collection is filled element by element and
// handed to a package function; a package procedure takes its defaults.
TEST_F(TranslatorBlock, ObjectsAndCollectionsBehaveAsInOracle) {
  Exec(kStandIns);
  TOraSQL object(&Session());
  object.SQL.Add(
      "DECLARE CR T_TRADUTOR_TITULO; BEGIN CR := T_TRADUTOR_TITULO(:CODFUNC); "
      "CR.BUSCARREGISTRO(:NUMTRANSVENDA,:PREST); CR.DTVENC := :DTVENC; CR.DESDOBRAR; END;");
  object.ParamByName("CODFUNC").SetAsInteger(5);
  object.ParamByName("NUMTRANSVENDA").SetAsInteger(123);
  object.ParamByName("PREST").SetAsString("1'A");
  object.ParamByName("DTVENC").SetAsDate(TDateTime::EncodeDate(2024, 3, 5));
  object.Execute();
  TOraSQL collection(&Session());
  collection.SQL.Add(
      "DECLARE\r\n  voLISTA LISTA_TRADUTOR_TITULO := LISTA_TRADUTOR_TITULO();\r\n  vbBAIXOU BOOLEAN;\r\nBEGIN\r\n"
      "  voLISTA.EXTEND(2);\r\n  voLISTA(1) := T_TRADUTOR_TITULO(5);\r\n  voLISTA(1).NUMTRANSVENDA := 123;\r\n"
      "  voLISTA(1).PREST := '1';\r\n  voLISTA(1).VALOR := 100.5;\r\n  voLISTA.EXTEND;\r\n"
      "  voLISTA(voLISTA.COUNT) := T_TRADUTOR_TITULO(5);\r\n  voLISTA(3).NUMTRANSVENDA := 124;\r\n"
      "  voLISTA(3).VALOR := :VALOR;\r\n  vbBAIXOU := PKG_TRADUTOR.FNC_BAIXAR(77, voLISTA, 5, 1234);\r\n"
      "  IF vbBAIXOU AND voLISTA.COUNT = 3 THEN\r\n    PKG_TRADUTOR.P_REGISTRAR('01');\r\n  END IF;\r\nEND;\r\n");
  collection.ParamByName("VALOR").SetAsInteger(50);
  collection.Execute();
  EXPECT_EQ(Value("SELECT string_agg(msg, '|' ORDER BY seq) FROM log_tradutor"),
            "desdobrar:5:123:1'A:05/03/2024|baixar:77:1:123:1:100.50:5:1234|baixar:77:2:5:1234|"
            "baixar:77:3:124:50.00:5:1234|registrar:01:0");
}

}  // namespace
