#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ValesFixture.h"
#include "frame/Uconstantes.h"
#include "oradb/TOraQuery.h"
#include "sdk/ZTCore.h"

namespace {

using valestest::Textos;
using valestest::ValesTest;

// The reports read branch "7": vouchers of every kind of partner, one of them settled, and one
// voucher in branch "8".
class RelatorioVale : public ValesTest {
 protected:
  void SetUp() override {
    ValesTest::SetUp();
    Exec("UPDATE ZTEMPR SET CODSETOR = 5 WHERE MATRICULA = 7702");
    Exec("DELETE FROM ZTCONSUM");
    Exec("INSERT INTO ZTCONSUM (UTILIZACONTROLECAIXA, CODSETORMOTORISTA) VALUES ('N', 5)");
    Incluir(kFuncionario, "F", "D", 100, "7");
    Incluir(kFuncionario, "F", "C", 30, "7");
    Incluir(kMotorista, "M", "D", 45, "7");
    Incluir(kRCA, "R", "D", 50, "7");
    Incluir(kProfissional, "P", "C", 20, "7");
    Incluir(kRCA, "R", "D", 70, "8");
    const RFin_ParametrosInclusaoVale quitado = Incluir(kMotorista, "M", "C", 45, "7");
    RFin_ParamBaixaVale baixa = Baixa(quitado, 45);
    baixa.PAGOEMDINHEIRO = true;
    EXPECT_TRUE(Vales().BaixarValeIndividual(baixa, nullptr));
    FPasta = std::filesystem::temp_directory_path() / ("vales-spool-" + std::to_string(getpid()));
    std::filesystem::create_directories(FPasta);
    FProd = DiretorioProd(-1);
    FSpool = DiretorioSpool(-1);
    DefinirDiretorios(FProd, FPasta.string());
  }
  // Only the folder this fixture made is removed: after a set-up that stopped early the host's
  // spool is still its default, the working directory.
  void TearDown() override {
    if (!FPasta.empty()) {
      std::error_code ignorado;
      std::filesystem::remove_all(FPasta, ignorado);
      DefinirDiretorios(FProd, FSpool);
    }
    ValesTest::TearDown();
  }

  RFin_ParametrosInclusaoVale Incluir(double parceiro, const std::string& tipo, const std::string& natureza,
                                      double valor, const std::string& filial) {
    RFin_ParametrosInclusaoVale p = Inclusao(parceiro, tipo);
    p.NATUREZA = natureza;
    p.VALOR = valor;
    p.CODFILIAL = filial;
    EXPECT_TRUE(Vales().IncluirVale(p));
    return p;
  }

  // The visible rows of an open report, as the named columns joined by '|'.
  static Textos Colunas(TOraQuery& query, const Textos& nomes) {
    Textos linhas;
    for (query.First(); !query.Eof(); query.Next()) {
      std::string linha;
      for (const std::string& nome : nomes) linha += (linha.empty() ? "" : "|") + query.FieldByName(nome).AsString();
      linhas.push_back(linha);
    }
    return linhas;
  }

  bool Emissao(TOraQuery& q, TTipoParceiroVale tipo, TStatusParceiroVale status = TStatusParceiroVale::spTodos,
               TSituacaoVales situacao = TSituacaoVales::svAbertos, const std::string& filial = "7",
               const std::string& titulo = "VALES") {
    return Vales().EmissaoVales(q, filial, TPesquisaPeriodoVale::ppDataLancamento, Dia(1), Dia(31), tipo, 0, 0, 0, 0, 0,
                                TTipoOrdenacaoVale::toCodigoParceiro, status, titulo, situacao);
  }

