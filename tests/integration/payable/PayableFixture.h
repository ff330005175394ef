#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "costcenter/Uclsfin_centrocusto.h"
#include "payable/Uclsfin_contaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace payabletest {

// The cost-center area as a host installs it through the facade's setter, replacing only the
// operation the payable area calls: it records what it is handed.
struct ChamadaCentroCusto {
  std::string CodFilial;
  std::string CodConta;
  double NumTransacao = 0;
  double ValorLancto = 0;
  TDateTime DataLancto;
  std::string ContraPartida;
  bool LancarZTLancBloq = false;
  bool operator==(const ChamadaCentroCusto&) const = default;
};

class CentroCustoDeTeste final : public TValidaCentroCusto {
 public:
  using TValidaCentroCusto::ProcessoCentroCusto;
  using TValidaCentroCusto::TValidaCentroCusto;

  bool ProcessoCentroCusto(bool, TTipoLancamento, const std::string& psCodFilial, const std::string& psCodConta,
                           double prNumTransacao, double prValorLancto, TDateTime pdDataLancto, bool,
                           const std::string& psContraPartida_Natureza, std::int64_t, bool, TDateTime, TDateTime,
                           bool pbLancarZTLancBloq) override {
    Chamadas.push_back({psCodFilial, psCodConta, prNumTransacao, prValorLancto, pdDataLancto, psContraPartida_Natureza,
                        pbLancarZTLancBloq});
    if (Falha) throw Exception(*Falha);
    return true;
  }

  std::vector<ChamadaCentroCusto> Chamadas;
  std::optional<std::string> Falha;
};

using Textos = std::vector<std::string>;

// The entries of these tests live in branch "1", account 3101, in May 2030 unless a test says
// otherwise; every test runs in its own transaction, rolled back at the end.
class PayableTest : public testsupport::HostTest {
 protected:
  static constexpr double kConta = 3101;

  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (501, 'PAPELARIA CENTRAL LTDA')");
  }

  [[nodiscard]] TContasPagar& ContasPagar() { return dynamic_cast<TContasPagar&>(*Financeiro().GetContasPagar()); }

  [[nodiscard]] static TDateTime Dia(int dia, int mes = 5) { return TDateTime::EncodeDate(2030, mes, dia); }

  // An entry every rule accepts (with the host's routine 0 and no parameters set).
  [[nodiscard]] RFin_IncluirContasPagar Valida() {
    RFin_IncluirContasPagar registro;
    registro.Inicializar();
    registro.RECNUM = Host().ProximoRecNum();
    registro.TIPOLANC = "C";
    registro.VALOR = 100;
    registro.CODCONTA = kConta;
    registro.HISTORICO = "MATERIAL DE ESCRITORIO";
    registro.TIPOPARCEIRO = "F";
    registro.CODFORNEC = 501;
    registro.CODFILIAL = "1";
    registro.DTLANC = Dia(10);
    registro.DTVENC = Dia(20);
    registro.DTEMISSAO = Dia(10);
    return registro;
  }

  CentroCustoDeTeste& InstalarCentroCusto() {
    auto* centro_custo = new CentroCustoDeTeste(&Host());  // owned by the host component
    Financeiro().SetCentroCusto(centro_custo);
    return *centro_custo;
  }

  [[nodiscard]] int Linhas(const std::string& tabela, double recnum) {
    return static_cast<int>(
        ScalarNumber("SELECT COUNT(*) FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
  }

  // The columns of one row as text ("" for NULL).
  [[nodiscard]] Textos Valores(const std::string& tabela, double recnum, const Textos& colunas) {
    Textos valores;
    for (const std::string& coluna : colunas) {
      valores.push_back(Scalar("SELECT " + coluna + " FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
    }
    return valores;
  }
};

[[nodiscard]] inline std::string Repetir(const std::string& texto, int vezes) {
  std::string resultado;
  for (int i = 0; i < vezes; ++i) resultado += texto;
  return resultado;
}

}  // namespace payabletest
