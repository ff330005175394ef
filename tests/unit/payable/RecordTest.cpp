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
  registro.HISTORICO = "X";
  registro.DTVENC = TDateTime::EncodeDate(2024, 1, 2);
  registro.MENSAGEM = "ok";
  registro.AddRecNum(10);
  registro.AddRecNum(11);
  ASSERT_EQ(registro.RecNums().size(), 2U);

  registro.Inicializar();
  EXPECT_TRUE(registro.Inicializado);
  EXPECT_EQ(registro.RECNUM, 0);
  EXPECT_EQ(registro.HISTORICO, "");
  EXPECT_TRUE(registro.DTVENC.IsZero());
  EXPECT_EQ(registro.MENSAGEM, "");
  EXPECT_TRUE(registro.RecNums().empty());
}

TEST(PayableRecord, FieldNamesAreUniqueAndTheColumnsComeFirst) {
  std::set<std::string> nomes;
  for (const auto& campo : CamposIncluirContasPagar()) EXPECT_TRUE(nomes.insert(campo.Name).second) << campo.Name;
  const auto colunas = ColunasZTLANC();
  ASSERT_EQ(colunas.size(), 145U);
  EXPECT_STREQ(colunas.front().Name, "RECNUM");
  EXPECT_STREQ(colunas.back().Name, "DTREJEICAOSUPLORC");
  for (const auto& campo : colunas) {
    EXPECT_NE(std::string(campo.Name), "MENSAGEM");
    EXPECT_NE(std::string(campo.Name), "LABELROTINA");
  }
}

TEST(PayableRecord, IntegerColumnsAreIntegers) {
  for (const auto& campo : ColunasZTLANC()) {
    const std::string nome = campo.Name;
    if (nome == "BANDEIRACARTAO" || nome == "LACREDIGCONECSOCIAL" || nome == "OPCAOPAGAMENTOIPVA") {
      EXPECT_EQ(campo.Kind, FieldKind::Integer) << nome;
    }
  }
}

TEST(PayableSelect, ReadsEveryColumnOnceAndThePartnersName) {
  const std::string sql = TDALContasPagar::GetSQLSelectZTLANC();
  for (const auto& campo : ColunasZTLANC()) {
    const std::string nome = campo.Name;
    if (nome == "FORNECEDOR") continue;
    const std::string coluna = "ZTLANC." + nome + ",\n";
    const std::size_t posicao = sql.find(coluna);
    EXPECT_NE(posicao, std::string::npos) << nome;
    EXPECT_EQ(sql.find(coluna, posicao + 1), std::string::npos) << nome;
  }
  EXPECT_NE(sql.find("       END FORNECEDOR\n  FROM ZTLANC\n WHERE 1 = 1"), std::string::npos);
  EXPECT_EQ(sql.substr(sql.size() - std::string(" WHERE 1 = 1").size()), " WHERE 1 = 1");
  for (const char* parceiro : {"WHEN 'M' THEN (SELECT ZTEMPR.NOME", "WHEN 'R' THEN (SELECT ZTUSUARI.NOME",
                               "WHEN 'C' THEN (SELECT ZTCLIENT.CLIENTE", "WHEN 'F' THEN (SELECT ZTFORNEC.FORNECEDOR",
                               "ELSE ZTLANC.FORNECEDOR"}) {
    EXPECT_NE(sql.find(parceiro), std::string::npos) << parceiro;
  }
}

}  // namespace
