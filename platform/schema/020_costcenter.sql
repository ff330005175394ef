-- Cost-center apportionment: the cost centers and who may use them, the accounts and their
-- cost-center switch, standard and priority apportionments, the saved apportionment of payable
-- entries, accounting entries and budget lines, and the monthly budgets. Idempotent.

-- A cost center has a current code and an older one; rows match on NVL(current, older).
CREATE TABLE IF NOT EXISTS ZTCENTROCUSTO (
  CODIGOCENTROCUSTO  varchar(40),
  CODCENTROCUSTO     varchar(40),
  DESCRICAO          varchar(80),
  ATIVO              varchar(1)   DEFAULT 'S',
  RECEBE_LANCTO      varchar(1)   DEFAULT 'S'
);
CREATE UNIQUE INDEX IF NOT EXISTS ZTCENTROCUSTO_CODIGO ON ZTCENTROCUSTO ((COALESCE(CODIGOCENTROCUSTO, CODCENTROCUSTO)));

-- User permissions by table: table 10 lists the cost centers (CODIGOA) a user may post to,
-- table 6 the account groups (CODIGON).
CREATE TABLE IF NOT EXISTS ZTLIB (
  CODTABELA  numeric(4)   NOT NULL,
  CODFUNC    numeric(8)   NOT NULL,
  CODIGOA    varchar(40),
  CODIGON    numeric(10)
);
CREATE INDEX IF NOT EXISTS ZTLIB_TABELA_FUNC ON ZTLIB (CODTABELA, CODFUNC, CODIGOA);

-- Management accounts.
CREATE TABLE IF NOT EXISTS ZTCONTA (
  CODCONTA              numeric(10)  NOT NULL PRIMARY KEY,
  CONTA                 varchar(60),
  GRUPOCONTA            numeric(6),
  USARATEIOCENTROCUSTO  varchar(1)   DEFAULT 'N'
);

-- Chart-of-accounts accounts (accounting), with their cost-center switch.
CREATE TABLE IF NOT EXISTS ZTMODELOZT (
  CODREDUZIDO_ZT  numeric(10)  NOT NULL,
  CODPLANOCONTA   numeric(6)   NOT NULL,
  DESCRICAO       varchar(60),
  USACENTROCUSTO  varchar(1)   DEFAULT 'N',
  PRIMARY KEY (CODREDUZIDO_ZT, CODPLANOCONTA)
);

-- Accounting entries.
CREATE TABLE IF NOT EXISTS ZTLANCAMENTO (
  NUMTRANSLANCTO  numeric(10)   NOT NULL PRIMARY KEY,
  CODFILIAL       varchar(2),
  DATA            timestamp(0),
  CODCONTADEB     numeric(10),
  CODCONTACRED    numeric(10),
  VALOR           numeric(14,2),
  HISTORICO       varchar(200)
);

-- Freight bills linked to the inbound invoice they carried.
CREATE TABLE IF NOT EXISTS ZTNFENTFRETE (
  NUMTRANSENTNF  numeric(10)  NOT NULL,
  NUMTRANSENT    numeric(10)  NOT NULL,
  PRIMARY KEY (NUMTRANSENTNF, NUMTRANSENT)
);

-- An account's standard apportionment.
CREATE TABLE IF NOT EXISTS ZTCONTACENTROCUSTO (
  CODCONTA           numeric(10)   NOT NULL,
  CODCENTROCUSTO     varchar(40),
  PERCRATEIO         numeric(12,6),
  CODIGOCENTROCUSTO  varchar(40)
);
CREATE INDEX IF NOT EXISTS ZTCONTACENTROCUSTO_CONTA ON ZTCONTACENTROCUSTO (CODCONTA);

-- The cost centers an account is restricted to.
CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTOPRIORITARIO (
  RECNUM             numeric(10),
  CODCONTA           numeric(10)  NOT NULL,
  CODIGOCENTROCUSTO  varchar(40)
);
CREATE INDEX IF NOT EXISTS ZTRATEIOCCPRIORITARIO_CONTA ON ZTRATEIOCENTROCUSTOPRIORITARIO (CODCONTA);

-- Apportionment per item of a material request (routine 3424).
CREATE TABLE IF NOT EXISTS ZTCONTACENTROCUSTOITEMSOLMAT (
  CODCONTA           numeric(10)   NOT NULL,
  NUMEROSOLICITACAO  numeric(10)   NOT NULL,
  CODPRODUTO         numeric(10)   NOT NULL,
  CODIGOCENTROCUSTO  varchar(40),
  CODCENTROCUSTO     varchar(40),
  PERCRATEIO         numeric(12,6)
);
CREATE INDEX IF NOT EXISTS ZTCONTACCITEMSOLMAT_ITEM ON ZTCONTACENTROCUSTOITEMSOLMAT (CODCONTA, NUMEROSOLICITACAO, CODPRODUTO);

