-- Loan contracts taken by the company (from a bank or a supplier), one row each, keyed by the
-- contract sequence. Idempotent.

CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTCONTRATOEMPRESTIMO START WITH 1;

CREATE TABLE IF NOT EXISTS ZTCONTRATOEMPRESTIMO (
  NUMSEQCONTRATOEMPRESTIMO  numeric(10)    NOT NULL PRIMARY KEY,
  NUMCONTRATO               varchar(20),
  DTCONTRATO                timestamp(0),
  TIPOCONTRATO              varchar(1),
  MOEDAESTRANGEIRA          numeric(18,6),
  DTCOTACAO                 timestamp(0),
  PRAZOPER                  numeric(5),
  TXJURO                    numeric(12,6),
  CODFORNEC                 numeric(10),
  CODBANCO                  numeric(4),
  OBSERVACAO                varchar(200),
  VLRTOTAL                  numeric(14,2),
  TIPOEMPRESTIMO            varchar(1),
  MOEDANACIONAL             varchar(4)
);
