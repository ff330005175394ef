-- Payable entries: ZTLANC, its twin ZTLANCBLOQ (entries held until a budget supplementation is
-- approved or rejected), the notices sent to users, and the tables the payable area reads. Idempotent.

-- One row per payable entry. Every column any operation writes; only RECNUM is required, so an
-- insert that leaves a column out keeps its NULL.
CREATE TABLE IF NOT EXISTS ZTLANC (
  RECNUM                     numeric(10) NOT NULL,
  DTLANC                     timestamp(0),
  HISTORICO                  varchar(200),
  DUPLIC                     varchar(1),
  LOCALIZACAO                varchar(20),
  CODFILIAL                  varchar(2),
  INDICE                     varchar(1),
  NUMCHEQUE                  varchar(20),
  TIPOLANC                   varchar(1),
  TIPOPARCEIRO               varchar(1),
  NOMEFUNC                   varchar(40),
  ASSINATURA                 varchar(40),
  TIPOPAGTO                  varchar(10),
  NUMDVDESTDOC               varchar(2),
  NUMCODBARRA                varchar(60),
  HISTORICO2                 varchar(200),
  MOEDA                      varchar(4),
  DVAG                       varchar(2),
  PORTADORCHEQUE             varchar(60),
  NUMDIIMPORTACAO            varchar(20),
  ADIANTAMENTO               varchar(1),
  NFSERVICO                  varchar(1),
  PREST                      varchar(10),
  BOLETO                     varchar(1),
  PAGTONOMEDOCLIENTE         varchar(1),
  OBSBLOQ                    varchar(200),
  AGENDAMENTO                varchar(1),
  NUMCONTRATOCAMBIO          varchar(30),
  IDCONTROLEEMBARQUE         varchar(30),
  FORMAPGTO                  varchar(20),
  CODROTINACAD               varchar(50),
  DTMOEDA                    varchar(10),
  CODROTINAALT               varchar(50),
  PARCELA                    varchar(10),
  NUMNOTA                    numeric(10),
  CODFORNEC                  numeric(10),
  VLRUTILIZADOADIANTFORNEC   numeric(14,2),
  TIPOSERVICO                varchar(10),
  IDENTIFICADORFGTS          varchar(30),
  LACREDIGCONECSOCIAL        numeric(10),
  OPCAOPAGAMENTOIPVA         numeric(2),
  UTILIZOURATEIOCONTA        varchar(1),
  PRCRATEIOUTILIZADO         numeric(12,6),
  VALOR                      numeric(14,2),
  CODCONTA                   numeric(10),
  VPAGO                      numeric(12,2),
  NUMNOTADEV                 numeric(10),
  VALORDEV                   numeric(12,2),
  PRORROG                    numeric(4),
  NUMBORDERO                 numeric(6),
  VPAGOBORDERO               numeric(14,2),
  NUMSEQBORDERO              numeric(10),
  NUMCHEQUE2                 numeric(10),
  NUMBANCO                   numeric(10),
  DESCONTOFIN                numeric(14,2),
  TXPERM                     numeric(14,2),
  NUMVIA                     numeric(10),
  NUMBCODESTDOC              numeric(10),
  NUMAGDESTDOC               numeric(10),
  NUMCCDESTDOC               numeric(15),
  NUMTRANSENT                numeric(10),
  NUMTAB                     numeric(10),
  CODFORNECPRINC             numeric(10),
  VLIRRF                     numeric(14,2),
  VLSESTSENAT                numeric(14,2),
  NUMTRANSADIANTFOR          numeric(10),
  CODFUNCBAIXA               numeric(10),
  NUMAGDESTDOC2              numeric(10),
  NUMVIASFICHACP             numeric(10),
  CODFUNCAUTOR               numeric(10),
  NUMTRANS                   numeric(10),
  CODFUNCESTORNOBAIXA        numeric(10),
  CODFUNCRECLASSIFIC         numeric(10),
  CODCOMPRADOR               numeric(10),
  MOEDAESTRANGEIRA           numeric(10),
  COTACAO                    numeric(18,6),
  RECNUMPRINC                numeric(10),
  COTACAOBAIXA               numeric(18,6),
  FROTA_QTLITROS             numeric(12,3),
  FROTA_CODPRACA             numeric(10),
  FROTA_NUMCAR               numeric(10),
  FROTA_CODVEICULO           numeric(10),
  FROTA_COMISSAO             numeric(14,2),
  FROTA_KMABASTECE           numeric(10),
  NUMTRANSVENDA              numeric(10),
  NUMNEGOCIACAO              numeric(10),
  PERCDESCFINREAL            numeric(12,6),
  VALORMOEDAESTRANGEIRA      numeric(14,2),
  FROTA_PESO                 numeric(12,3),
  CODFUNCULTALTER            numeric(10),
  CODPROJETO                 numeric(10),
  VLISS                      numeric(14,2),
  VLINSS                     numeric(14,2),
  VLCSRF                     numeric(14,2),
  FUNCBLOQ                   numeric(10),
  VLPIS                      numeric(14,2),
  VLCOFINS                   numeric(14,2),
  VLVARIACAOCAMBIAL          numeric(14,2),
  VLOUTRAS                   numeric(14,2),
  NUMTRANSENTNF              numeric(10),
  CODRECEITA                 numeric(10),
  VRECEITABRUTA              numeric(14,2),
  PERCRECEITABRUTA           numeric(12,6),
  NUMPARCELAMENTO            numeric(10),
  NUMSEQPARCELAMENTO         numeric(10),
  VLRPARIDADEMOEDA           numeric(18,6),
  MOEDAPARIDADE              numeric(10),
  NUMSEQCONTRATOEMPRESTIMO   numeric(10),
  CODROTINABAIXA             numeric(10),
  VLDESPFIN                  numeric(14,2),
  DTVENC                     timestamp(0),
  DTPAGTO                    timestamp(0),
  DTBORDER                   timestamp(0),
  DTEMISSAO                  timestamp(0),
  DTCHEQ                     timestamp(0),
  DTASSINATURA               timestamp(0),
  DTAUTOR                    timestamp(0),
  DTESTORNOBAIXA             timestamp(0),
  DTRECLASSIFIC              timestamp(0),
  DTPRORROG                  timestamp(0),
  FROTA_DTABASTECE           timestamp(0),
  DTCOTACAO                  timestamp(0),
  DTPAGADIANTFOR             timestamp(0),
  DTULTALTER                 timestamp(0),
  DTCOMPETENCIA              timestamp(0),
  DTDESD                     timestamp(0),
  DTBLOQ                     timestamp(0),
  DTAGENDAMENTO              timestamp(0),
  DTCANCEL                   timestamp(0),
  DTIMPRESSAO                timestamp(0),
  CODLANCAMENTORM            varchar(30),
  FORNECEDOR                 varchar(60),
  CODCOBSEFAZ                varchar(4),
  CODSERVICOSPEDEFD          numeric(10),
  RECNUMBAIXA                numeric(10),
  RAZAOCREDENCCARTAO         varchar(60),
  CNPJCREDENCCARTAO          varchar(18),
  NSUTEF                     varchar(15),
  BANDEIRACARTAO             numeric(3),
  AUTENTICACAO               varchar(100),
  DTPROCESSAMENTO            timestamp(0),
  OBSRETORNO                 varchar(200),
  CODFUNCAUTSUPLORC          numeric(10),
  DATAAUTSUPLORC             timestamp(0),
  DTREJEICAOSUPLORC          timestamp(0),
  CONSTRAINT ZTLANC_PK PRIMARY KEY (RECNUM)
);

