-- Splits of titles and their cancellation: the split links of receivable titles (ZTDESD, and
-- ZTDESDMAP for links recorded by the mapping of older splits) and of payable entries
-- (ZTDESDLANC), the copies a split keeps of each title as it was before it (ZTDESDPREST,
-- ZTDESDLANCOPERACAO), and the next free instalment of a sale (FNC_GETPROXIMAPREST).

CREATE TABLE IF NOT EXISTS ZTDESD (
  NUMTRANSVENDAORIG       numeric(10)    NOT NULL,
  PRESTORIG               varchar(2)     NOT NULL,
  NUMTRANSVENDADEST       numeric(10)    NOT NULL,
  PRESTDEST               varchar(2)     NOT NULL,
  DTLANC                  timestamp(0),
  CODCLI                  numeric(10),
  CODCLIORIG              numeric(10),
  CODCLIDEST              numeric(10),
  CODFUNCCXMOT            numeric(10),
  CODROTINA               numeric(6)
);

CREATE INDEX IF NOT EXISTS ZTDESD_ORIG ON ZTDESD (NUMTRANSVENDAORIG, PRESTORIG);
CREATE INDEX IF NOT EXISTS ZTDESD_DEST ON ZTDESD (NUMTRANSVENDADEST, PRESTDEST);

CREATE TABLE IF NOT EXISTS ZTDESDMAP (
  NUMTRANSVENDAORIG       numeric(10)    NOT NULL,
  PRESTORIG               varchar(2)     NOT NULL,
  NUMTRANSVENDADEST       numeric(10)    NOT NULL,
  PRESTDEST               varchar(2)     NOT NULL,
  DTLANC                  timestamp(0),
  CODCLI                  numeric(10),
  CODCLIORIG              numeric(10),
  CODCLIDEST              numeric(10),
  CODFUNCCXMOT            numeric(10),
  CODROTINA               numeric(6)
);

CREATE INDEX IF NOT EXISTS ZTDESDMAP_ORIG ON ZTDESDMAP (NUMTRANSVENDAORIG, PRESTORIG);
CREATE INDEX IF NOT EXISTS ZTDESDMAP_DEST ON ZTDESDMAP (NUMTRANSVENDADEST, PRESTDEST);

CREATE TABLE IF NOT EXISTS ZTDESDLANC (
  RECNUMORIG              numeric(10)    NOT NULL,
  RECNUMDESTINO           numeric(10)    NOT NULL,
  DTLANC                  timestamp(0),
  NUMTRANSENT             numeric(10),
  CODCONTA                numeric(10),
  VALOR                   numeric(14,2),
  VALORDEV                numeric(14,2),
  DESCONTOFIN             numeric(14,2),
  TXPERM                  numeric(14,2),
  NUMNOTA                 numeric(10),
  DUPLIC                  varchar(1),
  CODFILIAL               varchar(2),
  INDICE                  varchar(1),
  CODFORNEC               numeric(10),
  TIPOPARCEIRO            varchar(1),
  HISTORICO               varchar(200)
);

CREATE INDEX IF NOT EXISTS ZTDESDLANC_ORIG ON ZTDESDLANC (RECNUMORIG);
CREATE INDEX IF NOT EXISTS ZTDESDLANC_DEST ON ZTDESDLANC (RECNUMDESTINO);

-- The copy of a title as it was before its split: every column of the title, how the split
-- treated it, and how many times it was restored.
CREATE TABLE IF NOT EXISTS ZTDESDPREST (LIKE ZTPREST INCLUDING DEFAULTS);
ALTER TABLE ZTDESDPREST ADD COLUMN IF NOT EXISTS OPERACAODESD varchar(20);
ALTER TABLE ZTDESDPREST ADD COLUMN IF NOT EXISTS QTREPLICAS numeric(6) DEFAULT 0;
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = 'ztdesdprest_pk') THEN
    ALTER TABLE ZTDESDPREST ADD CONSTRAINT ZTDESDPREST_PK PRIMARY KEY (NUMTRANSVENDA, PREST);
  END IF;
END $$;

CREATE TABLE IF NOT EXISTS ZTDESDLANCOPERACAO (LIKE ZTLANC INCLUDING DEFAULTS);
ALTER TABLE ZTDESDLANCOPERACAO ADD COLUMN IF NOT EXISTS OPERACAODESD varchar(20);
ALTER TABLE ZTDESDLANCOPERACAO ADD COLUMN IF NOT EXISTS QTREPLICAS numeric(6) DEFAULT 0;
ALTER TABLE ZTDESDLANCOPERACAO ADD COLUMN IF NOT EXISTS CODROTINADESD numeric(6);
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = 'ztdesdlancoperacao_pk') THEN
    ALTER TABLE ZTDESDLANCOPERACAO ADD CONSTRAINT ZTDESDLANCOPERACAO_PK PRIMARY KEY (RECNUM);
  END IF;
END $$;

-- The next free instalment of a sale: one more than the highest numeric instalment among its
-- titles and their copies. The sale is locked until the end of the caller's transaction, so a
-- second session asking for the same sale waits and then sees the instalment the first one took
-- (the key of ZTPREST refuses a repeat in any case).
CREATE OR REPLACE FUNCTION fnc_getproximaprest(p_numtransvenda numeric) RETURNS varchar
LANGUAGE plpgsql VOLATILE AS $$
DECLARE
  v_maior numeric;
BEGIN
  PERFORM pg_advisory_xact_lock(hashtext('FNC_GETPROXIMAPREST'), hashtext(p_numtransvenda::text));
  SELECT max(n) INTO v_maior FROM (
    SELECT prest::numeric AS n FROM ztprest WHERE numtransvenda = p_numtransvenda AND prest ~ '^[0-9]+$'
    UNION ALL
    SELECT prest::numeric FROM ztdesdprest WHERE numtransvenda = p_numtransvenda AND prest ~ '^[0-9]+$') t;
  RETURN (coalesce(v_maior, 0) + 1)::text;
END $$;
