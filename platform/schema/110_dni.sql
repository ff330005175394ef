-- Unidentified deposits settled with supplier allowances: the movements that settle an
-- allowance are found again by its number when it is reversed. Idempotent.

CREATE INDEX IF NOT EXISTS ZTMOVCR_NUMCARR_IDX ON ZTMOVCR (NUMCARR, CODCOB);