-- Named standard apportionments and their items.
CREATE TABLE IF NOT EXISTS ZTRATEIOPADRAOCC (
  CODRATEIOCC  varchar(10)  NOT NULL PRIMARY KEY,
  DESCRICAO    varchar(60)
);
CREATE TABLE IF NOT EXISTS ZTITENSRATEIOPADRAOCC (
  CODRATEIOCC        varchar(10)   NOT NULL,
  CODIGOCENTROCUSTO  varchar(40)   NOT NULL,
  PERCENTUAL         numeric(12,6)
);
CREATE INDEX IF NOT EXISTS ZTITENSRATEIOPADRAOCC_COD ON ZTITENSRATEIOPADRAOCC (CODRATEIOCC);

-- Cost centers of a standard accounting entry, per chart-of-accounts account.
CREATE TABLE IF NOT EXISTS ZTITENSCCCONTALANCTOPADRAO (
  CODLANCPADRAO      numeric(6)    NOT NULL,
  CODREDUZIDO_ZT     numeric(10)   NOT NULL,
  CODIGOCENTROCUSTO  varchar(40)   NOT NULL,
  PERCENTUAL         numeric(12,6)
);

-- Apportionment of a payable entry (ZTLANC.RECNUM).
CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTO (
  RECNUM             numeric(10)   NOT NULL,
  CODCONTA           numeric(10),
  CODIGOCENTROCUSTO  varchar(40),
  CODCENTROCUSTO     varchar(40),
  VALOR              numeric(14,2),
  PERCRATEIO         numeric(12,6),
  DTLANC             timestamp(0),
  CONTRAPARTIDA      varchar(1),
  RECNUMPRINC        numeric(10),
  CODFILIAL          varchar(2),
  ORCAMENTOEXCEDIDO  varchar(1),
  CODFUNCAUTSUPLORC  numeric(8),
  DATAAUTSUPLORC     timestamp(0)
);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTO_RECNUM ON ZTRATEIOCENTROCUSTO (RECNUM);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTO_CONTA ON ZTRATEIOCENTROCUSTO (CODCONTA, CODFILIAL);

-- The same for an entry held in ZTLANCBLOQ awaiting budget supplementation.
CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTOBLOQ (LIKE ZTRATEIOCENTROCUSTO);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTOBLOQ_RECNUM ON ZTRATEIOCENTROCUSTOBLOQ (RECNUM);
CREATE INDEX IF NOT EXISTS ZTRATEIOCENTROCUSTOBLOQ_CONTA ON ZTRATEIOCENTROCUSTOBLOQ (CODCONTA, CODFILIAL);

-- Apportionment of an accounting entry.
CREATE TABLE IF NOT EXISTS ZTRATEIOCONTABILCC (
  CODFILIAL          varchar(2),
  NUMTRANSLANCTO     numeric(10)   NOT NULL,
  CODIGOCENTROCUSTO  varchar(40),
  NATUREZA           varchar(1),
  VALOR              numeric(14,2),
  PERCRATEIO         numeric(12,6)
);
CREATE INDEX IF NOT EXISTS ZTRATEIOCONTABILCC_LANCTO ON ZTRATEIOCONTABILCC (NUMTRANSLANCTO);

-- An account's budget per branch and year, one column per month.
CREATE TABLE IF NOT EXISTS ZTORCLAN (
  CODCONTA    numeric(10)    NOT NULL,
  CODFILIAL   varchar(2)     NOT NULL,
  ANO         numeric(4)     NOT NULL,
  VLORCMES01  numeric(14,2)  DEFAULT 0,
  VLORCMES02  numeric(14,2)  DEFAULT 0,
  VLORCMES03  numeric(14,2)  DEFAULT 0,
  VLORCMES04  numeric(14,2)  DEFAULT 0,
  VLORCMES05  numeric(14,2)  DEFAULT 0,
  VLORCMES06  numeric(14,2)  DEFAULT 0,
  VLORCMES07  numeric(14,2)  DEFAULT 0,
  VLORCMES08  numeric(14,2)  DEFAULT 0,
  VLORCMES09  numeric(14,2)  DEFAULT 0,
  VLORCMES10  numeric(14,2)  DEFAULT 0,
  VLORCMES11  numeric(14,2)  DEFAULT 0,
  VLORCMES12  numeric(14,2)  DEFAULT 0,
  PRIMARY KEY (CODCONTA, CODFILIAL, ANO)
);

-- The budget of a month split by cost center (VALOR is the cost center's budget).
CREATE TABLE IF NOT EXISTS ZTORCLANCENTROCUSTO (
  ANO                numeric(4)     NOT NULL,
  MES                numeric(2)     NOT NULL,
  CODFILIAL          varchar(2)     NOT NULL,
  CODCONTA           numeric(10)    NOT NULL,
  CODIGOCENTROCUSTO  varchar(40)    NOT NULL,
  PERCRATEIO         numeric(12,6),
  VALOR              numeric(14,2)
);
CREATE INDEX IF NOT EXISTS ZTORCLANCENTROCUSTO_MES ON ZTORCLANCENTROCUSTO (CODCONTA, CODFILIAL, ANO, MES);
