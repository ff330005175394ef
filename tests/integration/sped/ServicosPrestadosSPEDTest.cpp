#include <gtest/gtest.h>

#include <string>

#include "rtl/Exception.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace {

using testsupport::Failure;

constexpr const char* kServico = "770001";

class ServicosPrestadosSPEDTest : public testsupport::HostTest {
 protected:
  IFin_IncluirServicosPrestadosSPED_EFD& Area() { return *Financeiro().GetServicosPrestadosSPED_EFD(); }

  static RFin_IncluirServicosPrestadosSPED_EFD Servico() {
    RFin_IncluirServicosPrestadosSPED_EFD r;
    r.Inicializar();
    r.CODSERVICO = 770001;
    r.CODCONSTCIVIL = 1;
    r.CODTIPOSERVICO = 100000003;
    r.SERIENF = "A1";
    r.HOUVEVALORRETENCAOINSS = "S";
    r.TRANSACAOABERTA = true;
    return r;
  }

  std::string Linha() {
    return Scalar(
        "SELECT NVL(TO_CHAR(VALORBRUTONF), 'NULL') || '|' || NVL(TO_CHAR(VALORMATERIAL), 'NULL') || '|' || "
        "NVL(TO_CHAR(PERCRETENCAO), 'NULL') || '|' || NVL(NUMPROCESSO, 'NULL') || '|' || HOUVEVALORRETENCAOINSS "
        "FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = " +
        std::string(kServico));
  }
};

// Insert names only what is set (the rest stays NULL); update writes every column, so a zero
// overwrites what was stored; an amount is rounded to cents before it is judged and stored.
TEST_F(ServicosPrestadosSPEDTest, InsertStoresTheSetColumnsAndUpdateRewritesThemAll) {
  RFin_IncluirServicosPrestadosSPED_EFD r = Servico();
  r.VALORBRUTONF = 1500.255;
  r.VALORMATERIAL = 0.004;
  r.PERCRETENCAO = 11;
  r.NUMPROCESSO = "0001234-56.2026";
  ASSERT_TRUE(Area().IncluirServicosPrestadosSPED_EFD(r));
  EXPECT_EQ(Linha(), "1500.26|NULL|11|0001234-56.2026|S");

  r.PERCRETENCAO = 0;
  r.NUMPROCESSO.clear();
  r.HOUVEVALORRETENCAOINSS = "N";
  ASSERT_TRUE(Area().AlterarServicoPrestadoSPED_EFD(r));
  EXPECT_EQ(Linha(), "1500.26|0|0|NULL|N");
}

TEST_F(ServicosPrestadosSPEDTest, FailuresCarryTheOperationsPrefixAndWriteNothing) {
  RFin_IncluirServicosPrestadosSPED_EFD r = Servico();
  EXPECT_EQ(Failure([&] { Area().AlterarServicoPrestadoSPED_EFD(r); }),
            "Exception: Erro ao alterar registros!\rServiço prestado 770001 não encontrado.");
  ASSERT_TRUE(Area().IncluirServicosPrestadosSPED_EFD(r));
  const std::string duplicado = Failure([&] { Area().IncluirServicosPrestadosSPED_EFD(r); });
  EXPECT_EQ(duplicado.rfind("Exception: Erro ao inserir registros!\rORA-00001", 0), 0u) << duplicado;
}

TEST_F(ServicosPrestadosSPEDTest, RequestsAreCheckedBeforeAnyStatement) {
  RFin_IncluirServicosPrestadosSPED_EFD r = Servico();
  r.TRANSACAOABERTA = false;
  EXPECT_EQ(Failure([&] { Area().IncluirServicosPrestadosSPED_EFD(r); }),
            "ExTransacaoNaoIniciada: Transação não iniciada.");
  r = Servico();
  r.CODSERVICO = 0;
  EXPECT_EQ(Failure([&] { Area().IncluirServicosPrestadosSPED_EFD(r); }),
            "ExCodServicoPrestadoVazio: É necessário informar o código do serviço inserido na ZTLANC!");
  r.CODSERVICO = -4;
  EXPECT_EQ(Failure([&] { Area().AlterarServicoPrestadoSPED_EFD(r); }),
            "ExCodServicoPrestadoVazio: É necessário informar o código do serviço inserido na ZTLANC!");
  r = Servico();
  r.CODTIPOSERVICO = 2.5;
  EXPECT_EQ(Failure([&] { Area().IncluirServicosPrestadosSPED_EFD(r); }),
            "Exception: O código CODTIPOSERVICO deve ser um número inteiro não negativo (recebido 2.5).");
  EXPECT_EQ(Scalar(std::string("SELECT COUNT(*) FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = ") + kServico), "0");
}

TEST_F(ServicosPrestadosSPEDTest, AnswersTheSuppliersCprbFlagOrEmpty) {
  Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR, CONTRIBUINTEDOCPRB) VALUES (770011, 'F', 'S')");
  RFin_IncluirServicosPrestadosSPED_EFD r = Servico();
  r.CODFORNEC = 770011;
  EXPECT_EQ(Area().BuscarCONTRIBUINTEDOCPRB(r), "S");
  r.CODFORNEC = 770012;
  EXPECT_EQ(Area().BuscarCONTRIBUINTEDOCPRB(r), "");
}

}  // namespace
