#include <map>
#include <set>
#include <string>

#include "PayableFixture.h"
#include "payable/Uclsfin_dalcontaspagar.h"

namespace payabletest {
namespace {

std::string Repetir(const std::string& texto, int vezes) {
  std::string resultado;
  for (int i = 0; i < vezes; ++i) resultado += texto;
  return resultado;
}

class PayablePosting : public PayableTest {
 protected:
  [[nodiscard]] std::string Valor(const std::string& coluna, double recnum, const std::string& tabela = "ZTLANC") {
    return Scalar("SELECT " + coluna + " FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum));
  }
};

TEST_F(PayablePosting, MinimalEntryIsStoredWithTheModulesOwnValues) {
  Host().SetCodigoRotina(1234);
  Host().SetTexto("Registro gravado.");
  RFin_IncluirContasPagar registro = Valida();
  registro.FORNECEDOR = std::string(20, 'X') + Repetir("Ç", 60);  // 80 characters, 140 bytes
  registro.CODROTINABAIXA = 631;
  registro.CODROTINAALT = "TESTE";
  ASSERT_TRUE(ContasPagar().Incluir(registro));

  // The branch does not work with cost centers: the cost-center area answers no rows.
  EXPECT_EQ(registro.MENSAGEM, "Registro gravado.Porém, não foi possível incluir o centro de custo.");
  EXPECT_EQ(Valor("INDICE", registro.RECNUM), "A");
  EXPECT_EQ(Valor("UTILIZOURATEIOCONTA", registro.RECNUM), "N");
  EXPECT_EQ(Valor("NFSERVICO", registro.RECNUM), "N");
  EXPECT_EQ(Valor("CODROTINACAD", registro.RECNUM), "1234");
  EXPECT_EQ(Valor("CODROTINABAIXA", registro.RECNUM), "1234");
  EXPECT_EQ(Valor("CODROTINAALT", registro.RECNUM), "");
  EXPECT_EQ(Valor("DTCOTACAO", registro.RECNUM), "");
  EXPECT_EQ(Valor("DTAGENDAMENTO", registro.RECNUM), "");
  EXPECT_EQ(Valor("FORNECEDOR", registro.RECNUM), std::string(20, 'X') + Repetir("Ç", 40));
  EXPECT_EQ(ScalarNumber("SELECT VALOR FROM ZTLANC WHERE RECNUM = " + ShortestDecimal(registro.RECNUM)), 100);
  EXPECT_EQ(Valor("TO_CHAR(DTVENC, 'YYYY-MM-DD')", registro.RECNUM), "2030-05-20");
}

TEST_F(PayablePosting, NegativeValueIsWrittenNegativeAccountIsNot) {
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = -35.5;
  registro.CODCONTA = -3101;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(ScalarNumber("SELECT VALOR FROM ZTLANC WHERE RECNUM = " + ShortestDecimal(registro.RECNUM)), -35.5);
  EXPECT_EQ(Valor("CODCONTA", registro.RECNUM), "");
}

TEST_F(PayablePosting, AColumnFedByTwoFieldsTakesItsOwnField) {
  RFin_IncluirContasPagar ambos = Valida();
  ambos.NUMNEGOCIACAO = 5;
  ambos.NUMNEGOCIACAO2 = 77;
  ambos.CODCOBSEFAZ = "DARE";
  ambos.CODCOBSEFAZ2 = "GNRE";
  ASSERT_TRUE(ContasPagar().Incluir(ambos));
  EXPECT_EQ(Valor("NUMNEGOCIACAO", ambos.RECNUM), "5");
  EXPECT_EQ(Valor("CODCOBSEFAZ", ambos.RECNUM), "DARE");

  RFin_IncluirContasPagar antigo = Valida();
  antigo.NUMNEGOCIACAO2 = 77;
  antigo.CODCOBSEFAZ2 = "GNRE";
  ASSERT_TRUE(ContasPagar().Incluir(antigo));
  EXPECT_EQ(Valor("NUMNEGOCIACAO", antigo.RECNUM), "77");
  EXPECT_EQ(Valor("CODCOBSEFAZ", antigo.RECNUM), "GNRE");
}

TEST_F(PayablePosting, DatabaseFailureBecomesAPlainExceptionWithItsMessage) {
  RFin_IncluirContasPagar primeira = Valida();
  ASSERT_TRUE(ContasPagar().Incluir(primeira));
  RFin_IncluirContasPagar repetida = Valida();
  repetida.RECNUM = primeira.RECNUM;
  try {
    ContasPagar().Incluir(repetida);
    ADD_FAILURE() << "RECNUM repetido foi aceito";
  } catch (const Exception& erro) {
    EXPECT_STREQ(erro.ClassName(), "Exception");
    EXPECT_NE(erro.Message().find("ORA-00001"), std::string::npos) << erro.Message();
    EXPECT_EQ(repetida.MENSAGEM, "Erro ao inserir registros!\r" + erro.Message());
  }
}

TEST_F(PayablePosting, EntryIsHandedToTheCostCenterArea) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = 250.75;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  ASSERT_EQ(centro_custo.Chamadas.size(), 1U);
  const ChamadaCentroCusto& chamada = centro_custo.Chamadas[0];
  EXPECT_EQ(chamada.CodFilial, "1");
  EXPECT_EQ(chamada.CodConta, "3101");
  EXPECT_EQ(chamada.NumTransacao, registro.RECNUM);
  EXPECT_EQ(chamada.ValorLancto, 250.75);
  EXPECT_EQ(chamada.DataLancto, Dia(10));
  EXPECT_EQ(chamada.ContraPartida, "N");
  EXPECT_FALSE(chamada.LancarZTLancBloq);
}

TEST_F(PayablePosting, CostCentersAreNotAskedForAnEntryThatClonesItsPrincipal) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  centro_custo.Clone = true;
  RFin_IncluirContasPagar registro = Valida();
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_TRUE(centro_custo.Chamadas.empty());
}

TEST_F(PayablePosting, CostCentersNotSavedAreReportedInTheMessage) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  centro_custo.Resposta = false;
  Host().SetTexto("Registro gravado. ");
  RFin_IncluirContasPagar registro = Valida();
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(registro.MENSAGEM, "Registro gravado. Porém, não foi possível incluir o centro de custo.");
}

