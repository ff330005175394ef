#include "costcenter/Uclsfin_dalcentrocusto.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <exception>
#include <map>
#include <set>
#include <vector>

#include "oradb/TOraPipeline.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"

namespace {

void Montar(TOraQuery& query, const TStringList& sql) {
  query.Close();
  query.SQL.Clear();
  for (const std::string& line : sql.Lines()) query.SQL.Add(line);
}

// A date of the row: NULL when not set.
void VincularData(TOraParam& param, const TField& field) {
  if (field.IsNull()) {
    param.Clear();
  } else {
    param.SetAsDateTimeOrNull(field.AsDateTime());
  }
}

// Numbers of a result read by cost center (first row of each code).
std::map<std::string, double> ValoresPorCentroCusto(TOraQuery& query, const char* coluna) {
  std::map<std::string, double> valores;
  for (query.First(); !query.Eof(); query.Next()) {
    const std::string codigo = Trim(query.FieldByName("CODIGOCENTROCUSTO").AsString());
    valores.emplace(codigo, query.FieldByName(coluna).AsFloat());
  }
  return valores;
}

}  // namespace

TDALCentroCusto::TDALCentroCusto(TComponent* owner, TTipoLancamento tipo) : TBaseSubModulo(owner), fTipoLancto(tipo) {}

TDALCentroCusto::~TDALCentroCusto() = default;

TOraSession& TDALCentroCusto::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

int TDALCentroCusto::CodigoFuncionario() {
  return Quorvin().SessaoAtual().Usuario().Matricula();
}

bool TDALCentroCusto::LancarZTLancBloqGeral() {
  IGerenteFinanceiro* gerente = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas_pagar = gerente == nullptr ? nullptr : gerente->GetContasPagar();
  return contas_pagar != nullptr && contas_pagar->GetLancarZTLancBloqGeral();
}

// ---------------------------------------------------------------------------------------------
// Pure helpers

std::string TDALCentroCusto::TabelaRateioFinanceiro(bool trabalha_suplementacao, bool lancar_bloqueado,
                                                    bool permitir_acima_orcado) {
  return trabalha_suplementacao && lancar_bloqueado && !permitir_acima_orcado ? "ZTRATEIOCENTROCUSTOBLOQ"
                                                                              : "ZTRATEIOCENTROCUSTO";
}

bool TDALCentroCusto::LerItemSolicitacao(const std::string& historico2, TItemSolicitacaoMateriais& item) {
  const std::size_t separador = historico2.find(';');
  if (separador == std::string::npos) return false;
  item.NumeroSolicitacao = TextoParaNumero(historico2.substr(0, separador));
  item.CodProduto = TextoParaNumero(historico2.substr(separador + 1));
  return true;
}

// ---------------------------------------------------------------------------------------------
// Loaders

TLinhasCarregadas TDALCentroCusto::NovasLinhas() {
  return TLinhasCarregadas{std::make_unique<TOraQuery>(&Sessao())};
}

TLinhasCarregadas TDALCentroCusto::RegistrosLancto(TParametrosCentroCusto& pParametrosCentroCusto,
                                                   double prNumTransacao) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRegistrosLancto(pParametrosCentroCusto, *linhas.Consulta, prNumTransacao);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::RegistrosDesdobramento(TParametrosCentroCusto& pParametrosCentroCusto) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRegistrosDesdobramento(pParametrosCentroCusto, *linhas.Consulta);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::RateioPadrao(const std::string& psCodRateio) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRateioPadrao(*linhas.Consulta, psCodRateio);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::RateioPadraoConta_Gerencial(TParametrosCentroCusto& pParametrosCentroCusto) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaRateioPadraoConta_Gerencial(*linhas.Consulta, pParametrosCentroCusto);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::LanctoPadrao_Contabil(const std::string& psCodConta, double prCodLanctoPadrao) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaLanctoPadrao_Contabil(*linhas.Consulta, psCodConta, prCodLanctoPadrao);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::LancamentosEntrada(double prNumTransEnt, double prNumNota) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaLancamentosEntrada(*linhas.Consulta, prNumTransEnt, prNumNota);
  return linhas;
}

TLinhasCarregadas TDALCentroCusto::LancamentosSaida(double prNumTransVenda) {
  TLinhasCarregadas linhas = NovasLinhas();
  linhas.TemLinhas = CarregaLancamentosSaida(*linhas.Consulta, prNumTransVenda);
  return linhas;
}

