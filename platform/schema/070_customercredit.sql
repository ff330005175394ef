-- Customer credits: the credits (ZTCRECLI), the links between a credit and the credits split from
-- it (ZTDESDCRECLI), the host's data-change log (ZTLOGALTERACAODADOS), the receivable-title and
-- credit object types and the package that settles titles and retail sales with credits
-- (PKG_CREDITOCLIENTE). Idempotent.
--
-- Rules of the package, as finance users expect them:
--  * a credit is open while DTDESCONTO (use date) and DTESTORNO (reversal date) are both NULL;
--    only an open credit can be used or reversed, and never for more than its value;
--  * a credit used for less than its value keeps the used amount and is closed; the rest becomes a
--    new open credit of the same customer, linked to it in ZTDESDCRECLI (origin -> destination);
--  * a title is settled with credit only whole: it must be open (DTPAG NULL), not tied to an
--    unidentified deposit, belong to the credit's customer, and the credits must cover its value;
--    it is then paid (VPAGO, DTPAG, CODCOB 'CRED', the former charge kept in CODCOBORIG);
--  * a used credit records the title it paid in NUMTRANSVENDADESC and PRESTRESTCLI, which is how
--    the reversal of the title finds the credits to reopen;
--  * every row changed is locked first (FOR UPDATE), and checked after the lock, so two sessions
--    settling or reversing the same title or credit cannot both succeed;
--  * every refusal raises with a Portuguese text; a function that returns has done its work.

-- Credit codes, and credit document numbers (NUMCRED); drawn by the module through the host's
-- numbering service and by the package with NEXTVAL, one generator each.
CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTCRECLI START WITH 1;
CREATE SEQUENCE IF NOT EXISTS DFSEQ_ZTCRECLI_NUMCRED START WITH 1;

-- One row per credit or per movement of one. CODIGO is the key: every row, reversal twins
-- included, has its own.
CREATE TABLE IF NOT EXISTS ZTCRECLI (
  CODIGO                 numeric(10)    NOT NULL,
  CODCLI                 numeric(10)    NOT NULL,
  DTLANC                 timestamp(0),
  CODFILIAL              varchar(2),
  NUMNOTA                numeric(10),
  NUMTRANSVENDA          numeric(10),
  SERIE                  varchar(3),
  VALOR                  numeric(14,2),
  DTDESCONTO             timestamp(0),              -- use date
  CODFILIALDESC          varchar(2),
  NUMNOTADESC            numeric(10),
  SERIEDESC              varchar(3),
  CODFUNC                numeric(10),
  HORA                   numeric(2),
  MINUTO                 numeric(2),
  ORIGEM                 varchar(20),
  NUMTRANSVENDADESC      numeric(10),               -- sale (title) that used the credit
  NUMTRANSENTDEVCLI      numeric(10),
  HISTORICO              varchar(200),
  CODFUNCLANC            numeric(10),
  NUMPED                 numeric(10),
  NUMERARIO              varchar(1)     CHECK (NUMERARIO IN ('S', 'N')),
  CODMOVIMENTO           numeric(10),
  NUMLANCBAIXA           numeric(10),
  NUMTRANSBAIXA          numeric(10),
  NUMLANC                numeric(10),
  NUMTRANS               numeric(10),
  NUMPEDECF              numeric(10),
  NUMCAIXA               numeric(10),
  CODFUNCCX              numeric(10),
  NUMSERIEEQUIP          varchar(20),
  CODROTINA              numeric(6),
  PRESTRESTCLI           varchar(2),                -- instalment of the title that used the credit
  SITUACAO               varchar(2),
  NUMINDENIZ             numeric(10),
  OBS                    varchar(200),
  CODADMCARTAO           varchar(10),
  NUMCUPOM               numeric(10),
  NSUTEF                 varchar(20),
  BIN                    numeric(10),
  VALORESTORNOLIBERADO   numeric(14,2),
  CODCLIORIG             numeric(10),
  NUMGIFTCARD            numeric(18),
  DTEMISSAOTITULO        timestamp(0),
  NUMCRED                numeric(10),
  DTESTORNO              timestamp(0),
  PRESTORIG              varchar(2),
  CODPLPAG               numeric(19),
  CONSTRAINT ZTCRECLI_PK PRIMARY KEY (CODIGO)
);

