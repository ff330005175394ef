#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "DesdobramentoFixture.h"
#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "cancelsplit/Uclsfin_validacaodesdobramento.h"
#include "sdk/fin/TRegistroDesdobramento.h"

namespace {

namespace M = MensagensValidacao;
using Mensagens = std::map<std::string, std::string>;

// Titles of sales 65200 and up.
class ValidacaoDesdobramentoTest : public cancelsplit_it::DesdobramentoTest {
 protected:
  // The reasons of the selected titles' cancellation, by title.
  Mensagens Validar(const TArrayOfRegistro& selecionados, bool a_maior = false) {
    FCanc = dynamic_cast<TCancelarDesdobramento*>(Financeiro().CancelarDesdobramento(tmZTPrest));
    EXPECT_NE(FCanc, nullptr);
    FCanc->Carregar(selecionados, true, a_maior);
    const TArrayOfRegistro afetados = FCanc->Afetados(selecionados);
    Mensagens mensagens;
    for (const TAcaoImpeditivaPtr& acao : FCanc->Validar(afetados, FCanc->Raizes(afetados))) {
      EXPECT_NE(dynamic_cast<const TAcaoImpeditivaDesdEstruturasInvalidasZTPrest*>(acao.get()), nullptr);
      mensagens[acao->Registro->Descricao()] = acao->Mensagem;
    }
    return mensagens;
  }