bool TDALCentroCusto::CarregaRegistrosLancto(TParametrosCentroCusto& pParametrosCentroCusto, TOraQuery& pQryDados,
                                             double prNumTransacao) {
  const TStringList sql = GetSQLRegistrosLancto(pParametrosCentroCusto, LancarZTLancBloqGeral());
  if (sql.IsEmpty()) return false;
  Montar(pQryDados, sql);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  if (pParametrosCentroCusto.LanctoOrcamento) {
    pQryDados.ParamByName("ANO").SetAsFloat(pParametrosCentroCusto.Ano);
    pQryDados.ParamByName("MES").SetAsFloat(pParametrosCentroCusto.Mes);
    pQryDados.ParamByName("CODFILIAL").SetAsString(pParametrosCentroCusto.CodFilial);
    pQryDados.ParamByName("CODCONTA").SetAsString(pParametrosCentroCusto.CodConta);
  } else {
    pQryDados.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
  }
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRegistrosDesdobramento(TParametrosCentroCusto& pParametrosCentroCusto,
                                                    TOraQuery& pQryDados) {
  if (Trim(pParametrosCentroCusto.ListaRecNumDesdobramento).empty()) return false;
  Montar(pQryDados, GetSQLRegistrosDesdobramento(ListaRecNumSegura(pParametrosCentroCusto.ListaRecNumDesdobramento)));
  pQryDados.ParamByName("VLRTOTAL").SetAsFloat(pParametrosCentroCusto.VlrTotalTitulosSelecionadosDesd);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRateioPadrao(TOraQuery& pQryDados, const std::string& psCodRateio) {
  Montar(pQryDados, GetSQLRateioPadrao());
  pQryDados.ParamByName("CODRATEIOCC").SetAsString(psCodRateio);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaRateioPadraoConta_Gerencial(TOraQuery& pQryDados,
                                                         TParametrosCentroCusto& pParametrosCentroCusto) {
  const std::string conta = Trim(pParametrosCentroCusto.CodContaAReplicar).empty()
                                ? pParametrosCentroCusto.CodConta
                                : pParametrosCentroCusto.CodContaAReplicar;
  // Routine 3424 posts the entries of material requests: each item may carry its own apportionment.
  if (Quorvin().SessaoAtual().Usuario().CodigoRotina() == 3424) {
    const TItemSolicitacaoMateriais item =
        BuscarInformacoesItemSolicitacaoMateriaisNaZTLanc(pParametrosCentroCusto.NumTransacao);
    Montar(pQryDados, GetSQLRateioPadraoConta(true));
    pQryDados.ParamByName("CODCONTA").SetAsString(conta);
    pQryDados.ParamByName("NUMEROSOLICITACAO").SetAsFloat(item.NumeroSolicitacao);
    pQryDados.ParamByName("CODPRODUTO").SetAsFloat(item.CodProduto);
    pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
    pQryDados.Open();
    if (!pQryDados.IsEmpty()) return true;
  }
  Montar(pQryDados, GetSQLRateioPadraoConta(false));
  pQryDados.ParamByName("CODCONTA").SetAsString(conta);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLanctoPadrao_Contabil(TOraQuery& pQryDados, const std::string& psCodConta,
                                                   double prCodLanctoPadrao) {
  Montar(pQryDados, GetSQLLanctoPadraoContabil());
  pQryDados.ParamByName("CODCONTA").SetAsString(psCodConta);
  pQryDados.ParamByName("CODLANCPADRAO").SetAsFloat(prCodLanctoPadrao);
  pQryDados.ParamByName("CODFUNC").SetAsInteger(CodigoFuncionario());
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLancamentosEntrada(TOraQuery& pQryDados, double prNumTransEnt, double prNumNota) {
  Montar(pQryDados, GetSQLLancamentosEntrada());
  pQryDados.ParamByName("NUMTRANSENT").SetAsFloat(prNumTransEnt);
  pQryDados.ParamByName("NUMNOTANF").SetAsFloat(prNumNota);
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

bool TDALCentroCusto::CarregaLancamentosSaida(TOraQuery& pQryDados, double prNumTransVenda) {
  Montar(pQryDados, GetSQLLancamentosSaida());
  pQryDados.ParamByName("NUMTRANSVENDA").SetAsFloat(prNumTransVenda);
  pQryDados.Open();
  return !pQryDados.IsEmpty();
}

void TDALCentroCusto::CriarCdsContaCentroCusto(TTipoLancamento tipo) {
  fcdsContaCentroCusto = std::make_unique<TClientDataSet>();
  fcdsContaCentroCusto->AddFieldDef("CODCONTA", TFieldType::ftString, 12, true);
  fcdsContaCentroCusto->AddFieldDef("USACENTROCUSTO", TFieldType::ftString, 1, true);
  if (tipo == tlContabil) fcdsContaCentroCusto->AddFieldDef("CODPLANOCONTA", TFieldType::ftInteger, 0, true);
  fcdsContaCentroCusto->CreateDataSet();
}

TClientDataSet& TDALCentroCusto::GetCdsContaCentroCusto() {
  if (!fcdsContaCentroCusto) CriarCdsContaCentroCusto(fTipoLancto);
  return *fcdsContaCentroCusto;
}

void TDALCentroCusto::CarregaContasCentroCusto(TTipoLancamento TipoLancamento) {
  // Read on first access and kept for the sub-module's life, as long as the kind of entry stays
  // the same; another kind rebuilds it (accounting accounts carry their chart of accounts).
  if (fcdsContaCentroCusto && fTipoContasCarregadas == TipoLancamento) {
    fcdsContaCentroCusto->First();
    return;
  }
  CriarCdsContaCentroCusto(TipoLancamento);
  fTipoContasCarregadas = TipoLancamento;
  const TStringList sql = GetSQLContasCentroCusto(TipoLancamento);
  if (sql.IsEmpty()) return;
  TOraQuery query(&Sessao());
  Montar(query, sql);
  query.Open();
  TClientDataSet& contas = *fcdsContaCentroCusto;
  for (query.First(); !query.Eof(); query.Next()) {
    contas.Append();
    for (std::size_t index = 0; index < query.FieldCount(); ++index) {
      TField origem = query.Fields(index);
      if (auto destino = contas.FindField(origem.FieldName())) destino->SetAsString(origem.AsString());
    }
    contas.Post();
  }
  contas.First();
}

TItemSolicitacaoMateriais TDALCentroCusto::BuscarInformacoesItemSolicitacaoMateriaisNaZTLanc(double prRecNum) {
  TItemSolicitacaoMateriais item;
  TOraQuery query(&Sessao());
  Montar(query, GetSQLItemSolicitacaoMateriais());
  query.ParamByName("RECNUM").SetAsFloat(prRecNum);
  query.Open();
  if (query.IsEmpty()) return item;
  if (LerItemSolicitacao(query.FieldByName("HISTORICO2").AsString(), item)) {
    item.CodConta = query.FieldByName("CODCONTA").AsFloat();
  }
  return item;
}

std::unique_ptr<TOraQuery> TDALCentroCusto::ExisteCentroCustoPrioritario(const std::string& pCodConta) {
  auto query = std::make_unique<TOraQuery>(&Sessao());
  Montar(*query, GetSQLCentroCustoPrioritario());
  query->ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(pCodConta));
  query->Open();
  return query;
}

bool TDALCentroCusto::ValidaCentroCustoPrioritario(const std::string& pCodConta, const std::string& pCodCentroCusto) {
  const std::unique_ptr<TOraQuery> query = ExisteCentroCustoPrioritario(pCodConta);
  for (query->First(); !query->Eof(); query->Next()) {
    if (Trim(query->FieldByName("CODIGOCENTROCUSTO").AsString()) == Trim(pCodCentroCusto)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// The in-memory row

namespace {

// Moves to the first visible row that satisfies `igual`; false leaves the cursor at the end.
template <class Predicado>
bool Localizar(TDataSet& dados, Predicado igual) {
  for (dados.First(); !dados.Eof(); dados.Next()) {
    if (igual(dados)) return true;
  }
  return false;
}

}  // namespace

bool TDALCentroCusto::InsereCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, bool nova) {
  TParametrosCentroCusto& p = pParametrosCentroCusto;
  TClientDataSet& rateios = p.cdsRateios();
  try {
    if (!rateios.Active()) TParametrosCentroCusto::CriarCdsRateios(rateios);
    const std::string centro_custo = Trim(p.CodCentroCusto);
    bool editar = p.AlterandoLancto;
    if (!editar && !nova && (p.LanctoFinanceiro || p.LanctoContabil)) {
      const char* chave = p.LanctoFinanceiro ? "RECNUM" : "NUMTRANSLANCTO";
      editar = Localizar(rateios, [&](TDataSet& linha) {
        return !linha.FieldByName(chave).IsNull() && linha.FieldByName(chave).AsFloat() == p.NumTransacao &&
               Trim(linha.FieldByName("CODIGOCENTROCUSTO").AsString()) == centro_custo;
      });
    }
    if (editar) {
      rateios.Edit();
    } else {
      rateios.Append();
    }
    if (!p.LanctoContabil) rateios.FieldByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
    rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
    rateios.FieldByName("DESCCENTROCUSTO").SetAsString(p.DescCentroCusto);
    if (p.PercRateio > 0) {
      rateios.FieldByName("PERCRATEIO").SetAsFloat(p.PercRateio);
      rateios.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString(p.CCTemPermissao_ZTLib);
    }
    if (p.LanctoFinanceiro) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("RECNUM").SetAsFloat(p.NumTransacao);
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
      if (p.DataLancto.IsZero()) {
        rateios.FieldByName("DTLANC").Clear();
      } else {
        rateios.FieldByName("DTLANC").SetAsDateTime(p.DataLancto);
      }
      rateios.FieldByName("CONTRAPARTIDA").SetAsString(p.ContraPartida_Natureza);
      if (p.ContraPartida_Natureza == "S" || p.NumTransPrinc_CodPlanoConta != 0) {
        rateios.FieldByName("RECNUMPRINC").SetAsFloat(p.NumTransPrinc_CodPlanoConta);
      }
    } else if (p.LanctoContabil) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("NUMTRANSLANCTO").SetAsFloat(p.NumTransacao);
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
      rateios.FieldByName("NATUREZA").SetAsString(p.ContraPartida_Natureza);
    } else if (p.LanctoOrcamento) {
      rateios.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
      rateios.FieldByName("ANO").SetAsFloat(p.Ano);
      rateios.FieldByName("MES").SetAsFloat(p.Mes);
      rateios.FieldByName("CODCONTA").SetAsFloat(TextoParaNumero(p.CodConta));
      rateios.FieldByName("VALOR").SetAsFloat(p.ValorRateio);
    }
    rateios.Post();
    return true;
  } catch (const Exception& falha) {
    if (rateios.State() == TDataSetState::dsEdit || rateios.State() == TDataSetState::dsInsert) rateios.Cancel();
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de gravar o Centro de Custo! Erro: " + falha.Message()));
  }
}

// ---------------------------------------------------------------------------------------------
// Writers

void TDALCentroCusto::ExecutarPorLinha(TParametrosCentroCusto& parametros, const TStringList& sql,
                                       void (*vincular)(TOraQuery&, TDataSet&), bool registrar_falha) {
  // One statement per row, all sent in one round trip; the first that fails stops the rest.
  TClientDataSet& rateios = parametros.cdsRateios();
  std::deque<TOraQuery> consultas;
  TOraPipeline lote(&Sessao());
  const auto executar = [&](auto&& passo) {
    try {
      passo();
    } catch (const Exception& falha) {
      if (registrar_falha) GetValidador().Add(falha.Message());
      throw;
    }
  };
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    TOraQuery& query = consultas.emplace_back(&Sessao());
    Montar(query, sql);
    vincular(query, rateios);
    executar([&] { lote.ExecSQL(query); });
  }
  executar([&] { lote.Execute(); });
  rateios.First();
}

void TDALCentroCusto::InserirZTRATEIOCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto,
                                                 bool pLancarZtLancBloq) {
  const bool suplementacao =
      Quorvin().Parametros().ValorTextoFilial("TRABSUPLORC", pParametrosCentroCusto.CodFilial, "N") == "S";
  const std::string tabela = TabelaRateioFinanceiro(suplementacao, pLancarZtLancBloq,
                                                    pParametrosCentroCusto.PermitirGerarLancamentoAcimaOrcado);
  if (tabela == "ZTRATEIOCENTROCUSTOBLOQ") {
    // A held entry's rows are written whole each time: the earlier held rows of the entry go, or
    // its approval would copy both.
    std::set<double> lancamentos;
    TClientDataSet& rateios = pParametrosCentroCusto.cdsRateios();
    for (rateios.First(); !rateios.Eof(); rateios.Next()) lancamentos.insert(rateios.FieldByName("RECNUM").AsFloat());
    for (const double recnum : lancamentos) {
      TOraQuery query(&Sessao());
      Montar(query, GetSQLDeleteBloqueados());
      query.ParamByName("RECNUM").SetAsFloat(recnum);
      query.ExecSQL();
    }
  }
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCENTROCUSTO(tabela),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("RECNUM").SetAsFloat(linha.FieldByName("RECNUM").AsFloat());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        VincularData(query.ParamByName("DTLANC"), linha.FieldByName("DTLANC"));
        query.ParamByName("CONTRAPARTIDA").SetAsString(linha.FieldByName("CONTRAPARTIDA").AsString());
        query.ParamByName("RECNUMPRINC").SetAsFloat(linha.FieldByName("RECNUMPRINC").AsFloat());
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("ORCAMENTOEXCEDIDO").SetAsString(linha.FieldByName("ORCAMENTOEXCEDIDO").AsString());
      },
      true);
}

void TDALCentroCusto::InserirZTRATEIOCONTABILCC(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCONTABILCC(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("NUMTRANSLANCTO").SetAsFloat(linha.FieldByName("NUMTRANSLANCTO").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("NATUREZA").SetAsString(linha.FieldByName("NATUREZA").AsString());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
      },
      false);
}

void TDALCentroCusto::InserirZTORCLANCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTORCLANCENTROCUSTO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("ANO").SetAsFloat(linha.FieldByName("ANO").AsFloat());
        query.ParamByName("MES").SetAsString(linha.FieldByName("MES").AsString());
        query.ParamByName("CODFILIAL").SetAsString(linha.FieldByName("CODFILIAL").AsString());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        query.ParamByName("VALOR").SetAsFloat(linha.FieldByName("VALOR").AsFloat());
      },
      false);
}

