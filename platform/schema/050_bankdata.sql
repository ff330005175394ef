-- Bank data of receivable titles: the own number a bank gives each slip (NOSSONUMBCO and its check
-- digit DVCOB), the 44-digit barcode (CODBARRA) and the 47-digit typeable line (LINHADIG), written by
-- PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS. Idempotent.
--
-- Codes follow the FEBRABAN bank-slip layout: bank (3), currency 9, general digit (modulus 11, where
-- 0, 10 and 11 become 1), due-date factor (4), value in cents (10) and the 25-digit free field that
-- the issuing bank lays out. The same arithmetic lives in platform/febraban (C++); the integration
-- tests read every code written here back through that library.
--
-- Free-field layouts implemented, chosen by ZTBANCO.CODCOMPENSACAO:
--   001 Banco do Brasil, agreement (NUMCONVENIO) of 7 digits ("Especificações Técnicas para
--       Confecção de Boleto de Cobrança do Banco do Brasil", free field of the 7-digit agreement):
--       "000000" + own number (17: agreement 7 + sequence 10) + wallet (2). The own number has no
--       check digit in this layout, so DVCOB stays empty.
--   237 Bradesco ("Manual de Procedimentos Operacionais - Cobrança Bradesco 4008.524.0121",
--       slips issued by the customer): agency (4) + wallet (2) + own number (11) + account (7) + "0".
--       DVCOB is modulus 11 with weights 2 to 7 over wallet + own number: remainder 0 gives "0",
--       remainder 1 gives "P", any other r gives 11 - r.
--   341 Itaú ("Cobrança Bancária - Intercâmbio Eletrônico de Arquivos", CNAB 400 notes on the DAC):
--       wallet (3) + own number (8) + DAC of agency/account/wallet/own number (1) + agency (4) +
--       account (5) + DAC of agency/account (1) + "000". Both DACs are modulus 10; for wallets 126,
--       131, 146, 150 and 168 the own number's DAC covers wallet and own number only. DVCOB is that
--       DAC.
-- Any other compensation code is refused with the message of a bank that cannot generate bank data.

-- NUMBANCO holds the host's bank numbers, and some of them (6111, 6375) are no compensation code:
-- the barcode carries CODCOMPENSACAO, which must be set before bank data can be generated.
ALTER TABLE ZTBANCO ADD COLUMN IF NOT EXISTS CODCOMPENSACAO varchar(3);
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = 'ztbanco_codcompensacao_ck') THEN
    ALTER TABLE ZTBANCO ADD CONSTRAINT ZTBANCO_CODCOMPENSACAO_CK CHECK (CODCOMPENSACAO ~ '^[0-9]{3}$');
  END IF;
END $$;

-- The last own number drawn per bank. Advanced only under the bank row's lock, in the transaction
-- that writes the titles, so a number is never given twice and a rolled-back run gives its numbers
-- back.
CREATE TABLE IF NOT EXISTS ZTBANCONOSSONUMERO (
  CODBANCO           numeric(4)   NOT NULL PRIMARY KEY,
  ULTIMONOSSONUMERO  numeric(17)  NOT NULL DEFAULT 0 CHECK (ULTIMONOSSONUMERO >= 0)
);

CREATE SCHEMA IF NOT EXISTS pkg_dadosbancarios;

-- The value a slip charges, in reais: the title's value (plus its returns in the gross form), the
-- vendor fees when the customer pays vendor interest, the expected interest, and the slip fee when
-- the charge adds it and the customer is not exempt. The print query's VALOR and the barcode both
-- come from here, so the slip never shows one amount and encodes another.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_valorboleto(
  pvalor numeric, pvldevol numeric, ptxvendorcli numeric, pvltxvendor numeric, pvltxiof numeric,
  ptxpermprevisto numeric, pvltxboleto numeric, psomatxboleto varchar, pisentotxboleto varchar,
  pvalorbruto varchar)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
  SELECT round(
    COALESCE(pvalor, 0)
    + CASE WHEN pvalorbruto = 'S' THEN COALESCE(pvldevol, 0) ELSE 0 END
    + CASE WHEN COALESCE(ptxvendorcli, 0) > 0 THEN COALESCE(pvltxvendor, 0) + COALESCE(pvltxiof, 0) ELSE 0 END
    + COALESCE(ptxpermprevisto, 0)
    + CASE WHEN psomatxboleto = 'S' AND COALESCE(pisentotxboleto, 'N') = 'N' THEN COALESCE(pvltxboleto, 0) ELSE 0 END,
    2)
