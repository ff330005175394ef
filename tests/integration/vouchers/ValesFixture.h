#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"
#include "support/TestHost.h"
#include "vouchers/Uclsfin_vales.h"

namespace valestest {

using Textos = std::vector<std::string>;

// Vouchers of these tests: employee 7701 (JOSE DA SILVA), driver 7702, representative 7703, a
// professional representative 7704 (stored as "R"), branch "1", cash account 9941 (accounting
// account 11101), payable account 3101. Every test runs in its own transaction, rolled back.
class ValesTest : public testsupport::HostTest {
 protected:
  static constexpr double kFuncionario = 7701;
  static constexpr double kMotorista = 7702;
  static constexpr double kRCA = 7703;
  static constexpr double kProfissional = 7704;
  static constexpr double kCaixa = 9941;
  static constexpr double kContaContabil = 11101;
  static constexpr double kConta = 3101;

  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec(
        "INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR', 'OPERADOR UM', "
        "'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTEMPR WHERE MATRICULA = 1)");
    Exec(
        "INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) VALUES (7701, 'JOSE DA SILVA', 'JOSE', "
        "'F', 'A')");
    Exec(
        "INSERT INTO ZTEMPR (MATRICULA, NOME, TIPO, SITUACAO, CODSETOR) VALUES (7702, 'CARLOS MOTORISTA', 'M', 'I', "
        "NULL)");
    Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME, TIPOVEND, CODSUPERVISOR) VALUES (7703, 'ANA REPRESENTANTE', 'I', 77)");
    Exec(
        "INSERT INTO ZTUSUARI (CODUSUR, NOME, TIPOVEND, CODSUPERVISOR, DTTERMINO) VALUES (7704, 'PAULO "
        "PROFISSIONAL', 'P', 77, TO_DATE('01/01/2020', 'DD/MM/YYYY'))");
    Exec("INSERT INTO ZTSUPERV (CODSUPERVISOR, NOME) VALUES (77, 'SUPERVISORA SUL')");
    Exec("INSERT INTO ZTHIST (CODHIST, HISTORICO) VALUES (501, 'ADIANTAMENTO')");
    Exec(
        "INSERT INTO ZTBANCO (CODBANCO, NOME, CODCONTABIL, UTILIZAFECHAMENTOCAIXA) VALUES (9941, 'CAIXA VALES', "
        "11101, 'S')");
  }

  [[nodiscard]] IFin_Vales& Vales() { return *Financeiro().GetVales(); }

  [[nodiscard]] static TDateTime Dia(int dia, int mes = 3) { return TDateTime::EncodeDate(2026, mes, dia); }

  // A debit voucher of 100 for the employee, with no money side.
  [[nodiscard]] static RFin_ParametrosInclusaoVale Inclusao(double parceiro = kFuncionario,
                                                            const std::string& tipo = "F") {
    RFin_ParametrosInclusaoVale p;
    p.Inicializar();
    p.CODFILIAL = "1";
    p.TIPOPARCEIRO = tipo;
    p.CODPARCEIRO = parceiro;
    p.NATUREZA = "D";
    p.VALOR = 100;
    p.HISTORICO = "ADIANTAMENTO DE VIAGEM";
    p.HISTORICO2 = "VIAGEM A CAMPINAS";
    p.CODHIST = 501;
    p.NUMDOC = 4455;
    p.DTLANC = Dia(2);
    p.DTDOC = Dia(1);
    p.DTVENC = Dia(30);
    p.CODBANCO = kCaixa;
    p.CODCONTA = kConta;
    return p;
  }

  // The write-off of a voucher just included, settling `valor` through the payable area.
  [[nodiscard]] static RFin_ParamBaixaVale Baixa(const RFin_ParametrosInclusaoVale& vale, double valor) {
    RFin_ParamBaixaVale b;
    b.Inicializar();
    b.NATUREZAVALE = vale.NATUREZA == "D" ? nvDebito : nvCredito;
    b.NUMVALE = vale.NUMVALE;
    b.RECNUM = vale.RECNUM;
    b.NUMDOC = vale.NUMDOC;
    b.VALORVALE = vale.VALOR;
    b.VALORBAIXA = valor;
    b.CODPARCEIRO = vale.CODPARCEIRO;
    b.TIPOPARCEIRO = vale.TIPOPARCEIRO;
    b.TEXTOFUNCIONARIO = "JOSE DA SILVA";
    b.CODFILIAL = vale.CODFILIAL;
    b.CODHIST = 501;
    b.HISTORICO = "ACERTO DE VIAGEM";
    b.HISTORICO2 = "DEVOLUCAO";
    b.DTVENC = Dia(30);
    b.CODBANCOVALE = static_cast<int>(kCaixa);
    b.CODBANCOBAIXA = static_cast<int>(kCaixa);
    b.NUMTRANSBAIXA = 880001;
    b.CODCONTA = kConta;
    b.CODIGOCOMRCA = 12;
    return b;
  }

  // Each row of a query as its columns joined by '|' (NULL as ""), in the query's order.
  [[nodiscard]] Textos Linhas(const std::string& sql) {
    TOraQuery query(&Session());
    query.SQL.SetText(sql);
    query.Open();
    Textos linhas;
    for (query.First(); !query.Eof(); query.Next()) {
      std::string linha;
      for (std::size_t i = 0; i < query.FieldCount(); ++i) {
        if (i > 0) linha += "|";
        linha += query.Fields(i).IsNull() ? "" : query.Fields(i).AsString();
      }
      linhas.push_back(linha);
    }
    return linhas;
  }

  // What a test counts to show that nothing was written.
  [[nodiscard]] std::string Contagem() {
    return Scalar(
        "SELECT (SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC BETWEEN 7700 AND 7799) || '/' || "
        "(SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9941) || '/' || "
        "(SELECT COUNT(*) FROM ZTLANC WHERE CODCONTA = 3101 AND NUMNOTA = 4455) || '/' || "
        "NVL((SELECT SUM(VALOR) FROM ZTESTCR WHERE CODBANCO = 9941), 0) FROM DUAL");
  }
};

}  // namespace valestest