void TDALCentroCusto::InserirZTCONTACENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTCONTACENTROCUSTO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODCENTROCUSTO").Clear();  // only the current code is stored
        query.ParamByName("PERCRATEIO").SetAsFloat(linha.FieldByName("PERCRATEIO").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
      },
      false);
}

void TDALCentroCusto::InserirZTRATEIOCENTROCUSTOPRIORITARIO(TParametrosCentroCusto& pParametrosCentroCusto) {
  ExecutarPorLinha(
      pParametrosCentroCusto, GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO(),
      [](TOraQuery& query, TDataSet& linha) {
        query.ParamByName("RECNUM").SetAsFloat(linha.FieldByName("RECNUM").AsFloat());
        query.ParamByName("CODCONTA").SetAsFloat(linha.FieldByName("CODCONTA").AsFloat());
        query.ParamByName("CODIGOCENTROCUSTO").SetAsString(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
      },
      true);
}

// ---------------------------------------------------------------------------------------------
// Deletes, updates, reversal, replication, commit

void TDALCentroCusto::DeleteTodosCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, double prNumTransacao) {
  const TParametrosCentroCusto& p = pParametrosCentroCusto;
  try {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLDeleteTodos(p));
    if (p.LanctoOrcamento && !p.LanctoFinanceiro && !p.LanctoContabil) {
      query.ParamByName("ANO").SetAsFloat(p.Ano);
      query.ParamByName("MES").SetAsFloat(p.Mes);
      query.ParamByName("CODFILIAL").SetAsString(p.CodFilial);
      query.ParamByName("CODCONTA").SetAsString(p.CodConta);
    } else {
      query.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
    }
    query.ExecSQL();
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Foi encontrado erro no momento de excluir registros antigos do Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::DeleteCentroCustoPrioritario(TParametrosCentroCusto& pParametrosCentroCusto) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLDeletePrioritario());
  query.ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(pParametrosCentroCusto.CodConta));
  query.ExecSQL();
}

