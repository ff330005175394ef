#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/Uclsfin_except.h"
#include "sdk/Formatacao.h"

namespace {

enum class Base { kFinanceiro, kStandard };
constexpr Base kFinanceiro = Base::kFinanceiro;
constexpr Base kStandard = Base::kStandard;

struct CatalogueCase {
  std::string label;
  std::function<void()> raise;
  std::string className;
  std::string message;
  Base base;
};

void PrintTo(const CatalogueCase& c, std::ostream* os) {
  *os << c.label;
}

// clang-format off
#define ROW_NAMED(label, E, base, message, ...) \
  CatalogueCase{#label, [] { throw E(__VA_ARGS__); }, #E, message, base}
// clang-format on
#define ROW(E, base, message, ...) ROW_NAMED(E, E, base, message __VA_OPT__(, ) __VA_ARGS__)

// Every class of the catalogue, with the message typed as the user reads it.
std::vector<CatalogueCase> Catalogue() {
  return {
      ROW(ExFinanceiro, kFinanceiro, ""),
      // Common
      ROW(ExTransacaoNaoIniciada, kFinanceiro, "Transação não iniciada."),
      ROW(ExParametrosNaoInicializados, kFinanceiro, "Parâmetros não inicializados."),
      // Payable entries
      ROW(ExValorZerado, kFinanceiro, "O valor informado não pode estar vazio ou igual a zero."),
      ROW(ExContaGerencialNaoInformada, kFinanceiro, "Conta gerencial não informada"),
      ROW(ExHistoricoNaoInformado, kFinanceiro, "O histórico não foi informado."),
      ROW(ExCodigoParceiroNaoInformado, kFinanceiro, "O Código do parceiro não foi informado."),
      ROW(ExDataVencimentoNaoInformada, kFinanceiro, "Data de Vencimento não informada"),
      ROW(ExDataVencimentoMenorQuePermitidoParam1393, kFinanceiro,
          "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro 1393 da "
          "rotina 132."),
      ROW(ExDataEmissaoInferiorPermitidoParam1957, kFinanceiro,
          "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132."),
      ROW(ExValorDescontoFinMaiorValorLancto, kFinanceiro, "Valor do desconto financeiro maior que valor do título."),
      ROW(ExValorDevolucaoMaiorValorLancto, kFinanceiro, "Valor devolução maior que o valor do título."),
      ROW(ExValorJurosDeveSerMaiorQueZero, kFinanceiro, "Não é possivel incluir valor de juros negativo."),
      ROW(ExLanctoNaoPermitidoNFServicoTipoParceiroOutros, kFinanceiro,
          "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."),
      ROW(ExLanctoNaoPermitidoNFServicoTipoParceiroCliente, kFinanceiro,
          "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."),
      ROW(ExLanctoNFServicoRCANumNotaZerado, kFinanceiro,
          "Para lançamentos de NF Serviço o número da nota é obrigatório."),
      ROW(ExCodigoFilialNaoPreenchido, kFinanceiro, "Deve ser informado o código filial."),
      ROW(ExTamanhoRecNumMaiorQueOito, kFinanceiro, "Campo RECNUM deve receber tamanho 8."),
      ROW(ExTamanhoCodContaMaiorQueDez, kFinanceiro, "Campo CODCONTA deve ter tamanho máximo 10."),
      ROW(ExTamanhoCodFornecMaiorQueDez, kFinanceiro, "Campo CODFORNEC deve ter tamanho máximo 10."),
      ROW(ExTamanhoHistoricoMaiorQueDuzentos, kFinanceiro, "Campo HISTORICO varchar (200)"),
      ROW(ExTamanhoNumNotaMaiorQueDez, kFinanceiro, "Campo NUMNOTA number(10)"),
      ROW(ExValorPagoMaiorQuePermitidoPeloCampo, kFinanceiro, "Campo VPAGO number(12,2)."),
      ROW(ExTamanhoCampoLocalizacaoMaiorQueVinte, kFinanceiro, "Campo LOCALIZAÇÃO varchar(20)."),
      ROW(ExTamanhoNumNotaDevMaiorQueDez, kFinanceiro, "Campo NUMNOTADEV number(10)."),
      ROW(ExValorDevolucaoMaiorQuePermitidoPeloCampo, kFinanceiro, "Campo VALORDEV number (12,2)."),
      ROW(ExTamanhoCampoProrrogacaoMaiorQueQuatro, kFinanceiro, "Campo PRORROG number(4)."),
      ROW(ExTamanhoNumBorderoMaiorQueSete, kFinanceiro, "Campo NUMBORDERO number(6)"),
      ROW(ExRecNumVazio, kFinanceiro, "O recnum deve estar preenchido."),
      ROW(ExTipoLancamentoVazio, kFinanceiro, "O tipo de lançamento não pode estar vazio."),
      ROW(ExTipoLancamentoDiferentePeC, kFinanceiro,
          "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."),
      ROW(ExValorPagoZeradoComDataPagtoPreenchida, kFinanceiro,
          "O valor pago não pode estar zerado quando a data de pagamento estiver preenchida."),
      ROW(ExTamanhoCampoCodigoLancamentoRM, kFinanceiro,
          "O tamanho máximo do campo de código de lançamento RM é de 30 caracteres."),
      ROW(ExDataCompetenciaBloqueadaEncerrada, kFinanceiro,
          "A data de competência selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas "
          "2106/rotina 2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a "
          "pagar."),
      ROW(ExDataEmissaoBloqueadaEncerrada, kFinanceiro,
          "A data de emissão selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
          "2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar."),
      ROW(ExDataLancamentoBloqueadaEncerrada, kFinanceiro,
          "A data de lançamento selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
          "2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar."),
      ROW(ExDataPagamentoBloqueadaEncerrada, kFinanceiro,
          "A data de pagamento selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
          "2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar."),
      ROW(ExTamanhoCampoDuplic, kFinanceiro, "O tamanho máximo do campo DUPLIC é de 1 caracter."),
      ROW(ExCodigoCobrancaSefaz, kFinanceiro, "O tamanho máximo do campo CODCOBSEFAZ é de 4 caracteres."),
      ROW(ExRazaoCredenciadoraCartao, kFinanceiro, "O tamanho máximo do campo RAZAOCREDENCCARTAO é de 60 caracteres."),
      ROW(ExCNPJCredenciadoraCartao, kFinanceiro, "O tamanho máximo do campo CNPJCREDENCCARTAO é de 18 caracteres."),
      ROW(ExNSUTef, kFinanceiro, "O tamanho máximo do campo NSUTEF é de 15 caracteres."),
      ROW(ExCodigoBandeiraCartao, kFinanceiro, "O tamanho máximo do campo BANDEIRACARTAO é de 3 dígitos."),
      ROW(ExRetornarVerificarPeriodoBloqueado, kFinanceiro,
          "Erro ao verificar período do encerramento financeiro. \rORA-00054: recurso ocupado",
          "ORA-00054: recurso ocupado"),
      ROW(ExValidarOrcamentoExcedido, kFinanceiro, "Validação de Orçamento! \rConta 3101 sem saldo em 03/2024",
          "Conta 3101 sem saldo em 03/2024"),
      ROW(ExSuplementacaoZTNFENTVinculada, kFinanceiro,
          "Suplementação possui ZTNFENT vinculada com numtransent! \r88213", "88213"),
      // Cost-center and account apportionment
      ROW(ExNumeroLanctoZerado, kFinanceiro, "Número de lançamento não informado."),
      ROW(ExCodigoContaVazio, kFinanceiro, "Código de conta não informado."),
      ROW(ExValorNaoInformado, kFinanceiro, "Valor não informado."),
      ROW(ExValorMenorQueZero, kFinanceiro, "O valor não pode ser menor que zero."),
      ROW(ExFilialNaoInformada, kFinanceiro, "A filial não foi informada."),
      ROW(ExFilialNaoUtilizaCentroCusto, kFinanceiro, "A filial não trabalha com Centro de Custo."),
      ROW(ExContaNaoTrabalhaCentroCusto, kFinanceiro, "Conta gerencial não trabalha com Centro de Custo."),
      ROW(ExCodRateioContaNaoInformado, kFinanceiro, "É necessário informar um código para fazer o rateio de contas!"),
      ROW(ExValorIgualZero, kFinanceiro, "É necessário informar um valor para fazer o rateio de contas!"),
      // Vouchers and their postings
      ROW(ExCodigoFilialObrigatorio, kStandard, "Favor informar o código da filial."),
      ROW(ExIntervaloDatasInvalida, kStandard, "A data inicial não pode ser maior que a data final."),
      ROW(ExIntervaloDatasObrigatorio, kStandard,
          "A data inicial e final devem ser informadas para realizar a consulta."),
      ROW(ExCodigoParceiroObrigatorio, kStandard, "Favor informar o código do parceiro."),
      ROW(ExValorBaixarValeCreditoDebitoObrigatorio, kStandard, "O valor a baixar não pode ser nulo ou menor que zero"),
      ROW(ExValorBaixarMaiorValorOriginalVale, kStandard,
          "O valor a baixar não pode ser maior que o valor original do vale."),
      // The write-off wraps the inner failure's message.
      ROW(ExProcessoBaixaVale, kStandard,
          "Ocorreu um problema durante o processo de baixa de vale. Erro: \rVale número 77 já baixado.",
          ExValeJaEstavaBaixado("77").Message()),
      ROW(ExCodigoCaixaBancoObrigatorio, kStandard, "Favor informar o código do caixa/banco."),
      ROW(ExCodigoContaObrigatorio, kStandard,
          "Favor informar o código da conta. Campo obrigatório para lançamento sem movimentação de numerário!"),
      ROW(ExHistoricoObrigatorio, kStandard, "Favor informar o histórico complementar."),
      ROW(ExCodigoHistoricoObrigatorio, kStandard, "Favor informar o código do histórico principal."),
      ROW(ExNaturezaValeObrigatorio, kStandard, "Favor informar a natureza do vale."),
      ROW(ExTipoParceiroObrigatorio, kStandard, "Favor informar o tipo do parceiro."),
      ROW(ExDataLancamentoObrigatorio, kStandard, "Favor informar a data de lançamento."),
      ROW(ExDataDocumentoObrigatorio, kStandard, "Favor informar a data do documento."),
      ROW(ExDataVencimentoObrigatorio, kStandard, "Favor informar a data de vencimento."),
      ROW(ExNumeroDocumentoObrigatorio, kStandard, "Favor informar o número do documento."),
      ROW(ExValorValeObrigatorio, kStandard, "Favor informar o valor do vale."),
      ROW(ExNumeroParcelasObrigatorio, kStandard, "Favor informar o número de parcelas."),
      ROW(ExPeriodicidadeValesObrigatorio, kStandard, "Favor informar a períodicidade dos vales"),
      ROW(ExOrigemLancamentoObrigatoria, kStandard, "Favor informar a origem do lançamento"),
      ROW(ExRegistroNaoSelecionadoParaBaixaParcial, kStandard,
          "Para que seja informado o valor para baixa parcial é necessário que o registro seja selecionado."),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_F, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Funcionário: 12-JOÃO DA SILVA, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                12, "F", "JOÃO DA SILVA"),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_M, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Motorista: 12.5-ANA, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                12.5, "M", "ANA"),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_R, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do RCA: 4501-RCA NORTE, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                4501, "R", "RCA NORTE"),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_P, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Profissional: 7-DR. PAULO, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                7, "P", "DR. PAULO"),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_X, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Não identificado: 7-X, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                7, "X", "X"),
      // Letters are taken as they come: a lower-case or missing letter is not a known kind.
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_LowerCase, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Não identificado: 7-ANA, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                7, "f", "ANA"),
      ROW_NAMED(ExNaoPermitidoBaixaParcialVale_Empty, ExNaoPermitidoBaixaParcialVale, kStandard,
                "Para baixa parcial do Não identificado: 0-, é necessário que tenha sido selecionado apenas "
                "vales da mesma natureza. Favor selecionar apenas vales a débito ou a crédito para baixa parcial.",
                0, "", ""),
      ROW(ExNaoTransferirValeEntreMesmoParceiro, kStandard,
          "O processo de transferência de vales somente poderá ser feito entre parceiros diferentes. Favor selecionar "
          "os registros que sejam diferentes do parceiro de destino!"),
      ROW(ExValeJaTransferido, kStandard,
          "Processo de transferência de vales cancelado! Foi selecionado um ou mais vales já transferidos "
          "anteriormente."),
      ROW(ExNumeroValeInicialMaiorNumeroValeFinal, kStandard,
          "O número do vale inicial não pode ser maior que o final."),
      ROW(ExNaoPermiteBaixaConsideraBCDiferente, kStandard,
          "Não é permitida a baixa de vales que não compõem a base de cálculo de impostos juntamente com vales que "
          "compõem a base de cálculo de impostos."),
      ROW(ExNenhumValeSelecionado, kStandard,
          "Para realizar o processo de baixa é necessário que seja escolhido pelo menos um registro de vale de crédito "
          "ou débito."),
      ROW(ExErroInserindoZTLANC, kStandard, "Erro ao inserir registro na ZTLANC:\rORA-00001: chave duplicada",
          "ORA-00001: chave duplicada"),
      ROW(ExErroEditandoZTCORREN, kStandard, "Erro ao editar registro na ZTCORREN:\rORA-01400: nulo",
          "ORA-01400: nulo"),
      ROW(ExValidacaoCaixaReceber, kStandard, "Erro ao validar Caixa: \rCaixa 3 inativo", "Caixa 3 inativo"),
      ROW(ExValeJaEstavaBaixado, kStandard, "Vale número 1520 já baixado.", "1520"),
      // Cash movements
      ROW(ExErroAtualizarZTESTCR, kFinanceiro, "Não foi possível atualizar a ZTESTCR."),
      ROW(ExCodigoCobrancaRecalculoVazia, kFinanceiro, "O código da Moeda para o recálculo não foi informado."),
      ROW(ExCodigoBancoRecalculoVazio, kFinanceiro, "O código do Banco para o recálculo não foi informado."),
      ROW(ExRecalculoCompensacaoDataIniVazia, kFinanceiro,
          "Para o recálculo por Data de Compensação a Data Inicial é obrigatória."),
      ROW(ExNenhumaOpcaoDeRecalculoSelecionada, kFinanceiro,
          "Nenhuma opção para recálculo foi selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo por Data de "
          "Compensação."),
      ROW(ExDataCompensacaoBloqueioEncerramento, kFinanceiro,
          "A data de compensação informada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
          "2117) na contabilidade.! Conforme parâmetro: 2822 - Permitir conciliação em períodos encerrados no "
          "contábil."),
      // Receivable titles and bank slips
      ROW(ExNumtransvendaInvalido, kFinanceiro, "Número de transação de venda (numtransvenda) inválido."),
      ROW(ExPrestInvalida, kFinanceiro, "Prestação (prest) inválida."),
      ROW(ExUsuarioNaoInformado, kFinanceiro, "Usuário, para validação de permissão de acesso, não foi informado."),
      ROW(ExRotinaNaoInformada, kFinanceiro,
          "O número da rotina, para validação de permissão de acesso, não foi informado."),
      ROW(ExNumeroPermissaoAcessoNaoInformado, kFinanceiro,
          "O número da permissão de acesso, para validação de permissão, não foi informado."),
      ROW(ExUsuarioSemPermissaoGerarDadosBancarios, kFinanceiro,
          "Usuário não tem permissão de acesso para gerar dados bancários. Verifique na rotina 530"),
      ROW(ExNaoFoiPossivelBloqueiRegistroBancario, kFinanceiro,
          "Processo não permitido no momento!\rEste banco está sendo utilizado por outro processo no Quorvin! Favor "
          "aguardar..."),
      ROW(ExCodigoBancoNaoInformado522, kFinanceiro,
          "É necessário informar o código do banco para essa cobrança. Favor entrar na rotina 522 e informar o código "
          "do banco."),
      ROW(ExCodigoBancoNaoInformado, kFinanceiro, "Código do banco não informado. É necessário informar."),
      ROW(ExRegistroContasReceberNaoEncontrado, kFinanceiro, "Não foi encontrado o registro do contas a receber."),
      ROW(ExBancoNaoDisponivelParaGerarDadosBancarios, kFinanceiro,
          "O banco 999 não está disponivel para geração de dados bancários.\rFavor entrar em contato com o suporte da "
          "ZT Sistemas.",
          "999"),
      ROW(ExNaoExisteBoletosParaSeremImpressos, kFinanceiro, "Não existe boletos para serem impressos."),
      ROW(ExBancoMoeda, kFinanceiro, "Não existe configuração para o banco (341) e moeda (R$) na rotina 565!", "341",
          "R$"),
      ROW(ExErroAoInserirZTPrest, kFinanceiro, "Deve ser informado o número da nota fiscal",
          "Deve ser informado o número da nota fiscal"),
      ROW(ExRetornarStatusCobrancaSupplierCard, kFinanceiro,
          "Erro ao validar status de cobrança SupplierCard. \rstatus desconhecido", "status desconhecido"),
      // SPED EFD services rendered
      ROW(ExNumInscricaoSubContratanteVazio, kFinanceiro,
          "É necessário informar um número de inscrição do subcontratante!"),
      ROW(ExCodConstCivilVazio, kFinanceiro,
          "É necessário informar um tipo de Prestação de Serviços em obra de Construção Civil!"),
      ROW(ExNumSerieNFVazio, kFinanceiro,
          "É necessário informar uma série de nota fiscal! Caso não possua informe o número Zero!"),
      ROW(ExTipoServicoVazio, kFinanceiro, "É necessário informar um tipo de serviço!"),
      ROW(ExNumSerieNFSubContratanteVazio, kFinanceiro, "É necessário informar uma série NF para o subcontratante!"),
      ROW(ExNumDocumentoSubContratanteVazio, kFinanceiro,
          "É necessário informar um número de documento para o subcontratante!"),
      ROW(ExDataEmissaoSubContratanteVazio, kFinanceiro,
          "É necessário informar uma data de emissão da nota do subcontratante!"),
      ROW(ExValorBrutoSubContratanteVazio, kFinanceiro,
          "É necessário informar um valor bruto da nota do subcontratante!"),
      ROW(ExTipoServicoSubContratanteVazio, kFinanceiro,
          "É necessário informar um tipo de serviço para nota do subcontratante!"),
      ROW(ExCodServicoPrestadoVazio, kFinanceiro, "É necessário informar o código do serviço inserido na ZTLANC!"),
      ROW(ExPercentualRetencaoVazio, kFinanceiro, "É necessário informar um percentual de redução!"),
      ROW(ExValorRetencaoAdicionalVazio, kFinanceiro, "É necessário informar o valor de retenção adicional!"),
      ROW(ExValorAdicionalVazio, kFinanceiro,
          "É necessário informar o valor adicional, para informar o valor de retenção adicional!"),
      ROW(ExValorRetencaoNaoEfetuadaContratanteVazio, kFinanceiro,
          "O tipo do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção que deixou "
          "de ser efetuada pelo contratante! "),
      ROW(ExValorRetencaoAdicionalNaoEfetuadaContratanteVazio, kFinanceiro,
          "O número do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção adicional "
          "que deixou de ser efetuada pelo contratant! "),
      ROW(ExTipoProcessoVazio, kFinanceiro, "É necessário informar o tipo do processo! "),
      ROW(ExNumeroProcessoVazio, kFinanceiro, "É necessário informar o número do processo! "),
      ROW(ExValorRetencaoEmpresaSubcontratadaVazio, kFinanceiro,
          "É necessário informar o Valor da Retenção da empresa Subcontratada!"),
      // Customer credit
      ROW(ExCodigoClienteObrigatorio, kFinanceiro, "É necessário informar o código do cliente"),
      ROW(ExNaoExisteCreditoClienteParaCodigoInformado, kStandard, "Não existe crédito cadastrado para o código 12",
          12),
      ROW(ExExisteMaisDeUmCreditoClienteParaCodigoInformado, kStandard,
          "Existem mais de um registro de crédito cadastrado para o código 12.5", 12.5),
      // Large codes are written in full, without separators or exponent.
      ROW(ExCodigoCreditoClienteInformadoJaEstornado, kStandard, "O código 30000000 informado já esta estornado.",
          30000000),
      ROW(ExValorEstornadoMaiorQueValorCredito, kStandard,
          "O valor do estorno não pode ser maior que o valor do crédito.\r"
          "Valor do estorno: 1.234,50\r"
          "Valor do crédito: 1.000,00",
          1234.5, 1000),
      ROW(ExErroAoGravarCreditoCliente, kFinanceiro, "Ocorreu um problema ao gravar o crédito de cliente: falha",
          "falha"),
      ROW(ExErroAoEstornarCreditoCliente, kFinanceiro, "Ocorreu um problema ao estornar o crédito de cliente: falha",
          "falha"),
      ROW(ExMotivoObrigatorio, kFinanceiro, "É necessário informar o motivo."),
      ROW(ExErroAoBaixarCreditoCliente, kFinanceiro, "Título 1020/2 já baixado", "Título 1020/2 já baixado"),
      // Unidentified deposits settled with allowances
      ROW(ExNumeroVerbaObrigatorio, kFinanceiro, "É necessário informar o número da verba."),
      ROW(ExErroAoBaixarVerbaComDNI, kFinanceiro, "Verba 55 sem saldo", "Verba 55 sem saldo"),
      ROW(ExErroAoEstornarVerbaBaixadaComDNI, kFinanceiro, "", ""),
  };
}

