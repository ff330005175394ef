-- The host's own tables: parameters, permissions, accounting periods, users, branches and the
-- general configuration row. Idempotent.

CREATE TABLE IF NOT EXISTS ZTPARAMETROS (
  NOME       varchar(60)   NOT NULL,
  CODFILIAL  varchar(2)    NOT NULL,   -- '*' holds the global value
  VALOR      varchar(4000),
  PRIMARY KEY (NOME, CODFILIAL)
);

-- Access of a user to a routine (CODPERMISSAO 0) and to its numbered permissions.
CREATE TABLE IF NOT EXISTS ZTPERMISSAO (
  MATRICULA     numeric(8)  NOT NULL,
  CODROTINA     numeric(6)  NOT NULL,
  CODPERMISSAO  numeric(6)  NOT NULL DEFAULT 0,
  PRIMARY KEY (MATRICULA, CODROTINA, CODPERMISSAO)
);

-- Accounting periods blocked ('B') or closed ('E') per branch.
CREATE TABLE IF NOT EXISTS ZTPERIODOCONTABIL (
  CODFILIAL  varchar(2)    NOT NULL,
  DTINICIO   timestamp(0)  NOT NULL,
  DTFIM      timestamp(0)  NOT NULL,
  SITUACAO   varchar(1)    NOT NULL CHECK (SITUACAO IN ('B', 'E')),
  PRIMARY KEY (CODFILIAL, DTINICIO)
);

-- Bank/collection pairs integrated with accounting, and the branch they post to.
CREATE TABLE IF NOT EXISTS ZTBANCOMOEDACONTABIL (
  CODBANCO   numeric(4)   NOT NULL,
  CODCOB     varchar(4)   NOT NULL,
  CODFILIAL  varchar(2)   NOT NULL,
  PRIMARY KEY (CODBANCO, CODCOB)
);

CREATE TABLE IF NOT EXISTS ZTEMPR (
  MATRICULA    numeric(8)    NOT NULL PRIMARY KEY,
  NOME         varchar(40),
  NOME_GUERRA  varchar(40),
  CODFILIAL    varchar(2),
  CODSETOR     numeric(4),
  SITUACAO     varchar(1)    DEFAULT 'A',
  TIPO         varchar(1)
);

CREATE TABLE IF NOT EXISTS ZTFILIAL (
  CODIGO       varchar(2)    NOT NULL PRIMARY KEY,
  RAZAOSOCIAL  varchar(60),
  FANTASIA     varchar(40),
  CGC          varchar(18),
  ENDERECO     varchar(40),
  BAIRRO       varchar(40),
  CIDADE       varchar(40),
  UF           varchar(2),
  CEP          varchar(9)
);

-- The general configuration: one row.
CREATE TABLE IF NOT EXISTS ZTCONSUM (
  DIRQUORVIN                  varchar(200),
  UTILIZACONTROLECAIXA        varchar(1)     DEFAULT 'N',
  PERCJUROSMORA               numeric(12,4)  DEFAULT 0,
  SOMATARIFABANCDUPLIC        varchar(1)     DEFAULT 'N',
  CODSETORMOTORISTA           numeric(4)
);

-- Numbering service of the host: one generator each, shared with SQL that draws them by NEXTVAL.
CREATE SEQUENCE IF NOT EXISTS QV_RECNUM START WITH 1000;
CREATE SEQUENCE IF NOT EXISTS QV_NUMTRANS START WITH 1000;
CREATE SEQUENCE IF NOT EXISTS QV_NUMBORDERO START WITH 1;
CREATE SEQUENCE IF NOT EXISTS QV_NUMVALE START WITH 1;