TEST_F(PayablePosting, CostCenterFailureAfterTheInsertLeavesTheRollbackToTheCaller) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  centro_custo.Falha = "Centro de custo inativo.";
  RFin_IncluirContasPagar registro = Valida();
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "Exception", "Centro de custo inativo.");
  EXPECT_EQ(registro.MENSAGEM, "Erro ao inserir registros!\rCentro de custo inativo.");
  ASSERT_EQ(ContasPagar().GetValidador().Count(), 1U);
  EXPECT_EQ(ContasPagar().GetValidador()[0], "Centro de custo inativo.");
  // The entry is in the caller's transaction until the caller rolls back.
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
  Session().Rollback();
  Session().StartTransaction();
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 0);
}

TEST_F(PayablePosting, EntriesAreReadBackWithThePartnersName) {
  Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (601, 'MERCADO BOA VISTA')");
  Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME) VALUES (701, 'CARLOS REPRESENTANTE')");
  Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (801, 'JOAO MOTORISTA', 'JOAO')");
  RFin_IncluirContasPagar fornecedor = Valida();
  fornecedor.FORNECEDOR = "NOME DIGITADO";
  RFin_IncluirContasPagar outro = Valida();
  outro.TIPOPARCEIRO = "O";
  outro.CODFORNEC = 0;
  outro.FORNECEDOR = "PRESTADOR AVULSO";
  RFin_IncluirContasPagar cliente = Valida();
  cliente.TIPOPARCEIRO = "C";
  cliente.CODFORNEC = 601;
  RFin_IncluirContasPagar rca = Valida();
  rca.TIPOPARCEIRO = "R";
  rca.CODFORNEC = 701;
  RFin_IncluirContasPagar funcionario = Valida();
  funcionario.TIPOPARCEIRO = "M";
  funcionario.CODFORNEC = 801;
  funcionario.HISTORICO = "ADIANTAMENTO DE VIAGEM";
  funcionario.DTCOMPETENCIA = Dia(3);
  for (auto* registro : {&fornecedor, &outro, &cliente, &rca, &funcionario})
    ASSERT_TRUE(ContasPagar().Incluir(*registro));

  const auto lidos = ContasPagar().GetListaLancamento(
      ShortestDecimal(funcionario.RECNUM) + "," + ShortestDecimal(fornecedor.RECNUM) + ", " +
      ShortestDecimal(outro.RECNUM) + "," + ShortestDecimal(cliente.RECNUM) + "," + ShortestDecimal(rca.RECNUM));
  ASSERT_EQ(lidos.size(), 5U);
  std::map<double, const RFin_IncluirContasPagar*> por_recnum;
  for (const auto& lido : lidos) {
    EXPECT_TRUE(lido.Inicializado);
    por_recnum[lido.RECNUM] = &lido;
  }
  EXPECT_EQ(por_recnum.at(fornecedor.RECNUM)->FORNECEDOR, "PAPELARIA CENTRAL LTDA");
  EXPECT_EQ(por_recnum.at(outro.RECNUM)->FORNECEDOR, "PRESTADOR AVULSO");
  EXPECT_EQ(por_recnum.at(cliente.RECNUM)->FORNECEDOR, "MERCADO BOA VISTA");
  EXPECT_EQ(por_recnum.at(rca.RECNUM)->FORNECEDOR, "CARLOS REPRESENTANTE");
  const RFin_IncluirContasPagar& lido = *por_recnum.at(funcionario.RECNUM);
  EXPECT_EQ(lido.FORNECEDOR, "JOAO MOTORISTA");
  EXPECT_EQ(lido.HISTORICO, "ADIANTAMENTO DE VIAGEM");
  EXPECT_EQ(lido.VALOR, 100);
  EXPECT_EQ(lido.CODCONTA, kConta);
  EXPECT_EQ(lido.DTVENC, Dia(20));
  EXPECT_EQ(lido.DTCOMPETENCIA, Dia(3));
  EXPECT_EQ(lido.DTAGENDAMENTO, TDateTime());
  EXPECT_EQ(lido.INDICE, "A");

  EXPECT_TRUE(ContasPagar().GetListaLancamento("").empty());
  EsperarFalha([&] { (void)ContasPagar().GetListaLancamento("1) OR (1 = 1"); }, "Exception",
               "Valor inválido na lista de ZTLANC.RECNUM: \"1) OR (1 = 1\".");
}

