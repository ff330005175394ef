#pragma once

#include <string>
#include <vector>

#include "costcenter/Uclsfin_parametroscentrocusto.h"
#include "oradb/TClientDataSet.h"

namespace costcenter_test {

// One apportionment row as the loaders return it.
struct Linha {
  std::string CentroCusto;
  double Percentual = 0;
  double Valor = 0;
  std::string Filial = "1";
};

// A loader's result (the columns CarregaRegistrosLancto returns) built in memory.
inline void CarregarLinhas(TClientDataSet& linhas, const std::vector<Linha>& dados) {
  linhas.AddFieldDef("CODFILIAL", TFieldType::ftString, 2);
  linhas.AddFieldDef("CODIGOCENTROCUSTO", TFieldType::ftString, 40);
  linhas.AddFieldDef("DESCCENTROCUSTO", TFieldType::ftString, 80);
  linhas.AddFieldDef("VALOR", TFieldType::ftFloat);
  linhas.AddFieldDef("PERCRATEIO", TFieldType::ftFloat);
  linhas.AddFieldDef("CCTEMPERMISSAO_ZTLIB", TFieldType::ftString, 1);
  linhas.CreateDataSet();
  for (const Linha& dado : dados) {
    linhas.Append();
    linhas.FieldByName("CODFILIAL").SetAsString(dado.Filial);
    linhas.FieldByName("CODIGOCENTROCUSTO").SetAsString(dado.CentroCusto);
    linhas.FieldByName("DESCCENTROCUSTO").SetAsString("CC " + dado.CentroCusto);
    linhas.FieldByName("VALOR").SetAsFloat(dado.Valor);
    linhas.FieldByName("PERCRATEIO").SetAsFloat(dado.Percentual);
    linhas.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString("S");
    linhas.Post();
  }
  linhas.First();
}

// Parameters of a financial entry with its filter on, as a run has them.
inline void EntradaFinanceira(TParametrosCentroCusto& p, double recnum, double valor) {
  p.DefinirTipoLancamento(tlFinanceiro);
  p.NumTransacao = recnum;
  p.ValorLancto = valor;
  p.CodConta = "3101";
  p.CodFilial = "1";
  p.ContraPartida_Natureza = "N";
  p.cdsRateios().SetFilter("RECNUM = " + std::to_string(static_cast<long long>(recnum)));
  p.cdsRateios().SetFiltered(true);
}

// Appends a row of the entry directly (what the form would have added).
inline void AdicionarRateio(TParametrosCentroCusto& p, const std::string& centro_custo, double percentual,
                            double valor) {
  TClientDataSet& rateios = p.cdsRateios();
  rateios.Append();
  rateios.FieldByName("RECNUM").SetAsFloat(p.NumTransacao);
  rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
  rateios.FieldByName("PERCRATEIO").SetAsFloat(percentual);
  rateios.FieldByName("VALOR").SetAsFloat(valor);
  rateios.Post();
}

// The visible rows as (cost center, value).
inline std::vector<std::pair<std::string, double>> Valores(TClientDataSet& rateios) {
  std::vector<std::pair<std::string, double>> valores;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    valores.emplace_back(rateios.FieldByName("CODIGOCENTROCUSTO").AsString(), rateios.FieldByName("VALOR").AsFloat());
  }
  rateios.First();
  return valores;
}

using ValoresEsperados = std::vector<std::pair<std::string, double>>;

}  // namespace costcenter_test
