#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
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

std::vector<std::string> Separar(const std::string& lista) {
  std::vector<std::string> itens;
  std::size_t inicio = 0;
  while (true) {
    const std::size_t fim = lista.find(", ", inicio);
    itens.push_back(lista.substr(inicio, fim - inicio));
    if (fim == std::string::npos) break;
    inicio = fim + 2;
  }
  return itens;
}

// The column list and the parameter list of an insert.
struct Insert {
  std::string Tabela;
  std::vector<std::string> Colunas;
  std::vector<std::string> Parametros;
};

Insert Ler(const std::string& sql) {
  const std::string prefixo = "INSERT INTO ";
  EXPECT_EQ(sql.rfind(prefixo, 0), 0U) << sql;
  const std::size_t abre = sql.find(" (");
  const std::size_t fecha = sql.find(") VALUES(");
  EXPECT_NE(fecha, std::string::npos) << sql;
  EXPECT_EQ(sql.substr(sql.size() - 2), ") ") << sql;
  Insert insert;
  insert.Tabela = sql.substr(prefixo.size(), abre - prefixo.size());
  insert.Colunas = Separar(sql.substr(abre + 2, fecha - abre - 2));
  const std::size_t valores = fecha + std::string(") VALUES(").size();
  insert.Parametros = Separar(sql.substr(valores, sql.size() - 2 - valores));
  return insert;
}