-- Budget sums per account, branch and month; invoice look-ups.
CREATE INDEX IF NOT EXISTS ZTLANC_CONTA_FILIAL ON ZTLANC (CODCONTA, CODFILIAL);
CREATE INDEX IF NOT EXISTS ZTLANC_NUMTRANSENT ON ZTLANC (NUMTRANSENT);
CREATE INDEX IF NOT EXISTS ZTLANC_NUMBORDERO ON ZTLANC (NUMBORDERO);

-- Entries waiting for a budget supplementation: ZTLANC's columns, the collection code of a settled
-- expense, and who rejected the request and why.
CREATE TABLE IF NOT EXISTS ZTLANCBLOQ (
  LIKE ZTLANC,
  CODMOEDABAIXA              varchar(4),
  CODFUNCREJEICAOSUPLORC     numeric(10),
  HISTORICOREJEICAOSUPLORC   varchar(200),
  CONSTRAINT ZTLANCBLOQ_PK PRIMARY KEY (RECNUM)
);

CREATE INDEX IF NOT EXISTS ZTLANCBLOQ_CONTA_FILIAL ON ZTLANCBLOQ (CODCONTA, CODFILIAL);

-- Notices between users (approval and rejection of supplementations).
CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTRECFUNC START WITH 1;

CREATE TABLE IF NOT EXISTS ZTRECFUNC (
  NUMRECADO     numeric(10)    NOT NULL PRIMARY KEY,
  CODFUNCAB     numeric(10),
  DTAB          timestamp(0),
  CODSETORORIG  numeric(4),
  CODSETORDEST  numeric(4),
  CODFUNCDEST   numeric(10),
  ASSUNTO       varchar(100),
  TEXTORECADO   varchar(4000),
  DTLEITURA     timestamp(0)
);

