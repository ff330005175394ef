-- Receivable side shared by several areas: receivable titles (ZTPREST), charge kinds (ZTCOB), sale
-- invoices (ZTNFSAID) and banks (ZTBANCO), and the columns the receivable side reads from the
-- customers of 010. Idempotent: creates what is missing and adds missing columns.

-- One row per instalment of a sale transaction: a receivable title. Only the key is required, so an
-- insert that leaves a column out keeps its NULL.
CREATE TABLE IF NOT EXISTS ZTPREST (
  -- The title and its parties (title lists and their filters, title insertion)
  NUMTRANSVENDA           numeric(10)    NOT NULL,
  PREST                   varchar(2)     NOT NULL,   -- instalment: "1", "2", "A" ...
  DUPLIC                  numeric(10),               -- invoice number of the title
  NUMNOTA                 numeric(10),
  CODFILIAL               varchar(2),
  CODCLI                  numeric(10),
  CODCLINF                numeric(10),               -- customer of the invoice, when not the title's
  CODUSUR                 numeric(10),
  CODUSUR2                numeric(10),
  CODUSUR3                numeric(10),
  CODUSUR4                numeric(10),
  CODSUPERVISOR           numeric(10),
  CODCOBRADOR             numeric(10),
  CODPORTADOR             numeric(10),
  TIPOPORTADOR            varchar(1),                -- bearer kind: F, M, R or O
  TIPO                    varchar(1),
  STATUS                  varchar(1),
  OBS2                    varchar(100),

  -- Charge, bank and dates (title lists, insertion, due-date confirmation of split cancellation)
  CODCOB                  varchar(4),
  CODCOBORIG              varchar(4),
  CODCOBBANCO             varchar(4),
  CODBANCO                numeric(4),
  DTEMISSAO               timestamp(0),
  DTEMISSAOORIG           timestamp(0),
  DTVENC                  timestamp(0),
  DTVENCORIG              timestamp(0),
  DTRECEBIMENTOPREVISTO   timestamp(0),
  DTLANCPRORROG           timestamp(0),
  DTDESC                  timestamp(0),

  -- Amounts (title lists, payment tracking, value balance of splits, slips)
  VALOR                   numeric(14,2),
  VALORORIG               numeric(14,2),
  VALORDESC               numeric(14,2),
  PERDESC                 numeric(12,6),
  TXPERM                  numeric(14,2),
  TXPERMPREVISTO          numeric(14,2),
  VLROUTROSACRESC         numeric(14,2),
  VALORMULTA              numeric(14,2),
  VLRDESPCARTORAIS        numeric(14,2),
  VLRDESPBANCARIAS        numeric(14,2),
  VLDEVOL                 numeric(14,2),

  -- Settlement and its reversal (receipt, settlement as customer credit, unidentified deposits)
  VPAGO                   numeric(14,2),
  DTPAG                   timestamp(0),
  DTBAIXA                 timestamp(0),
  CODBAIXA                numeric(10),               -- user who settled the title
  CODFUNCBAIXA            numeric(10),
  NUMTRANS                numeric(10),
  DTBAIXACRED             timestamp(0),
  DTCXMOT                 timestamp(0),
  CODFUNCCXMOT            numeric(10),
  DTFECHA                 timestamp(0),
  CODFUNCFECHA            numeric(10),
  DTESTORNO               timestamp(0),
  VALORESTORNO            numeric(14,2),
  PERMITEESTORNO          varchar(1),
  DTCANCEL                timestamp(0),
  NUMASSOCDNI             numeric(10),               -- unidentified deposit the title is tied to

  -- Splitting of titles and the last change (split and its cancellation)
  DTDESD                  timestamp(0),
  HORADESD                numeric(2),
  MINUTODESD              numeric(2),
  CODFUNCDESD             numeric(10),
  ROTDESD                 numeric(6),
  DTULTALTER              timestamp(0),
  CODFUNCULTALTER         numeric(10),

  -- Vendor financing and discount (split cancellation refuses such titles; slips add its fees)
  NUMTRANSVENDOR          numeric(10),
  DTVENDOR                timestamp(0),
  DTFECHAVENDOR           timestamp(0),
  TXVENDORCLI             numeric(12,6),
  VLTXVENDOR              numeric(14,2),
  VLTXIOF                 numeric(14,2),

  -- Bank data and slips (bank data generation, slip printing)
  NUMTRANSVENDAST         numeric(10),               -- a second sale transaction the title answers for
  ORIGEMBOLETO            varchar(1),
  AGRUPADO                varchar(1),
  CODBANCOCM              numeric(4),                -- bank of the slip
  NOSSONUMBCO             varchar(20),
  CODBARRA                varchar(60),
  LINHADIG                varchar(60),
  CODBANCOCM2             numeric(4),
  NOSSONUMBCO2            varchar(20),
  CODBARRA2               varchar(60),
  LINHADIG2               varchar(60),
  DVCOB                   varchar(2),
  DIGITAO                 varchar(1),
  VLTXBOLETO              numeric(14,2),             -- slip fee charged on the title
  PASTAARQUIVOBOLETO      varchar(200),

  CONSTRAINT ZTPREST_PK PRIMARY KEY (NUMTRANSVENDA, PREST)
);