bool TDALCentroCusto::EditaLanctosCentroCustoContabil(TParametrosCentroCusto& pParametrosCentroCusto,
                                                      double prNumTransacao, bool pbFilial) {
  if (!pParametrosCentroCusto.LanctoContabil) return false;
  try {
    if (pbFilial) {
      TOraQuery query(&Sessao());
      Montar(query, GetSQLEditaContabil());
      query.ParamByName("CODFILIAL").SetAsString(pParametrosCentroCusto.CodFilial);
      query.ParamByName("NUMTRANSACAO").SetAsFloat(prNumTransacao);
      query.ExecSQL();
    }
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Foi encontrado erro no momento de editar registros antigos do Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta,
                                              const std::string& CodFilial) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLAlterarConta());
  query.ParamByName("CODCONTA").SetAsInteger(CodConta);
  query.ParamByName("RECNUM").SetAsInteger(RecNum);
  query.ParamByName("CODFILIAL").SetAsString(CodFilial);
  query.ExecSQL();
}

void TDALCentroCusto::estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa,
                                     std::int64_t recnumPernaPositiva) {
  TParametrosCentroCusto sem_uso;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLEstornarRateio(recNumPernaNegativa, recnumPernaPositiva));
    query.ParamByName("recNoEstornado").SetAsInteger(recNumEstornado);
    query.ExecSQL();
  }
  Commit_InsercaoCentroCusto(sem_uso);
}

