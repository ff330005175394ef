#include <gtest/gtest.h>

#include <set>
#include <string>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"

namespace {

TEST(PayableRecord, InicializarClearsAPreviousEntryAndItsCreatedRecNums) {
  RFin_IncluirContasPagar registro;
  EXPECT_FALSE(registro.Inicializado);
  registro.Inicializar();
  registro.RECNUM = 10;
  registro.HISTORICO = registro.MENSAGEM = "X";
  registro.DTVENC = TDateTime::EncodeDate(2024, 1, 2);
  registro.AddRecNum(10);
  registro.Inicializar();
  EXPECT_TRUE(registro.Inicializado);
  EXPECT_EQ(registro.RECNUM, 0);
  EXPECT_EQ(registro.HISTORICO + registro.MENSAGEM, "");
  EXPECT_TRUE(registro.DTVENC.IsZero());
  EXPECT_TRUE(registro.RecNums().empty());
}

TEST(PayableRecord, FieldNamesAreUniqueAndCardAndTaxCodesAreIntegers) {
  std::set<std::string> nomes;
  for (const auto& campo : CamposIncluirContasPagar()) EXPECT_TRUE(nomes.insert(campo.Name).second) << campo.Name;
  for (const auto& campo : ColunasZTLANC()) {
    const std::string nome = campo.Name;
    if (nome == "BANDEIRACARTAO" || nome == "LACREDIGCONECSOCIAL" || nome == "OPCAOPAGAMENTOIPVA") {
      EXPECT_EQ(campo.Kind, FieldKind::Integer) << nome;
    }
  }
}

// A record read back and written again loses nothing: the select names every column once.
TEST(PayableSelect, ReadsEveryColumnOnce) {
  const std::string sql = TDALContasPagar::GetSQLSelectZTLANC();
  for (const auto& campo : ColunasZTLANC()) {
    const std::string coluna = std::string("ZTLANC.") + campo.Name + ",\n";
    if (coluna == "ZTLANC.FORNECEDOR,\n") continue;  // computed from the partner tables
    const std::size_t posicao = sql.find(coluna);
    EXPECT_NE(posicao, std::string::npos) << coluna;
    EXPECT_EQ(sql.find(coluna, posicao + 1), std::string::npos) << coluna;
  }
}

}  // namespace
