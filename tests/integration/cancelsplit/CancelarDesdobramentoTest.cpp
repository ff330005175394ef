#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DesdobramentoFixture.h"
#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "integration/costcenter/CentroCustoFixture.h"
#include "support/Failure.h"

namespace {

namespace MC = MensagensCancelamento;

std::vector<std::string> Descricoes(const std::vector<TAcaoDefinidaPtr>& acoes) {
  std::vector<std::string> descricoes;
  for (const auto& acao : acoes) descricoes.push_back(acao->Registro->Descricao());
  return descricoes;
}

// Titles of sales 65400 and up.
class CancelarDesdobramentoTest : public cancelsplit_it::DesdobramentoTest {
 protected:
  TCancelarDesdobramento& Canc(TModo modo = tmZTPrest) {
    return dynamic_cast<TCancelarDesdobramento&>(*Financeiro().CancelarDesdobramento(modo));
  }
  // Lists the cancellation of `venda`, confirms its due dates and (when `a_maior`) its one excess split.
  TListaAcoes& Listar(long long venda, bool a_maior = false) {
    TListaAcoes& lista = Canc().ListaAcoes({T(venda)});
    for (const auto& acao : lista.Vencimentos) acao->Confirmar(acao->DTVENC);
    if (a_maior) {
      EXPECT_EQ(lista.DesdobramentosAMaior.size(), 1u);
      for (const auto& acao : lista.DesdobramentosAMaior) acao->Confirmada = true;
    }
    return lista;
  }
};

TEST_F(CancelarDesdobramentoTest, ListsEveryPartAndReloadsForANewSelection) {
  Dividir(65401, 100, {60, 40});
  TListaAcoes& lista = Canc().ListaAcoes({T(65401)});
  EXPECT_NE(dynamic_cast<TListaAcoesZTPrest*>(&lista), nullptr);
  EXPECT_EQ(Descricoes(lista.Afetados), (std::vector<std::string>{"65402-1", "65403-1", "65401-1"}));
  EXPECT_EQ(Descricoes(lista.Raizes), std::vector<std::string>{"65401-1"});
  EXPECT_EQ(Descricoes(lista.Folhas), (std::vector<std::string>{"65402-1", "65403-1"}));
  ASSERT_EQ(lista.Vencimentos.size(), 1u);  // due 2026-01-10, before today
  EXPECT_EQ(lista.Vencimentos[0]->DTVENC, TDateTime::EncodeDate(2026, 1, 10));
  EXPECT_FALSE(lista.TodosVencimentosConfirmados());
  EXPECT_TRUE(lista.DesdobramentosAMaior.empty());
  EXPECT_TRUE(lista.Impeditivas.empty());
  EXPECT_EQ(lista.Dados.RecordCount(), 3u);
  EXPECT_EQ(lista.Dados.HASHCALCULADO(*T(65401)).size(), 40u);
  EXPECT_EQ(Canc().Passo(), TPasso::tpAcoesListadas);

  // A second split, listed while the first is still listed, is loaded for itself.
  Dividir(65411, 100, {60, 40});
  TListaAcoes& outra = Canc().ListaAcoes({T(65411)});
  EXPECT_EQ(Descricoes(outra.Raizes), std::vector<std::string>{"65411-1"});
  EXPECT_EQ(&Canc().ListaAcoes(), &outra);
}

struct KindCase {
  const char* codcoborig;
  const char* classe;  // "" when refused
  TZTPrestFK tabela;
};

class ExcessKindTest : public CancelarDesdobramentoTest, public ::testing::WithParamInterface<KindCase> {};

// JUR, CRTR and ACRE put the excess into payable entries, CRED into customer credits.
TEST_P(ExcessKindTest, ChargeOfTheRootNamesTheActionAndItsTable) {
  const KindCase c = GetParam();
  Dividir(65421, 100, {50, 50}, "1", c.codcoborig);  // "1": the number of the kind "excess"
  if (std::string(c.classe).empty()) {
    EXPECT_FAILS_WITH(Canc().ListaAcoes({T(65421)}), std::string("Exception: ") + MC::kCobrancaInvalida);
    EXPECT_EQ(Canc().Passo(), TPasso::tpFalhou);
    return;
  }
  TListaAcoes& lista = Canc().ListaAcoes({T(65421)});
  ASSERT_EQ(lista.DesdobramentosAMaior.size(), 1u);
  const TAcaoDesdobramentoAMaiorZTPrest& acao = *lista.DesdobramentosAMaior[0];
  EXPECT_EQ(acao.CODCOBORIG(), c.codcoborig);
  EXPECT_EQ(acao.Tabela(), c.tabela);
  EXPECT_EQ(dynamic_cast<const TAcaoDesdobramentoAMaiorZTPrestZTLanc*>(&acao) != nullptr,
            c.tabela == TZTPrestFK::zpfZTLanc);
  EXPECT_FALSE(lista.TodosAMaiorConfirmados());
}

INSTANTIATE_TEST_SUITE_P(
    Charges, ExcessKindTest,
    ::testing::Values(KindCase{"JUR", "JUR", TZTPrestFK::zpfZTLanc}, KindCase{"CRTR", "CRTR", TZTPrestFK::zpfZTLanc},
                      KindCase{"ACRE", "ACRE", TZTPrestFK::zpfZTLanc},
                      KindCase{"CRED", "CRED", TZTPrestFK::zpfZTCreCli}, KindCase{"BK", "", TZTPrestFK::zpfZTLanc}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.codcoborig); });