void TDALCentroCusto::ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio) {
  TParametrosCentroCusto sem_uso;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLReplicarRateio(recNumNovoRateio));
    query.ParamByName("RECNUMAREPLICAR").SetAsInteger(recNumAReplicar);
    query.ExecSQL();
  }
  Commit_InsercaoCentroCusto(sem_uso);
}

std::set<std::int64_t> TDALCentroCusto::TravarLancamentos(const std::vector<std::int64_t>& recnums, bool bloqueados) {
  std::set<std::int64_t> existentes;
  if (recnums.empty()) return existentes;
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarLancamentos(recnums.size(), bloqueados));
  for (std::size_t indice = 0; indice < recnums.size(); ++indice) {
    query.ParamByName("RECNUM" + std::to_string(indice + 1)).SetAsInteger(recnums[indice]);
  }
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) {
    existentes.insert(static_cast<std::int64_t>(query.FieldByName("RECNUM").AsFloat()));
  }
  return existentes;
}

bool TDALCentroCusto::TravarLancamentoContabil(std::int64_t numtranslancto) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarLancamentoContabil());
  query.ParamByName("NUMTRANSLANCTO").SetAsInteger(numtranslancto);
  query.Open();
  return !query.IsEmpty();
}

bool TDALCentroCusto::TravarConta(std::int64_t codconta) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLTravarConta());
  query.ParamByName("CODCONTA").SetAsInteger(codconta);
  query.Open();
  return !query.IsEmpty();
}

