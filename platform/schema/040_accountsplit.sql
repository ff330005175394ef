-- Account apportionment: named apportionments of a payable entry over several accounts, the
-- account groups, and the split of each posted entry. The accounts (ZTCONTA), their standard cost
-- centers and the user permissions (ZTLIB) come with the cost-center schema. Idempotent.

-- Account groups; an account names its group in ZTCONTA.GRUPOCONTA.
CREATE TABLE IF NOT EXISTS ZTGRUPO (
  CODGRUPO  numeric(6)   NOT NULL PRIMARY KEY,
  GRUPO     varchar(60)
);

-- The accounts of a named apportionment and each one's percentage. The account code is kept as
-- text (as the host's screens store it); the accounts query converts it with TO_NUMBER.
CREATE TABLE IF NOT EXISTS ZTITENSRATEIOPADRAOCONTA (
  CODRATEIOCONTA  numeric(10)    NOT NULL,
  CODIGOCONTA     varchar(20)    NOT NULL,
  PERCENTUAL      numeric(12,6)
);
CREATE INDEX IF NOT EXISTS ZTITENSRATEIOPADRAOCONTA_COD ON ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA);

-- The split of a posted entry: one row per entry created (RECNUM), all of one split sharing the
-- first entry as RECNUMPRINC. VALOR is the entry's net value.
CREATE TABLE IF NOT EXISTS ZTRATEIOCONTAS (
  RECNUM          numeric(10)    NOT NULL,
  CODCONTA        numeric(10),
  VALOR           numeric(14,2),
  PERCRATEIO      numeric(12,6),
  DTLANC          timestamp(0),
  CONTRAPARTIDA   varchar(1),
  RECNUMPRINC     numeric(10),
  CODFILIAL       varchar(2),
  CODRATEIOCONTA  numeric(10)
);
CREATE INDEX IF NOT EXISTS ZTRATEIOCONTAS_RECNUM ON ZTRATEIOCONTAS (RECNUM);
CREATE INDEX IF NOT EXISTS ZTRATEIOCONTAS_RECNUMPRINC ON ZTRATEIOCONTAS (RECNUMPRINC);

-- Older databases keep the account switches without these columns.
ALTER TABLE ZTCONTA ADD COLUMN IF NOT EXISTS GRUPOCONTA numeric(6);
ALTER TABLE ZTCONTA ADD COLUMN IF NOT EXISTS USARATEIOCENTROCUSTO varchar(1) DEFAULT 'N';
ALTER TABLE ZTLANC ADD COLUMN IF NOT EXISTS UTILIZOURATEIOCONTA varchar(1);
ALTER TABLE ZTLANC ADD COLUMN IF NOT EXISTS PRCRATEIOUTILIZADO numeric(12,6);
ALTER TABLE ZTLANCBLOQ ADD COLUMN IF NOT EXISTS UTILIZOURATEIOCONTA varchar(1);
ALTER TABLE ZTLANCBLOQ ADD COLUMN IF NOT EXISTS PRCRATEIOUTILIZADO numeric(12,6);
