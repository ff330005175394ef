#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/Uclsfin_except.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"

namespace {

struct CatalogueRow {
  std::string className;
  std::function<void()> raise;
  std::string message;
  bool financeiro;  // derives from ExFinanceiro; otherwise from the runtime's standard Exception only
};

// clang-format off
#define FIN(E, message, ...) CatalogueRow{#E, [] { throw E(__VA_ARGS__); }, message, true}
#define STD(E, message, ...) CatalogueRow{#E, [] { throw E(__VA_ARGS__); }, message, false}
// clang-format on

const std::string kParcial =
    ", é necessário que tenha sido selecionado apenas vales da mesma natureza. Favor selecionar apenas vales a débito "
    "ou a crédito para baixa parcial.";
const std::string kBloqueio3815 =
    " selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina 2117) na contabilidade.!"
    "\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar.";

// Every class of the catalogue, with its base and the message typed as the user reads it.
TEST(ExceptionCatalogue, EveryClassCarriesItsMessageClassNameAndBase) {
  // clang-format off
  const std::vector<CatalogueRow> catalogue = {
      FIN(ExFinanceiro, ""),
      // Common
      FIN(ExTransacaoNaoIniciada, "Transação não iniciada."),
      FIN(ExParametrosNaoInicializados, "Parâmetros não inicializados."),
      // Payable entries
      FIN(ExValorZerado, "O valor informado não pode estar vazio ou igual a zero."),
      FIN(ExContaGerencialNaoInformada, "Conta gerencial não informada"),
      FIN(ExHistoricoNaoInformado, "O histórico não foi informado."),
      FIN(ExCodigoParceiroNaoInformado, "O Código do parceiro não foi informado."),
      FIN(ExDataVencimentoNaoInformada, "Data de Vencimento não informada"),
      FIN(ExDataVencimentoMenorQuePermitidoParam1393, "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro 1393 da rotina 132."),
      FIN(ExDataEmissaoInferiorPermitidoParam1957, "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132."),
      FIN(ExValorDescontoFinMaiorValorLancto, "Valor do desconto financeiro maior que valor do título."),
      FIN(ExValorDevolucaoMaiorValorLancto, "Valor devolução maior que o valor do título."),
      FIN(ExValorJurosDeveSerMaiorQueZero, "Não é possivel incluir valor de juros negativo."),
      FIN(ExLanctoNaoPermitidoNFServicoTipoParceiroOutros, "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."),
      FIN(ExLanctoNaoPermitidoNFServicoTipoParceiroCliente, "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."),
      FIN(ExLanctoNFServicoRCANumNotaZerado, "Para lançamentos de NF Serviço o número da nota é obrigatório."),
      FIN(ExCodigoFilialNaoPreenchido, "Deve ser informado o código filial."),
      FIN(ExTamanhoRecNumMaiorQueOito, "Campo RECNUM deve receber tamanho 8."),
      FIN(ExTamanhoCodContaMaiorQueDez, "Campo CODCONTA deve ter tamanho máximo 10."),
      FIN(ExTamanhoCodFornecMaiorQueDez, "Campo CODFORNEC deve ter tamanho máximo 10."),
      FIN(ExTamanhoHistoricoMaiorQueDuzentos, "Campo HISTORICO varchar (200)"),
      FIN(ExTamanhoNumNotaMaiorQueDez, "Campo NUMNOTA number(10)"),
      FIN(ExValorPagoMaiorQuePermitidoPeloCampo, "Campo VPAGO number(12,2)."),
      FIN(ExTamanhoCampoLocalizacaoMaiorQueVinte, "Campo LOCALIZAÇÃO varchar(20)."),
      FIN(ExTamanhoNumNotaDevMaiorQueDez, "Campo NUMNOTADEV number(10)."),
      FIN(ExValorDevolucaoMaiorQuePermitidoPeloCampo, "Campo VALORDEV number (12,2)."),
      FIN(ExTamanhoCampoProrrogacaoMaiorQueQuatro, "Campo PRORROG number(4)."),
      FIN(ExTamanhoNumBorderoMaiorQueSete, "Campo NUMBORDERO number(6)"),
      FIN(ExRecNumVazio, "O recnum deve estar preenchido."),
      FIN(ExTipoLancamentoVazio, "O tipo de lançamento não pode estar vazio."),
      FIN(ExTipoLancamentoDiferentePeC, "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."),
      FIN(ExValorPagoZeradoComDataPagtoPreenchida, "O valor pago não pode estar zerado quando a data de pagamento estiver preenchida."),
      FIN(ExTamanhoCampoCodigoLancamentoRM, "O tamanho máximo do campo de código de lançamento RM é de 30 caracteres."),
      FIN(ExDataCompetenciaBloqueadaEncerrada, "A data de competência" + kBloqueio3815),
      FIN(ExDataEmissaoBloqueadaEncerrada, "A data de emissão" + kBloqueio3815),
      FIN(ExDataLancamentoBloqueadaEncerrada, "A data de lançamento" + kBloqueio3815),
      FIN(ExDataPagamentoBloqueadaEncerrada, "A data de pagamento" + kBloqueio3815),
      FIN(ExTamanhoCampoDuplic, "O tamanho máximo do campo DUPLIC é de 1 caracter."),
      FIN(ExCodigoCobrancaSefaz, "O tamanho máximo do campo CODCOBSEFAZ é de 4 caracteres."),
      FIN(ExRazaoCredenciadoraCartao, "O tamanho máximo do campo RAZAOCREDENCCARTAO é de 60 caracteres."),
      FIN(ExCNPJCredenciadoraCartao, "O tamanho máximo do campo CNPJCREDENCCARTAO é de 18 caracteres."),
      FIN(ExNSUTef, "O tamanho máximo do campo NSUTEF é de 15 caracteres."),
      FIN(ExCodigoBandeiraCartao, "O tamanho máximo do campo BANDEIRACARTAO é de 3 dígitos."),
      FIN(ExRetornarVerificarPeriodoBloqueado, "Erro ao verificar período do encerramento financeiro. \rORA-00054: recurso ocupado", "ORA-00054: recurso ocupado"),
      // The inner text is gone before the message is read: it is copied when the exception is built.
      FIN(ExValidarOrcamentoExcedido, "Validação de Orçamento! \rConta 3101 sem saldo em 03/2024", std::string("Conta 3101 sem saldo em 03/2024")),
      FIN(ExSuplementacaoZTNFENTVinculada, "Suplementação possui ZTNFENT vinculada com numtransent! \r88213", "88213"),
      // Cost-center and account apportionment
      FIN(ExNumeroLanctoZerado, "Número de lançamento não informado."),
      FIN(ExCodigoContaVazio, "Código de conta não informado."),
      FIN(ExValorNaoInformado, "Valor não informado."),
      FIN(ExValorMenorQueZero, "O valor não pode ser menor que zero."),
      FIN(ExFilialNaoInformada, "A filial não foi informada."),
      FIN(ExFilialNaoUtilizaCentroCusto, "A filial não trabalha com Centro de Custo."),
      FIN(ExContaNaoTrabalhaCentroCusto, "Conta gerencial não trabalha com Centro de Custo."),
      FIN(ExCodRateioContaNaoInformado, "É necessário informar um código para fazer o rateio de contas!"),
      FIN(ExValorIgualZero, "É necessário informar um valor para fazer o rateio de contas!"),
      // Vouchers and their postings
      STD(ExCodigoFilialObrigatorio, "Favor informar o código da filial."),
      STD(ExIntervaloDatasInvalida, "A data inicial não pode ser maior que a data final."),
      STD(ExIntervaloDatasObrigatorio, "A data inicial e final devem ser informadas para realizar a consulta."),
      STD(ExCodigoParceiroObrigatorio, "Favor informar o código do parceiro."),
      STD(ExValorBaixarValeCreditoDebitoObrigatorio, "O valor a baixar não pode ser nulo ou menor que zero"),
      STD(ExValorBaixarMaiorValorOriginalVale, "O valor a baixar não pode ser maior que o valor original do vale."),
      // The write-off wraps the inner failure's message.
      STD(ExProcessoBaixaVale, "Ocorreu um problema durante o processo de baixa de vale. Erro: \rVale número 77 já baixado.", ExValeJaEstavaBaixado("77").Message()),
      STD(ExCodigoCaixaBancoObrigatorio, "Favor informar o código do caixa/banco."),
      STD(ExCodigoContaObrigatorio, "Favor informar o código da conta. Campo obrigatório para lançamento sem movimentação de numerário!"),
      STD(ExHistoricoObrigatorio, "Favor informar o histórico complementar."),
      STD(ExCodigoHistoricoObrigatorio, "Favor informar o código do histórico principal."),
      STD(ExNaturezaValeObrigatorio, "Favor informar a natureza do vale."),
      STD(ExTipoParceiroObrigatorio, "Favor informar o tipo do parceiro."),
      STD(ExDataLancamentoObrigatorio, "Favor informar a data de lançamento."),
      STD(ExDataDocumentoObrigatorio, "Favor informar a data do documento."),
      STD(ExDataVencimentoObrigatorio, "Favor informar a data de vencimento."),
      STD(ExNumeroDocumentoObrigatorio, "Favor informar o número do documento."),
      STD(ExValorValeObrigatorio, "Favor informar o valor do vale."),
      STD(ExNumeroParcelasObrigatorio, "Favor informar o número de parcelas."),
      STD(ExPeriodicidadeValesObrigatorio, "Favor informar a períodicidade dos vales"),
      STD(ExOrigemLancamentoObrigatoria, "Favor informar a origem do lançamento"),
      STD(ExRegistroNaoSelecionadoParaBaixaParcial, "Para que seja informado o valor para baixa parcial é necessário que o registro seja selecionado."),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Funcionário: 12-JOÃO DA SILVA" + kParcial, 12, "F", "JOÃO DA SILVA"),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Motorista: 12.5-ANA" + kParcial, 12.5, "M", "ANA"),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do RCA: 4501-RCA NORTE" + kParcial, 4501, "R", "RCA NORTE"),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Profissional: 7-DR. PAULO" + kParcial, 7, "P", "DR. PAULO"),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Não identificado: 7-X" + kParcial, 7, "X", "X"),
      // Letters are taken as they come: a lower-case or missing letter is not a known kind.
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Não identificado: 7-ANA" + kParcial, 7, "f", "ANA"),
      STD(ExNaoPermitidoBaixaParcialVale, "Para baixa parcial do Não identificado: 0-" + kParcial, 0, "", ""),
      STD(ExNaoTransferirValeEntreMesmoParceiro, "O processo de transferência de vales somente poderá ser feito entre parceiros diferentes. Favor selecionar os registros que sejam diferentes do parceiro de destino!"),
      STD(ExValeJaTransferido, "Processo de transferência de vales cancelado! Foi selecionado um ou mais vales já transferidos anteriormente."),
      STD(ExNumeroValeInicialMaiorNumeroValeFinal, "O número do vale inicial não pode ser maior que o final."),
      STD(ExNaoPermiteBaixaConsideraBCDiferente, "Não é permitida a baixa de vales que não compõem a base de cálculo de impostos juntamente com vales que compõem a base de cálculo de impostos."),
      STD(ExNenhumValeSelecionado, "Para realizar o processo de baixa é necessário que seja escolhido pelo menos um registro de vale de crédito ou débito."),
      STD(ExErroInserindoZTLANC, "Erro ao inserir registro na ZTLANC:\rORA-00001: chave duplicada", "ORA-00001: chave duplicada"),
      STD(ExErroEditandoZTCORREN, "Erro ao editar registro na ZTCORREN:\rORA-01400: nulo", "ORA-01400: nulo"),
      STD(ExValidacaoCaixaReceber, "Erro ao validar Caixa: \rCaixa 3 inativo", "Caixa 3 inativo"),
      STD(ExValeJaEstavaBaixado, "Vale número 1520 já baixado.", "1520"),
      // Cash movements
      FIN(ExErroAtualizarZTESTCR, "Não foi possível atualizar a ZTESTCR."),
      FIN(ExCodigoCobrancaRecalculoVazia, "O código da Moeda para o recálculo não foi informado."),
      FIN(ExCodigoBancoRecalculoVazio, "O código do Banco para o recálculo não foi informado."),
      FIN(ExRecalculoCompensacaoDataIniVazia, "Para o recálculo por Data de Compensação a Data Inicial é obrigatória."),
      FIN(ExNenhumaOpcaoDeRecalculoSelecionada, "Nenhuma opção para recálculo foi selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo por Data de Compensação."),
      FIN(ExDataCompensacaoBloqueioEncerramento, "A data de compensação informada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina 2117) na contabilidade.! Conforme parâmetro: 2822 - Permitir conciliação em períodos encerrados no contábil."),
      // Receivable titles and bank slips
      FIN(ExNumtransvendaInvalido, "Número de transação de venda (numtransvenda) inválido."),
      FIN(ExPrestInvalida, "Prestação (prest) inválida."),
      FIN(ExUsuarioNaoInformado, "Usuário, para validação de permissão de acesso, não foi informado."),
      FIN(ExRotinaNaoInformada, "O número da rotina, para validação de permissão de acesso, não foi informado."),
      FIN(ExNumeroPermissaoAcessoNaoInformado, "O número da permissão de acesso, para validação de permissão, não foi informado."),
      FIN(ExUsuarioSemPermissaoGerarDadosBancarios, "Usuário não tem permissão de acesso para gerar dados bancários. Verifique na rotina 530"),
      FIN(ExNaoFoiPossivelBloqueiRegistroBancario, "Processo não permitido no momento!\rEste banco está sendo utilizado por outro processo no Quorvin! Favor aguardar..."),
      FIN(ExCodigoBancoNaoInformado522, "É necessário informar o código do banco para essa cobrança. Favor entrar na rotina 522 e informar o código do banco."),
      FIN(ExCodigoBancoNaoInformado, "Código do banco não informado. É necessário informar."),
      FIN(ExRegistroContasReceberNaoEncontrado, "Não foi encontrado o registro do contas a receber."),
      FIN(ExBancoNaoDisponivelParaGerarDadosBancarios, "O banco 999 não está disponivel para geração de dados bancários.\rFavor entrar em contato com o suporte da ZT Sistemas.", "999"),
      FIN(ExNaoExisteBoletosParaSeremImpressos, "Não existe boletos para serem impressos."),
      FIN(ExBancoMoeda, "Não existe configuração para o banco (341) e moeda (R$) na rotina 565!", "341", "R$"),
      FIN(ExErroAoInserirZTPrest, "Deve ser informado o número da nota fiscal", "Deve ser informado o número da nota fiscal"),
      FIN(ExRetornarStatusCobrancaSupplierCard, "Erro ao validar status de cobrança SupplierCard. \rstatus desconhecido", "status desconhecido"),
      // SPED EFD services rendered
      FIN(ExNumInscricaoSubContratanteVazio, "É necessário informar um número de inscrição do subcontratante!"),
      FIN(ExCodConstCivilVazio, "É necessário informar um tipo de Prestação de Serviços em obra de Construção Civil!"),
      FIN(ExNumSerieNFVazio, "É necessário informar uma série de nota fiscal! Caso não possua informe o número Zero!"),
      FIN(ExTipoServicoVazio, "É necessário informar um tipo de serviço!"),
      FIN(ExNumSerieNFSubContratanteVazio, "É necessário informar uma série NF para o subcontratante!"),
      FIN(ExNumDocumentoSubContratanteVazio, "É necessário informar um número de documento para o subcontratante!"),
      FIN(ExDataEmissaoSubContratanteVazio, "É necessário informar uma data de emissão da nota do subcontratante!"),
      FIN(ExValorBrutoSubContratanteVazio, "É necessário informar um valor bruto da nota do subcontratante!"),
      FIN(ExTipoServicoSubContratanteVazio, "É necessário informar um tipo de serviço para nota do subcontratante!"),
      FIN(ExCodServicoPrestadoVazio, "É necessário informar o código do serviço inserido na ZTLANC!"),
      FIN(ExPercentualRetencaoVazio, "É necessário informar um percentual de redução!"),
      FIN(ExValorRetencaoAdicionalVazio, "É necessário informar o valor de retenção adicional!"),
      FIN(ExValorAdicionalVazio, "É necessário informar o valor adicional, para informar o valor de retenção adicional!"),
      FIN(ExValorRetencaoNaoEfetuadaContratanteVazio, "O tipo do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção que deixou de ser efetuada pelo contratante! "),
      FIN(ExValorRetencaoAdicionalNaoEfetuadaContratanteVazio, "O número do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção adicional que deixou de ser efetuada pelo contratant! "),
      FIN(ExTipoProcessoVazio, "É necessário informar o tipo do processo! "),
      FIN(ExNumeroProcessoVazio, "É necessário informar o número do processo! "),
      FIN(ExValorRetencaoEmpresaSubcontratadaVazio, "É necessário informar o Valor da Retenção da empresa Subcontratada!"),
      // Customer credit
      FIN(ExCodigoClienteObrigatorio, "É necessário informar o código do cliente"),
      STD(ExNaoExisteCreditoClienteParaCodigoInformado, "Não existe crédito cadastrado para o código 12", 12),
      STD(ExExisteMaisDeUmCreditoClienteParaCodigoInformado, "Existem mais de um registro de crédito cadastrado para o código 12.5", 12.5),
      // Large codes are written in full, without separators or exponent.
      STD(ExCodigoCreditoClienteInformadoJaEstornado, "O código 30000000 informado já esta estornado.", 30000000),
      STD(ExValorEstornadoMaiorQueValorCredito, "O valor do estorno não pode ser maior que o valor do crédito.\rValor do estorno: 1.234,50\rValor do crédito: 1.000,00", 1234.5, 1000),
      FIN(ExErroAoGravarCreditoCliente, "Ocorreu um problema ao gravar o crédito de cliente: falha", "falha"),
      FIN(ExErroAoEstornarCreditoCliente, "Ocorreu um problema ao estornar o crédito de cliente: falha", "falha"),
      FIN(ExMotivoObrigatorio, "É necessário informar o motivo."),
      FIN(ExErroAoBaixarCreditoCliente, "Título 1020/2 já baixado", "Título 1020/2 já baixado"),
      // Unidentified deposits settled with allowances
      FIN(ExNumeroVerbaObrigatorio, "É necessário informar o número da verba."),
      FIN(ExErroAoBaixarVerbaComDNI, "Verba 55 sem saldo", "Verba 55 sem saldo"),
      FIN(ExErroAoEstornarVerbaBaixadaComDNI, "", ""),
  };
  // clang-format on
  for (const CatalogueRow& row : catalogue) {
    try {
      row.raise();
    } catch (const Exception& e) {
      EXPECT_EQ(testsupport::ClassAndMessage(e), row.className + ": " + row.message);
      EXPECT_STREQ(e.what(), row.message.c_str()) << row.className;
      EXPECT_EQ(dynamic_cast<const ExFinanceiro*>(&e) != nullptr, row.financeiro) << row.className;
      EXPECT_EQ(dynamic_cast<const TBaseExcecao*>(&e) != nullptr, row.financeiro) << row.className;
    }
  }
}

}  // namespace