$$;

-- Modulus 10: weights 2, 1, 2 ... from the right, the digits of each product added; 10 - sum mod 10,
-- and 0 when the remainder is 0.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_modulo10(pdigitos varchar)
RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT SET search_path = pg_catalog AS $$
DECLARE
  vsoma integer := 0;
  vproduto integer;
  vpeso integer := 2;
BEGIN
  FOR i IN REVERSE length(pdigitos) .. 1 LOOP
    vproduto := (ascii(substring(pdigitos FROM i FOR 1)) - 48) * vpeso;
    vsoma := vsoma + vproduto / 10 + vproduto % 10;
    vpeso := 3 - vpeso;
  END LOOP;
  RETURN (10 - vsoma % 10) % 10;
END $$;

-- The weighted sum modulo 11 with weights 2 up to `ppesomaximo` from the right, restarting at 2.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_restomodulo11(pdigitos varchar, ppesomaximo integer)
RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT SET search_path = pg_catalog AS $$
DECLARE
  vsoma integer := 0;
  vpeso integer := 2;
BEGIN
  FOR i IN REVERSE length(pdigitos) .. 1 LOOP
    vsoma := vsoma + (ascii(substring(pdigitos FROM i FOR 1)) - 48) * vpeso;
    vpeso := CASE WHEN vpeso = ppesomaximo THEN 2 ELSE vpeso + 1 END;
  END LOOP;
  RETURN vsoma % 11;
END $$;

-- The general digit of a bank-slip barcode: 11 - r, and 1 where that gives 10 or 11; never 0.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_digitogeral(pdigitos varchar)
RETURNS integer LANGUAGE sql IMMUTABLE STRICT SET search_path = pg_catalog AS $$
  SELECT CASE WHEN r IN (0, 1) THEN 1 ELSE 11 - r END
    FROM (SELECT pkg_dadosbancarios.f_restomodulo11(pdigitos, 9) AS r) s
$$;

-- The due-date factor: days since 7 October 1997, 1000 on 3 July 2000, 9999 on 21 February 2025,
-- restarting at 1000 every 9000 days; 0 for a title without due date. A date before the first
-- factor cannot be encoded.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_fatorvencimento(pdtvenc timestamp)
RETURNS integer LANGUAGE plpgsql IMMUTABLE SET search_path = pg_catalog AS $$
DECLARE
  vdias integer;
BEGIN
  IF pdtvenc IS NULL THEN
    RETURN 0;
  END IF;
  vdias := pdtvenc::date - DATE '1997-10-07';
  IF vdias < 1000 THEN
    RAISE EXCEPTION USING MESSAGE = 'O vencimento ' || to_char(pdtvenc, 'DD/MM/YYYY')
      || ' não tem fator de vencimento no código de barras (o primeiro é 03/07/2000).';
  END IF;
  RETURN 1000 + (vdias - 1000) % 9000;
END $$;

-- The 44-digit barcode from the compensation code, the factor, the value in reais and the free field.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_codigobarras(
  pbanco varchar, pfator integer, pvalor numeric, pcampolivre varchar)
RETURNS varchar LANGUAGE plpgsql IMMUTABLE SET search_path = pg_catalog AS $$
DECLARE
  vcentavos numeric := round(pvalor, 2) * 100;
  vsemdigito varchar;