-- Title lists filter by customer, RCA, due and payment periods (with the branch), transaction range
-- and deposit association; slips find a title by either of its sale transactions.
CREATE INDEX IF NOT EXISTS ZTPREST_CODCLI ON ZTPREST (CODCLI);
CREATE INDEX IF NOT EXISTS ZTPREST_CODUSUR ON ZTPREST (CODUSUR);
CREATE INDEX IF NOT EXISTS ZTPREST_DTVENC ON ZTPREST (DTVENC, CODFILIAL);
CREATE INDEX IF NOT EXISTS ZTPREST_DTPAG ON ZTPREST (DTPAG, CODFILIAL);
CREATE INDEX IF NOT EXISTS ZTPREST_NUMTRANS ON ZTPREST (NUMTRANS);
CREATE INDEX IF NOT EXISTS ZTPREST_NUMASSOCDNI ON ZTPREST (NUMASSOCDNI);
CREATE INDEX IF NOT EXISTS ZTPREST_NUMTRANSVENDAST ON ZTPREST (NUMTRANSVENDAST);

-- Charge kinds ("D" cash, "CRED" customer credit, "DESD" split ...) and how each is collected.
CREATE TABLE IF NOT EXISTS ZTCOB (
  CODCOB                  varchar(4)     NOT NULL,
  -- Title lists and card networks
  CARTAO                  varchar(1),
  COBSUPPLIERCARD         varchar(1),
  -- Slips: whether the charge issues them and adds their fee, its bank, its interest and the text
  -- printed on them
  BOLETO                  varchar(1),
  SOMATXBOLETO            varchar(1),
  CODBANCO                numeric(4),
  CALCJUROSCOBRANCA       varchar(1),
  TXJUROS                 numeric(12,6),             -- monthly interest rate, percent
  OBSNF                   varchar(200),
  CONSTRAINT ZTCOB_PK PRIMARY KEY (CODCOB)
);

-- Sale invoices, one per sale transaction; supplier returns are invoices of sale kind "DF".
CREATE TABLE IF NOT EXISTS ZTNFSAID (
  NUMTRANSVENDA           numeric(10)    NOT NULL,
  NUMNOTA                 numeric(10),
  -- The sale (payment tracking, slips, routes of RCAs, freight-bill refunds)
  CODCLI                  numeric(10),
  CODUSUR                 numeric(10),
  CODCOB                  varchar(4),
  CONDVENDA               numeric(2),
  TIPOVENDA               varchar(2),
  VLTOTGER                numeric(14,2),
  -- Delivery load, for the order of printed slips
  NUMCAR                  numeric(10),
  NUMSEQMONTAGEM          numeric(10),
  -- Returns to suppliers and their cancellation (split cancellation of payable entries)
  CODFORNEC               numeric(10),
  DTCANCEL                timestamp(0),
  OBS                     varchar(200),
  ROTINALANC              varchar(50),               -- routines that posted it; compared with LIKE
  CONSTRAINT ZTNFSAID_PK PRIMARY KEY (NUMTRANSVENDA)
);

CREATE INDEX IF NOT EXISTS ZTNFSAID_NUMNOTA ON ZTNFSAID (NUMNOTA, CODFORNEC);

-- Cash and bank accounts, with the configuration slips and cash control read from them.
CREATE TABLE IF NOT EXISTS ZTBANCO (
  CODBANCO                numeric(4)     NOT NULL,
  NOME                    varchar(40),
  -- Slips: the bank's number (chooses the generator and the template) and account data
  NUMBANCO                numeric(4),
  AGENCIA                 varchar(10),
  CONTA                   varchar(20),
  NUMCARTEIRA             varchar(10),
  NUMCONVENIO             varchar(20),
  CODCEDENTE              varchar(20),
  NOMERTM                 varchar(100),
  NUMDIASPROTESTO         numeric(3),
  -- The bank's 3-digit compensation code, the one barcodes carry: NUMBANCO holds internal numbers
  -- (6111, 6375 ...) that are not compensation codes.
  CODCOMPENSACAO          varchar(3),
  -- Vouchers and cash control
  CODCONTABIL             numeric(10),
  UTILIZAFECHAMENTOCAIXA  varchar(1),
  CONSTRAINT ZTBANCO_PK PRIMARY KEY (CODBANCO)
);

-- Customers: what bank data generation and slips read.
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS USABKCNPJCODCLIPRINC varchar(1);
ALTER TABLE ZTCLIENT ADD COLUMN IF NOT EXISTS RECEBERBOLETOPOREMAIL varchar(1);