CREATE INDEX IF NOT EXISTS ZTCRECLI_CODCLI ON ZTCRECLI (CODCLI);
CREATE INDEX IF NOT EXISTS ZTCRECLI_NUMTRANSVENDADESC ON ZTCRECLI (NUMTRANSVENDADESC);

-- A credit split from another (the rest of a partial use) and its origin.
CREATE TABLE IF NOT EXISTS ZTDESDCRECLI (
  CODIGOORIG             numeric(10)    NOT NULL,
  CODIGODEST             numeric(10)    NOT NULL,
  DATA                   timestamp(0),
  CODFUNC                numeric(10),
  CODROTINA              numeric(6),
  CONSTRAINT ZTDESDCRECLI_PK PRIMARY KEY (CODIGOORIG, CODIGODEST)
);

-- The host's data-change log. The credit area writes it on a second session, committed at once.
CREATE TABLE IF NOT EXISTS ZTLOGALTERACAODADOS (
  DATA                   timestamp(0),
  CODFUNC                numeric(10),
  CODROTINA              numeric(6),
  TABELA                 varchar(30),
  COLUNA                 varchar(30),
  TIPOVALOR              varchar(1),
  VALORALFA              varchar(200),
  VALORALFAANT           varchar(200),
  VALORNUM               numeric(16,2),
  VALORNUMANT            numeric(16,2),
  PROGRAMA               varchar(100),
  OBSERVACOES            varchar(100),
  OBSERVACOES2           varchar(1000),
  OBSERVACOES3           varchar(200),
  CODIGO                 numeric(10),
  -- Order of writing: rows of one second keep the order of their steps.
  ROWID                  bigint         GENERATED ALWAYS AS IDENTITY
);
CREATE INDEX IF NOT EXISTS ZTLOGALTERACAODADOS_CODIGO ON ZTLOGALTERACAODADOS (TABELA, CODIGO);

-- What the settlement of a title as credit reads of the title.
ALTER TABLE ZTPREST ADD COLUMN IF NOT EXISTS VLDESCCUSTODIA numeric(14,2);
ALTER TABLE ZTPREST ADD COLUMN IF NOT EXISTS CODFUNCCX numeric(10);

-- The object types carry every column of their table, in the table's order, followed by the
-- object's own attributes (the user and routine they were built for), so a row is read into an
-- object in one SELECT.
DO $types$
DECLARE
  v_cols text;
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 't_zt_contasreceber') THEN
    SELECT string_agg(quote_ident(attname) || ' ' || format_type(atttypid, atttypmod), ', ' ORDER BY attnum)
      INTO v_cols FROM pg_attribute WHERE attrelid = 'ztprest'::regclass AND attnum > 0 AND NOT attisdropped;
    EXECUTE format('CREATE TYPE t_zt_contasreceber AS (%s, matriculausuario numeric, '
                   'valoraproveitadocredito numeric(14,2))', v_cols);
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 't_zt_creditocliente') THEN
    SELECT string_agg(quote_ident(attname) || ' ' || format_type(atttypid, atttypmod), ', ' ORDER BY attnum)
      INTO v_cols FROM pg_attribute WHERE attrelid = 'ztcrecli'::regclass AND attnum > 0 AND NOT attisdropped;
    EXECUTE format('CREATE TYPE t_zt_creditocliente AS (%s, matriculausuario numeric, codrotinausuario numeric)',
                   v_cols);
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 't_zt_desdcreditocliente') THEN
    CREATE TYPE t_zt_desdcreditocliente AS (codigoorig numeric, codigodest numeric, matriculausuario numeric,
                                            codrotinausuario numeric);
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 'lista_zt_contasreceber') THEN
    CREATE DOMAIN lista_zt_contasreceber AS t_zt_contasreceber[];
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 'lista_zt_creditocliente') THEN
    CREATE DOMAIN lista_zt_creditocliente AS t_zt_creditocliente[];
  END IF;