BEGIN
  IF pvalor IS NULL OR pvalor <= 0 OR vcentavos > 9999999999 THEN
    RAISE EXCEPTION USING MESSAGE = 'O valor ' || COALESCE(to_char(pvalor, 'FM999999999999990.00'), 'vazio')
      || ' não cabe no código de barras (de 0,01 a 99.999.999,99).';
  END IF;
  IF pbanco !~ '^[0-9]{3}$' OR pcampolivre !~ '^[0-9]{25}$' OR pfator NOT BETWEEN 0 AND 9999 THEN
    RAISE EXCEPTION USING MESSAGE = 'Partes inválidas para o código de barras: banco ' || COALESCE(pbanco, '')
      || ', fator ' || COALESCE(pfator::text, '') || ', campo livre ' || COALESCE(pcampolivre, '') || '.';
  END IF;
  vsemdigito := pbanco || '9' || lpad(pfator::text, 4, '0') || lpad(vcentavos::bigint::text, 10, '0') || pcampolivre;
  RETURN substring(vsemdigito FROM 1 FOR 4) || pkg_dadosbancarios.f_digitogeral(vsemdigito)::text
      || substring(vsemdigito FROM 5);
END $$;

-- The 47-digit typeable line of a barcode: three fields with their modulus-10 digits, the general
-- digit, factor and value.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_linhadigitavel(pcodbarra varchar)
RETURNS varchar LANGUAGE plpgsql IMMUTABLE STRICT SET search_path = pg_catalog AS $$
DECLARE
  vcampo1 varchar := substring(pcodbarra FROM 1 FOR 4) || substring(pcodbarra FROM 20 FOR 5);
  vcampo2 varchar := substring(pcodbarra FROM 25 FOR 10);
  vcampo3 varchar := substring(pcodbarra FROM 35 FOR 10);
BEGIN
  RETURN vcampo1 || pkg_dadosbancarios.f_modulo10(vcampo1)::text
      || vcampo2 || pkg_dadosbancarios.f_modulo10(vcampo2)::text
      || vcampo3 || pkg_dadosbancarios.f_modulo10(vcampo3)::text
      || substring(pcodbarra FROM 5 FOR 1) || substring(pcodbarra FROM 6 FOR 14);
END $$;

-- A configuration field of the bank as digits of a fixed width: what stands before a "-" (an agency
-- or account check digit typed with it) without separators, zero-padded on the left. Too long or
-- empty is refused, naming the field.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_campobanco(
  ptexto varchar, plargura integer, pnome varchar, pcodbanco numeric)
RETURNS varchar LANGUAGE plpgsql IMMUTABLE SET search_path = pg_catalog AS $$
DECLARE
  vdigitos varchar := regexp_replace(split_part(COALESCE(ptexto, ''), '-', 1), '[ ./]', '', 'g');
BEGIN
  IF vdigitos !~ '^[0-9]+$' OR length(ltrim(vdigitos, '0')) > plargura THEN
    RAISE EXCEPTION USING MESSAGE = 'O campo ' || pnome || ' do banco ' || pcodbanco || ' ("'
      || COALESCE(ptexto, '') || '") deve ter até ' || plargura || ' dígitos para gerar dados bancários.';
  END IF;
  RETURN lpad(ltrim(vdigitos, '0'), plargura, '0');
END $$;

-- The own number's width in each layout (without its check digit); 0 for a bank without layout.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_larguranossonumero(pcodcompensacao varchar)
RETURNS integer LANGUAGE sql IMMUTABLE SET search_path = pg_catalog AS $$
  SELECT CASE pcodcompensacao WHEN '001' THEN 10 WHEN '237' THEN 11 WHEN '341' THEN 8 ELSE 0 END
$$;

-- The own number as stored (NOSSONUMBCO), its check digit (DVCOB, NULL where the layout has none)
-- and the free field, for sequence number `psequencia` of the bank.
-- The bank's fields come one by one, not as its row type, so that ZTBANCO can be rebuilt under them.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_campolivre(pcodbanco numeric, pnumbanco numeric,
  pcodcompensacao varchar, pagencia varchar, pconta varchar, pnumcarteira varchar, pnumconvenio varchar,
  psequencia numeric, OUT pnossonumero varchar, OUT pdigito varchar, OUT pcampolivre varchar)
