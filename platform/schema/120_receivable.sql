-- Receivable titles: the listing's market areas and deposit documents, and the payment-tracking
-- work table. Idempotent.

-- Market area of a customer, with the route that serves it.
CREATE TABLE IF NOT EXISTS ZTPRACA (
  CODPRACA                numeric(10)    NOT NULL,
  PRACA                   varchar(40),
  CODROTA                 numeric(10),
  CONSTRAINT ZTPRACA_PK PRIMARY KEY (CODPRACA)
);

-- Deposit documents of a title; the title listing only shows titles that have one.
CREATE TABLE IF NOT EXISTS ZTPRESTDNI (
  NUMTRANSVENDA           numeric(10)    NOT NULL,
  PREST                   varchar(2)     NOT NULL,
  NUMDOC                  numeric(10),
  CONSTRAINT ZTPRESTDNI_PK PRIMARY KEY (NUMTRANSVENDA, PREST)
);
CREATE INDEX IF NOT EXISTS ZTPRESTDNI_NUMDOC ON ZTPRESTDNI (NUMDOC);

-- Payment tracking keeps its rows per session, as a session-private temporary table would: the rows
-- live in ZTCONTASPAGARSPED_TEMP_DADOS under the writing backend, and ZTCONTASPAGARSPED_TEMP shows,
-- inserts and deletes only the current session's rows. One user's DELETE ... WHERE TIPO never
-- reaches another's. A reused backend number may find rows a dead session left; each tracking run
-- deletes its kind before writing, so those rows never reach an answer.
CREATE TABLE IF NOT EXISTS ZTCONTASPAGARSPED_TEMP_DADOS (
  SESSAO                  integer        NOT NULL DEFAULT pg_backend_pid(),
  CODFILIAL               varchar(2),
  NUMNOTA                 numeric(10),
  NUMTRANSVENDA           numeric(10),
  DOCBAIXA                varchar(20),
  DTPAG                   timestamp(0),
  VALORNOTA               numeric(14,2),
  VALORPARCELA            numeric(14,2),
  VALOR                   numeric(14,2),
  TIPO                    varchar(1),                -- S, R or C: the kind of run that wrote it
  VLDESCONTO              numeric(14,2),
  VLJUROS                 numeric(14,2),
  VLDESPESAS              numeric(14,2),
  VLMULTA                 numeric(14,2),
  RASTREAVEL              varchar(1)                 -- S traced, N an invoice that could not be traced
);
CREATE INDEX IF NOT EXISTS ZTCONTASPAGARSPED_TEMP_SESSAO ON ZTCONTASPAGARSPED_TEMP_DADOS (SESSAO, TIPO);

CREATE OR REPLACE VIEW ZTCONTASPAGARSPED_TEMP AS
SELECT CODFILIAL, NUMNOTA, NUMTRANSVENDA, DOCBAIXA, DTPAG, VALORNOTA, VALORPARCELA, VALOR, TIPO, VLDESCONTO,
       VLJUROS, VLDESPESAS, VLMULTA, RASTREAVEL
  FROM ZTCONTASPAGARSPED_TEMP_DADOS
 WHERE SESSAO = pg_backend_pid()
  WITH CASCADED CHECK OPTION;