TEST_F(CancelarDesdobramentoTest, ConfirmRestoresTheRootSettlesTheLeavesAndRefusesASecondTime) {
  Dividir(65431, 100, {60, 40});
  TCancelarDesdobramento& canc = Canc();
  TListaAcoes& lista = canc.ListaAcoes({T(65431)});
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kVencimentoNaoConfirmado);
  lista.Vencimentos[0]->Confirmar(TDateTime::EncodeDate(2027, 2, 15));
  canc.Confirmar();
  EXPECT_EQ(canc.Passo(), TPasso::tpConfirmado);

  // The root comes back as instalment 2, open, as its copy kept it, with the chosen due date.
  const std::string restaurado = " FROM ZTPREST WHERE NUMTRANSVENDA = 65431 AND PREST = '2'";
  EXPECT_EQ(Scalar("SELECT CODCOB || '/' || TO_CHAR(VALOR) || '/' || NVL(TO_CHAR(DTPAG), '-')" + restaurado),
            "BK/100/-");
  EXPECT_EQ(Scalar("SELECT TO_CHAR(DTVENC, 'YYYY-MM-DD') || '/' || TO_CHAR(DTRECEBIMENTOPREVISTO, 'YYYY-MM-DD')" +
                   restaurado),
            "2027-02-15/2027-02-15");
  EXPECT_EQ(Scalar("SELECT COUNT(*)" + restaurado + " AND DTLANCPRORROG = TRUNC(SYSDATE)"), "1");
  EXPECT_EQ(Scalar("SELECT QTREPLICAS FROM ZTDESDPREST WHERE NUMTRANSVENDA = 65431"), "1");
  // The leaves are settled as split, point to the restored title, and keep a copy as they were.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA IN (65432, 65433) AND CODCOB = 'DESD' AND "
                   "VPAGO = VALOR AND DTPAG IS NOT NULL"),
            "2");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTDESD WHERE NUMTRANSVENDADEST = 65431 AND PRESTDEST = '2' AND CODCLIDEST = "
                   "8201 AND DTLANC = TRUNC(SYSDATE)"),
            "2");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTDESDPREST WHERE NUMTRANSVENDA IN (65432, 65433) AND CODCOB = 'BK' AND "
                   "DTPAG IS NULL"),
            "2");

  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kListaAcoesInvalida);

  // The reversal can itself be cancelled: the restored title is split again... by this one's leaves.
  TListaAcoes& de_novo = canc.ListaAcoes({T(65432)});
  EXPECT_TRUE(de_novo.Impeditivas.empty());
}