-- Partners whose names an entry shows.
CREATE TABLE IF NOT EXISTS ZTUSUARI (
  CODUSUR        numeric(10)   NOT NULL PRIMARY KEY,
  NOME           varchar(40),
  CODFILIAL      varchar(2),
  TIPOVEND       varchar(1),
  CODSUPERVISOR  numeric(10),
  DTTERMINO      timestamp(0)
);

CREATE TABLE IF NOT EXISTS ZTCLIENT (
  CODCLI            numeric(10)   NOT NULL PRIMARY KEY,
  CLIENTE           varchar(60),
  CODPRACA          numeric(10),
  CODCLIPRINC       numeric(10),
  SACADOELETRONICO  varchar(1),
  ISENTOTXBOLETO    varchar(1)
);

CREATE TABLE IF NOT EXISTS ZTFORNEC (
  CODFORNEC           numeric(10)   NOT NULL PRIMARY KEY,
  FORNECEDOR          varchar(60),
  CGC                 varchar(18),
  CONTRIBUINTEDOCPRB  varchar(1)
);

-- Entry invoices (a held entry tied to one is not rejected from the payable area).
CREATE TABLE IF NOT EXISTS ZTNFENT (
  NUMTRANSENT  numeric(10)    NOT NULL PRIMARY KEY,
  NUMNOTA      numeric(10),
  CODFORNEC    numeric(10),
  CODFILIAL    varchar(2),
  DTENT        timestamp(0),
  VLTOTAL      numeric(14,2)
);

-- Services-rendered data of the SPED EFD, one row per service of an entry.
CREATE TABLE IF NOT EXISTS ZTSERVICOSPEDEFD (
  CODSERVICO                     numeric(10)    NOT NULL PRIMARY KEY,
  CODCONSTCIVIL                  numeric(4),
  CODTIPOSERVICO                 numeric(10),
  SERIENF                        varchar(5),
  CODCNAE                        varchar(10),
  VALORBRUTONF                   numeric(14,2),
  VALORMATERIAL                  numeric(14,2),
  VALORALIMENTACAO               numeric(14,2),
  VALORTRANSPORTE                numeric(14,2),
  VALORBASERETENCAO              numeric(14,2),
  PERCRETENCAO                   numeric(8,4),
  VALORRETEMPSUBCONTRA           numeric(14,2),
  VALORADICIONAL                 numeric(14,2),
  VALORSERVAPOS15ANOS            numeric(14,2),
  VALORSERVAPOS20ANOS            numeric(14,2),
  VALORSERVAPOS25ANOS            numeric(14,2),
  VALORRETNAOEFETCONTRATANTE     numeric(14,2),
  VALORRETADINAOEFETCONTRATANTE  numeric(14,2),
  TIPOPROCESSO                   numeric(1),
  NUMPROCESSO                    varchar(21),
  CODINDICSUSPENSAO              varchar(14),
  TIPOPROCESSOADIC               numeric(1),
  NUMPROCESSOADIC                varchar(21),
  CODINDICSUSPENSAOADIC          varchar(14),
  VALORRETENCAO                  numeric(14,2),
  HOUVEVALORRETENCAOINSS         varchar(1),
  CODIGONACIONALDEOBRAS          varchar(20)
);

-- Days whose financial period a branch has closed.
CREATE TABLE IF NOT EXISTS ZTENCERRAMENTOFINANCEIRO (
  CODFILIAL       varchar(2)    NOT NULL,
  ANO             numeric(4)    NOT NULL,
  MES             numeric(2)    NOT NULL,
  DIA             numeric(2)    NOT NULL,
  DTENCERRAMENTO  timestamp(0),
  CODFUNC         numeric(10),
  PRIMARY KEY (CODFILIAL, ANO, MES, DIA)
);