END
$types$;

-- ---- T_ZT_CONTASRECEBER: a receivable title, built for a user.

CREATE OR REPLACE FUNCTION t_zt_contasreceber(p_matricula numeric) RETURNS t_zt_contasreceber
LANGUAGE plpgsql AS $$
DECLARE
  self t_zt_contasreceber;
BEGIN
  self.matriculausuario := p_matricula;
  RETURN self;
END $$;

CREATE OR REPLACE FUNCTION lista_zt_contasreceber() RETURNS lista_zt_contasreceber
LANGUAGE sql AS $$ SELECT '{}'::lista_zt_contasreceber $$;

-- Loads the title's row into the object; a missing title raises.
CREATE OR REPLACE FUNCTION t_zt_contasreceber_buscarregistro(self t_zt_contasreceber, p_numtransvenda numeric,
                                                             p_prest varchar) RETURNS t_zt_contasreceber
LANGUAGE plpgsql AS $$
DECLARE
  v_usuario numeric := self.matriculausuario;
  v_aproveitado numeric := self.valoraproveitadocredito;
BEGIN
  SELECT p.*, v_usuario, v_aproveitado INTO self FROM ztprest p
   WHERE p.numtransvenda = p_numtransvenda AND p.prest = p_prest;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O título %-% não existe.', p_numtransvenda, p_prest;
  END IF;
  RETURN self;
END $$;

-- ---- T_ZT_CREDITOCLIENTE: a credit, built for a user and a routine.

CREATE OR REPLACE FUNCTION t_zt_creditocliente(p_matricula numeric, p_rotina numeric) RETURNS t_zt_creditocliente
LANGUAGE plpgsql AS $$
DECLARE
  self t_zt_creditocliente;
BEGIN
  self.matriculausuario := p_matricula;
  self.codrotinausuario := p_rotina;
  RETURN self;
END $$;

CREATE OR REPLACE FUNCTION lista_zt_creditocliente() RETURNS lista_zt_creditocliente
LANGUAGE sql AS $$ SELECT '{}'::lista_zt_creditocliente $$;

-- Loads the credit's row into the object; a missing credit raises.
CREATE OR REPLACE FUNCTION t_zt_creditocliente_buscarcredito(self t_zt_creditocliente, p_codigo numeric)
RETURNS t_zt_creditocliente
LANGUAGE plpgsql AS $$
DECLARE
  v_usuario numeric := self.matriculausuario;
  v_rotina numeric := self.codrotinausuario;
BEGIN
  SELECT c.*, v_usuario, v_rotina INTO self FROM ztcrecli c WHERE c.codigo = p_codigo;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'Não existe crédito cadastrado para o código %', p_codigo;
  END IF;
  RETURN self;
END $$;

CREATE SCHEMA IF NOT EXISTS pkg_creditocliente;

-- The credit's row, locked, refused unless it is open.
CREATE OR REPLACE FUNCTION pkg_creditocliente.credito_aberto(p_codigo numeric) RETURNS ztcrecli
LANGUAGE plpgsql AS $$
DECLARE
  v ztcrecli;
BEGIN
  SELECT * INTO v FROM ztcrecli WHERE codigo = p_codigo FOR UPDATE;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'Não existe crédito cadastrado para o código %', p_codigo;
  END IF;
  IF v.dtestorno IS NOT NULL THEN
    RAISE EXCEPTION 'O crédito % já está estornado.', p_codigo;
  END IF;
  IF v.dtdesconto IS NOT NULL THEN
    RAISE EXCEPTION 'O crédito % já foi utilizado.', p_codigo;
  END IF;
  IF coalesce(v.valor, 0) <= 0 THEN
    RAISE EXCEPTION 'O crédito % não tem valor a utilizar.', p_codigo;
  END IF;
  RETURN v;
END $$;

