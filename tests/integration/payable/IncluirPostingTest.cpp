#include <map>
#include <string>
#include <tuple>

#include "PayableFixture.h"

namespace payabletest {
namespace {

using PayablePosting = PayableTest;

// The module writes its own columns, leaves CODROTINAALT empty and cuts the supplier's name to 60
// characters (not bytes); a column fed by two fields takes its own field, the older one only when
// its own is unset.
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
// leaves the entry in the caller's transaction until the caller rolls back. A database failure
// becomes a plain exception with its message.
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
  EXPECT_FAILS_WITH(ContasPagar().Incluir(falha), "Exception: Centro de custo inativo.");
  EXPECT_EQ(falha.MENSAGEM, "Erro ao inserir registros!\rCentro de custo inativo.");
  EXPECT_EQ(ContasPagar().GetValidador().Text(), "Centro de custo inativo.");
  EXPECT_EQ(Linhas("ZTLANC", falha.RECNUM), 1);
  RFin_IncluirContasPagar repetida = Valida();
  repetida.RECNUM = registro.RECNUM;
  try {
    ContasPagar().Incluir(repetida);
    ADD_FAILURE() << "RECNUM repetido foi aceito";
  } catch (const Exception& erro) {
    const std::string falha = testsupport::ClassAndMessage(erro);
    EXPECT_EQ(falha.rfind("Exception: ", 0), 0u) << falha;
    EXPECT_NE(falha.find("ORA-00001"), std::string::npos) << falha;
    EXPECT_EQ(repetida.MENSAGEM, "Erro ao inserir registros!\r" + erro.Message());
  }
  Session().Rollback();
  Session().StartTransaction();
  EXPECT_EQ(Linhas("ZTLANC", falha.RECNUM) + Linhas("ZTLANC", registro.RECNUM), 0);
}

// The entries of an invoice are listed while its open titles add up to its total (a title on a
// bordero is no longer open), and are read back with their partner's name: the typed name is kept
// only for other partners.
TEST_F(PayablePosting, EntriesOfAnInvoiceAreListedAndReadBackWithThePartnersName) {
  Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (601, 'MERCADO BOA VISTA')");
  Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME) VALUES (701, 'CARLOS REPRESENTANTE')");
  Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (801, 'JOAO MOTORISTA', 'JOAO')");
  Host().SetCodigoRotina(1301);
  std::map<double, std::string> esperados;
  std::string lista;
  // clang-format off
  const std::tuple<const char*, int, const char*> parceiros[] = {
      {"F", 501, "PAPELARIA CENTRAL LTDA"}, {"O", 0, "NOME DIGITADO"}, {"C", 601, "MERCADO BOA VISTA"},
      {"R", 701, "CARLOS REPRESENTANTE"}, {"M", 801, "JOAO MOTORISTA"}};
  // clang-format on
  for (const auto& [tipo, codigo, nome] : parceiros) {
    RFin_IncluirContasPagar registro = Valida();
    registro.TIPOPARCEIRO = tipo;
    registro.CODFORNEC = codigo;
    registro.FORNECEDOR = "NOME DIGITADO";
    registro.DTCOMPETENCIA = Dia(3);
    registro.NUMTRANSENT = 555;
    registro.VALOR = 100.10;
    ASSERT_TRUE(ContasPagar().Incluir(registro));
    esperados[registro.RECNUM] = nome;
    lista += (lista.empty() ? "" : ",") + ShortestDecimal(registro.RECNUM);
  }
  EXPECT_EQ(ContasPagar().GetListaRecNum(555), lista);
  EXPECT_EQ(ContasPagar().GetListaRecNum(556), "");
  const auto lidos = ContasPagar().GetListaLancamento(lista);
  ASSERT_EQ(lidos.size(), 5U);
  for (const auto& lido : lidos) EXPECT_EQ(lido.FORNECEDOR, esperados.at(lido.RECNUM));
  EXPECT_TRUE(lidos[0].Inicializado);
  EXPECT_EQ(lidos[0].DTCOMPETENCIA, Dia(3));
  EXPECT_TRUE(ContasPagar().GetListaLancamento("").empty());
  Exec("UPDATE ZTLANC SET NUMBORDERO = 9 WHERE RECNUM = " + ShortestDecimal(lidos[0].RECNUM));
  EXPECT_EQ(ContasPagar().GetListaRecNum(555), "");
}

// An amount with three decimals is stored as the module rounds it.
TEST_F(PayablePosting, AnAmountIsStoredAsTheModuleRoundsIt) {
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = 1.005;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Valores("ZTLANC", registro.RECNUM, {"VALOR"}), Textos{ShortestDecimal(RoundTo(1.005, 2))});
}

// A database failure inside a posting keeps the module's message and stays reachable as the cause,
// so the host (and the command line's exit code) tells it from a business refusal.
TEST_F(PayablePosting, APayableEntryKeepsTheDatabaseCauseBehindItsMessage) {
  // Every insert into ZTLANC fails in the database, as a lost row lock or a full disk would.
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.falha_de_banco() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'falha do servidor'; END$$;"
      "CREATE TRIGGER falha_de_banco BEFORE INSERT ON ZTLANC FOR EACH ROW EXECUTE FUNCTION pg_temp.falha_de_banco();");
  RFin_IncluirContasPagar registro = Valida();
  try {
    ContasPagar().Incluir(registro);
    FAIL() << "posted";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("falha do servidor"), std::string::npos) << e.Message();
    EXPECT_EQ(registro.MENSAGEM.rfind("Erro ao inserir registros!\r", 0), 0u) << registro.MENSAGEM;
    EXPECT_TRUE(testsupport::CausaDoBanco(e)) << testsupport::ClassAndMessage(e);
  }
}

// Parameters are read on every get, from the store or, in explicit mode, from the setters; the
// blocking answer takes the branch's value over the general one, except for branch 99 or none.
TEST_F(PayablePosting, ParametersFollowTheStoreOrTheSettersAndTheBranchWinsForBlocking) {
  TContasPagar& contas_pagar = ContasPagar();
  contas_pagar.SetNUMDIASMINDESPPAG_1393(99);
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  EXPECT_EQ(contas_pagar.GetNUMDIASMINDESPPAG_1393(), 15);
  SetParametro("CON_NUMDIASMINDESPPAG", "20");
  EXPECT_EQ(contas_pagar.GetNUMDIASMINDESPPAG_1393(), 20);
  Host().SetParametrosExplicitos(true);
  EXPECT_EQ(contas_pagar.GetNUMDIASMINDESPPAG_1393(), 99);

  EXPECT_FALSE(contas_pagar.BloquearDespesaAcimaDoValorOrcado("1"));
  SetParametro("CON_BLOQDESPVLRORC", "S");
  EXPECT_TRUE(contas_pagar.BloquearDespesaAcimaDoValorOrcado("1"));
  SetParametro("FIL_BLOQDESPVLRORC", "N", "1");
  EXPECT_FALSE(contas_pagar.BloquearDespesaAcimaDoValorOrcado("1"));
  EXPECT_TRUE(contas_pagar.BloquearDespesaAcimaDoValorOrcado("99"));
  SetParametro("CON_BLOQDESPVLRORC", "N");
  SetParametro("FIL_BLOQDESPVLRORC", "S", "1");
  EXPECT_TRUE(contas_pagar.BloquearDespesaAcimaDoValorOrcado("1"));
  EXPECT_FALSE(contas_pagar.BloquearDespesaAcimaDoValorOrcado(" "));
}

}  // namespace
}  // namespace payabletest
