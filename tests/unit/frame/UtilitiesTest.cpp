#include <gtest/gtest.h>

#include <string>

#include "frame/Uconstantes.h"
#include "frame/Ustringfunctions.h"
#include "sdk/ZTCore.h"

namespace {

struct ContainsItemCase {
  std::string text;
  std::string item;
  bool expected;
};

class ContainsItemTest : public ::testing::TestWithParam<ContainsItemCase> {};

TEST_P(ContainsItemTest, FindsTheItemAnywhereWithItsCase) {
  const ContainsItemCase& c = GetParam();
  EXPECT_EQ(TStringFunctions::Contains(c.text, c.item), c.expected) << '"' << c.text << "\" / \"" << c.item << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Substring, ContainsItemTest,
    ::testing::Values(ContainsItemCase{"OPERACAODESD", "OPERACAODESD", true},
                      ContainsItemCase{"XOPERACAODESDPREST", "OPERACAODESD", true},
                      ContainsItemCase{"CODROTINA", "ROTINA", true}, ContainsItemCase{"CODROTINA", "COD", true},
                      ContainsItemCase{"codrotina", "ROTINA", false}, ContainsItemCase{"ROT", "ROTINA", false},
                      ContainsItemCase{"LANÇAMENTO", "ÇA", true}, ContainsItemCase{"LANÇAMENTO", "ça", false},
                      // An empty item never matches, not even an empty text.
                      ContainsItemCase{"CODROTINA", "", false}, ContainsItemCase{"", "", false},
                      ContainsItemCase{"", "A", false}));

struct ContainsListCase {
  std::string name;
  std::string text;
  TArrayString items;
  bool partial;
  bool expected;
};

class ContainsListTest : public ::testing::TestWithParam<ContainsListCase> {};

TEST_P(ContainsListTest, MatchesOneItemOfTheList) {
  const ContainsListCase& c = GetParam();
  EXPECT_EQ(TStringFunctions::Contains(c.text, c.items, c.partial), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ContainsListTest,
    ::testing::Values(
        // A longer word holding the item is a hit only when a part is enough.
        ContainsListCase{"LongerWordPartial", "OPERACAODESDPREST", {"QTREPLICAS", "OPERACAODESD"}, true, true},
        ContainsListCase{"LongerWordWhole", "OPERACAODESDPREST", {"QTREPLICAS", "OPERACAODESD"}, false, false},
        // The whole-word comparison ignores case; the partial one does not.
        ContainsListCase{"LowerCaseWhole", "qtreplicas", {"OPERACAODESD", "QTREPLICAS"}, false, true},
        ContainsListCase{"LowerCasePartial", "qtreplicas", {"OPERACAODESD", "QTREPLICAS"}, true, false},
        ContainsListCase{"MixedCaseWhole", "QtReplicas", {"qtREPLICAS"}, false, true},
        ContainsListCase{"AccentedWhole", "Observação", {"OBSERVAÇÃO"}, false, true},
        ContainsListCase{"AccentedWholeDiffers", "OBSERVACAO", {"OBSERVAÇÃO"}, false, false},
        ContainsListCase{"MultiplicationSignIsNotALetter", "a\u00d7b", {"a\u00f7b"}, false, false},
        ContainsListCase{"LastItemHits", "DTESTORNO", {"A", "B", "DTESTORNO"}, false, true},
        ContainsListCase{"NoItemHits", "DTESTORNO", {"DTDESCONTO", "VALOR"}, false, false},
        ContainsListCase{"EmptyListWhole", "DTESTORNO", {}, false, false},
        ContainsListCase{"EmptyListPartial", "DTESTORNO", {}, true, false},
        ContainsListCase{"EmptyItemPartial", "DTESTORNO", {""}, true, false}),
    [](const ::testing::TestParamInfo<ContainsListCase>& info) { return info.param.name; });

// Points the host's folders somewhere for one test and puts them back afterwards.
class HostFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSavedProd = DiretorioProd(-1);
    FSavedSpool = DiretorioSpool(-1);
  }
  void TearDown() override { DefinirDiretorios(FSavedProd, FSavedSpool); }

 private:
  std::string FSavedProd;
  std::string FSavedSpool;
};

TEST_F(HostFoldersTest, SpoolFolderIsTheHostsCurrentOne) {
  DefinirDiretorios("/opt/quorvin", "/var/spool/quorvin/");
  EXPECT_EQ(cDIRSPOOL(), "/var/spool/quorvin/");
  DefinirDiretorios("/opt/quorvin", "/tmp/outro");
  EXPECT_EQ(cDIRSPOOL(), "/tmp/outro/");
}

TEST_F(HostFoldersTest, HelpPathKeepsThePlaceholderForTheRoutine) {
  DefinirDiretorios("/opt/quorvin", "/tmp");
  EXPECT_EQ(cHELPQUORVIN(), "/opt/quorvin/HELP\\ZTSIS%s00.CHM");
}

TEST(NameTables, DaysStartOnSundayAndMonthsOnJanuary) {
  EXPECT_EQ(cDIASEMANA.front(), "Domingo");
  EXPECT_EQ(cDIASEMANA[3], "Quarta-feira");
  EXPECT_EQ(cDIASEMANA.back(), "Sábado");
  EXPECT_EQ(cMESES.front(), "Janeiro");
  EXPECT_EQ(cMESES[2], "Março");
  EXPECT_EQ(cMESES.back(), "Dezembro");
}

}  // namespace
