-- The writes of a cancellation of splits: the split settlement of a receivable title
-- (T_ZT_CONTASRECEBER.DESDOBRAR), and copies of titles and entries that keep every column of their
-- tables. This file runs after every file that adds columns to ZTPREST or ZTLANC, so a copy taken
-- of a row (and a row restored from its copy) loses none of them. Idempotent.

DO $copias$
DECLARE
  v_par record;
  v_coluna record;
BEGIN
  FOR v_par IN SELECT * FROM (VALUES ('ztprest', 'ztdesdprest'), ('ztlanc', 'ztdesdlancoperacao')) AS p(tabela, copia)
  LOOP
    FOR v_coluna IN
      SELECT a.attname, format_type(a.atttypid, a.atttypmod) AS tipo
        FROM pg_attribute a
       WHERE a.attrelid = v_par.tabela::regclass AND a.attnum > 0 AND NOT a.attisdropped
         AND NOT EXISTS (SELECT 1 FROM pg_attribute c
                          WHERE c.attrelid = v_par.copia::regclass AND c.attname = a.attname AND NOT c.attisdropped)
       ORDER BY a.attnum
    LOOP
      EXECUTE format('ALTER TABLE %I ADD COLUMN %I %s', v_par.copia, v_coluna.attname, v_coluna.tipo);
    END LOOP;
  END LOOP;
END
$copias$;

-- Settles the loaded title as split: charge "DESD", paid in full today by the object's user. A title
-- already settled by a split is left as it is; a title paid otherwise is refused, as its payment
-- would be lost.
CREATE OR REPLACE FUNCTION t_zt_contasreceber_desdobrar(self t_zt_contasreceber) RETURNS t_zt_contasreceber
LANGUAGE plpgsql AS $$
DECLARE
  v_codcob varchar;
  v_dtpag timestamp;
  v_vpago numeric;
  v_estorno numeric;
  v_agora timestamp(0) := date_trunc('second', statement_timestamp());
BEGIN
  SELECT codcob, dtpag, vpago, valorestorno INTO v_codcob, v_dtpag, v_vpago, v_estorno
    FROM ztprest WHERE numtransvenda = self.numtransvenda AND prest = self.prest FOR UPDATE;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O título %-% não existe.', self.numtransvenda, self.prest;
  END IF;
  IF v_codcob = 'DESD' THEN
    RETURN self;
  END IF;
  IF v_dtpag IS NOT NULL AND (v_estorno IS NULL OR coalesce(v_vpago, 0) > v_estorno) THEN
    RAISE EXCEPTION 'O título %-% já está baixado e não pode ser desdobrado.', self.numtransvenda, self.prest;
  END IF;
  UPDATE ztprest
     SET codcob = 'DESD', dtpag = date_trunc('day', v_agora), dtbaixa = date_trunc('day', v_agora), vpago = valor,
         dtdesd = date_trunc('day', v_agora), horadesd = extract(hour FROM v_agora),
         minutodesd = extract(minute FROM v_agora), codfuncdesd = self.matriculausuario,
         codfuncultalter = self.matriculausuario, dtultalter = v_agora
   WHERE numtransvenda = self.numtransvenda AND prest = self.prest;
  -- The object keeps what it loaded: the columns are named here, so the title table may gain
  -- columns after the object type was made.
  RETURN self;
END $$;