-- Uses p_valor of an open, locked credit: the row keeps the used amount and is closed; the rest,
-- if any, becomes a new open credit linked to it. Answers the code of the rest (0 for none).
CREATE OR REPLACE FUNCTION pkg_creditocliente.usar_credito(p_credito ztcrecli, p_valor numeric,
    p_numtransvenda numeric, p_prest varchar, p_usuario numeric, p_rotina numeric) RETURNS numeric
LANGUAGE plpgsql AS $$
DECLARE
  v_resto numeric := round(p_credito.valor - p_valor, 2);
  v_novo ztcrecli;
BEGIN
  IF p_valor <= 0 OR v_resto < 0 THEN
    RAISE EXCEPTION 'O valor a utilizar (%) do crédito % não pode ser maior que o seu valor (%).',
      p_valor, p_credito.codigo, p_credito.valor;
  END IF;
  UPDATE ztcrecli
     SET valor = p_valor, dtdesconto = date_trunc('day', localtimestamp(0)), numtransvendadesc = p_numtransvenda,
         prestrestcli = p_prest, codfunc = p_usuario
   WHERE codigo = p_credito.codigo AND dtdesconto IS NULL AND dtestorno IS NULL;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O crédito % já foi utilizado.', p_credito.codigo;
  END IF;
  IF v_resto = 0 THEN
    RETURN 0;
  END IF;
  v_novo := p_credito;
  v_novo.codigo := nextval('dfseq_ztcrecli');
  v_novo.valor := v_resto;
  v_novo.dtlanc := date_trunc('day', localtimestamp(0));
  v_novo.hora := extract(hour FROM localtimestamp(0));
  v_novo.minuto := extract(minute FROM localtimestamp(0));
  v_novo.codfunclanc := p_usuario;
  v_novo.codrotina := p_rotina;
  v_novo.historico := left('SALDO DO CREDITO ' || p_credito.codigo, 200);
  INSERT INTO ztcrecli SELECT v_novo.*;
  INSERT INTO ztdesdcrecli (codigoorig, codigodest, data, codfunc, codrotina)
  VALUES (p_credito.codigo, v_novo.codigo, localtimestamp(0), p_usuario, p_rotina);
  RETURN v_novo.codigo;
END $$;

-- Locks the title's row and refuses it unless it can be settled with credit. The functions take and
-- return plain values, never the table's row type, so the shared tables stay free to be rebuilt.
DROP FUNCTION IF EXISTS pkg_creditocliente.titulo_aberto(numeric, varchar);
CREATE OR REPLACE FUNCTION pkg_creditocliente.travar_titulo(p_numtransvenda numeric, p_prest varchar)
RETURNS void
LANGUAGE plpgsql AS $$
DECLARE
  v ztprest;
BEGIN
  SELECT * INTO v FROM ztprest WHERE numtransvenda = p_numtransvenda AND prest = p_prest FOR UPDATE;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O título %-% não existe.', p_numtransvenda, p_prest;
  END IF;
  IF v.dtpag IS NOT NULL THEN
    RAISE EXCEPTION 'O título %-% já foi baixado.', coalesce(v.duplic, v.numtransvenda), v.prest;
  END IF;
  IF coalesce(v.numassocdni, 0) > 0 THEN
    RAISE EXCEPTION 'O título %-% está associado a um DNI e não pode ser baixado com créditos.',
      coalesce(v.duplic, v.numtransvenda), v.prest;
  END IF;
  IF coalesce(v.valor, 0) <= 0 THEN
    RAISE EXCEPTION 'O título %-% não tem valor a baixar.', coalesce(v.duplic, v.numtransvenda), v.prest;
  END IF;
END $$;