int TDALCentroCusto::QuantidadeRateios(std::int64_t recnum) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLQuantidadeRateios());
  query.ParamByName("RECNUM").SetAsInteger(recnum);
  query.Open();
  return static_cast<int>(query.FieldByName("QTD").AsFloat());
}

bool TDALCentroCusto::ExisteConta(std::int64_t codconta) {
  TOraQuery query(&Sessao());
  Montar(query, GetSQLExisteConta());
  query.ParamByName("CODCONTA").SetAsInteger(codconta);
  query.Open();
  return query.FieldByName("QTD").AsFloat() > 0;
}

std::map<std::string, bool> TDALCentroCusto::CentrosCustoCadastrados(const std::vector<std::string>& codigos) {
  // A bounded number of binds per statement, however many rows the caller gives.
  constexpr std::size_t kPorConsulta = 100;
  std::map<std::string, bool> cadastrados;
  for (std::size_t inicio = 0; inicio < codigos.size(); inicio += kPorConsulta) {
    const std::size_t quantidade = std::min(kPorConsulta, codigos.size() - inicio);
    TOraQuery query(&Sessao());
    Montar(query, GetSQLCentrosCustoCadastrados(quantidade));
    for (std::size_t indice = 0; indice < quantidade; ++indice) {
      query.ParamByName("CODIGO" + std::to_string(indice + 1)).SetAsString(codigos[inicio + indice]);
    }
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) {
      cadastrados[Trim(query.FieldByName("CODIGOCENTROCUSTO").AsString())] =
          query.FieldByName("ATIVO").AsString() == "S";
    }
  }
  return cadastrados;
}

