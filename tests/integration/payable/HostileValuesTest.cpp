#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>

#include "PayableFixture.h"

// Values that are not what they look like: an amount that rounds to zero is a zero value, record
// numbers and partners must be real ones. Each is refused before anything is written.
namespace {

struct Caso {
  const char* Nome;
  std::function<void(RFin_IncluirContasPagar&)> Ajuste;
  const char* Classe;
  const char* Mensagem;
};

// A case prints as its name, in test listings and failure reports.
void PrintTo(const Caso& c, std::ostream* out) {
  *out << c.Nome;
}

class PayableHostileValue : public payabletest::PayableTest, public ::testing::WithParamInterface<Caso> {};

INSTANTIATE_TEST_SUITE_P(
    Values, PayableHostileValue,
    ::testing::Values(
        Caso{"ValueRoundingToZero", [](RFin_IncluirContasPagar& r) { r.VALOR = 0.004; }, "ExValorZerado", nullptr},
        Caso{"ValueBelowTheSmallestDouble", [](RFin_IncluirContasPagar& r) { r.VALOR = 5e-324; }, "ExValorZerado",
             nullptr},
        Caso{"RecnumZero", [](RFin_IncluirContasPagar& r) { r.RECNUM = 0; }, "ExRecNumVazio", nullptr},
        Caso{"RecnumNegative", [](RFin_IncluirContasPagar& r) { r.RECNUM = -1; }, "ExRecNumVazio", nullptr},
        Caso{"RecnumBelowThirtyTwoBits", [](RFin_IncluirContasPagar& r) { r.RECNUM = -2147483649.0; }, "ExRecNumVazio",
             nullptr},
        Caso{"RecnumWithAFraction", [](RFin_IncluirContasPagar& r) { r.RECNUM = 650000.5; }, "Exception",
             "O número do registro (RECNUM) deve ser um número inteiro: 650000.5."},
        Caso{"PartnerSlightlyNegative", [](RFin_IncluirContasPagar& r) { r.CODFORNEC = -0.001; },
             "ExCodigoParceiroNaoInformado", nullptr},
        Caso{"PartnerWithAFraction", [](RFin_IncluirContasPagar& r) { r.CODFORNEC = 501.5; }, "Exception",
             "O código do parceiro (CODFORNEC) deve ser um número inteiro: 501.5."}),
    [](const ::testing::TestParamInfo<Caso>& info) { return info.param.Nome; });

TEST_P(PayableHostileValue, IsRefusedAndNothingIsWritten) {
  RFin_IncluirContasPagar registro = Valida();
  const double recnum_valido = registro.RECNUM;
  GetParam().Ajuste(registro);
  const std::string falha = testsupport::Failure([&] { ContasPagar().Incluir(registro); });
  if (GetParam().Mensagem != nullptr) {
    EXPECT_EQ(falha, std::string(GetParam().Classe) + ": " + GetParam().Mensagem);
  } else {
    EXPECT_EQ(falha.substr(0, falha.find(": ")), GetParam().Classe) << falha;
  }
  EXPECT_EQ(Linhas("ZTLANC", recnum_valido), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANC WHERE RECNUM <= 0 OR RECNUM = 650001"), 0);
}

// An amount with three decimals is stored as the module rounds it.
TEST_F(PayableHostileValue, AnAmountIsStoredAsTheModuleRoundsIt) {
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = 1.005;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Valores("ZTLANC", registro.RECNUM, {"VALOR"}), payabletest::Textos{ShortestDecimal(RoundTo(1.005, 2))});
}

}  // namespace
