#include <map>
#include <set>
#include <string>
#include <tuple>

#include "PayableFixture.h"
#include "payable/Uclsfin_dalcontaspagar.h"

namespace payabletest {
namespace {

using PayablePosting = PayableTest;

// A column fed by two fields takes its own field, the older one only when its own is unset.
TEST_F(PayablePosting, EntryIsStoredWithTheModulesOwnValues) {
  Host().SetCodigoRotina(1234);
  Host().SetTexto("Registro gravado.");
  RFin_IncluirContasPagar registro = Valida();
  registro.FORNECEDOR = std::string(20, 'X') + Repetir("Ç", 60);  // 80 characters, 140 bytes
  registro.CODROTINABAIXA = 631;
  registro.CODROTINAALT = "TESTE";
  registro.NUMNEGOCIACAO = 5;
  registro.NUMNEGOCIACAO2 = 77;
  registro.CODCOBSEFAZ2 = "GNRE";
  ASSERT_TRUE(ContasPagar().Incluir(registro));

  // The branch does not work with cost centers: the cost-center area answers no rows.
  EXPECT_EQ(registro.MENSAGEM, "Registro gravado.Porém, não foi possível incluir o centro de custo.");
  EXPECT_EQ(Valores("ZTLANC", registro.RECNUM,
                    {"INDICE", "UTILIZOURATEIOCONTA", "NFSERVICO", "CODROTINACAD", "CODROTINABAIXA", "CODROTINAALT",
                     "DTCOTACAO", "DTAGENDAMENTO", "TO_CHAR(VALOR)", "TO_CHAR(DTVENC, 'YYYY-MM-DD')", "FORNECEDOR",
                     "NUMNEGOCIACAO", "CODCOBSEFAZ"}),
            (Textos{"A", "N", "N", "1234", "1234", "", "", "", "100", "2030-05-20",
                    std::string(20, 'X') + Repetir("Ç", 40), "5", "GNRE"}));
}

// A clone of its principal is not handed over; a failure of the cost-center area after the insert
// leaves the entry in the caller's transaction until the caller rolls back.
TEST_F(PayablePosting, EntryIsHandedToTheCostCenterAreaWhoseFailureLeavesTheRollbackToTheCaller) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = 250.75;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(centro_custo.Chamadas,
            (std::vector<ChamadaCentroCusto>{{"1", "3101", registro.RECNUM, 250.75, Dia(10), "N", false}}));
  centro_custo.SetFazCloneRegistroPrincipal(true);
  RFin_IncluirContasPagar clone = Valida();
  ASSERT_TRUE(ContasPagar().Incluir(clone));
  EXPECT_EQ(centro_custo.Chamadas.size(), 1U);

  centro_custo.SetFazCloneRegistroPrincipal(false);
  centro_custo.Falha = "Centro de custo inativo.";
  RFin_IncluirContasPagar falha = Valida();
  EsperarFalha([&] { ContasPagar().Incluir(falha); }, "Exception", "Centro de custo inativo.");
  EXPECT_EQ(falha.MENSAGEM, "Erro ao inserir registros!\rCentro de custo inativo.");
  EXPECT_EQ(ContasPagar().GetValidador().Text(), "Centro de custo inativo.");
  EXPECT_EQ(Linhas("ZTLANC", falha.RECNUM), 1);
  Session().Rollback();
  Session().StartTransaction();
  EXPECT_EQ(Linhas("ZTLANC", falha.RECNUM) + Linhas("ZTLANC", registro.RECNUM), 0);
}

TEST_F(PayablePosting, EntriesAreReadBackWithThePartnersName) {
  Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (601, 'MERCADO BOA VISTA')");
  Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME) VALUES (701, 'CARLOS REPRESENTANTE')");
  Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (801, 'JOAO MOTORISTA', 'JOAO')");
  // Partner kind and code, and the name read back; the typed name is kept only for other partners.
  std::map<double, std::string> esperados;
  std::string lista;
  for (const auto& [tipo, codigo, nome] : {std::tuple{"F", 501, "PAPELARIA CENTRAL LTDA"},
                                           {"O", 0, "NOME DIGITADO"},
                                           {"C", 601, "MERCADO BOA VISTA"},
                                           {"R", 701, "CARLOS REPRESENTANTE"},
                                           {"M", 801, "JOAO MOTORISTA"}}) {
    RFin_IncluirContasPagar registro = Valida();
    registro.TIPOPARCEIRO = tipo;
    registro.CODFORNEC = codigo;
    registro.FORNECEDOR = "NOME DIGITADO";
    registro.DTCOMPETENCIA = Dia(3);
    ASSERT_TRUE(ContasPagar().Incluir(registro));
    esperados[registro.RECNUM] = nome;
    lista += ShortestDecimal(registro.RECNUM) + ", ";
  }
  const auto lidos = ContasPagar().GetListaLancamento(lista);
  ASSERT_EQ(lidos.size(), 5U);
  for (const auto& lido : lidos) EXPECT_EQ(lido.FORNECEDOR, esperados.at(lido.RECNUM));
  EXPECT_TRUE(lidos[0].Inicializado);
  EXPECT_EQ(lidos[0].DTCOMPETENCIA, Dia(3));
  EXPECT_TRUE(ContasPagar().GetListaLancamento("").empty());
}

TEST_F(PayablePosting, OpenTitlesOfAnInvoiceAreListedOnlyWhenTheyAddUpToItsTotal) {
  Host().SetCodigoRotina(1301);
  RFin_IncluirContasPagar primeira = Valida();
  RFin_IncluirContasPagar segunda = Valida();
  primeira.NUMTRANSENT = segunda.NUMTRANSENT = 555;
  primeira.VALOR = 100.10;
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
  std::set<std::string> registro;
  for (const auto& campo : ColunasZTLANC()) registro.insert(campo.Name);
  EXPECT_EQ(std::set<std::string>(dal.ColunasTabelaZTLANC().begin(), dal.ColunasTabelaZTLANC().end()), registro);
}

// Parameters are read from the store on every get; in explicit mode the issue-date window follows the
// setter's 7 days, not the store's 30.
TEST_F(PayablePosting, ParametersAreReadOnEveryGetFromTheStoreOrInExplicitModeFromTheSetters) {
  ContasPagar().SetNUMDIASMINDESPPAG_1393(99);
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  EXPECT_EQ(ContasPagar().GetNUMDIASMINDESPPAG_1393(), 15);
  SetParametro("CON_NUMDIASMINDESPPAG", "20");
  EXPECT_EQ(ContasPagar().GetNUMDIASMINDESPPAG_1393(), 20);
  Host().SetParametrosExplicitos(true);
  SetParametro("CON_NUMDIASMAXEMISSAOCP", "30");
  ContasPagar().SetNUMDIASMAXEMISSAOCP_1957(7);
  RFin_IncluirContasPagar registro = Valida();
  registro.DTEMISSAO = registro.DTLANC - 8;
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExDataEmissaoInferiorPermitidoParam1957",
               "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132.");
  registro.DTEMISSAO = registro.DTLANC - 7;
  EXPECT_TRUE(ContasPagar().Incluir(registro));
}

}  // namespace
}  // namespace payabletest
