-- Demo rows of the cost centers of consumption purchase orders: branch 1 apportions them and
-- refuses installments above a cost center's budget; order 7001 has two installments due this
-- month. Idempotent.

INSERT INTO ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('REALIZARATEIOPEDIDOCOMPRACONSUMO', '1', 'S'),
                                                         ('BLOQLANCACIMAORCADOCENTROCUSTO', '1', 'S')
ON CONFLICT (NOME, CODFILIAL) DO NOTHING;

INSERT INTO ZTLANC3 (NUMPED, PREST, DTVENC)
SELECT 7001, v.prest, date_trunc('month', CURRENT_DATE) + interval '14 days'
  FROM (VALUES ('1'), ('2')) AS v(prest)
ON CONFLICT (NUMPED, PREST) DO NOTHING;