LANGUAGE plpgsql IMMUTABLE SET search_path = public, pg_catalog AS $$
DECLARE
  vagencia varchar;
  vconta varchar;
  vcarteira varchar;
  vconvenio varchar;
  vsequencia varchar;
  vresto integer;
BEGIN
  CASE pcodcompensacao
    WHEN '001' THEN
      vconvenio := pkg_dadosbancarios.f_campobanco(pnumconvenio, 7, 'NUMCONVENIO', pcodbanco);
      IF length(ltrim(vconvenio, '0')) <> 7 THEN
        RAISE EXCEPTION USING MESSAGE = 'O banco ' || pcodbanco
          || ' gera dados bancários do Banco do Brasil só com convênio (NUMCONVENIO) de 7 dígitos.';
      END IF;
      vcarteira := pkg_dadosbancarios.f_campobanco(pnumcarteira, 2, 'NUMCARTEIRA', pcodbanco);
      pnossonumero := vconvenio || lpad(psequencia::text, 10, '0');
      pdigito := NULL;
      pcampolivre := '000000' || pnossonumero || vcarteira;
    WHEN '237' THEN
      vagencia := pkg_dadosbancarios.f_campobanco(pagencia, 4, 'AGENCIA', pcodbanco);
      vconta := pkg_dadosbancarios.f_campobanco(pconta, 7, 'CONTA', pcodbanco);
      vcarteira := pkg_dadosbancarios.f_campobanco(pnumcarteira, 2, 'NUMCARTEIRA', pcodbanco);
      pnossonumero := lpad(psequencia::text, 11, '0');
      vresto := pkg_dadosbancarios.f_restomodulo11(vcarteira || pnossonumero, 7);
      pdigito := CASE vresto WHEN 0 THEN '0' WHEN 1 THEN 'P' ELSE (11 - vresto)::text END;
      pcampolivre := vagencia || vcarteira || pnossonumero || vconta || '0';
    WHEN '341' THEN
      vagencia := pkg_dadosbancarios.f_campobanco(pagencia, 4, 'AGENCIA', pcodbanco);
      vconta := pkg_dadosbancarios.f_campobanco(pconta, 5, 'CONTA', pcodbanco);
      vcarteira := pkg_dadosbancarios.f_campobanco(pnumcarteira, 3, 'NUMCARTEIRA', pcodbanco);
      vsequencia := lpad(psequencia::text, 8, '0');
      pnossonumero := vsequencia;
      IF vcarteira IN ('126', '131', '146', '150', '168') THEN
        pdigito := pkg_dadosbancarios.f_modulo10(vcarteira || vsequencia)::text;
      ELSE
        pdigito := pkg_dadosbancarios.f_modulo10(vagencia || vconta || vcarteira || vsequencia)::text;
      END IF;
      pcampolivre := vcarteira || vsequencia || pdigito || vagencia || vconta
                  || pkg_dadosbancarios.f_modulo10(vagencia || vconta)::text || '000';
    ELSE
      RAISE EXCEPTION USING MESSAGE = 'O banco ' || COALESCE(pnumbanco::text, '')
        || ' não está disponivel para geração de dados bancários.' || chr(13)
        || 'Favor entrar em contato com o suporte da ZT Sistemas.';
  END CASE;
END $$;

-- The next own number of a bank. The caller holds the bank row's lock; the upsert keeps the counter
-- one row per bank even when the first number of a bank is drawn.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_proximonossonumero(pcodbanco numeric, plargura integer)
RETURNS numeric LANGUAGE plpgsql SET search_path = public, pg_catalog AS $$
DECLARE
  vnumero numeric;
BEGIN
  INSERT INTO ZTBANCONOSSONUMERO AS n (CODBANCO, ULTIMONOSSONUMERO) VALUES (pcodbanco, 1)
  ON CONFLICT (CODBANCO) DO UPDATE SET ULTIMONOSSONUMERO = n.ULTIMONOSSONUMERO + 1
  RETURNING ULTIMONOSSONUMERO INTO vnumero;
  -- Wrapping round would give an own number again: the bank must open a new range first.
  IF vnumero >= power(10::numeric, plargura) THEN
    RAISE EXCEPTION USING MESSAGE = 'A numeração do nosso número do banco ' || pcodbanco
      || ' se esgotou (' || plargura || ' dígitos). Solicite ao banco uma nova faixa.';
  END IF;
  RETURN vnumero;