TEST_F(CancelarDesdobramentoTest, RowsChangedSinceTheListingRefuseAndWriteNothing) {
  Dividir(65441, 100, {60, 40});
  TCancelarDesdobramento& canc = Canc();
  Listar(65441);
  Exec("UPDATE ZTPREST SET OBS2 = 'ALTERADO' WHERE NUMTRANSVENDA = 65442");
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("ExceptionTitulosAlterados: ") + ExceptionTitulosAlterados::Mensagem);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 65441 AND 65443"), "3");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 65441 AND 65443 AND CODCOB = 'DESD'"),
            "1");
  EXPECT_EQ(canc.Passo(), TPasso::tpFalhou);
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kFalhou);
}

TEST_F(CancelarDesdobramentoTest, RefusalsComeInTheirOrder) {
  // A title split by a routine that keeps no copy cannot be restored.
  Titulo(65461, 100);
  Exec("UPDATE ZTPREST SET CODCOB = 'DESD' WHERE NUMTRANSVENDA = 65461");
  Titulo(65462, 100);
  Ligar(65461, 65462);
  TCancelarDesdobramento& canc = Canc();
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kListaAcoesInvalida);
  EXPECT_FAILS_WITH(canc.ListaAcoes(), std::string("Exception: ") + MC::kListaAcoesInvalida);
  Listar(65461);
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kImpeditivas);
}

// 100 split into 60 and 60: the excess became credits 965471 and 965472, reversed with the split.
TEST_F(CancelarDesdobramentoTest, ExcessCreditsAreReversedTheFirstTimeTheTitleIsRestored) {
  Dividir(65471, 100, {60, 60}, "1", "CRED");
  for (const char* codigo : {"965471", "965472"}) {
    Exec(std::string("INSERT INTO ZTCRECLI (CODIGO, CODCLI, NUMTRANSVENDA, PRESTORIG, VALOR, CODFILIAL, DTLANC) "
                     "VALUES (") +
         codigo + ", 8201, 65471, '1', 10, '1', TRUNC(SYSDATE))");
  }
  TCancelarDesdobramento& canc = Canc();
  TListaAcoes& lista = Listar(65471);
  EXPECT_FAILS_WITH(canc.Confirmar(), std::string("Exception: ") + MC::kAMaiorNaoConfirmado);
  ASSERT_EQ(lista.DesdobramentosAMaior.size(), 1u);
  lista.DesdobramentosAMaior[0]->Confirmada = true;
  canc.Confirmar();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCRECLI WHERE CODIGO IN (965471, 965472) AND DTESTORNO IS NOT NULL"), "2");
  EXPECT_EQ(Scalar("SELECT SUM(VALOR) FROM ZTCRECLI WHERE NUMTRANSVENDA = 65471 AND PRESTORIG = '1'"), "0");
  EXPECT_EQ(Scalar("SELECT CODCOB FROM ZTPREST WHERE NUMTRANSVENDA = 65471 AND PREST = '1'"), "DESD");

  // Restored once before: this restoration is the second, and the credits stay as they are.
  Dividir(65476, 100, {60, 60}, "1", "CRED");
  Exec("UPDATE ZTDESDPREST SET QTREPLICAS = 1 WHERE NUMTRANSVENDA = 65476");
  Exec(
      "INSERT INTO ZTCRECLI (CODIGO, CODCLI, NUMTRANSVENDA, PRESTORIG, VALOR, CODFILIAL, DTLANC) VALUES (965476, "
      "8201, 65476, '1', 20, '1', TRUNC(SYSDATE))");
  Listar(65476, true);
  canc.Confirmar();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCRECLI WHERE NUMTRANSVENDA = 65476 AND DTESTORNO IS NULL"), "1");
  EXPECT_EQ(Scalar("SELECT QTREPLICAS FROM ZTDESDPREST WHERE NUMTRANSVENDA = 65476"), "2");
}

