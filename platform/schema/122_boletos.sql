-- Issuing bank slips of receivable titles: the access controls checked before bank data is
-- generated, the payer's addresses, the delivery load and driver printed on a slip, the payment plan
-- of the invoice. Idempotent; tables other areas define too are created only when missing and then
-- completed column by column.

-- Access controls of a routine per user (ACESSO 'S' grants control CODCONTROLE of routine CODROTINA).
CREATE TABLE IF NOT EXISTS ZTCONTROI (
  CODROTINA    numeric(6)   NOT NULL,
  CODCONTROLE  numeric(6)   NOT NULL,
  CODUSUARIO   numeric(8)   NOT NULL,
  ACESSO       varchar(1),
  PRIMARY KEY (CODROTINA, CODCONTROLE, CODUSUARIO)
);

-- The payer: document, billing address (or "O MESMO" for the delivery one) and delivery address.
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS CGCENT varchar(18);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS ENDERCOB varchar(60);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS BAIRROCOB varchar(40);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS MUNICCOB varchar(40);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS ESTCOB varchar(2);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS CEPCOB varchar(9);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS ENDERENT varchar(60);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS BAIRROENT varchar(40);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS MUNICENT varchar(40);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS ESTENT varchar(2);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS CEPENT varchar(9);

-- Market areas of customers.
CREATE TABLE IF NOT EXISTS ZTPRACA (
  CODPRACA  numeric(10)  NOT NULL PRIMARY KEY
);
ALTER TABLE ZTPRACA ADD COLUMN IF NOT EXISTS PRACA varchar(40);

-- Delivery loads: the slips of a load print in its assembly order, with its driver.
CREATE TABLE IF NOT EXISTS ZTCARREG (
  NUMCAR        numeric(10)  NOT NULL PRIMARY KEY,
  CODMOTORISTA  numeric(8),
  DESTINO       varchar(60)
);

-- Payment plans of invoices.
CREATE TABLE IF NOT EXISTS ZTPLPAG (
  CODPLPAG   numeric(6)   NOT NULL PRIMARY KEY,
  DESCRICAO  varchar(40)
);
ALTER TABLE ZTNFSAID ADD COLUMN IF NOT EXISTS CODPLPAG numeric(6);
