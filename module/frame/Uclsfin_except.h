#pragma once

// The financial module's failures: one class per business rule, each with its fixed Portuguese
// message, composed once when the exception is built. The host and its screens tell failures
// apart by class, so the class names are part of the module's contract.
//
// Most classes derive from ExFinanceiro (a catch of ExFinanceiro catches them). The voucher-area
// classes and four customer-credit classes derive from the runtime's standard Exception instead,
// as the host's voucher screens have always expected; a catch of ExFinanceiro lets them through.

#include <string>
#include <string_view>

#include "rtl/Exception.h"

// Base of the module's own failures. Raised by itself it carries no message.
class ExFinanceiro : public TBaseExcecao {
 public:
  ExFinanceiro() = default;
  ~ExFinanceiro() override;
  QUORVIN_EXCEPTION_NAME(ExFinanceiro)
};

// The macros take a class name and its base, which cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)

// A catalogue class whose constructor takes nothing; its message is set in the .cpp.
#define FIN_EXCECAO(name, base)  \
  class name : public base {     \
   public:                       \
    name();                      \
    QUORVIN_EXCEPTION_NAME(name) \
  };

// A catalogue class whose message carries a text the raiser passes (usually an inner message).
#define FIN_EXCECAO_TEXTO(name, base)      \
  class name : public base {               \
   public:                                 \
    explicit name(std::string_view texto); \
    QUORVIN_EXCEPTION_NAME(name)           \
  };

// A catalogue class whose message carries a code, written in its shortest decimal form.
#define FIN_EXCECAO_CODIGO(name, base) \
  class name : public base {           \
   public:                             \
    explicit name(double codigo);      \
    QUORVIN_EXCEPTION_NAME(name)       \
  };

// NOLINTEND(bugprone-macro-parentheses)

// Common
FIN_EXCECAO(ExTransacaoNaoIniciada, ExFinanceiro)
FIN_EXCECAO(ExParametrosNaoInicializados, ExFinanceiro)

// Payable entries
FIN_EXCECAO(ExValorZerado, ExFinanceiro)
FIN_EXCECAO(ExContaGerencialNaoInformada, ExFinanceiro)
FIN_EXCECAO(ExHistoricoNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExCodigoParceiroNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExDataVencimentoNaoInformada, ExFinanceiro)
FIN_EXCECAO(ExDataVencimentoMenorQuePermitidoParam1393, ExFinanceiro)
FIN_EXCECAO(ExDataEmissaoInferiorPermitidoParam1957, ExFinanceiro)
FIN_EXCECAO(ExValorDescontoFinMaiorValorLancto, ExFinanceiro)
FIN_EXCECAO(ExValorDevolucaoMaiorValorLancto, ExFinanceiro)
FIN_EXCECAO(ExValorJurosDeveSerMaiorQueZero, ExFinanceiro)
FIN_EXCECAO(ExLanctoNaoPermitidoNFServicoTipoParceiroOutros, ExFinanceiro)
FIN_EXCECAO(ExLanctoNaoPermitidoNFServicoTipoParceiroCliente, ExFinanceiro)
FIN_EXCECAO(ExLanctoNFServicoRCANumNotaZerado, ExFinanceiro)
FIN_EXCECAO(ExCodigoFilialNaoPreenchido, ExFinanceiro)
FIN_EXCECAO(ExTamanhoRecNumMaiorQueOito, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCodContaMaiorQueDez, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCodFornecMaiorQueDez, ExFinanceiro)
FIN_EXCECAO(ExTamanhoHistoricoMaiorQueDuzentos, ExFinanceiro)
FIN_EXCECAO(ExTamanhoNumNotaMaiorQueDez, ExFinanceiro)
FIN_EXCECAO(ExValorPagoMaiorQuePermitidoPeloCampo, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCampoLocalizacaoMaiorQueVinte, ExFinanceiro)
FIN_EXCECAO(ExTamanhoNumNotaDevMaiorQueDez, ExFinanceiro)
FIN_EXCECAO(ExValorDevolucaoMaiorQuePermitidoPeloCampo, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCampoProrrogacaoMaiorQueQuatro, ExFinanceiro)
FIN_EXCECAO(ExTamanhoNumBorderoMaiorQueSete, ExFinanceiro)
FIN_EXCECAO(ExRecNumVazio, ExFinanceiro)
FIN_EXCECAO(ExTipoLancamentoVazio, ExFinanceiro)
FIN_EXCECAO(ExTipoLancamentoDiferentePeC, ExFinanceiro)
FIN_EXCECAO(ExValorPagoZeradoComDataPagtoPreenchida, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCampoCodigoLancamentoRM, ExFinanceiro)
FIN_EXCECAO(ExDataCompetenciaBloqueadaEncerrada, ExFinanceiro)
FIN_EXCECAO(ExDataEmissaoBloqueadaEncerrada, ExFinanceiro)
FIN_EXCECAO(ExDataLancamentoBloqueadaEncerrada, ExFinanceiro)
FIN_EXCECAO(ExDataPagamentoBloqueadaEncerrada, ExFinanceiro)
FIN_EXCECAO(ExTamanhoCampoDuplic, ExFinanceiro)
FIN_EXCECAO(ExCodigoCobrancaSefaz, ExFinanceiro)
FIN_EXCECAO(ExRazaoCredenciadoraCartao, ExFinanceiro)
FIN_EXCECAO(ExCNPJCredenciadoraCartao, ExFinanceiro)
FIN_EXCECAO(ExNSUTef, ExFinanceiro)
FIN_EXCECAO(ExCodigoBandeiraCartao, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExRetornarVerificarPeriodoBloqueado, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExValidarOrcamentoExcedido, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExSuplementacaoZTNFENTVinculada, ExFinanceiro)