-- Pays an open, locked title with credit: its value, the former charge kept in CODCOBORIG.
CREATE OR REPLACE FUNCTION pkg_creditocliente.pagar_titulo(p_numtransvenda numeric, p_prest varchar,
    p_usuario numeric) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
  UPDATE ztprest
     SET vpago = valor, dtpag = date_trunc('day', localtimestamp(0)), codbaixa = p_usuario,
         dtbaixa = date_trunc('day', localtimestamp(0)), codcoborig = codcob, codcob = 'CRED',
         dtbaixacred = localtimestamp(0), dtultalter = date_trunc('day', localtimestamp(0)),
         codfuncultalter = p_usuario
   WHERE numtransvenda = p_numtransvenda AND prest = p_prest AND dtpag IS NULL;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O título %-% já foi baixado.', p_numtransvenda, p_prest;
  END IF;
END $$;

-- One credit pays the titles of the list, each whole: a title's VALORAPROVEITADOCREDITO, when
-- given, must be its value. The credit is cut into one used piece per title.
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_baixar1creditontitulos(p_codigo numeric,
    p_lista lista_zt_contasreceber, p_usuario numeric, p_rotina numeric) RETURNS boolean
LANGUAGE plpgsql AS $$
DECLARE
  v_credito ztcrecli;
  v_titulo ztprest;
  v_valor numeric;
  v_codigo numeric := p_codigo;
BEGIN
  IF coalesce(array_length(p_lista, 1), 0) = 0 THEN
    RAISE EXCEPTION 'É necessário informar pelo menos um título para fazer a baixa.';
  END IF;
  FOR i IN 1 .. array_length(p_lista, 1) LOOP
    IF v_codigo = 0 THEN
      RAISE EXCEPTION 'O crédito % não cobre todos os títulos informados.', p_codigo;
    END IF;
    v_credito := pkg_creditocliente.credito_aberto(v_codigo);
    PERFORM pkg_creditocliente.travar_titulo(p_lista[i].numtransvenda, p_lista[i].prest);
    SELECT * INTO v_titulo FROM ztprest WHERE numtransvenda = p_lista[i].numtransvenda AND prest = p_lista[i].prest;
    IF v_titulo.codcli IS DISTINCT FROM v_credito.codcli THEN
      RAISE EXCEPTION 'O título %-% não é do cliente % do crédito %.', coalesce(v_titulo.duplic,
        v_titulo.numtransvenda), v_titulo.prest, v_credito.codcli, p_codigo;
    END IF;
    v_valor := v_titulo.valor;
    IF coalesce(p_lista[i].valoraproveitadocredito, 0) > 0 AND p_lista[i].valoraproveitadocredito <> v_valor THEN
      RAISE EXCEPTION 'O valor aproveitado (%) do título %-% difere do seu valor (%): o título é baixado inteiro.',
        p_lista[i].valoraproveitadocredito, coalesce(v_titulo.duplic, v_titulo.numtransvenda), v_titulo.prest, v_valor;
    END IF;
    IF v_valor > v_credito.valor THEN
      RAISE EXCEPTION 'O crédito % não cobre todos os títulos informados.', p_codigo;
    END IF;
    v_codigo := pkg_creditocliente.usar_credito(v_credito, v_valor, v_titulo.numtransvenda, v_titulo.prest,
                                                p_usuario, p_rotina);
    PERFORM pkg_creditocliente.pagar_titulo(v_titulo.numtransvenda, v_titulo.prest, p_usuario);
  END LOOP;
  RETURN TRUE;
END $$;

-- One title is paid by the credits of the list, in their order; the last one used may keep a rest.
-- Credits the title does not need are left untouched.
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_baixar1tituloncreditos(p_titulo t_zt_contasreceber,
    p_lista lista_zt_creditocliente, p_usuario numeric, p_rotina numeric) RETURNS boolean
LANGUAGE plpgsql AS $$
DECLARE
  v_titulo ztprest;
  v_credito ztcrecli;
  v_falta numeric;
  v_uso numeric;