TEST_F(PayablePosting, OpenTitlesOfAnInvoiceAreListedOnlyWhenTheyAddUpToItsTotal) {
  Host().SetCodigoRotina(1301);
  RFin_IncluirContasPagar primeira = Valida();
  primeira.NUMTRANSENT = 555;
  primeira.VALOR = 100.10;
  RFin_IncluirContasPagar segunda = Valida();
  segunda.NUMTRANSENT = 555;
  segunda.VALOR = 199.90;
  ASSERT_TRUE(ContasPagar().Incluir(primeira));
  ASSERT_TRUE(ContasPagar().Incluir(segunda));
  EXPECT_EQ(ContasPagar().GetListaRecNum(555),
            ShortestDecimal(primeira.RECNUM) + "," + ShortestDecimal(segunda.RECNUM));
  EXPECT_EQ(ContasPagar().GetListaRecNum(556), "");

  // A title on a bordero is no longer open: the rest no longer adds up to the invoice.
  Exec("UPDATE ZTLANC SET NUMBORDERO = 9 WHERE RECNUM = " + ShortestDecimal(segunda.RECNUM));
  EXPECT_EQ(ContasPagar().GetListaRecNum(555), "");
}

TEST_F(PayablePosting, TheSelectReadsEveryColumnTheTableHas) {
  TDALContasPagar& dal = ContasPagar().GetDALContasPagar();
  std::set<std::string> tabela(dal.ColunasTabelaZTLANC().begin(), dal.ColunasTabelaZTLANC().end());
  std::set<std::string> registro;
  for (const auto& campo : ColunasZTLANC()) registro.insert(campo.Name);
  EXPECT_EQ(tabela, registro);
  EXPECT_EQ(&dal, &ContasPagar().GetDALContasPagar());
}