// Cost-center and account apportionment
FIN_EXCECAO(ExNumeroLanctoZerado, ExFinanceiro)
FIN_EXCECAO(ExCodigoContaVazio, ExFinanceiro)
FIN_EXCECAO(ExValorNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExValorMenorQueZero, ExFinanceiro)
FIN_EXCECAO(ExFilialNaoInformada, ExFinanceiro)
FIN_EXCECAO(ExFilialNaoUtilizaCentroCusto, ExFinanceiro)
FIN_EXCECAO(ExContaNaoTrabalhaCentroCusto, ExFinanceiro)
FIN_EXCECAO(ExCodRateioContaNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExValorIgualZero, ExFinanceiro)

// Vouchers and their postings (standard base)
FIN_EXCECAO(ExCodigoFilialObrigatorio, Exception)
FIN_EXCECAO(ExIntervaloDatasInvalida, Exception)
FIN_EXCECAO(ExIntervaloDatasObrigatorio, Exception)
FIN_EXCECAO(ExCodigoParceiroObrigatorio, Exception)
FIN_EXCECAO(ExValorBaixarValeCreditoDebitoObrigatorio, Exception)
FIN_EXCECAO(ExValorBaixarMaiorValorOriginalVale, Exception)
FIN_EXCECAO_TEXTO(ExProcessoBaixaVale, Exception)
FIN_EXCECAO(ExCodigoCaixaBancoObrigatorio, Exception)
FIN_EXCECAO(ExCodigoContaObrigatorio, Exception)
FIN_EXCECAO(ExHistoricoObrigatorio, Exception)
FIN_EXCECAO(ExCodigoHistoricoObrigatorio, Exception)
FIN_EXCECAO(ExNaturezaValeObrigatorio, Exception)
FIN_EXCECAO(ExTipoParceiroObrigatorio, Exception)
FIN_EXCECAO(ExDataLancamentoObrigatorio, Exception)
FIN_EXCECAO(ExDataDocumentoObrigatorio, Exception)
FIN_EXCECAO(ExDataVencimentoObrigatorio, Exception)
FIN_EXCECAO(ExNumeroDocumentoObrigatorio, Exception)
FIN_EXCECAO(ExValorValeObrigatorio, Exception)
FIN_EXCECAO(ExNumeroParcelasObrigatorio, Exception)
FIN_EXCECAO(ExPeriodicidadeValesObrigatorio, Exception)
FIN_EXCECAO(ExOrigemLancamentoObrigatoria, Exception)
FIN_EXCECAO(ExRegistroNaoSelecionadoParaBaixaParcial, Exception)

// A partial write-off mixed vouchers of both natures for one partner. The partner kind letter
// ("F", "M", "R", "P") is written out by name; any other letter reads "Não identificado".
class ExNaoPermitidoBaixaParcialVale : public Exception {
 public:
  ExNaoPermitidoBaixaParcialVale(double codigo, std::string_view tipoParceiro, std::string_view nome);
  QUORVIN_EXCEPTION_NAME(ExNaoPermitidoBaixaParcialVale)
};

FIN_EXCECAO(ExNaoTransferirValeEntreMesmoParceiro, Exception)
FIN_EXCECAO(ExValeJaTransferido, Exception)
FIN_EXCECAO(ExNumeroValeInicialMaiorNumeroValeFinal, Exception)
FIN_EXCECAO(ExNaoPermiteBaixaConsideraBCDiferente, Exception)
FIN_EXCECAO(ExNenhumValeSelecionado, Exception)
FIN_EXCECAO_TEXTO(ExErroInserindoZTLANC, Exception)
FIN_EXCECAO_TEXTO(ExErroEditandoZTCORREN, Exception)
FIN_EXCECAO_TEXTO(ExValidacaoCaixaReceber, Exception)
// The text is the voucher number.
FIN_EXCECAO_TEXTO(ExValeJaEstavaBaixado, Exception)

