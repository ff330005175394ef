-- Demo rows of the account apportionment: the group of the expense accounts, which user 1 may use,
-- and named apportionment 1 over the three accounts of the cost-center demo (two that work with
-- cost centers, one that does not). Idempotent.

INSERT INTO ZTGRUPO (CODGRUPO, GRUPO) VALUES (3, 'DESPESAS ADMINISTRATIVAS')
ON CONFLICT (CODGRUPO) DO NOTHING;

INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGON)
SELECT 6, 1, 3
 WHERE NOT EXISTS (SELECT 1 FROM ZTLIB l WHERE l.CODTABELA = 6 AND l.CODFUNC = 1 AND l.CODIGON = 3);

INSERT INTO ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL)
SELECT 1, v.conta, v.perc
  FROM (VALUES ('3101', 33.33), ('3102', 33.33), ('3201', 33.34)) AS v(conta, perc)
 WHERE NOT EXISTS (SELECT 1 FROM ZTITENSRATEIOPADRAOCONTA i WHERE i.CODRATEIOCONTA = 1 AND i.CODIGOCONTA = v.conta);