BEGIN
  IF coalesce(array_length(p_lista, 1), 0) = 0 THEN
    RAISE EXCEPTION 'É necessário informar pelo menos um crédito para fazer a baixa.';
  END IF;
  PERFORM pkg_creditocliente.travar_titulo(p_titulo.numtransvenda, p_titulo.prest);
  SELECT * INTO v_titulo FROM ztprest WHERE numtransvenda = p_titulo.numtransvenda AND prest = p_titulo.prest;
  v_falta := v_titulo.valor;
  FOR i IN 1 .. array_length(p_lista, 1) LOOP
    EXIT WHEN v_falta <= 0;
    v_credito := pkg_creditocliente.credito_aberto(p_lista[i].codigo);
    IF v_titulo.codcli IS DISTINCT FROM v_credito.codcli THEN
      RAISE EXCEPTION 'O crédito % não é do cliente % do título %-%.', v_credito.codigo, v_titulo.codcli,
        coalesce(v_titulo.duplic, v_titulo.numtransvenda), v_titulo.prest;
    END IF;
    v_uso := least(v_credito.valor, v_falta);
    PERFORM pkg_creditocliente.usar_credito(v_credito, v_uso, v_titulo.numtransvenda, v_titulo.prest, p_usuario,
                                            p_rotina);
    v_falta := round(v_falta - v_uso, 2);
  END LOOP;
  IF v_falta > 0 THEN
    RAISE EXCEPTION 'Os créditos informados não cobrem o valor do título %-%: faltam %.',
      coalesce(v_titulo.duplic, v_titulo.numtransvenda), v_titulo.prest, v_falta;
  END IF;
  PERFORM pkg_creditocliente.pagar_titulo(v_titulo.numtransvenda, v_titulo.prest, p_usuario);
  RETURN TRUE;
END $$;

-- Reopens a title settled with credit and reopens the credits that paid it. Answers the amount
-- given back. The last argument is accepted for callers that pass it.
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_estornarcreditobaixado(p_numtransvenda numeric, p_rotina numeric,
    p_usuario numeric, p_prest varchar, p_gerarcredito boolean) RETURNS numeric
LANGUAGE plpgsql AS $$
DECLARE
  v_titulo ztprest;
  v_valor numeric;
BEGIN
  SELECT * INTO v_titulo FROM ztprest WHERE numtransvenda = p_numtransvenda AND prest = p_prest FOR UPDATE;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O título %-% não existe.', p_numtransvenda, p_prest;
  END IF;
  IF v_titulo.dtpag IS NULL OR v_titulo.codcob IS DISTINCT FROM 'CRED' THEN
    RAISE EXCEPTION 'O título %-% não está baixado com crédito.', coalesce(v_titulo.duplic, p_numtransvenda),
      p_prest;
  END IF;
  PERFORM 1 FROM ztcrecli WHERE numtransvendadesc = p_numtransvenda AND prestrestcli = p_prest
     AND dtdesconto IS NOT NULL AND dtestorno IS NULL FOR UPDATE;
  UPDATE ztcrecli SET dtdesconto = NULL, numtransvendadesc = NULL, prestrestcli = NULL, codfunc = p_usuario
   WHERE numtransvendadesc = p_numtransvenda AND prestrestcli = p_prest AND dtdesconto IS NOT NULL
     AND dtestorno IS NULL;
  UPDATE ztprest
     SET vpago = NULL, dtpag = NULL, dtbaixa = NULL, dtbaixacred = NULL, codbaixa = NULL,
         codcob = coalesce(codcoborig, codcob), dtultalter = date_trunc('day', localtimestamp(0)),
         codfuncultalter = p_usuario
   WHERE numtransvenda = p_numtransvenda AND prest = p_prest AND dtpag IS NOT NULL;
  v_valor := coalesce(v_titulo.vpago, 0);
  RETURN v_valor;
END $$;

-- Reverses an open credit in full: the row is closed (use and reversal dates) and a closed twin of
-- minus its value is written under a new code. A credit already used or reversed is refused.
CREATE OR REPLACE FUNCTION t_zt_creditocliente_estornartotal(self t_zt_creditocliente) RETURNS t_zt_creditocliente
LANGUAGE plpgsql AS $$
DECLARE
  v ztcrecli;
