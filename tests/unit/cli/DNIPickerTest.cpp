#include <gtest/gtest.h>

#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "Call.h"
#include "frame/Uclsfin_except.h"
#include "ops/DepositoNaoIdentificadoOps.h"

namespace {

using cli::LerDataCompensacao;
using cli::LerNumTransEscolhidos;
using cli::UsageError;

TEST(DNIPicker, PicksAreWholePositiveNumbersEachGivenOnce) {
  EXPECT_EQ(LerNumTransEscolhidos(" 12, 130 ,7"), (std::vector<double>{12, 130, 7}));
  for (const char* ruim : {"", " , ", "12,12", "12,012", "abc", "-5", "0", "1.5", "1e3", "12;13", "99999999999"}) {
    EXPECT_THROW((void)LerNumTransEscolhidos(ruim), UsageError) << ruim;
  }
}

TEST(DNIPicker, TheClearingDateIsACalendarDay) {
  EXPECT_EQ(LerDataCompensacao("2026-11-20"), TDateTime::EncodeDate(2026, 11, 20));
  for (const char* ruim : {"", "20/11/2026", "2026-13-01", "2026-02-30", "2026-11-20T10:00:00", "amanhã"}) {
    EXPECT_THROW((void)LerDataCompensacao(ruim), UsageError) << ruim;
  }
}

TJanelaSelecaoDNI Janela() {
  TJanelaSelecaoDNI janela;
  janela.Titulo = "Baixa de verbas com DNI";
  janela.Campos = {{"Banco", "12 - DNI"}, {"Valor", "100,00"}};
  janela.TituloDataCompensacao = "Data compensação";
  janela.TituloGrade = "Lista de DNIs";
  janela.Colunas = {{"SELECIONADO", "X"}, {"NUMTRANS", "Numtrans"}, {"VALORDISPONIVEL", "Valor disponível"}};
  janela.Linhas = {{12, {"N", "0000012", "70,00"}}, {13, {"N", "0000013", "50,00"}}};
  janela.BotaoConfirmar = "&Confirmar";
  janela.BotaoCancelar = "C&ancelar";
  return janela;
}

// A confirmation the settlement refuses is shown and asked again; bad input too; the second good
// answer settles.
TEST(DNIPicker, TheTerminalAsksAgainAfterAFailedConfirmation) {
  std::istringstream in("12\n2026-11-20\n12,x\n\n13,12\n2026-11-21\n");
  std::ostringstream out;
  std::vector<std::vector<double>> confirmados;
  const TModalResult resultado = cli::SelecionarDNIsNoTerminal(
      Janela(),
      [&](const TSelecaoDNI& selecao) {
        confirmados.push_back(selecao.NUMTRANS);
        if (selecao.NUMTRANS.size() < 2) throw ExErroAoBaixarVerbaComDNI("Total insuficiente.");
        EXPECT_EQ(selecao.DataCompensacao, TDateTime::EncodeDate(2026, 11, 21));
      },
      in, out);
  EXPECT_EQ(resultado, TModalResult::mrOk);
  EXPECT_EQ(confirmados, (std::vector<std::vector<double>>{{12}, {13, 12}}));
  const std::string tela = out.str();
  for (const char* texto : {"Baixa de verbas com DNI", "Banco: 12 - DNI", "Lista de DNIs", "Valor disponível",
                            "0000013", "Total insuficiente.", "\"x\" não é um numtrans", "Data compensação"}) {
    EXPECT_NE(tela.find(texto), std::string::npos) << texto;
  }
}

TEST(DNIPicker, AnEmptyAnswerOrTheEndOfInputCancels) {
  for (const char* entrada : {"\n", "", "12\n"}) {
    std::istringstream in(entrada);
    std::ostringstream out;
    bool confirmou = false;
    EXPECT_EQ(cli::SelecionarDNIsNoTerminal(
                  Janela(), [&](const TSelecaoDNI&) { confirmou = true; }, in, out),
              TModalResult::mrCancel);
    EXPECT_FALSE(confirmou);
  }
}

// A bad pick the command line passed the module stays a usage error after the module wrapped it.
TEST(DNIPicker, AWrappedUsageErrorIsStillExitTwo) {
  try {
    try {
      throw UsageError("--pick: o numtrans 99 não está na lista.");
    } catch (const std::exception& falha) {
      std::throw_with_nested(ExErroAoBaixarVerbaComDNI(falha.what()));
    }
  } catch (const std::exception& falha) {
    const cli::CallOutcome outcome = cli::FailureOutcome(falha);
    EXPECT_EQ(outcome.Exit, cli::kExitUsage);
    EXPECT_EQ(outcome.Answer["exception"], "UsageError");
    EXPECT_EQ(outcome.Answer["message"], "--pick: o numtrans 99 não está na lista.");
  }
}

}  // namespace