END $$;

-- Generates the bank data of the titles of a sale transaction (one instalment, or all when PPREST
-- is empty) that can carry a slip and lack it: not issued elsewhere (ORIGEMBOLETO), not grouped, not
-- paid, with a value. A title that already has its own number keeps it and only gets the barcode
-- and line; a title with both is left alone, so a second run changes nothing and draws no number.
-- The bank row is locked without waiting: a second run for the same bank fails at once (ORA-00054).
-- PCODFILIAL, PNUMDIASPROTESTO, PFILIALVIRTUAL and PPRIMEIRAIMPRESSAO travel with the call for the
-- layouts that use them; none of the layouts here does.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.p_geradadosbancarios(
  pcodfilial varchar, pcodcob varchar, pcodbanco numeric, pnumtransvenda numeric, pnumdiasprotesto numeric,
  pprest varchar, pfilialvirtual varchar, putilizavalorbruto varchar, pprimeiraimpressao varchar)
RETURNS void LANGUAGE plpgsql SET search_path = public, pg_catalog AS $$
DECLARE
  vbanco ztbanco;
  vtitulo record;
  vlargura integer;
  vsequencia numeric;
  vnossonumero varchar;
  vdigito varchar;
  vcampolivre varchar;
  vcodbarra varchar;
BEGIN
  SELECT * INTO vbanco FROM ZTBANCO WHERE CODBANCO = pcodbanco FOR UPDATE NOWAIT;
  IF NOT FOUND THEN
    RAISE EXCEPTION USING MESSAGE = 'Banco ' || COALESCE(pcodbanco::text, 'vazio') || ' não cadastrado (ZTBANCO).';
  END IF;
  IF vbanco.codcompensacao IS NULL THEN
    RAISE EXCEPTION USING MESSAGE = 'O banco ' || pcodbanco
      || ' não tem o código de compensação (ZTBANCO.CODCOMPENSACAO) informado.' || chr(13)
      || 'Informe os 3 dígitos do banco na compensação antes de gerar os dados bancários.';
  END IF;
  vlargura := pkg_dadosbancarios.f_larguranossonumero(vbanco.codcompensacao);
  IF vlargura = 0 THEN
    SELECT * INTO vnossonumero, vdigito, vcampolivre FROM pkg_dadosbancarios.f_campolivre(vbanco.codbanco, vbanco.numbanco,
      vbanco.codcompensacao, vbanco.agencia, vbanco.conta, vbanco.numcarteira, vbanco.numconvenio, 0);
  END IF;

  FOR vtitulo IN
    SELECT P.NUMTRANSVENDA, P.PREST, P.DTVENC, P.NOSSONUMBCO, P.CODBANCOCM,
           pkg_dadosbancarios.f_valorboleto(P.VALOR, P.VLDEVOL, P.TXVENDORCLI, P.VLTXVENDOR, P.VLTXIOF,
             P.TXPERMPREVISTO, P.VLTXBOLETO, B.SOMATXBOLETO, C.ISENTOTXBOLETO, putilizavalorbruto) AS VALORBOLETO
      FROM ZTPREST P
      LEFT JOIN ZTCOB B ON B.CODCOB = P.CODCOB
      LEFT JOIN ZTCLIENT E ON E.CODCLI = P.CODCLI
      LEFT JOIN ZTCLIENT C ON C.CODCLI = CASE WHEN E.USABKCNPJCODCLIPRINC = 'S'
                                              THEN COALESCE(E.CODCLIPRINC, E.CODCLI) ELSE E.CODCLI END
     WHERE P.NUMTRANSVENDA = pnumtransvenda
       AND (pprest IS NULL OR P.PREST = pprest)
       AND P.ORIGEMBOLETO IS NULL
       AND COALESCE(P.AGRUPADO, 'N') <> 'S'
       AND P.DTPAG IS NULL
       AND P.VALOR > 0
       AND (P.NOSSONUMBCO IS NULL OR P.CODBARRA IS NULL)
     ORDER BY P.DUPLIC, lpad(P.PREST, 2)
       FOR UPDATE OF P
  LOOP
    IF vtitulo.nossonumbco IS NULL THEN
      vsequencia := pkg_dadosbancarios.f_proximonossonumero(pcodbanco, vlargura);
    ELSIF vtitulo.codbancocm IS NOT NULL AND vtitulo.codbancocm <> pcodbanco THEN
      -- The number came from another bank's range: this bank never issued it.
      RAISE EXCEPTION USING MESSAGE = 'O título ' || vtitulo.numtransvenda || '-' || vtitulo.prest
        || ' já tem o nosso número ' || vtitulo.nossonumbco || ' do banco ' || vtitulo.codbancocm
        || ' e não pode receber código de barras do banco ' || pcodbanco || '.';
    ELSE
      vsequencia := pkg_dadosbancarios.f_sequenciadonossonumero(vbanco.codbanco, vbanco.codcompensacao,
                    vbanco.numconvenio, vtitulo.nossonumbco, vlargura, vtitulo.numtransvenda, vtitulo.prest);
    END IF;
    SELECT * INTO vnossonumero, vdigito, vcampolivre FROM pkg_dadosbancarios.f_campolivre(vbanco.codbanco,
      vbanco.numbanco, vbanco.codcompensacao, vbanco.agencia, vbanco.conta, vbanco.numcarteira, vbanco.numconvenio,
      vsequencia);
    vcodbarra := pkg_dadosbancarios.f_codigobarras(vbanco.codcompensacao,
                   pkg_dadosbancarios.f_fatorvencimento(vtitulo.dtvenc), vtitulo.valorboleto, vcampolivre);
    UPDATE ZTPREST
       SET NOSSONUMBCO = vnossonumero,
           DVCOB = vdigito,
           CODBARRA = vcodbarra,
           LINHADIG = pkg_dadosbancarios.f_linhadigitavel(vcodbarra),
           CODBANCOCM = pcodbanco
     WHERE NUMTRANSVENDA = vtitulo.numtransvenda
       AND PREST = vtitulo.prest;
  END LOOP;