// 100 split into 60 and 60 with interest: the excess became payable entry 965481 of 20,00, offset by a
// paid negative entry of the payable area when the split is cancelled.
TEST_F(CancelarDesdobramentoTest, ExcessEntriesAreOffsetByAPaidNegativeEntry) {
  Dividir(65481, 100, {60, 60}, "1", "JUR");
  Exec(
      "INSERT INTO ZTCLIENT (CODCLI, CLIENTE) SELECT 8201, 'CLIENTE DOS DESDOBRAMENTOS' FROM DUAL WHERE NOT EXISTS "
      "(SELECT 1 FROM ZTCLIENT WHERE CODCLI = 8201)");
  Exec(
      "INSERT INTO ZTLANC (RECNUM, CODFILIAL, CODCONTA, TIPOLANC, TIPOPARCEIRO, CODFORNEC, VALOR, NUMNOTA, DUPLIC, "
      "LOCALIZACAO, PARCELA, HISTORICO, DTLANC, DTVENC, DTEMISSAO) VALUES (965481, '1', 3101, 'C', 'C', 8201, 20, "
      "5481, '1', '65481', '1', 'JUROS DO DESDOBRAMENTO', TRUNC(SYSDATE), TRUNC(SYSDATE), TRUNC(SYSDATE))");
  Listar(65481, true);
  Canc().Confirmar();
  EXPECT_EQ(Scalar("SELECT TO_CHAR(VALOR) || '/' || TO_CHAR(VPAGO) || '/' || HISTORICO || '/' || NVL2(DTPAGTO, 'P', "
                   "'-') || NVL2(DTEMISSAO, 'E', '-') FROM ZTLANC WHERE LOCALIZACAO = '65481' AND RECNUM <> 965481"),
            "-20/-20/REF. CANC. DE DESDOBRAMENTO/PE");
}

// A copy that lacks a column of the title stops the restoration with the column's name; nothing of
// the confirmation remains.
TEST_F(CancelarDesdobramentoTest, AColumnTheCopyLacksStopsTheRestorationLoudly) {
  Dividir(65491, 100, {60, 40});
  Session().ExecuteScript("ALTER TABLE ztdesdprest DROP COLUMN obs2");
  Listar(65491);
  EXPECT_FAILS_WITH(Canc().Confirmar(),
                    "Exception: Não foi possível copiar o campo OBS2 da ZTDESDPREST para o registro 65491-1!");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 65491 AND 65493"), "3");
  EXPECT_EQ(Scalar("SELECT QTREPLICAS FROM ZTDESDPREST WHERE NUMTRANSVENDA = 65491"), "0");
}

// The query of the run reads the database and may leave a copy of what it read; a file already there
// is overwritten, never read.
TEST_F(CancelarDesdobramentoTest, QueriesReadTheDatabaseAndOnlyWriteTheirCopy) {
  Titulo(65495, 12.5);
  const std::string arquivo = ::testing::TempDir() + "/cancdesd-copia.tsv";
  {
    std::ofstream antigo(arquivo);
    antigo << "65495\t1\t999\n";
  }
  TCancDesdQry q(&Session());
  q.SQL.Add("SELECT NUMTRANSVENDA, PREST, VALOR, OBS2 FROM ZTPREST WHERE NUMTRANSVENDA = 65495");
  q.ArquivoCopia = arquivo;
  q.OpenSaveOrLoad();
  EXPECT_EQ(q.FieldByName("VALOR").AsFloat(), 12.5);
  std::ifstream copia(arquivo);
  const std::string texto((std::istreambuf_iterator<char>(copia)), std::istreambuf_iterator<char>());
  EXPECT_EQ(texto, "65495\t1\t12.50\t\\N\n");
  std::remove(arquivo.c_str());
}

// Entries 965500 and up on branch 9: entry 965501 (100, cost centers T1 50 and T2 50) split into
// 965502 (60, all T1) and 965503 (40, all T2).
class CancelarDesdobramentoLancamentoTest : public costcenter_it::CentroCustoTest {
 protected:
  void Copia(int recnum) {
    Exec(
        "INSERT INTO ZTDESDLANCOPERACAO (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, HISTORICO, "
        "OPERACAODESD) SELECT RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, HISTORICO, 'NORMAL' FROM ZTLANC "
        "WHERE RECNUM = " +
        std::to_string(recnum));
  }
  void Ligar(int orig, int dest) {
    Exec("INSERT INTO ZTDESDLANC (RECNUMORIG, RECNUMDESTINO) VALUES (" + std::to_string(orig) + ", " +
         std::to_string(dest) + ")");
  }
};