void TDALCentroCusto::Commit_InsercaoCentroCusto(TParametrosCentroCusto& /*pParametrosCentroCusto*/) {
  try {
    Sessao().Commit();
  } catch (const Exception& falha) {
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de comitar o Centro de Custo! Erro: " + falha.Message()));
  }
}

void TDALCentroCusto::RollBack_InsercaoCentroCusto(TParametrosCentroCusto& /*pParametrosCentroCusto*/) {
  try {
    Sessao().Rollback();
  } catch (const Exception& falha) {
    std::throw_with_nested(
        Exception("Foi encontrado erro no momento de cancelar o Centro de Custo! Erro: " + falha.Message()));
  }
}

// ---------------------------------------------------------------------------------------------
// Budget by account and cost center

TOrcamentosCentroCusto TDALCentroCusto::OrcamentosTravados(const std::string& codconta, const std::string& filial,
                                                           int mes, int ano, const std::set<std::string>& centros,
                                                           const std::vector<TStringList>& realizados) {
  const auto vincular = [&](TOraQuery& query) {
    query.ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(codconta));
    query.ParamByName("CODFILIAL").SetAsString(filial);
    query.ParamByName("MES").SetAsInteger(mes);
    query.ParamByName("ANO").SetAsInteger(ano);
  };
  std::map<std::string, double> orcamentos;
  {
    TOraQuery query(&Sessao());
    Montar(query, GetSQLOrcamentoConta(mes));
    vincular(query);
    query.Open();
    if (query.IsEmpty()) return {};  // no budget for the account in the month
    orcamentos = ValoresPorCentroCusto(query, "ORCAMENTO_MES_CENTRO_CUSTO");
  }
  // std::set keeps code order, so sessions never wait on each other in a circle. The locks and the
  // sums after them go in one round trip; the server runs them in this order.
  TOrcamentosCentroCusto resultado;
  std::deque<TOraQuery> consultas;
  TOraPipeline lote(&Sessao());
  for (const std::string& centro_custo : centros) {
    const auto orcamento = orcamentos.find(centro_custo);
    if (orcamento == orcamentos.end()) continue;
    TOraQuery& query = consultas.emplace_back(&Sessao());
    Montar(query, GetSQLTravarOrcamentoCentroCusto());
    vincular(query);
    query.ParamByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
    lote.Open(query);
    resultado[centro_custo] = {orcamento->second, 0};
  }
  if (resultado.empty()) return resultado;
  const std::size_t travas = consultas.size();
  for (const TStringList& sql : realizados) {
    TOraQuery& query = consultas.emplace_back(&Sessao());
    Montar(query, sql);
    vincular(query);
    lote.Open(query);
  }
  lote.Execute();
  for (std::size_t indice = travas; indice < consultas.size(); ++indice) {
    const std::map<std::string, double> totais = ValoresPorCentroCusto(consultas[indice], "TOTAL");
    for (auto& [centro_custo, orcamento] : resultado) {
      const auto total = totais.find(centro_custo);
      if (total != totais.end()) orcamento.Realizado += total->second;
    }
  }
  return resultado;
}

std::map<std::string, double> TDALCentroCusto::RealizadoPorCentroCusto(const TStringList& sql,
                                                                       const std::string& codconta,
                                                                       const std::string& filial, int mes, int ano) {
  TOraQuery query(&Sessao());
  Montar(query, sql);
  query.ParamByName("CODCONTA").SetAsFloat(TextoParaNumero(codconta));
  query.ParamByName("CODFILIAL").SetAsString(filial);
  query.ParamByName("MES").SetAsInteger(mes);
  query.ParamByName("ANO").SetAsInteger(ano);
  query.Open();
  return ValoresPorCentroCusto(query, "TOTAL");
}

TOrcamentosCentroCusto TDALCentroCusto::ValidarOrcamentoConta(const std::string& codconta, const std::string& filial,
                                                              int mes, int ano, bool por_competencia,
                                                              bool suplementacao,
                                                              const std::set<std::string>& centros) {
  std::vector<TStringList> realizados{GetSQLRealizadoConta(false, por_competencia)};
  if (suplementacao) realizados.push_back(GetSQLRealizadoConta(true, por_competencia));
  return OrcamentosTravados(codconta, filial, mes, ano, centros, realizados);
}