END $$;

-- The sequence number inside an own number kept on a title, so its barcode is built around the
-- number the customer may already have been told. It must be one this layout could have given.
CREATE OR REPLACE FUNCTION pkg_dadosbancarios.f_sequenciadonossonumero(pcodbanco numeric,
  pcodcompensacao varchar, pnumconvenio varchar, pnossonumero varchar, plargura integer, pnumtransvenda numeric,
  pprest varchar)
RETURNS numeric LANGUAGE plpgsql SET search_path = public, pg_catalog AS $$
DECLARE
  vnumero varchar := trim(pnossonumero);
  vprefixo varchar := '';
BEGIN
  IF pcodcompensacao = '001' THEN
    -- The Banco do Brasil own number starts with the agreement.
    vprefixo := pkg_dadosbancarios.f_campobanco(pnumconvenio, 7, 'NUMCONVENIO', pcodbanco);
  END IF;
  IF vnumero !~ '^[0-9]+$' OR length(vnumero) > length(vprefixo) + plargura
     OR (vprefixo <> '' AND substring(lpad(vnumero, length(vprefixo) + plargura, '0') FROM 1 FOR length(vprefixo)) <> vprefixo) THEN
    RAISE EXCEPTION USING MESSAGE = 'O nosso número ' || pnossonumero || ' do título ' || pnumtransvenda || '-'
      || pprest || ' não serve ao leiaute do banco ' || pcodbanco || '.';
  END IF;
  RETURN substring(lpad(vnumero, length(vprefixo) + plargura, '0') FROM length(vprefixo) + 1)::numeric;
END $$;
