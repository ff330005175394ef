#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/Uconstantes.h"
#include "frame/Ustringfunctions.h"
#include "sdk/ZTCore.h"

namespace {

// An empty item never matches, not even an empty text.
TEST(StringFunctions, ContainsFindsTheItemAnywhereWithItsCase) {
  struct Case {
    std::string text, item;
    bool expected;
  };
  const std::vector<Case> cases = {{"XOPERACAODESDPREST", "OPERACAODESD", true},
                                   {"codrotina", "ROTINA", false},
                                   {"ROT", "ROTINA", false},
                                   {"LANÇAMENTO", "ça", false},
                                   {"CODROTINA", "", false},
                                   {"", "", false}};
  for (const auto& [text, item, expected] : cases) {
    EXPECT_EQ(TStringFunctions::Contains(text, item), expected) << '"' << text << "\" / \"" << item << '"';
  }
}

// A longer word holding an item is a hit only when a part is enough; the whole-word comparison
// ignores case (of accented letters too, but the multiplication sign is not a letter), the
// partial one does not.
TEST(StringFunctions, ContainsMatchesOneItemOfTheList) {
  struct Case {
    std::string text;
    TArrayString items;
    bool partial, expected;
  };
  const std::vector<Case> cases = {{"OPERACAODESDPREST", {"QTREPLICAS", "OPERACAODESD"}, true, true},
                                   {"OPERACAODESDPREST", {"QTREPLICAS", "OPERACAODESD"}, false, false},
                                   {"qtreplicas", {"OPERACAODESD", "QTREPLICAS"}, false, true},
                                   {"qtreplicas", {"OPERACAODESD", "QTREPLICAS"}, true, false},
                                   {"Observação", {"OBSERVAÇÃO"}, false, true},
                                   {"OBSERVACAO", {"OBSERVAÇÃO"}, false, false},
                                   {"a\u00d7b", {"a\u00f7b"}, false, false},
                                   {"DTESTORNO", {}, false, false},
                                   {"DTESTORNO", {""}, true, false}};
  for (const auto& [text, items, partial, expected] : cases) {
    EXPECT_EQ(TStringFunctions::Contains(text, items, partial), expected) << text << " partial " << partial;
  }
}

TEST(HostFolders, SpoolAndHelpPathsFollowTheHostsCurrentFolders) {
  const std::string prod = DiretorioProd(-1);
  const std::string spool = DiretorioSpool(-1);
  DefinirDiretorios("/opt/quorvin", "/var/spool/quorvin/");
  EXPECT_EQ(cDIRSPOOL(), "/var/spool/quorvin/");
  EXPECT_EQ(cHELPQUORVIN(), "/opt/quorvin/HELP\\ZTSIS%s00.CHM");  // the placeholder is the routine's
  DefinirDiretorios("/opt/quorvin", "/tmp/outro");
  EXPECT_EQ(cDIRSPOOL(), "/tmp/outro/");
  DefinirDiretorios(prod, spool);
}

}  // namespace