BEGIN
  v := pkg_creditocliente.credito_aberto(self.codigo);
  UPDATE ztcrecli
     SET dtdesconto = date_trunc('day', localtimestamp(0)), dtestorno = date_trunc('day', localtimestamp(0)),
         numcred = coalesce(self.numcred, numcred), historico = coalesce(self.historico, historico),
         codfilialdesc = codfilial, codfunc = self.matriculausuario
   WHERE codigo = self.codigo AND dtdesconto IS NULL AND dtestorno IS NULL;
  v.codigo := nextval('dfseq_ztcrecli');
  v.valor := -v.valor;
  v.dtlanc := date_trunc('day', localtimestamp(0));
  v.dtdesconto := v.dtlanc;
  v.dtestorno := v.dtlanc;
  v.numcred := coalesce(self.numcred, v.numcred);
  v.historico := coalesce(self.historico, v.historico);
  v.codfilialdesc := v.codfilial;
  v.codfunc := self.matriculausuario;
  v.codfunclanc := self.matriculausuario;
  v.codrotina := self.codrotinausuario;
  v.hora := extract(hour FROM localtimestamp(0));
  v.minuto := extract(minute FROM localtimestamp(0));
  INSERT INTO ztcrecli SELECT v.*;
  RETURN t_zt_creditocliente_buscarcredito(self, self.codigo);
END $$;

-- Uses an open credit whole with the use fields of the object.
CREATE OR REPLACE FUNCTION t_zt_creditocliente_baixar(self t_zt_creditocliente) RETURNS t_zt_creditocliente
LANGUAGE plpgsql AS $$
DECLARE
  v ztcrecli;
BEGIN
  v := pkg_creditocliente.credito_aberto(self.codigo);
  UPDATE ztcrecli
     SET dtdesconto = date_trunc('day', localtimestamp(0)), codfilialdesc = self.codfilialdesc,
         numnotadesc = self.numnotadesc, numtransvendadesc = self.numtransvendadesc,
         prestrestcli = self.prestrestcli, codfunc = coalesce(self.codfunc, self.matriculausuario),
         numcaixa = self.numcaixa, numserieequip = self.numserieequip, numcred = self.numcred,
         codfunccx = self.codfunccx
   WHERE codigo = v.codigo AND dtdesconto IS NULL AND dtestorno IS NULL;
  RETURN t_zt_creditocliente_buscarcredito(self, self.codigo);
END $$;

-- ---- T_ZT_DESDCREDITOCLIENTE: the link between a credit and one split from it.

CREATE OR REPLACE FUNCTION t_zt_desdcreditocliente(p_matricula numeric, p_rotina numeric)
RETURNS t_zt_desdcreditocliente
LANGUAGE sql AS $$ SELECT ROW(NULL, NULL, p_matricula, p_rotina)::t_zt_desdcreditocliente $$;

CREATE OR REPLACE FUNCTION t_zt_desdcreditocliente_inserir(self t_zt_desdcreditocliente)
RETURNS t_zt_desdcreditocliente
LANGUAGE plpgsql AS $$
BEGIN
  IF self.codigoorig IS NULL OR self.codigodest IS NULL OR self.codigoorig = self.codigodest THEN
    RAISE EXCEPTION 'Informe dois créditos diferentes para o desdobramento.';
  END IF;
  PERFORM 1 FROM ztcrecli WHERE codigo IN (self.codigoorig, self.codigodest) HAVING count(*) = 2;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'Os créditos % e % precisam existir para o desdobramento.', self.codigoorig, self.codigodest;
  END IF;
  INSERT INTO ztdesdcrecli (codigoorig, codigodest, data, codfunc, codrotina)
  VALUES (self.codigoorig, self.codigodest, localtimestamp(0), self.matriculausuario, self.codrotinausuario);
  RETURN self;
END $$;

-- ---- Retail

