-- Vouchers: the partners' current-account ledger (ZTCORREN), its history codes (ZTHIST), the
-- sales supervisors the reports group by (ZTSUPERV) and the cash openings and closings the cash
-- control reads (ztcontrolecx). Idempotent.

-- Row numbers of ZTCORREN: drawn by NEXTVAL in the insert and through the host's numbering
-- service (the partial write-off), one generator for both.
CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTCORREN START WITH 1;

-- One row per voucher or settlement. RECNUM is not a key: the two settlement rows of a partial
-- write-off share one. A row is open while DTBAIXAVALE is NULL.
CREATE TABLE IF NOT EXISTS ZTCORREN (
  RECNUM                       numeric(10)    NOT NULL,
  CODFILIAL                    varchar(2),
  DTLANC                       timestamp(0),
  CODFUNC                      numeric(10)    NOT NULL,
  TIPOFUNC                     varchar(1)     NOT NULL CHECK (TIPOFUNC IN ('F', 'M', 'R')),
  -- An edit stores the history as given, so it is wider than the 40 characters of an insert.
  HISTORICO                    varchar(200),
  HISTORICO2                   varchar(40),
  TIPOLANC                     varchar(1)     NOT NULL CHECK (TIPOLANC IN ('D', 'C', 'E')),
  VALOR                        numeric(14,2)  NOT NULL,
  NUMDOC                       numeric(10),
  CODHIST                      numeric(6),
  DTVENC                       timestamp(0),
  DTVENCORIG                   timestamp(0),
  NUMVALE                      numeric(10)    NOT NULL,
  CODEMITE                     numeric(8),
  CODFUNCORIG                  numeric(10),
  CODROTINA                    numeric(6),
  CODEMITEORIG                 numeric(8),
  COBJUROS                     varchar(1),
  CODBANCO                     numeric(4),
  NUMTRANS                     numeric(10),
  HORA                         numeric(2),
  MINUTO                       numeric(2),
  DTBAIXAVALE                  timestamp(0),
  CODFUNBAIXA                  numeric(8),
  INDICE                       varchar(1),
  NUMTRANSBAIXA                numeric(10),
  CONSIDERABASECALCULOIMPOSTO  varchar(1)     CHECK (CONSIDERABASECALCULOIMPOSTO IN ('S', 'N')),
  DTDOC                        timestamp(0),
  VALEEXPORTADO                varchar(1)     CHECK (VALEEXPORTADO IN ('S', 'N')),
  ORIGEMLANCAMENTO             varchar(100),
  CODIGOCOMRCA                 numeric(10),
  DTTRANSF                     timestamp(0),
  CODFUNCPRORROG               numeric(8)
);

CREATE INDEX IF NOT EXISTS ZTCORREN_RECNUM_IDX ON ZTCORREN (RECNUM);
CREATE INDEX IF NOT EXISTS ZTCORREN_NUMVALE_IDX ON ZTCORREN (NUMVALE);
CREATE INDEX IF NOT EXISTS ZTCORREN_PARCEIRO_IDX ON ZTCORREN (CODFUNC, TIPOFUNC, DTLANC);
CREATE INDEX IF NOT EXISTS ZTCORREN_NUMTRANS_IDX ON ZTCORREN (NUMTRANS);
-- The open row of a voucher is the one every write-off and transfer addresses: at most one open
-- row per row number and per voucher number.
CREATE UNIQUE INDEX IF NOT EXISTS ZTCORREN_RECNUM_ABERTO ON ZTCORREN (RECNUM) WHERE DTBAIXAVALE IS NULL;
CREATE UNIQUE INDEX IF NOT EXISTS ZTCORREN_NUMVALE_ABERTO ON ZTCORREN (NUMVALE) WHERE DTBAIXAVALE IS NULL;

-- History codes of vouchers.
CREATE TABLE IF NOT EXISTS ZTHIST (
  CODHIST    numeric(6)   NOT NULL PRIMARY KEY,
  HISTORICO  varchar(40)
);

-- Sales supervisors (ZTUSUARI.CODSUPERVISOR).
CREATE TABLE IF NOT EXISTS ZTSUPERV (
  CODSUPERVISOR  numeric(10)  NOT NULL PRIMARY KEY,
  NOME           varchar(40)
);

-- Cash openings of a user: open while DTFECHAMENTO is NULL, to be closed by DTLIMITEFECHAMENTO.
CREATE TABLE IF NOT EXISTS ztcontrolecx (
  codfunccaixa        numeric(8)    NOT NULL,
  codbanco            numeric(4)    NOT NULL,
  dtabertura          timestamp(0)  NOT NULL,
  dtlimitefechamento  timestamp(0),
  dtfechamento        timestamp(0),
  PRIMARY KEY (codfunccaixa, codbanco, dtabertura)
);