  TCancelarDesdobramento* FCanc = nullptr;  // the facade's
};

TEST_F(ValidacaoDesdobramentoTest, SoundSplitPassesAndItsSetsAreFound) {
  Dividir(65201, 100, {60, 40});
  EXPECT_EQ(Validar({T(65201)}), Mensagens{});
  const TArrayOfRegistro afetados = FCanc->Afetados({T(65201)});
  ASSERT_EQ(afetados.size(), 3u);
  EXPECT_EQ(afetados[0]->Descricao(), "65202-1");
  EXPECT_EQ(afetados[2]->Descricao(), "65201-1");
  const TArrayOfRegistro raizes = FCanc->Raizes(afetados);
  ASSERT_EQ(raizes.size(), 1u);
  EXPECT_EQ(raizes[0]->Descricao(), "65201-1");
  EXPECT_EQ(FCanc->obterMaiorGeracao(*T(65203)), 1);
  EXPECT_EQ(FCanc->Passo(), TPasso::tpCarregado);
}

TEST_F(ValidacaoDesdobramentoTest, InconsistentRelativesKeepTheirTextsAsTheHostShowsThem) {
  // 65211 and 65212 both split into 65213; 65212 also into 65214.
  Desdobrado(65211, 50);
  Desdobrado(65212, 50);
  Titulo(65213, 60);
  Titulo(65214, 40);
  Ligar(65211, 65213);
  Ligar(65212, 65213);
  Ligar(65212, 65214);
  const Mensagens m = Validar({T(65211)});
  EXPECT_EQ(m.at("65211-1"), M::kConjugues);
  EXPECT_EQ(m.at("65212-1"), M::kConjugues);
  // 65213 has siblings of its own origins only; it fails later, on the values (60 born of 100).
  EXPECT_EQ(m.at("65213-1"), M::kValores);
  EXPECT_EQ(m.at("65214-1"), M::kIrmaos);
}

TEST_F(ValidacaoDesdobramentoTest, CycleFailsForEveryTitleOnItAndEnds) {
  Desdobrado(65221, 100);
  Desdobrado(65222, 100);
  Ligar(65221, 65222);
  Ligar(65222, 65221);
  EXPECT_EQ(Validar({T(65221)}), (Mensagens{{"65221-1", M::kCircular}, {"65222-1", M::kCircular}}));
  EXPECT_GE(FCanc->obterMaiorGeracao(*T(65221)), 0);  // ends on the cycle
}

TEST_F(ValidacaoDesdobramentoTest, EachTitleCheckFailsAlone) {
  // A root split by a routine that keeps no copy.
  Titulo(65231, 100, ", DTPAG", ", TRUNC(SYSDATE)");
  Exec("UPDATE ZTPREST SET CODCOB = 'DESD' WHERE NUMTRANSVENDA = 65231");
  Titulo(65232, 100);
  Ligar(65231, 65232);
  EXPECT_EQ(Validar({T(65231)}), (Mensagens{{"65231-1", M::kSemReplica}}));

  // A root reversed by routine 1209; the same reversal on a title with an origin passes.
  Dividir(65241, 100, {100});
  Exec("UPDATE ZTPREST SET DTESTORNO = TRUNC(SYSDATE) WHERE NUMTRANSVENDA IN (65241, 65242)");
  EXPECT_EQ(Validar({T(65241)}), (Mensagens{{"65241-1", M::k1209}}));

  // Values that do not add up: 100 split into 60 and 30.
  Dividir(65251, 100, {60, 30});
  EXPECT_EQ(Validar({T(65251)}),
            (Mensagens{{"65251-1", M::kValores}, {"65252-1", M::kValores}, {"65253-1", M::kValores}}));

  // A title negotiated with vendor financing, and one paid by the customer.
  Desdobrado(65261, 100);
  Titulo(65262, 50, ", NUMTRANSVENDOR, DTFECHAVENDOR", ", 77, TRUNC(SYSDATE)");
  Titulo(65263, 50, ", DTPAG", ", TRUNC(SYSDATE)");
  Ligar(65261, 65262);
  Ligar(65261, 65263);
  EXPECT_EQ(Validar({T(65261)}), (Mensagens{{"65262-1", M::Vendor("5262", "1")}, {"65263-1", M::kBaixadoPrest}}));
  EXPECT_EQ(M::Vendor("5262", "1"),
            "O título 5262-1 não pode ser desdobrado porque foi feita sua negociação de Vendor/Desconto nas rotinas "
            "1234 e 1238!");
}

TEST_F(ValidacaoDesdobramentoTest, SettledCreditsOfAnExcessSplitAreNamed) {
  // 100 split into 60 and 60: the excess became credits 965271 (used by a sale) and 965272 (open).
  Dividir(65271, 100, {60, 60}, "1", "CRED");
  Exec(
      "INSERT INTO ZTCRECLI (CODIGO, CODCLI, NUMTRANSVENDA, PRESTORIG, VALOR, NUMTRANSVENDADESC) VALUES (965271, "
      "8201, 65271, '1', 10, 999)");
  Exec("INSERT INTO ZTCRECLI (CODIGO, CODCLI, NUMTRANSVENDA, PRESTORIG, VALOR) VALUES (965272, 8201, 65271, '1', 10)");
  EXPECT_EQ(Validar({T(65271)}, true),
            (Mensagens{{"65271-1", "Os Créditos '965271' vinculados a este título já foram baixados!"}}));
}

TEST_F(ValidacaoDesdobramentoTest, MissingTitlesAreNamedAndQuotedInstalmentsAreReadAsText) {
  // An instalment holding a quote is sent as one literal: the title is found, nothing breaks.
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR, CODCOB) VALUES (65281, 'A''', 10, 'DESD')");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR, CODCOB) VALUES (65282, '1', 10, 'BK')");
  Exec(
      "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (65281, 'A''', 65282, "
      "'1')");
  auto* canc = dynamic_cast<TCancelarDesdobramento*>(Financeiro().CancelarDesdobramento(tmZTPrest));
  ASSERT_NE(canc, nullptr);
  canc->Carregar(std::make_shared<TRegistroZtPrest>(65281, "A'"), true, false);
  EXPECT_EQ(canc->DAOModo().Obter("VALOR", TRegistroZtPrest(65281, "A'"), 0.0), 10);

  // A link to titles that are gone stops the load and leaves the run failed.
  Exec(
      "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (65282, '1', 65283, "
      "'1')");
  Exec(
      "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (65282, '1', 65284, "
      "'2')");
  try {
    canc->Carregar(std::make_shared<TRegistroZtPrest>(65281, "A'"), true, false);
    FAIL() << "carregou";
  } catch (const Exception& e) {
    EXPECT_EQ(
        e.Message(),
        "Não é possível continuar, pois o(s) seguinte(s) registro(s) não existe(m) na ZTPREST: \n65283-1\n65284-2\n");
  }
  EXPECT_EQ(canc->Passo(), TPasso::tpFalhou);
}

