-- Cash and bank movements: the movements with the running balances they froze (ZTMOVCR), the
-- current balance per collection code and account (ZTESTCR), and the monthly balances by
-- clearing date (ZTESTCRCOMPENSACAO). Idempotent.

CREATE TABLE IF NOT EXISTS ZTMOVCR (
  rowid            bigint         GENERATED ALWAYS AS IDENTITY PRIMARY KEY,  -- addressed as ROWID
  NUMTRANS         numeric(10)    NOT NULL,
  DATA             timestamp(0)   NOT NULL,
  CODBANCO         numeric(4)     NOT NULL,
  CODCOB           varchar(4)     NOT NULL,
  HISTORICO        varchar(200),
  HISTORICO2       varchar(100),
  VALOR            numeric(14,2)  NOT NULL,
  TIPO             varchar(1),
  NUMCARR          numeric(10),
  NUMDOC           varchar(20),
  VLSALDO          numeric(14,2),
  VLSALDOCONCIL    numeric(14,2),
  DTCONCIL         timestamp(0),
  CODFUNCCONCIL    numeric(8),
  CONCILIACAO      varchar(2),
  DTCOMPENSACAO    timestamp(0),
  HORA             numeric(2),
  MINUTO           numeric(2),
  CODFUNC          numeric(8),
  CODCONTADEB      numeric(10),
  CODCONTACRED     numeric(10),
  OPERACAO         numeric(4),
  INDICE           varchar(1),
  CODROTINALANC    numeric(6),
  NUMASSOCDNI      numeric(10),
  DTASSOCIADNICLI  timestamp(0),
  CODFUNCDNICLI    numeric(8),
  CODCLI           numeric(10),
  CODFILIAL        varchar(2),
  DTESTORNO        timestamp(0)
);

-- The rebuilds walk one account and collection code in date order (plain balance) or in
-- reconciliation order (reconciled balance); other areas find movements by transaction.
CREATE INDEX IF NOT EXISTS ZTMOVCR_SALDO_IDX ON ZTMOVCR (CODBANCO, CODCOB, DATA, NUMTRANS);
CREATE INDEX IF NOT EXISTS ZTMOVCR_CONCIL_IDX ON ZTMOVCR (CODBANCO, CODCOB, DTCONCIL);
CREATE INDEX IF NOT EXISTS ZTMOVCR_NUMTRANS_IDX ON ZTMOVCR (NUMTRANS);

-- One row per collection code and account; VALOR is the sum of the signed movements.
CREATE TABLE IF NOT EXISTS ZTESTCR (
  CODCOB           varchar(4)     NOT NULL,
  CODBANCO         numeric(4)     NOT NULL,
  VALOR            numeric(14,2)  DEFAULT 0,
  VALORCONCILIADO  numeric(14,2)  DEFAULT 0,
  DTULTCONCILIA    timestamp(0),
  PRIMARY KEY (CODCOB, CODBANCO)
);

-- One row per account, collection code and month ("01".."12"); SALDO = SALDOINICIAL +
-- VALORDEBITO - VALORCREDITO of the month's reconciled movements by clearing date.
CREATE TABLE IF NOT EXISTS ZTESTCRCOMPENSACAO (
  MES               varchar(2)     NOT NULL,
  ANO               varchar(4)     NOT NULL,
  CODBANCO          numeric(4)     NOT NULL,
  CODMOEDA          varchar(4)     NOT NULL,
  VALORDEBITO       numeric(14,2)  DEFAULT 0,
  VALORCREDITO      numeric(14,2)  DEFAULT 0,
  DATASALDOINICIAL  timestamp(0),
  SALDOINICIAL      numeric(14,2)  DEFAULT 0,
  SALDO             numeric(14,2)  DEFAULT 0,
  PRIMARY KEY (CODBANCO, CODMOEDA, ANO, MES)
);
