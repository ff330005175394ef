#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "customercredit/Uclsfin_dalcreditocliente.h"
#include "support/StatementBuilders.h"

namespace {

using DAL = TDALCreditoCliente;

TContasReceberZTPrest Titulo(double numtransvenda, double duplic, const std::string& prest, double valor,
                             double aproveitado) {
  TContasReceberZTPrest t;
  t.NUMTRANSVENDA = numtransvenda;
  t.DUPLIC = duplic;
  t.PREST = prest;
  t.VALOR = valor;
  t.VALORAPROVEITADOCREDITO = aproveitado;
  return t;
}

TCreditoCliente Credito(double codigo) {
  TCreditoCliente c(345, 100, "1");
  c.CODIGO = codigo;
  return c;
}

// A closing update: use and reversal dates, NUMCRED, branch of use, user and history.
TCreditoCliente Fechamento() {
  TCreditoCliente c = Credito(99);
  c.DTDESCONTO = TDateTime::EncodeDate(2026, 3, 5);
  c.DTESTORNO = TDateTime::EncodeDate(2026, 3, 5);
  c.NUMCRED = 7;
  c.CODFILIALDESC = "1";
  c.CODFUNC = 5;
  c.HISTORICO = "ESTORNO TOT CRED";
  c.CODPLPAG = 9000000000LL;
  return c;
}

// What customercredit/customercredit.sql.test holds, by block name.
const testsupport::StatementBuilders kCreditStatements({
    {"TDALCreditoCliente::GetSQLInserirZTCreCli", [] { return DAL::GetSQLInserirZTCreCli(); }},
    {"TDALCreditoCliente::GetSQLObterCredito", [] { return DAL::GetSQLObterCredito(); }},
    {"TDALCreditoCliente::GetSQLCreditoExiste", [] { return DAL::GetSQLCreditoExiste(); }},
    {"TDALCreditoCliente::GetSQLInserirLog", [] { return DAL::GetSQLInserirLog(); }},
    {"TDALCreditoCliente::GetSQLUpdateZTCreCli (close, only while open)",
     [] { return DAL::GetSQLUpdateZTCreCli(Fechamento(), true); }},
    {"TDALCreditoCliente::GetSQLUpdateZTCreCli (nothing present)",
     [] {
       TCreditoCliente vazio;
       vazio.CODIGO = 99;
       return DAL::GetSQLUpdateZTCreCli(vazio, false);
     }},
    {"TDALCreditoCliente::GetSQLDTPAGTitulo", [] { return DAL::GetSQLDTPAGTitulo(); }},
    {"TDALCreditoCliente::GetSQLBaixarTituloComoCredito (plain)",
     [] { return DAL::GetSQLBaixarTituloComoCredito(false, false, false, false); }},
    {"TDALCreditoCliente::GetSQLBaixarTituloComoCredito (interest, cashier, closing, discount dropped)",
     [] { return DAL::GetSQLBaixarTituloComoCredito(true, true, true, true); }},
    {"TDALCreditoCliente::GetSQLBaixarUmCreditoComUmOuVariosTitulos",
     [] {
       return DAL::GetSQLBaixarUmCreditoComUmOuVariosTitulos(
           77, {Titulo(123, 456, "1", 100.5, 50), Titulo(124, 457, "2", 80, 30)}, 5, 1234);
     }},
    {"TDALCreditoCliente::GetSQLBaixarUmTituloComUmOuVariosCreditos",
     [] {
       return DAL::GetSQLBaixarUmTituloComUmOuVariosCreditos(Titulo(123, 0, "1", 0, 0), {Credito(99), Credito(100)}, 5,
                                                             1234);
     }},
    {"TDALCreditoCliente::GetSQLEstornarTituloBaixadoComCredito",
     [] { return DAL::GetSQLEstornarTituloBaixadoComCredito(123, "1", 5, 1234); }},
    {"TDALCreditoCliente::GetSQLApenasGerarContraPartidaCredito",
     [] { return DAL::GetSQLApenasGerarContraPartidaCredito(99, 7, 10, 123, 5, 1234); }},
    {"TDALCreditoCliente::GetSQLInserirRegistroDesdobramento",
     [] { return DAL::GetSQLInserirRegistroDesdobramento(1, 2, 5, 1234); }},
    {"TDALCreditoCliente::GetSQLApenasBaixarCredito",
     [] {
       TCreditoCliente c = Credito(99);
       c.CODFILIALDESC = "01";
       c.NUMNOTADESC = 10;
       c.NUMTRANSVENDADESC = 123;
       c.PRESTRESTCLI = "A";
       c.CODFUNC = 5;
       c.NUMCAIXA = 3;
       c.NUMSERIEEQUIP = "EQ-1";
       c.NUMCRED = 7;
       c.CODFUNCCX = 8;
       return DAL::GetSQLApenasBaixarCredito(c, 5, 1234);
     }},
    {"TDALCreditoCliente::GetSQLBaixarCreditoClienteVarejo", [] { return DAL::GetSQLBaixarCreditoClienteVarejo(); }},
    {"TDALCreditoCliente::GetSQLAtualizarBaixarCreditoClienteVarejo",
     [] { return DAL::GetSQLAtualizarBaixarCreditoClienteVarejo(); }},
    {"TDALCreditoCliente::GetSQLEstornarBaixaCreditoClienteVarejo",
     [] { return DAL::GetSQLEstornarBaixaCreditoClienteVarejo(); }},
});

// The update never writes the row's identity, its branch, its dates of creation or the routine
// that created it, whatever the object holds.
TEST(CreditoClienteSql, UpdateNeverTouchesTheRowsIdentity) {
  TCreditoCliente c = Fechamento();
  c.DTLANC = TDateTime::EncodeDate(2026, 1, 1);
  c.HORA = 10;
  c.MINUTO = 20;
  c.CODROTINA = 619;
  const std::string texto = DAL::GetSQLUpdateZTCreCli(c, false).Text();
  for (const char* coluna : {", CODCLI", ", CODFILIAL ", "DTLANC", "HORA", "MINUTO", "CODROTINA", "CODIGO ="}) {
    EXPECT_EQ(texto.find(std::string(coluna) + " = :"), std::string::npos) << coluna;
  }
  EXPECT_NE(texto.find("WHERE CODIGO = :CODIGO"), std::string::npos);
}

// A quote inside a history or an instalment is doubled, so it can never end the literal and add
// PL/SQL of its own.
TEST(CreditoClienteSql, QuotesInsideBlockValuesStayInsideTheirLiteral) {
  EXPECT_EQ(DAL::QuotedStr("D'AGUA'); DELETE FROM ZTCRECLI; --"), "'D''AGUA''); DELETE FROM ZTCRECLI; --'");
  TCreditoCliente c = Credito(99);
  c.PRESTRESTCLI = "1'";
  c.NUMSERIEEQUIP = "X'); END; --";
  const std::string bloco = DAL::GetSQLApenasBaixarCredito(c, 5, 1234).Text();
  EXPECT_NE(bloco.find("voCREDITOCLIENTE.PRESTRESTCLI := '1''';"), std::string::npos);
  EXPECT_NE(bloco.find("voCREDITOCLIENTE.NUMSERIEEQUIP := 'X''); END; --';"), std::string::npos);
  const std::string estorno = DAL::GetSQLEstornarTituloBaixadoComCredito(1, "1' OR '1'='1", 5, 1).Text();
  EXPECT_NE(estorno.find("'1'' OR ''1''=''1', TRUE);"), std::string::npos);
}

TEST(CreditoClienteSql, ProgramNameIsTheFileNamePartOfItsPath) {
  EXPECT_EQ(DAL::NomeArquivo("C:\\QUORVIN\\ZTSIS1207.EXE"), "ZTSIS1207.EXE");
  EXPECT_EQ(DAL::NomeArquivo("/opt/quorvin/bin/quorvin-fin"), "quorvin-fin");
  EXPECT_EQ(DAL::NomeArquivo("quorvin-fin"), "quorvin-fin");
}

}  // namespace