  std::filesystem::path FPasta;
  std::string FProd;
  std::string FSpool;
};

// Open employee vouchers of the branch, by partner and nature, with the title as given and the
// balance credit minus debit; the statement run is kept in the spool folder.
TEST_F(RelatorioVale, IssueReportOfEmployeesIsSavedAndOrdered) {
  TOraQuery q(&Session());
  ASSERT_TRUE(Emissao(q, TTipoParceiroVale::tpFuncionario, TStatusParceiroVale::spTodos, TSituacaoVales::svAbertos, "7",
                      "VALES D'OESTE"));
  EXPECT_EQ(Colunas(q, {"TITULOVALE", "CODFUNC", "NOMEPACEIRO", "TIPOFUNC", "STATUS_PARCEIRO", "TIPOLANC",
                        "VALORDEBITO", "VALORCREDITO", "VALORSALDO", "HISTORICO", "CODSUPERVISOR"}),
            (Textos{"VALES D'OESTE|7701|JOSE DA SILVA|F|A|C|0|30|30|ADIANTAMENTO|0",
                    "VALES D'OESTE|7701|JOSE DA SILVA|F|A|D|100|0|-100|ADIANTAMENTO|0"}));
  std::ifstream arquivo(cDIRSPOOL() + "614_EXTRATO_EMISSAO_VALES.SQL", std::ios::binary);
  std::stringstream salvo;
  salvo << arquivo.rdbuf();
  EXPECT_EQ(salvo.str(), q.SQL.Text());
}

// Drivers are named within the drivers' sector, an inactive one marked; the status filter of the
// query keeps active or inactive partners.
TEST_F(RelatorioVale, InactiveDriverIsMarkedAndFilteredByStatus) {
  TOraQuery q(&Session());
  ASSERT_TRUE(Emissao(q, TTipoParceiroVale::tpMotorista, TStatusParceiroVale::spInativo, TSituacaoVales::svTodos));
  EXPECT_EQ(Colunas(q, {"NOMEPACEIRO", "STATUS_PARCEIRO", "TIPOLANC", "VALOR"}),
            (Textos{"CARLOS MOTORISTA (INATIVO)|I|C|45", "CARLOS MOTORISTA (INATIVO)|I|D|45"}));
  EXPECT_FALSE(Emissao(q, TTipoParceiroVale::tpMotorista, TStatusParceiroVale::spAtivo, TSituacaoVales::svTodos));
  ASSERT_TRUE(Emissao(q, TTipoParceiroVale::tpMotorista, TStatusParceiroVale::spTodos, TSituacaoVales::svBaixados));
  // The settling row is dated the day of the write-off, outside the period.
  EXPECT_EQ(Colunas(q, {"TIPOLANC", "VALOR"}), Textos{"C|45"});
}

// Representatives and professional representatives are both stored as "R": the report tells them
// apart by ZTUSUARI.TIPOVEND, and a supervisor's report names the supervisor.
TEST_F(RelatorioVale, RepresentativesAreToldApartFromProfessionals) {
  TOraQuery q(&Session());
  ASSERT_TRUE(Emissao(q, TTipoParceiroVale::tpRCA));
  EXPECT_EQ(Colunas(q, {"CODFUNC", "NOMEPACEIRO", "TIPOFUNC", "STATUS_PARCEIRO"}),
            Textos{"7703|ANA REPRESENTANTE|R|A"});
  ASSERT_TRUE(Emissao(q, TTipoParceiroVale::tpProfissional));
  EXPECT_EQ(Colunas(q, {"CODFUNC", "NOMEPACEIRO", "TIPOFUNC", "STATUS_PARCEIRO"}),
            Textos{"7704|PAULO PROFISSIONAL|P|I"});
  ASSERT_TRUE(Vales().EmissaoVales(
      q, "99", TPesquisaPeriodoVale::ppDataLancamento, TDateTime(), TDateTime(), TTipoParceiroVale::tpSupervisor, 77, 0,
      0, 0, 0, TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos, "", TSituacaoVales::svAbertos));
  // Branch "99" is every branch.
  EXPECT_EQ(Colunas(q, {"CODFILIAL", "CODFUNC", "CODSUPERVISOR", "NOMESUPERVISOR", "VALOR"}),
            (Textos{"7|7703|77|SUPERVISORA SUL|50", "8|7703|77|SUPERVISORA SUL|70"}));
}

// The synthetic extract adds each partner's rows up; with "balance other than zero" a partner
// whose vouchers cancel out is left out.
TEST_F(RelatorioVale, SyntheticExtractSumsEachPartner) {
  TOraQuery q(&Session());
  const auto extrato = [&](TTipoParceiroVale tipo, bool saldo) {
    return Vales().ExtratoVales(q, "7", TPesquisaPeriodoVale::ppDataLancamento, Dia(1), Dia(31), tipo, 0, 0,
                                TTipoRelatorioExtratoVale::teSintetico, TTipoOrdenacaoVale::toCodigoParceiro,
                                TStatusParceiroVale::spTodos, saldo, TSituacaoVales::svTodos, 0, 0);
  };
  ASSERT_TRUE(extrato(TTipoParceiroVale::tpFuncionario, false));
  EXPECT_EQ(Colunas(q, {"CODTIPOFUNC", "NOMEPACEIRO", "QTD", "VALORDEBITOS", "VALORCREDITOS", "VALORSALDO"}),
            Textos{"7701F|JOSE DA SILVA|2|100|30|-70"});
  ASSERT_TRUE(extrato(TTipoParceiroVale::tpProfissional, true));
  EXPECT_EQ(Colunas(q, {"CODTIPOFUNC", "QTD", "VALORSALDO"}), Textos{"7704P|1|20"});
  // The driver's settled voucher: its credit and the settling debit cancel out.
  const auto analitico = [&](bool saldo) {
    return Vales().ExtratoVales(q, "7", TPesquisaPeriodoVale::ppDataLancamento, TDateTime(), TDateTime(),
                                TTipoParceiroVale::tpMotorista, 0, 0, TTipoRelatorioExtratoVale::teAnalitico,
                                TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos, saldo,
                                TSituacaoVales::svBaixados, 0, 0);
  };
  ASSERT_TRUE(analitico(false));
  EXPECT_EQ(Colunas(q, {"TIPOLANC", "VALORSALDO"}), (Textos{"C|45", "D|-45"}));
  EXPECT_FALSE(analitico(true));
  // An extract type the reports do not know builds nothing.
  EXPECT_FALSE(Vales().ExtratoVales(q, "7", TPesquisaPeriodoVale::ppDataLancamento, Dia(1), Dia(31),
                                    TTipoParceiroVale::tpMotorista, 0, 0, static_cast<TTipoRelatorioExtratoVale>(2),
                                    TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos, false,
                                    TSituacaoVales::svTodos, 0, 0));
}

TEST_F(RelatorioVale, RefusesReversedRangesAndWrapsOtherFailures) {
  TOraQuery q(&Session());
  const auto emissao = [&](TDateTime inicio, TDateTime fim, double primeiro, double ultimo) {
    Vales().EmissaoVales(q, "7", TPesquisaPeriodoVale::ppDataVencimento, inicio, fim, TTipoParceiroVale::tpFuncionario,
                         0, 0, 0, primeiro, ultimo, TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos,
                         "", TSituacaoVales::svTodos);
  };
  EXPECT_FAILS_WITH(emissao(Dia(2), Dia(1), 0, 0),
                    "ExIntervaloDatasInvalida: A data inicial não pode ser maior que a data final.");
  EXPECT_FAILS_WITH(
      emissao(TDateTime(), TDateTime(), 9, 8),
      "ExNumeroValeInicialMaiorNumeroValeFinal: O número do vale inicial não pode ser maior que o final.");
  EXPECT_FAILS_WITH(Vales().ExtratoVales(q, "7", TPesquisaPeriodoVale::ppDataLancamento, Dia(2), Dia(1),
                                         TTipoParceiroVale::tpFuncionario, 0, 0, TTipoRelatorioExtratoVale::teAnalitico,
                                         TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos, false,
                                         TSituacaoVales::svTodos, 0, 0),
                    "ExIntervaloDatasInvalida: A data inicial não pode ser maior que a data final.");
  DefinirDiretorios(FProd, "/proc/sem-spool");
  EXPECT_FAILS_WITH(
      emissao(TDateTime(), TDateTime(), 0, 0),
      "Exception: Ocorreu um erro durante o processo de emissão de vale. \rNão foi possível gravar o arquivo "
      "/proc/sem-spool/614_EXTRATO_EMISSAO_VALES.SQL.");
}

}  // namespace