class ExceptionCatalogueTest : public ::testing::TestWithParam<CatalogueCase> {};

TEST_P(ExceptionCatalogueTest, CarriesItsMessageClassNameAndBase) {
  const CatalogueCase& expected = GetParam();
  std::string message;
  std::string className;
  bool caughtAsFinanceiro = false;
  bool caughtAsStandard = false;
  try {
    expected.raise();
  } catch (const ExFinanceiro& e) {
    caughtAsFinanceiro = true;
    message = e.Message();
    className = e.ClassName();
    EXPECT_STREQ(e.what(), message.c_str());
  } catch (const Exception& e) {
    caughtAsStandard = true;
    message = e.Message();
    className = e.ClassName();
    EXPECT_EQ(dynamic_cast<const TBaseExcecao*>(&e), nullptr);
  }
  EXPECT_EQ(message, expected.message);
  EXPECT_EQ(className, expected.className);
  EXPECT_EQ(caughtAsFinanceiro, expected.base == Base::kFinanceiro);
  EXPECT_EQ(caughtAsStandard, expected.base == Base::kStandard);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ExceptionCatalogueTest, ::testing::ValuesIn(Catalogue()),
                         [](const ::testing::TestParamInfo<CatalogueCase>& info) { return info.param.label; });

// Sets the process-wide separators for one scope.
class HostSeparators {
 public:
  explicit HostSeparators(TFormatSettings settings) : FSaved(FormatSettings()) { FormatSettings() = settings; }
  ~HostSeparators() { FormatSettings() = FSaved; }
  HostSeparators(const HostSeparators&) = delete;
  HostSeparators& operator=(const HostSeparators&) = delete;

 private:
  TFormatSettings FSaved;
};

// The host may run with other separators; amounts follow them at construction time.
TEST(ExceptionCatalogue, ReversalAmountsFollowTheHostSeparators) {
  const ExValorEstornadoMaiorQueValorCredito e = [] {
    const HostSeparators english(TFormatSettings{'.', ','});
    return ExValorEstornadoMaiorQueValorCredito(1234567.891, 0.5);
  }();
  EXPECT_EQ(e.Message(),
            "O valor do estorno não pode ser maior que o valor do crédito.\rValor do estorno: 1,234,567.89\r"
            "Valor do crédito: 0.50");
}

TEST(ExceptionCatalogue, MessageIsFixedAtConstructionAndSurvivesCopies) {
  std::string inner = "ORA-00054";
  const ExValidarOrcamentoExcedido original(inner);
  inner = "mudou";
  const ExValidarOrcamentoExcedido copy(original);  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(copy.Message(), "Validação de Orçamento! \rORA-00054");
  EXPECT_STREQ(copy.ClassName(), "ExValidarOrcamentoExcedido");
}

}  // namespace