long Vezes(const std::vector<std::string>& colunas, const std::string& coluna) {
  return std::count(colunas.begin(), colunas.end(), coluna);
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

struct Destino {
  bool trabalha;
  bool suplementacao;
  bool dentro_aprovacao;
  const char* tabela;
};

class PayableInsertTarget : public ::testing::TestWithParam<Destino> {};

TEST_P(PayableInsertTarget, OnlyAnEntryToBeSupplementedInABranchThatWorksWithItIsHeld) {
  RFin_IncluirContasPagar registro = EntradaMinima();
  registro.DENTROAPROVACAOORCAMENTO = GetParam().dentro_aprovacao;
  EXPECT_EQ(Ler(TDALContasPagar::GetSQLInsertZTLANC(registro, GetParam().trabalha, GetParam().suplementacao)).Tabela,
            GetParam().tabela);
}

INSTANTIATE_TEST_SUITE_P(Matrix, PayableInsertTarget,
                         ::testing::Values(Destino{true, true, false, "ZTLANCBLOQ"},
                                           Destino{true, true, true, "ZTLANC"}, Destino{true, false, false, "ZTLANC"},
                                           Destino{false, true, false, "ZTLANC"},
                                           Destino{false, false, false, "ZTLANC"}));

struct Presenca {
  const char* nome;
  std::function<void(RFin_IncluirContasPagar&)> preparar;
  const char* coluna;
  bool presente;
};

// Test names instead of bytes in failure reports.
void PrintTo(const Presenca& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableInsertColumn : public ::testing::TestWithParam<Presenca> {};

TEST_P(PayableInsertColumn, IsWrittenOnlyWhenItsConditionHolds) {
  RFin_IncluirContasPagar registro = EntradaMinima();
  GetParam().preparar(registro);
  const Insert insert = Ler(TDALContasPagar::GetSQLInsertZTLANC(registro, false, false));
  EXPECT_EQ(Vezes(insert.Colunas, GetParam().coluna), GetParam().presente ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, PayableInsertColumn,
    ::testing::Values(
        Presenca{"NegativeValue", [](auto& r) { r.VALOR = -80; }, "VALOR", true},
        Presenca{"NegativeAccount", [](auto& r) { r.CODCONTA = -3101; }, "CODCONTA", false},
        Presenca{"NegativePaid", [](auto& r) { r.VPAGO = -1; }, "VPAGO", true},
        Presenca{"NegativeReturnNote", [](auto& r) { r.NUMNOTADEV = -1; }, "NUMNOTADEV", false},
        Presenca{"NegativeDiscount", [](auto& r) { r.DESCONTOFIN = -2; }, "DESCONTOFIN", true},
        Presenca{"NegativeInterest", [](auto& r) { r.TXPERM = -2; }, "TXPERM", true},
        Presenca{"NegativeBordero", [](auto& r) { r.NUMBORDERO = -7; }, "NUMBORDERO", false},
        Presenca{"NegativeExchangeVariation", [](auto& r) { r.VLVARIACAOCAMBIAL = -3; }, "VLVARIACAOCAMBIAL", true},
        Presenca{"NegativeForeignValue", [](auto& r) { r.VALORMOEDAESTRANGEIRA = -3; }, "VALORMOEDAESTRANGEIRA",
                 true},
        Presenca{"NegativeOtherValues", [](auto& r) { r.VLOUTRAS = -3; }, "VLOUTRAS", false},
        Presenca{"NegativeWeight", [](auto& r) { r.FROTA_PESO = -3; }, "FROTA_PESO", false},
        Presenca{"NegativeSpedService", [](auto& r) { r.CODSERVICOSPEDEFD = -4; }, "CODSERVICOSPEDEFD", true},
        Presenca{"SettledByRoutine", [](auto& r) { r.CODROTINABAIXA = 631; }, "CODROTINABAIXA", true},
        Presenca{"NoSettlingRoutine", [](auto&) {}, "CODROTINABAIXA", false},
        Presenca{"BlankRmCode", [](auto& r) { r.CODLANCAMENTORM = "   "; }, "CODLANCAMENTORM", false},
        Presenca{"RmCode", [](auto& r) { r.CODLANCAMENTORM = "RM-1"; }, "CODLANCAMENTORM", true},
        Presenca{"NoCardBrand", [](auto& r) { r.BANDEIRACARTAO = 0; }, "BANDEIRACARTAO", false},
        Presenca{"CardBrand", [](auto& r) { r.BANDEIRACARTAO = 1; }, "BANDEIRACARTAO", true},
        Presenca{"PaymentDate", [](auto& r) { r.DTPAGTO = TDateTime::EncodeDate(2024, 3, 21); }, "DTPAGTO", true},
        Presenca{"NoPaymentDate", [](auto&) {}, "DTPAGTO", false},
        Presenca{"QuoteDateFollowsTheDueDate", [](auto& r) { r.DTCOTACAO = TDateTime(); }, "DTCOTACAO", true},
        Presenca{"NoQuoteDateWithoutDueDate", [](auto& r) { r.DTVENC = TDateTime(); }, "DTCOTACAO", false},
        Presenca{"QuoteDateOfItsOwn",
                 [](auto& r) {
                   r.DTVENC = TDateTime();
                   r.DTCOTACAO = TDateTime::EncodeDate(2024, 3, 1);
                 },
                 "DTCOTACAO", true},
        Presenca{"ScheduleDateFollowsTheAccrualDate",
                 [](auto& r) { r.DTCOMPETENCIA = TDateTime::EncodeDate(2024, 3, 1); }, "DTAGENDAMENTO", true},
        Presenca{"NoScheduleDateWithoutAccrual", [](auto&) {}, "DTAGENDAMENTO", false},
        Presenca{"NegotiationFromTheOlderField", [](auto& r) { r.NUMNEGOCIACAO2 = 77; }, "NUMNEGOCIACAO", true},
        Presenca{"BothNegotiationFields",
                 [](auto& r) {
                   r.NUMNEGOCIACAO = 5;
                   r.NUMNEGOCIACAO2 = 77;
                 },
                 "NUMNEGOCIACAO", true},
        Presenca{"SefazCodeFromTheOlderField", [](auto& r) { r.CODCOBSEFAZ2 = "GNRE"; }, "CODCOBSEFAZ", true},
        Presenca{"BothSefazFields",
                 [](auto& r) {
                   r.CODCOBSEFAZ = "DARE";
                   r.CODCOBSEFAZ2 = "GNRE";
                 },
                 "CODCOBSEFAZ", true},
        // Columns no insert writes: read back by settlement and supplementation only.
        Presenca{"NeverAuthentication", [](auto& r) { r.AUTENTICACAO = "X"; }, "AUTENTICACAO", false},
        Presenca{"NeverRejection", [](auto& r) { r.DTREJEICAOSUPLORC = TDateTime::EncodeDate(2024, 1, 1); },
                 "DTREJEICAOSUPLORC", false}),
    [](const ::testing::TestParamInfo<Presenca>& info) { return info.param.nome; });

TEST(PayableInsert, EveryColumnIsPairedWithItsOwnParameterAndNamedOnce) {
  RFin_IncluirContasPagar registro = EntradaMinima();
  // Everything set: the widest statement the record can produce.
  for (const FieldDef<RFin_IncluirContasPagar>& campo : CamposIncluirContasPagar()) {
    std::visit(
        [&](auto membro) {
          using Membro = std::remove_cvref_t<decltype(registro.*membro)>;
          if constexpr (std::is_same_v<Membro, std::string>) {
            registro.*membro = "S";
          } else if constexpr (std::is_same_v<Membro, double> || std::is_same_v<Membro, int>) {
            registro.*membro = 3;
          } else if constexpr (std::is_same_v<Membro, TDateTime>) {
            registro.*membro = TDateTime::EncodeDate(2024, 5, 2);
          }
        },
        campo.Pointer);
  }
  const Insert insert = Ler(TDALContasPagar::GetSQLInsertZTLANC(registro, false, false));
  ASSERT_EQ(insert.Colunas.size(), 139U);
  ASSERT_EQ(insert.Parametros.size(), insert.Colunas.size());
  for (std::size_t indice = 0; indice < insert.Colunas.size(); ++indice) {
    EXPECT_EQ(insert.Parametros[indice], ":" + insert.Colunas[indice]);
    EXPECT_EQ(Vezes(insert.Colunas, insert.Colunas[indice]), 1) << insert.Colunas[indice];
  }
}

}  // namespace
