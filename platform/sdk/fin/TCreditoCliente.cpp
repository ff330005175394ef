#include "sdk/fin/TCreditoCliente.h"

#include "sdk/fin/TContasReceberZTPrest.h"

FieldTable<TCreditoCliente> CamposCreditoCliente() {
  using R = TCreditoCliente;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("CODCLI", &R::CODCLI),
      Date("DTLANC", &R::DTLANC),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Whole("NUMNOTA", &R::NUMNOTA),
      Whole("NUMTRANSVENDA", &R::NUMTRANSVENDA),
      Text("SERIE", &R::SERIE, 3),
      Number("VALOR", &R::VALOR),
      Date("DTDESCONTO", &R::DTDESCONTO),
      Text("CODFILIALDESC", &R::CODFILIALDESC, 2),
      Text("SERIEDESC", &R::SERIEDESC, 3),
      Whole("NUMNOTADESC", &R::NUMNOTADESC),
      Whole("CODFUNC", &R::CODFUNC),
      Whole("HORA", &R::HORA),
      Whole("MINUTO", &R::MINUTO),
      Text("ORIGEM", &R::ORIGEM, 20),
      Whole("NUMTRANSVENDADESC", &R::NUMTRANSVENDADESC),
      Whole("NUMTRANSENTDEVCLI", &R::NUMTRANSENTDEVCLI),
      Text("HISTORICO", &R::HISTORICO, 200),
      Whole("CODFUNCLANC", &R::CODFUNCLANC),
      Whole("NUMPED", &R::NUMPED),
      Text("NUMERARIO", &R::NUMERARIO, 1),
      Whole("CODMOVIMENTO", &R::CODMOVIMENTO),
      Whole("NUMLANCBAIXA", &R::NUMLANCBAIXA),
      Whole("NUMTRANSBAIXA", &R::NUMTRANSBAIXA),
      Whole("NUMLANC", &R::NUMLANC),
      Whole("NUMTRANS", &R::NUMTRANS),
      Whole("NUMPEDECF", &R::NUMPEDECF),
      Whole("NUMCAIXA", &R::NUMCAIXA),
      Whole("CODFUNCCX", &R::CODFUNCCX),
      Text("NUMSERIEEQUIP", &R::NUMSERIEEQUIP, 20),
      Whole("CODROTINA", &R::CODROTINA),
      Text("PRESTRESTCLI", &R::PRESTRESTCLI, 2),
      Text("SITUACAO", &R::SITUACAO, 2),
      Whole("NUMINDENIZ", &R::NUMINDENIZ),
      Text("OBS", &R::OBS, 200),
      Text("CODADMCARTAO", &R::CODADMCARTAO, 10),
      Whole("NUMCUPOM", &R::NUMCUPOM),
      Text("NSUTEF", &R::NSUTEF, 20),
      Whole("BIN", &R::BIN),
      Whole("CODIGO", &R::CODIGO),
      Number("VALORESTORNOLIBERADO", &R::VALORESTORNOLIBERADO),
      Whole("CODCLIORIG", &R::CODCLIORIG),
      Whole("NUMGIFTCARD", &R::NUMGIFTCARD),
      Date("DTEMISSAOTITULO", &R::DTEMISSAOTITULO),
      Whole("NUMCRED", &R::NUMCRED),
      Date("DTESTORNO", &R::DTESTORNO),
      Text("PRESTORIG", &R::PRESTORIG, 2),
  };
  return kCampos;
}

FieldTable<TMovimentacaoFinanceiraCampos> CamposMovimentacaoFinanceira() {
  using R = TMovimentacaoFinanceiraCampos;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Integer("Tipo", &R::Tipo),
      Whole("CodigoCaixaBanco", &R::CodigoCaixaBanco),
      Text("CodigoCobranca", &R::CodigoCobranca, 4),
      Whole("ContaGerencial", &R::ContaGerencial),
      Date("DataCompetencia", &R::DataCompetencia),
  };
  return kCampos;
}

FieldTable<TContasReceberZTPrest> CamposContasReceberZTPrest() {
  using R = TContasReceberZTPrest;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("NUMTRANSVENDA", &R::NUMTRANSVENDA, true),
      Text("PREST", &R::PREST, 2, true),
      Number("VALOR", &R::VALOR),
      Whole("DUPLIC", &R::DUPLIC),
      Whole("NUMASSOCDNI", &R::NUMASSOCDNI),
      Number("VLDESCCUSTODIA", &R::VLDESCCUSTODIA),
      Number("TXPERM", &R::TXPERM),
      Number("VLROUTROSACRESC", &R::VLROUTROSACRESC),
      Number("VALORDESC", &R::VALORDESC),
      Whole("CODFUNCCX", &R::CODFUNCCX),
      Whole("CODFUNCFECHA", &R::CODFUNCFECHA),
      Text("CODCOB", &R::CODCOB, 4),
      Whole("CODCLI", &R::CODCLI),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Number("VALORAPROVEITADOCREDITO", &R::VALORAPROVEITADOCREDITO),
      Date("DTVENC", &R::DTVENC),
      Date("DTVENCORIG", &R::DTVENCORIG),
      Date("DTEMISSAO", &R::DTEMISSAO),
      Date("DTEMISSAOORIG", &R::DTEMISSAOORIG),
      Text("CODCOBORIG", &R::CODCOBORIG, 4),
      Number("VALORORIG", &R::VALORORIG),
      Text("STATUS", &R::STATUS, 1),
      Whole("CODUSUR", &R::CODUSUR),
      Text("OBS2", &R::OBS2, 100),
  };
  return kCampos;
}
