-- Receivable titles: their insertion through the title object, the sales-force receipts and their
-- pending splits, the customers' visiting routes of the RCAs and the SupplierCard queue.

-- ---- T_ZT_CONTASRECEBER.INSERIR: writes the object as a new title. The columns are named, so the
-- title table may gain columns after the object type was made. The user the object was built for
-- is the title's last changer.
CREATE OR REPLACE FUNCTION t_zt_contasreceber_inserir(self t_zt_contasreceber) RETURNS t_zt_contasreceber
LANGUAGE plpgsql AS $$
BEGIN
  IF self.numtransvenda IS NULL OR self.prest IS NULL THEN
    RAISE EXCEPTION 'O título a incluir precisa de transação de venda e prestação.';
  END IF;
  INSERT INTO ztprest (codfilial, numtransvenda, prest, duplic, dtvenc, dtvencorig, dtemissao, dtemissaoorig,
                       codcob, codcoborig, valor, valororig, codcli, status, codusur, obs2, dtultalter,
                       codfuncultalter)
  VALUES (self.codfilial, self.numtransvenda, self.prest, self.duplic, self.dtvenc, self.dtvencorig,
          self.dtemissao, self.dtemissaoorig, self.codcob, self.codcoborig, self.valor, self.valororig,
          self.codcli, self.status, self.codusur, self.obs2, date_trunc('day', localtimestamp(0)),
          self.matriculausuario);
  RETURN self;
END $$;

-- ---- Sales-force receipts and the splits of titles they ask for.
CREATE TABLE IF NOT EXISTS ZTRECEBIMENTOFV (
  NUMTRANSVENDA           numeric(10)    NOT NULL,
  PREST                   varchar(2)     NOT NULL,
  CODUSUR                 numeric(10),
  VALOR                   numeric(14,2),
  DTRECEBIMENTO           timestamp(0),
  CANCELADO               varchar(1),
  CONSTRAINT ZTRECEBIMENTOFV_PK PRIMARY KEY (NUMTRANSVENDA, PREST)
);

CREATE TABLE IF NOT EXISTS ZTDESDRECEBIMENTOFV (
  NUMTRANSVENDA_ZTPREST        numeric(10)  NOT NULL,
  PREST_ZTPREST                varchar(2)   NOT NULL,
  NUMTRANSVENDA_ZTRECEBIMENTOFV numeric(10) NOT NULL,
  PREST_ZTRECEBIMENTOFV        varchar(2)   NOT NULL,
  SEQUENCIAL_DESDOBRAMENTO     numeric(10),
  DESDOBRAMENTOEFETUADO        varchar(1),
  CONSTRAINT ZTDESDRECEBIMENTOFV_PK PRIMARY KEY (NUMTRANSVENDA_ZTPREST, PREST_ZTPREST, NUMTRANSVENDA_ZTRECEBIMENTOFV,
                                                  PREST_ZTRECEBIMENTOFV)
);

-- ---- Visiting routes: the customers an RCA visits on a weekday (1 Monday .. 7 Sunday) of a week of
-- the month (1 .. 5). ZTMOVROTACLI is the route as updated at each sale. Both keys are texts, as the
-- route question compares them with the texts of the weekday and of TO_CHAR(SYSDATE, 'W').
CREATE TABLE IF NOT EXISTS ZTROTACLI (
  CODUSUR                 numeric(10)    NOT NULL,
  CODCLI                  numeric(10)    NOT NULL,
  DIASEMANA               varchar(10)    NOT NULL,
  NUMSEMANA               varchar(1)     NOT NULL,
  SEQUENCIA               numeric(6),
  CONSTRAINT ZTROTACLI_PK PRIMARY KEY (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA)
);

CREATE TABLE IF NOT EXISTS ZTMOVROTACLI (
  CODUSUR                 numeric(10)    NOT NULL,
  CODCLI                  numeric(10)    NOT NULL,
  DIASEMANA               varchar(10)    NOT NULL,
  NUMSEMANA               varchar(1)     NOT NULL,
  SEQUENCIA               numeric(6),
  DTMOV                   timestamp(0),
  CONSTRAINT ZTMOVROTACLI_PK PRIMARY KEY (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA)
);

-- ---- SupplierCard queue: what the card network is told about a sale (TIPOINF '1' the charge,
-- '2' an extension of a due date) and what it answered.
CREATE TABLE IF NOT EXISTS ZTFILASUPPLI (
  NUMTRANSVENDA           numeric(10)    NOT NULL,
  PREST                   varchar(2),
  TIPOINF                 varchar(1)     NOT NULL,
  DTHORAINC               timestamp(0),
  CODROTINACAD            numeric(6),
  ENVIADOSUPPLI           varchar(1),
  APROVADOSUPPLI          varchar(1)
);
CREATE INDEX IF NOT EXISTS ZTFILASUPPLI_NUMTRANSVENDA ON ZTFILASUPPLI (NUMTRANSVENDA, TIPOINF);
