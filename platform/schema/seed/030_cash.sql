-- Demo history of the cash account 11, collection code 'D' (cash), over the last three months.
-- The bank-fee movement was typed in late: it carries the balance of the day it was posted, so
-- the running balances of the account are out of date order until they are rebuilt.
DELETE FROM ZTMOVCR WHERE CODBANCO = 11 AND CODCOB = 'D';
DELETE FROM ZTESTCR WHERE CODBANCO = 11 AND CODCOB = 'D';
DELETE FROM ZTESTCRCOMPENSACAO WHERE CODBANCO = 11 AND CODMOEDA = 'D';

INSERT INTO ZTMOVCR (NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, VALOR, TIPO, NUMCARR, VLSALDO, VLSALDOCONCIL,
                     DTCONCIL, CODFUNCCONCIL, CONCILIACAO, DTCOMPENSACAO, HORA, MINUTO, CODFUNC, INDICE, CODROTINALANC)
VALUES
  (101, date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '9 days', 11, 'D', 'SALDO DE ABERTURA',
   1000.00, 'D', 0, 1000.00, 1000.00, date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '9 days',
   1, 'OK', date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '9 days', 9, 0, 1, 'A', 632),
  (102, date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '19 days', 11, 'D', 'PAGAMENTO FORNECEDOR',
   150.00, 'C', 0, 850.00, 850.00, date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '21 days',
   1, 'OK', date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '21 days', 14, 30, 1, 'A', 632),
  (104, date_trunc('month', CURRENT_DATE) - interval '1 month' + interval '4 days', 11, 'D', 'DEPOSITO EM DINHEIRO',
   500.00, 'D', 0, 1350.00, NULL, NULL, NULL, NULL, NULL, 10, 15, 1, 'A', 632),
  (105, date_trunc('month', CURRENT_DATE) - interval '2 months' + interval '13 days', 11, 'D', 'TARIFAS BANCARIAS',
   200.00, 'C', 0, 1150.00, NULL, NULL, NULL, NULL, NULL, 16, 45, 1, 'A', 632);

INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO, DTULTCONCILIA)
VALUES ('D', 11, 1150.00, 850.00, date_trunc('month', CURRENT_DATE) - interval '3 months' + interval '21 days');
