#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"

namespace {

RFin_IncluirContasPagar EntradaMinima() {
  RFin_IncluirContasPagar registro;
  registro.Inicializar();
  registro.RECNUM = 1001;
  registro.TIPOLANC = "P";
  registro.VALOR = 150.25;
  registro.CODCONTA = 3101;
  registro.HISTORICO = "ALUGUEL";
  registro.TIPOPARCEIRO = "F";
  registro.CODFORNEC = 501;
  registro.CODFILIAL = "1";
  registro.DTLANC = TDateTime::EncodeDate(2024, 3, 10);
  registro.DTVENC = TDateTime::EncodeDate(2024, 3, 20);
  registro.DTEMISSAO = TDateTime::EncodeDate(2024, 3, 9);
  return registro;
}

// The column list of an insert.
std::vector<std::string> Colunas(const std::string& sql) {
  std::vector<std::string> colunas;
  const std::size_t fecha = sql.find(") VALUES(");
  for (std::size_t inicio = sql.find(" (") + 2; inicio < fecha;) {
    const std::size_t fim = std::min(sql.find(", ", inicio), fecha);
    colunas.push_back(sql.substr(inicio, fim - inicio));
    inicio = fim + 2;
  }
  return colunas;
}

TEST(PayableInsert, MinimalEntryWritesTheFixedColumnsThenValueAccountAndDates) {
  const std::string esperado =
      "INSERT INTO ZTLANC (RECNUM, DTLANC, HISTORICO, DUPLIC, LOCALIZACAO, CODFILIAL, INDICE, NUMCHEQUE, TIPOLANC, "
      "TIPOPARCEIRO, NOMEFUNC, ASSINATURA, TIPOPAGTO, NUMDVDESTDOC, NUMCODBARRA, HISTORICO2, MOEDA, DVAG, "
      "PORTADORCHEQUE, NUMDIIMPORTACAO, ADIANTAMENTO, NFSERVICO, PREST, BOLETO, PAGTONOMEDOCLIENTE, OBSBLOQ, "
      "AGENDAMENTO, NUMCONTRATOCAMBIO, IDCONTROLEEMBARQUE, FORMAPGTO, CODROTINACAD, DTMOEDA, CODROTINAALT, PARCELA, "
      "NUMNOTA, CODFORNEC, VLRUTILIZADOADIANTFORNEC, TIPOSERVICO, IDENTIFICADORFGTS, LACREDIGCONECSOCIAL, "
      "OPCAOPAGAMENTOIPVA, UTILIZOURATEIOCONTA, PRCRATEIOUTILIZADO, VALOR, CODCONTA, DTVENC, DTEMISSAO, DTCOTACAO) "
      "VALUES(:RECNUM, :DTLANC, :HISTORICO, :DUPLIC, :LOCALIZACAO, :CODFILIAL, :INDICE, :NUMCHEQUE, :TIPOLANC, "
      ":TIPOPARCEIRO, :NOMEFUNC, :ASSINATURA, :TIPOPAGTO, :NUMDVDESTDOC, :NUMCODBARRA, :HISTORICO2, :MOEDA, :DVAG, "
      ":PORTADORCHEQUE, :NUMDIIMPORTACAO, :ADIANTAMENTO, :NFSERVICO, :PREST, :BOLETO, :PAGTONOMEDOCLIENTE, :OBSBLOQ, "
      ":AGENDAMENTO, :NUMCONTRATOCAMBIO, :IDCONTROLEEMBARQUE, :FORMAPGTO, :CODROTINACAD, :DTMOEDA, :CODROTINAALT, "
      ":PARCELA, :NUMNOTA, :CODFORNEC, :VLRUTILIZADOADIANTFORNEC, :TIPOSERVICO, :IDENTIFICADORFGTS, "
      ":LACREDIGCONECSOCIAL, :OPCAOPAGAMENTOIPVA, :UTILIZOURATEIOCONTA, :PRCRATEIOUTILIZADO, :VALOR, :CODCONTA, "
      ":DTVENC, :DTEMISSAO, :DTCOTACAO) ";
  EXPECT_EQ(TDALContasPagar::GetSQLInsertZTLANC(EntradaMinima(), false, false), esperado);
}

// Only an entry to be supplemented in a branch that works with it goes to the held table, unless it
// is already within an approval.
TEST(PayableInsert, TableByBranchSupplementationAndApproval) {
  const std::tuple<bool, bool, bool, const char*> destinos[] = {{true, true, false, "ZTLANCBLOQ"},
                                                                {true, true, true, "ZTLANC"},
                                                                {true, false, false, "ZTLANC"},
                                                                {false, true, false, "ZTLANC"}};
  for (const auto& [trabalha, suplementacao, dentro_aprovacao, tabela] : destinos) {
    RFin_IncluirContasPagar registro = EntradaMinima();
    registro.DENTROAPROVACAOORCAMENTO = dentro_aprovacao;
    const std::string sql = TDALContasPagar::GetSQLInsertZTLANC(registro, trabalha, suplementacao);
    EXPECT_EQ(sql.substr(0, sql.find(" (")), std::string("INSERT INTO ") + tabela) << trabalha << suplementacao;
  }
}

// Columns set to their own value are covered by the two statements around this table; these are
// written on another field's value or left out although set.
TEST(PayableInsert, AConditionalColumnIsWrittenOnlyWhenItsConditionHolds) {
  struct Presenca {
    const char* nome;
    std::function<void(RFin_IncluirContasPagar&)> preparar;
    const char* coluna;
    bool presente;
  };
  // clang-format off
  const Presenca casos[] = {
      {"NegativeValue", [](auto& r) { r.VALOR = -80; }, "VALOR", true},
      {"NegativeAccount", [](auto& r) { r.CODCONTA = -3101; }, "CODCONTA", false},
      {"BlankRmCode", [](auto& r) { r.CODLANCAMENTORM = "   "; }, "CODLANCAMENTORM", false},
      {"NoQuoteDateWithoutDueDate", [](auto& r) { r.DTVENC = TDateTime(); }, "DTCOTACAO", false},
      {"QuoteDateOfItsOwn", [](auto& r) { r.DTVENC = TDateTime(); r.DTCOTACAO = TDateTime::EncodeDate(2024, 3, 1); }, "DTCOTACAO", true},
      {"ScheduleDateFollowsTheAccrualDate", [](auto& r) { r.DTCOMPETENCIA = TDateTime::EncodeDate(2024, 3, 1); }, "DTAGENDAMENTO", true},
      {"NegotiationFromTheOlderField", [](auto& r) { r.NUMNEGOCIACAO2 = 77; }, "NUMNEGOCIACAO", true},
      {"SefazCodeFromTheOlderField", [](auto& r) { r.CODCOBSEFAZ2 = "GNRE"; }, "CODCOBSEFAZ", true},
  };
  // clang-format on
  for (const Presenca& caso : casos) {
    RFin_IncluirContasPagar registro = EntradaMinima();
    caso.preparar(registro);
    const auto colunas = Colunas(TDALContasPagar::GetSQLInsertZTLANC(registro, false, false));
    EXPECT_EQ(std::count(colunas.begin(), colunas.end(), caso.coluna), caso.presente ? 1 : 0) << caso.nome;
  }
}

// Everything set: the widest statement the record can produce names each column once, bound as
// its own parameter, and never the columns only settlement and supplementation write.
TEST(PayableInsert, EveryColumnIsPairedWithItsOwnParameterAndNamedOnce) {
  RFin_IncluirContasPagar registro = EntradaMinima();
  using R = RFin_IncluirContasPagar;
  for (const FieldDef<R>& campo : CamposIncluirContasPagar()) {
    if (const auto* texto = std::get_if<std::string R::*>(&campo.Pointer)) registro.** texto = "S";
    if (const auto* numero = std::get_if<double R::*>(&campo.Pointer)) registro.** numero = 3;
    if (const auto* inteiro = std::get_if<int R::*>(&campo.Pointer)) registro.** inteiro = 3;
    if (const auto* data = std::get_if<TDateTime R::*>(&campo.Pointer))
      registro.** data = TDateTime::EncodeDate(2024, 5, 2);
  }
  const std::string sql = TDALContasPagar::GetSQLInsertZTLANC(registro, false, false);
  const auto colunas = Colunas(sql);
  ASSERT_EQ(colunas.size(), 139U);
  EXPECT_EQ(std::set<std::string>(colunas.begin(), colunas.end()).size(), colunas.size());
  std::string nomes = colunas[0];
  std::string parametros = ":" + colunas[0];
  for (std::size_t indice = 1; indice < colunas.size(); ++indice) {
    nomes += ", " + colunas[indice];
    parametros += ", :" + colunas[indice];
  }
  EXPECT_EQ(sql, "INSERT INTO ZTLANC (" + nomes + ") VALUES(" + parametros + ") ");
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