// Payable entries 965300 and up: a split entry (DTDESD set, with its copy) and the entries born of it.
class ValidacaoLancamentoTest : public cancelsplit_it::DesdobramentoTest {
 protected:
  void Lancamento(long long recnum, double valor, const std::string& colunas = "", const std::string& valores = "") {
    Exec("INSERT INTO ZTLANC (RECNUM, VALOR" + colunas + ") VALUES (" + std::to_string(recnum) + ", " +
         std::to_string(valor) + valores + ")");
  }
  void Desdobrado(long long recnum, double valor) {
    Lancamento(recnum, valor, ", DTDESD", ", TRUNC(SYSDATE)");
    Exec("INSERT INTO ZTDESDLANCOPERACAO (RECNUM, VALOR, OPERACAODESD) VALUES (" + std::to_string(recnum) + ", " +
         std::to_string(valor) + ", 'NORMAL')");
  }
  Mensagens Validar(long long selecionado) {
    auto* canc = dynamic_cast<TCancelarDesdobramento*>(Financeiro().CancelarDesdobramento(tmZTLanc));
    EXPECT_NE(canc, nullptr);
    const TArrayOfRegistro selecao{std::make_shared<TRegistroZTLanc>(selecionado)};
    canc->Carregar(selecao, true, true);
    const TArrayOfRegistro afetados = canc->Afetados(selecao);
    Mensagens mensagens;
    for (const TAcaoImpeditivaPtr& acao : canc->Validar(afetados, canc->Raizes(afetados))) {
      EXPECT_NE(dynamic_cast<const TAcaoImpeditivaDesdEstruturasInvalidasZTLanc*>(acao.get()), nullptr);
      mensagens[acao->Registro->Descricao()] = acao->Mensagem;
    }
    return mensagens;
  }
};

TEST_F(ValidacaoLancamentoTest, PaidEntriesAndAllowancesBlockTheirRun) {
  Desdobrado(965301, 100);
  Lancamento(965302, 60);
  Lancamento(965303, 40, ", DTPAGTO, CODFUNCBAIXA", ", TRUNC(SYSDATE), 1");
  LigarLancamentos(965301, 965302);
  LigarLancamentos(965301, 965303);
  EXPECT_EQ(Validar(965301), (Mensagens{{"965303", M::kBaixadoLanc}}));

  // An allowance tied to one entry blocks every entry of the run, naming that entry.
  Desdobrado(965311, 100);
  Lancamento(965312, 60, ", DESCONTOFIN", ", 5");
  Lancamento(965313, 40);
  LigarLancamentos(965311, 965312);
  LigarLancamentos(965311, 965313);
  Exec("INSERT INTO ZTMOVCRFOR (NUMVERBA, NUMLANC, TIPO, VALOR) VALUES (1, 965312, 'D', 5)");
  const std::string verba = M::Verba("965312");
  EXPECT_EQ(Validar(965311), (Mensagens{{"965311", verba}, {"965312", verba}, {"965313", verba}}));
  EXPECT_EQ(verba, "O lançamento (965312) não poderá ser cancelado, pois está vinculado a verba de fornecedor!");
  // Once the allowance balances out, nothing blocks.
  Exec("INSERT INTO ZTMOVCRFOR (NUMVERBA, NUMLANC, TIPO, VALOR) VALUES (1, 965312, 'C', 5)");
  EXPECT_EQ(Validar(965311), Mensagens{});
}

}  // namespace