TEST_F(CancelarDesdobramentoLancamentoTest, RestoredEntryAndCounterEntriesTakeTheirCostCenters) {
  Lancamento(965501, 910001, 100);
  Copia(965501);
  Exec("UPDATE ZTLANC SET DTDESD = TRUNC(SYSDATE) WHERE RECNUM = 965501");
  Rateio(965501, 910001, "T1", 50, 50);
  Rateio(965501, 910001, "T2", 50, 50);
  Lancamento(965502, 910001, 60);
  Rateio(965502, 910001, "T1", 100, 60);
  Lancamento(965503, 910001, 40);
  Rateio(965503, 910001, "T2", 100, 40);
  Ligar(965501, 965502);
  Ligar(965501, 965503);

  auto& canc = dynamic_cast<TCancelarDesdobramento&>(*Financeiro().CancelarDesdobramento(tmZTLanc));
  TListaAcoes& lista = canc.ListaAcoes({std::make_shared<TRegistroZTLanc>(965501)});
  EXPECT_NE(dynamic_cast<TListaAcoesZTLanc*>(&lista), nullptr);
  ASSERT_NE(canc.FerramentasZTLANC(), nullptr);  // the run of a mode carries that mode's tools only
  EXPECT_STREQ(canc.FerramentasZTLANC()->TabelaReplica(), "ZTDESDLANCOPERACAO");
  EXPECT_EQ(canc.FerramentasZTPREST(), nullptr);
  ASSERT_EQ(lista.Vencimentos.size(), 1u);
  lista.Vencimentos[0]->Confirmar(TDateTime::EncodeDate(2027, 4, 30));
  canc.Confirmar();

  const std::string restaurado = Scalar("SELECT RECNUMDESTINO FROM ZTDESDLANC WHERE RECNUMORIG = 965502");
  const std::string novos =
      " FROM ZTLANC WHERE CODCONTA = 910001 AND (RECNUM = " + restaurado + " OR LOCALIZACAO = 'TITULO DESDOBRADO.')";
  // The restored entry, open, and one paid, cancelled negative copy per leaf.
  EXPECT_EQ(Todas("SELECT VALOR, NVL(TO_CHAR(VPAGO), '-'), NVL(LOCALIZACAO, '-'), NVL2(DTCANCEL, 'C', '-')" + novos +
                  " ORDER BY RECNUM"),
            "100:-:-:- -60:-60:TITULO DESDOBRADO.:C -40:-40:TITULO DESDOBRADO.:C");
  EXPECT_EQ(Linhas(std::stoi(restaurado)), "T1:50 T2:50");
  EXPECT_EQ(Scalar("SELECT TO_CHAR(DTVENC, 'YYYY-MM-DD') FROM ZTLANC WHERE RECNUM = " + restaurado +
                   " AND DTPRORROG = TRUNC(SYSDATE)"),
            "2027-04-30");
  EXPECT_EQ(Todas("SELECT R.CODIGOCENTROCUSTO, R.VALOR FROM ZTRATEIOCENTROCUSTO R, ZTLANC L WHERE R.RECNUM = "
                  "L.RECNUM AND L.LOCALIZACAO = 'TITULO DESDOBRADO.' AND L.CODCONTA = 910001 ORDER BY L.RECNUM"),
            "T1:-60 T2:-40");
  // The leaves: paid in full and cancelled; the links record the reversal.
  EXPECT_EQ(Todas("SELECT VPAGO, CODROTINABAIXA, NVL2(DTCANCEL, 'C', '-') FROM ZTLANC WHERE RECNUM IN (965502, "
                  "965503) ORDER BY RECNUM"),
            "60:737:C 40:737:C");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTDESDLANC WHERE RECNUMDESTINO = " + restaurado + " AND VALOR = 100"), "2");
}

}  // namespace
