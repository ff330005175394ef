-- Cost centers of consumption purchase orders: the installments of an order (ZTLANC3) and their
-- apportionment over cost centers (ZTRATEIOCENTROCUSTOZTLANC3), keyed by NUMPED and PREST.

-- An installment of a consumption purchase order, before it becomes a payable entry.
CREATE TABLE IF NOT EXISTS ZTLANC3 (
  NUMPED             numeric(10)   NOT NULL,
  PREST              varchar(2)    NOT NULL,   -- installment: "1", "2", "A" ...
  DTVENC             timestamp(0),
  CONSTRAINT ZTLANC3_PK PRIMARY KEY (NUMPED, PREST)
);

-- Apportionment of an installment of ZTLANC3.
CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTOZTLANC3 (
  NUMPED             numeric(10)   NOT NULL,
  PREST              varchar(2)    NOT NULL,
  CODCONTA           numeric(10),
  VALOR              numeric(14,2),
  PERCRATEIO         numeric(12,6),
  DTLANC             timestamp(0),
  CODFILIAL          varchar(2),
  CODIGOCENTROCUSTO  varchar(40)
);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTOZTLANC3_PREST ON ZTRATEIOCENTROCUSTOZTLANC3 (NUMPED, PREST);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTOZTLANC3_CONTA ON ZTRATEIOCENTROCUSTOZTLANC3 (CODCONTA, CODFILIAL);