TEST_F(PayablePosting, FacadeKeepsOneSubModule) {
  IFin_ContasPagar* primeira = Financeiro().GetContasPagar();
  EXPECT_EQ(primeira, Financeiro().GetContasPagar());
}

TEST_F(PayablePosting, ParametersComeFromTheStoreOnEveryReadOutsideExplicitMode) {
  TContasPagar& contas_pagar = ContasPagar();
  contas_pagar.SetNUMDIASMINDESPPAG_1393(99);
  contas_pagar.SetGERARDESPESAAOBAIXARDESCNA409_2349("X");
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  SetParametro("GERARDESPESAAOBAIXARDESCNA409", "S");
  EXPECT_EQ(contas_pagar.GetNUMDIASMINDESPPAG_1393(), 15);
  EXPECT_EQ(contas_pagar.GetGERARDESPESAAOBAIXARDESCNA409_2349(), "S");
  SetParametro("CON_NUMDIASMINDESPPAG", "20");
  EXPECT_EQ(contas_pagar.GetNUMDIASMINDESPPAG_1393(), 20);
  EXPECT_EQ(contas_pagar.GetCODCONTAFALTACAIXA_1207(), 0);
  SetParametro("CODCONTAFALTACAIXA", "4410");
  EXPECT_EQ(contas_pagar.GetCODCONTAFALTACAIXA_1207(), 4410);
}

TEST_F(PayablePosting, ExplicitModeReadsOnlyWhatTheSettersGave) {
  Host().SetParametrosExplicitos(true);
  SetParametro("CON_NUMDIASMAXEMISSAOCP", "30");
  SetParametro("LANCARDESPDESCAUTOMATIC", "S");
  TContasPagar& contas_pagar = ContasPagar();
  EXPECT_EQ(contas_pagar.GetNUMDIASMAXEMISSAOCP_1957(), 0);
  EXPECT_EQ(contas_pagar.GetLANCARDESPDESCAUTOMATIC_2421(), "");
  contas_pagar.SetNUMDIASMAXEMISSAOCP_1957(7);
  contas_pagar.SetLANCARDESPDESCAUTOMATIC_2421("N");
  contas_pagar.SetCODCONTASOBRACAIXA_1210(3301);
  EXPECT_EQ(contas_pagar.GetNUMDIASMAXEMISSAOCP_1957(), 7);
  EXPECT_EQ(contas_pagar.GetLANCARDESPDESCAUTOMATIC_2421(), "N");
  EXPECT_EQ(contas_pagar.GetCODCONTASOBRACAIXA_1210(), 3301);

  // The issue-date window follows the explicit 7 days, not the store's 30.
  RFin_IncluirContasPagar registro = Valida();
  registro.DTEMISSAO = registro.DTLANC - 8;
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExDataEmissaoInferiorPermitidoParam1957",
               "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132.");
  registro.DTEMISSAO = registro.DTLANC - 7;
  EXPECT_TRUE(ContasPagar().Incluir(registro));
}

}  // namespace
}  // namespace payabletest
