-- Bordero settlement and freight-bill refunds: supplier allowances (ZTVERBA) and their movements
-- against payable entries (ZTMOVCRFOR). The purchasing module owns both; the payable area reads
-- them when it settles an entry and the purchasing stand-in writes single allowances. Idempotent.

CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTVERBA START WITH 1;

-- One supplier allowance: "D" the supplier owes us, "C" we owe the supplier. ORIGEM tells where it
-- came from ("D" a return of goods, "C" a commercial discount).
CREATE TABLE IF NOT EXISTS ZTVERBA (
  NUMVERBA     numeric(10)    NOT NULL PRIMARY KEY,
  CODFORNEC    numeric(10),
  TIPO         varchar(1),
  ORIGEM       varchar(1),
  CODCONTA     numeric(10),
  VALOR        numeric(14,2),
  DTEMISSAO    timestamp(0),
  HISTORICO    varchar(200),
  OBS          varchar(200),
  CODFUNC      numeric(10),
  CODROTINA    numeric(6),
  NUMLANC      numeric(10),
  DTESTORNO    timestamp(0)
);

CREATE INDEX IF NOT EXISTS ZTVERBA_HISTORICO ON ZTVERBA (HISTORICO);

-- What an allowance settled of a payable entry (NUMLANC is the entry's RECNUM).
CREATE TABLE IF NOT EXISTS ZTMOVCRFOR (
  NUMVERBA     numeric(10)    NOT NULL,
  NUMLANC      numeric(10)    NOT NULL,
  TIPO         varchar(1),
  VALOR        numeric(14,2),
  DTMOV        timestamp(0),
  DTESTORNO    timestamp(0),
  HISTORICO    varchar(200)
);

CREATE INDEX IF NOT EXISTS ZTMOVCRFOR_NUMLANC ON ZTMOVCRFOR (NUMLANC);