// Cash movements
FIN_EXCECAO(ExErroAtualizarZTESTCR, ExFinanceiro)
FIN_EXCECAO(ExCodigoCobrancaRecalculoVazia, ExFinanceiro)
FIN_EXCECAO(ExCodigoBancoRecalculoVazio, ExFinanceiro)
FIN_EXCECAO(ExRecalculoCompensacaoDataIniVazia, ExFinanceiro)
FIN_EXCECAO(ExNenhumaOpcaoDeRecalculoSelecionada, ExFinanceiro)
FIN_EXCECAO(ExDataCompensacaoBloqueioEncerramento, ExFinanceiro)

// Receivable titles and bank slips
FIN_EXCECAO(ExNumtransvendaInvalido, ExFinanceiro)
FIN_EXCECAO(ExPrestInvalida, ExFinanceiro)
FIN_EXCECAO(ExUsuarioNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExRotinaNaoInformada, ExFinanceiro)
FIN_EXCECAO(ExNumeroPermissaoAcessoNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExUsuarioSemPermissaoGerarDadosBancarios, ExFinanceiro)
FIN_EXCECAO(ExNaoFoiPossivelBloqueiRegistroBancario, ExFinanceiro)
FIN_EXCECAO(ExCodigoBancoNaoInformado522, ExFinanceiro)
FIN_EXCECAO(ExCodigoBancoNaoInformado, ExFinanceiro)
FIN_EXCECAO(ExRegistroContasReceberNaoEncontrado, ExFinanceiro)
// The text is the bank's number.
FIN_EXCECAO_TEXTO(ExBancoNaoDisponivelParaGerarDadosBancarios, ExFinanceiro)
FIN_EXCECAO(ExNaoExisteBoletosParaSeremImpressos, ExFinanceiro)

// No collection set up for the bank and currency pair.
class ExBancoMoeda : public ExFinanceiro {
 public:
  ExBancoMoeda(std::string_view banco, std::string_view moeda);
  QUORVIN_EXCEPTION_NAME(ExBancoMoeda)
};

FIN_EXCECAO_TEXTO(ExErroAoInserirZTPrest, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExRetornarStatusCobrancaSupplierCard, ExFinanceiro)

// SPED EFD services rendered
FIN_EXCECAO(ExNumInscricaoSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExCodConstCivilVazio, ExFinanceiro)
FIN_EXCECAO(ExNumSerieNFVazio, ExFinanceiro)
FIN_EXCECAO(ExTipoServicoVazio, ExFinanceiro)
FIN_EXCECAO(ExNumSerieNFSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExNumDocumentoSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExDataEmissaoSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExValorBrutoSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExTipoServicoSubContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExCodServicoPrestadoVazio, ExFinanceiro)
FIN_EXCECAO(ExPercentualRetencaoVazio, ExFinanceiro)
FIN_EXCECAO(ExValorRetencaoAdicionalVazio, ExFinanceiro)
FIN_EXCECAO(ExValorAdicionalVazio, ExFinanceiro)
FIN_EXCECAO(ExValorRetencaoNaoEfetuadaContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExValorRetencaoAdicionalNaoEfetuadaContratanteVazio, ExFinanceiro)
FIN_EXCECAO(ExTipoProcessoVazio, ExFinanceiro)
FIN_EXCECAO(ExNumeroProcessoVazio, ExFinanceiro)
FIN_EXCECAO(ExValorRetencaoEmpresaSubcontratadaVazio, ExFinanceiro)

// Customer credit (the four looked up or reversed by code have the standard base)
FIN_EXCECAO(ExCodigoClienteObrigatorio, ExFinanceiro)
FIN_EXCECAO_CODIGO(ExNaoExisteCreditoClienteParaCodigoInformado, Exception)
FIN_EXCECAO_CODIGO(ExExisteMaisDeUmCreditoClienteParaCodigoInformado, Exception)
FIN_EXCECAO_CODIGO(ExCodigoCreditoClienteInformadoJaEstornado, Exception)

// A reversal larger than the credit; both amounts are shown with the host's amount mask.
class ExValorEstornadoMaiorQueValorCredito : public Exception {
 public:
  ExValorEstornadoMaiorQueValorCredito(double valorEstorno, double valorCredito);
  QUORVIN_EXCEPTION_NAME(ExValorEstornadoMaiorQueValorCredito)
};

FIN_EXCECAO_TEXTO(ExErroAoGravarCreditoCliente, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExErroAoEstornarCreditoCliente, ExFinanceiro)
FIN_EXCECAO(ExMotivoObrigatorio, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExErroAoBaixarCreditoCliente, ExFinanceiro)

// Unidentified deposits settled with allowances
FIN_EXCECAO(ExNumeroVerbaObrigatorio, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExErroAoBaixarVerbaComDNI, ExFinanceiro)
FIN_EXCECAO_TEXTO(ExErroAoEstornarVerbaBaixadaComDNI, ExFinanceiro)

#undef FIN_EXCECAO
#undef FIN_EXCECAO_TEXTO
#undef FIN_EXCECAO_CODIGO
