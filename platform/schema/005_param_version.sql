-- The parameters' version: any write to ZTPARAMETROS bumps it in the writer's transaction, so a
-- host that keeps parameters in memory learns of a committed change with one read of one row.
-- Versions come from a sequence, which a rollback never gives back: a version seen once (even
-- one of a write later rolled back) is never seen again for other contents. Idempotent.
CREATE TABLE IF NOT EXISTS ZTPARAMETROSVERSAO (
  VERSAO  bigint  NOT NULL
);
INSERT INTO ZTPARAMETROSVERSAO (VERSAO) SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM ZTPARAMETROSVERSAO);

CREATE SEQUENCE IF NOT EXISTS ZTPARAMETROSVERSAO_SEQ START WITH 1;
-- A store whose version was counted before the sequence existed: the sequence starts above it.
SELECT setval('ZTPARAMETROSVERSAO_SEQ', v.VERSAO)
  FROM (SELECT MAX(VERSAO) VERSAO FROM ZTPARAMETROSVERSAO) v, ZTPARAMETROSVERSAO_SEQ s
 WHERE v.VERSAO > s.last_value;

CREATE OR REPLACE FUNCTION ztparametros_nova_versao() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  UPDATE ZTPARAMETROSVERSAO SET VERSAO = nextval('ZTPARAMETROSVERSAO_SEQ');
  RETURN NULL;
END $$;
DROP TRIGGER IF EXISTS ztparametros_nova_versao ON ZTPARAMETROS;
CREATE TRIGGER ztparametros_nova_versao AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON ZTPARAMETROS
  FOR EACH STATEMENT EXECUTE FUNCTION ztparametros_nova_versao();