-- Uses part or all of an open credit in a retail sale (ECF order, equipment, till, coupon). The
-- rest becomes a new open credit; its code is answered ('' when nothing is left).
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_baixadecreditovarejo(pfCODIGOCREDITO numeric, pfVALORBAIXAR numeric,
    pfNUMPEDECF numeric, psNUMSERIEEQUIP varchar, pfNUMCAIXA numeric, pfNUMCUPOM numeric, psHISTORICO varchar,
    pfCODIGOROTINA numeric, pfMATRICULAUSUARIO numeric, psCODIGOFILIALDESCONTO varchar) RETURNS varchar
LANGUAGE plpgsql AS $$
DECLARE
  v ztcrecli;
  v_codigo_resto numeric;
BEGIN
  v := pkg_creditocliente.credito_aberto(pfCODIGOCREDITO);
  IF coalesce(pfVALORBAIXAR, 0) <= 0 THEN
    RAISE EXCEPTION 'Informe o valor a baixar do crédito %.', pfCODIGOCREDITO;
  END IF;
  v_codigo_resto := pkg_creditocliente.usar_credito(v, round(pfVALORBAIXAR, 2), NULL, NULL, pfMATRICULAUSUARIO,
                                             pfCODIGOROTINA);
  UPDATE ztcrecli
     SET numpedecf = pfNUMPEDECF, numserieequip = psNUMSERIEEQUIP, numcaixa = pfNUMCAIXA, numcupom = pfNUMCUPOM,
         codfilialdesc = psCODIGOFILIALDESCONTO, obs = coalesce(left(psHISTORICO, 200), obs), situacao = 'P'
   WHERE codigo = pfCODIGOCREDITO;
  RETURN CASE WHEN v_codigo_resto > 0 THEN v_codigo_resto::text END;
END $$;

-- Confirms the retail use of a credit (SITUACAO 'P' pending becomes 'C'); a credit not used in
-- retail, or already confirmed, is refused.
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_atualizabaixacreditovarejo(pfCODIGOCREDITO numeric,
    pfCODIGOROTINA numeric, pfMATRICULAUSUARIO numeric) RETURNS boolean
LANGUAGE plpgsql AS $$
BEGIN
  UPDATE ztcrecli SET situacao = 'C', codfunc = pfMATRICULAUSUARIO
   WHERE codigo = pfCODIGOCREDITO AND situacao = 'P' AND dtdesconto IS NOT NULL AND dtestorno IS NULL;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'O crédito % não tem baixa de varejo pendente.', pfCODIGOCREDITO;
  END IF;
  RETURN TRUE;
END $$;

-- Gives back the credits a sale used: each used row is marked reversed and a new open credit of
-- its value is written. Answers the new codes separated by commas ('' when the sale used none).
CREATE OR REPLACE FUNCTION pkg_creditocliente.fnc_estornarbaixacreditovarejo(pfNUMTRANSVENDADESC numeric,
    pfCODIGOROTINA numeric, pfMATRICULAUSUARIO numeric) RETURNS varchar
LANGUAGE plpgsql AS $$
DECLARE
  v ztcrecli;
  v_codigos text;
BEGIN
  FOR v IN SELECT * FROM ztcrecli WHERE numtransvendadesc = pfNUMTRANSVENDADESC AND dtdesconto IS NOT NULL
                AND dtestorno IS NULL AND valor > 0 ORDER BY codigo FOR UPDATE LOOP
    UPDATE ztcrecli SET dtestorno = date_trunc('day', localtimestamp(0)) WHERE codigo = v.codigo;
    v.codigo := nextval('dfseq_ztcrecli');
    v.dtlanc := date_trunc('day', localtimestamp(0));
    v.dtdesconto := NULL;
    v.dtestorno := NULL;
    v.numtransvendadesc := NULL;
    v.prestrestcli := NULL;
    v.situacao := NULL;
    v.codfunclanc := pfMATRICULAUSUARIO;
    v.codrotina := pfCODIGOROTINA;
    v.historico := left('ESTORNO DE BAIXA NUMTRANSVENDA ' || pfNUMTRANSVENDADESC, 200);
    INSERT INTO ztcrecli SELECT v.*;
    v_codigos := concat_ws(',', v_codigos, v.codigo::text);
  END LOOP;
  RETURN v_codigos;
END $$;
