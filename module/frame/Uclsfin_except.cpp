#include "frame/Uclsfin_except.h"

#include "rtl/Formatacao.h"

namespace {

// The messages below are shown to the user exactly as written: accents, punctuation, trailing
// blanks, and "\r" (one carriage return, no line feed) where the host breaks the line.
constexpr std::string_view kPeriodoBloqueado =
    " selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina 2117) na "
    "contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar.";

constexpr std::string_view kNFServicoTipoParceiro = "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor.";

std::string Juntar(std::string_view prefixo, std::string_view texto) {
  std::string mensagem(prefixo);
  mensagem += texto;
  return mensagem;
}

std::string NomeTipoParceiro(std::string_view letra) {
  if (letra == "F") return "Funcionário";
  if (letra == "M") return "Motorista";
  if (letra == "R") return "RCA";
  if (letra == "P") return "Profissional";
  return "Não identificado";
}

}  // namespace

ExFinanceiro::~ExFinanceiro() = default;

// A class without arguments: its fixed message.
#define MENSAGEM(name, text)       \
  name::name() {                   \
    SetMessage(std::string(text)); \
  }

// A class with a text: its message is the prefix followed by the text.
#define MENSAGEM_TEXTO(name, prefix)   \
  name::name(std::string_view texto) { \
    SetMessage(Juntar(prefix, texto)); \
  }

// Common
MENSAGEM(ExTransacaoNaoIniciada, "Transação não iniciada.")
MENSAGEM(ExParametrosNaoInicializados, "Parâmetros não inicializados.")

// Payable entries
MENSAGEM(ExValorZerado, "O valor informado não pode estar vazio ou igual a zero.")
MENSAGEM(ExContaGerencialNaoInformada, "Conta gerencial não informada")
MENSAGEM(ExHistoricoNaoInformado, "O histórico não foi informado.")
MENSAGEM(ExCodigoParceiroNaoInformado, "O Código do parceiro não foi informado.")
MENSAGEM(ExDataVencimentoNaoInformada, "Data de Vencimento não informada")
MENSAGEM(ExDataVencimentoMenorQuePermitidoParam1393,
         "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro 1393 da "
         "rotina 132.")
MENSAGEM(ExDataEmissaoInferiorPermitidoParam1957,
         "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132.")
MENSAGEM(ExValorDescontoFinMaiorValorLancto, "Valor do desconto financeiro maior que valor do título.")
MENSAGEM(ExValorDevolucaoMaiorValorLancto, "Valor devolução maior que o valor do título.")
MENSAGEM(ExValorJurosDeveSerMaiorQueZero, "Não é possivel incluir valor de juros negativo.")
// Both service-invoice partner rules show the same text; only the class tells them apart.
MENSAGEM(ExLanctoNaoPermitidoNFServicoTipoParceiroOutros, kNFServicoTipoParceiro)
MENSAGEM(ExLanctoNaoPermitidoNFServicoTipoParceiroCliente, kNFServicoTipoParceiro)
MENSAGEM(ExLanctoNFServicoRCANumNotaZerado, "Para lançamentos de NF Serviço o número da nota é obrigatório.")
MENSAGEM(ExCodigoFilialNaoPreenchido, "Deve ser informado o código filial.")
MENSAGEM(ExTamanhoRecNumMaiorQueOito, "Campo RECNUM deve receber tamanho 8.")
MENSAGEM(ExTamanhoCodContaMaiorQueDez, "Campo CODCONTA deve ter tamanho máximo 10.")
MENSAGEM(ExTamanhoCodFornecMaiorQueDez, "Campo CODFORNEC deve ter tamanho máximo 10.")
MENSAGEM(ExTamanhoHistoricoMaiorQueDuzentos, "Campo HISTORICO varchar (200)")
MENSAGEM(ExTamanhoNumNotaMaiorQueDez, "Campo NUMNOTA number(10)")
MENSAGEM(ExValorPagoMaiorQuePermitidoPeloCampo, "Campo VPAGO number(12,2).")
MENSAGEM(ExTamanhoCampoLocalizacaoMaiorQueVinte, "Campo LOCALIZAÇÃO varchar(20).")
MENSAGEM(ExTamanhoNumNotaDevMaiorQueDez, "Campo NUMNOTADEV number(10).")
MENSAGEM(ExValorDevolucaoMaiorQuePermitidoPeloCampo, "Campo VALORDEV number (12,2).")
MENSAGEM(ExTamanhoCampoProrrogacaoMaiorQueQuatro, "Campo PRORROG number(4).")
// The column holds six digits; the class keeps its historical name.
MENSAGEM(ExTamanhoNumBorderoMaiorQueSete, "Campo NUMBORDERO number(6)")
MENSAGEM(ExRecNumVazio, "O recnum deve estar preenchido.")
MENSAGEM(ExTipoLancamentoVazio, "O tipo de lançamento não pode estar vazio.")
MENSAGEM(ExTipoLancamentoDiferentePeC, "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado.")
MENSAGEM(ExValorPagoZeradoComDataPagtoPreenchida,
         "O valor pago não pode estar zerado quando a data de pagamento estiver preenchida.")
MENSAGEM(ExTamanhoCampoCodigoLancamentoRM, "O tamanho máximo do campo de código de lançamento RM é de 30 caracteres.")
MENSAGEM(ExDataCompetenciaBloqueadaEncerrada, Juntar("A data de competência", kPeriodoBloqueado))
MENSAGEM(ExDataEmissaoBloqueadaEncerrada, Juntar("A data de emissão", kPeriodoBloqueado))
MENSAGEM(ExDataLancamentoBloqueadaEncerrada, Juntar("A data de lançamento", kPeriodoBloqueado))
MENSAGEM(ExDataPagamentoBloqueadaEncerrada, Juntar("A data de pagamento", kPeriodoBloqueado))
MENSAGEM(ExTamanhoCampoDuplic, "O tamanho máximo do campo DUPLIC é de 1 caracter.")
MENSAGEM(ExCodigoCobrancaSefaz, "O tamanho máximo do campo CODCOBSEFAZ é de 4 caracteres.")
MENSAGEM(ExRazaoCredenciadoraCartao, "O tamanho máximo do campo RAZAOCREDENCCARTAO é de 60 caracteres.")
MENSAGEM(ExCNPJCredenciadoraCartao, "O tamanho máximo do campo CNPJCREDENCCARTAO é de 18 caracteres.")
MENSAGEM(ExNSUTef, "O tamanho máximo do campo NSUTEF é de 15 caracteres.")
MENSAGEM(ExCodigoBandeiraCartao, "O tamanho máximo do campo BANDEIRACARTAO é de 3 dígitos.")
MENSAGEM_TEXTO(ExRetornarVerificarPeriodoBloqueado, "Erro ao verificar período do encerramento financeiro. \r")
MENSAGEM_TEXTO(ExValidarOrcamentoExcedido, "Validação de Orçamento! \r")
MENSAGEM_TEXTO(ExSuplementacaoZTNFENTVinculada, "Suplementação possui ZTNFENT vinculada com numtransent! \r")

// Cost-center and account apportionment
MENSAGEM(ExNumeroLanctoZerado, "Número de lançamento não informado.")
MENSAGEM(ExCodigoContaVazio, "Código de conta não informado.")
MENSAGEM(ExValorNaoInformado, "Valor não informado.")
MENSAGEM(ExValorMenorQueZero, "O valor não pode ser menor que zero.")
MENSAGEM(ExFilialNaoInformada, "A filial não foi informada.")
MENSAGEM(ExFilialNaoUtilizaCentroCusto, "A filial não trabalha com Centro de Custo.")
MENSAGEM(ExContaNaoTrabalhaCentroCusto, "Conta gerencial não trabalha com Centro de Custo.")
MENSAGEM(ExCodRateioContaNaoInformado, "É necessário informar um código para fazer o rateio de contas!")
MENSAGEM(ExValorIgualZero, "É necessário informar um valor para fazer o rateio de contas!")

// Vouchers and their postings
MENSAGEM(ExCodigoFilialObrigatorio, "Favor informar o código da filial.")
MENSAGEM(ExIntervaloDatasInvalida, "A data inicial não pode ser maior que a data final.")
MENSAGEM(ExIntervaloDatasObrigatorio, "A data inicial e final devem ser informadas para realizar a consulta.")
MENSAGEM(ExCodigoParceiroObrigatorio, "Favor informar o código do parceiro.")
MENSAGEM(ExValorBaixarValeCreditoDebitoObrigatorio, "O valor a baixar não pode ser nulo ou menor que zero")
MENSAGEM(ExValorBaixarMaiorValorOriginalVale, "O valor a baixar não pode ser maior que o valor original do vale.")
MENSAGEM_TEXTO(ExProcessoBaixaVale, "Ocorreu um problema durante o processo de baixa de vale. Erro: \r")
MENSAGEM(ExCodigoCaixaBancoObrigatorio, "Favor informar o código do caixa/banco.")
MENSAGEM(ExCodigoContaObrigatorio,
         "Favor informar o código da conta. Campo obrigatório para lançamento sem movimentação de numerário!")
MENSAGEM(ExHistoricoObrigatorio, "Favor informar o histórico complementar.")
MENSAGEM(ExCodigoHistoricoObrigatorio, "Favor informar o código do histórico principal.")
MENSAGEM(ExNaturezaValeObrigatorio, "Favor informar a natureza do vale.")
MENSAGEM(ExTipoParceiroObrigatorio, "Favor informar o tipo do parceiro.")
MENSAGEM(ExDataLancamentoObrigatorio, "Favor informar a data de lançamento.")
MENSAGEM(ExDataDocumentoObrigatorio, "Favor informar a data do documento.")
MENSAGEM(ExDataVencimentoObrigatorio, "Favor informar a data de vencimento.")
MENSAGEM(ExNumeroDocumentoObrigatorio, "Favor informar o número do documento.")
MENSAGEM(ExValorValeObrigatorio, "Favor informar o valor do vale.")
MENSAGEM(ExNumeroParcelasObrigatorio, "Favor informar o número de parcelas.")
MENSAGEM(ExPeriodicidadeValesObrigatorio, "Favor informar a períodicidade dos vales")
MENSAGEM(ExOrigemLancamentoObrigatoria, "Favor informar a origem do lançamento")
MENSAGEM(ExRegistroNaoSelecionadoParaBaixaParcial,
         "Para que seja informado o valor para baixa parcial é necessário que o registro seja selecionado.")

ExNaoPermitidoBaixaParcialVale::ExNaoPermitidoBaixaParcialVale(double codigo, std::string_view tipoParceiro,
                                                               std::string_view nome) {
  std::string mensagem = "Para baixa parcial do " + NomeTipoParceiro(tipoParceiro) + ": " + ShortestDecimal(codigo);
  mensagem += "-";
  mensagem += nome;
  mensagem +=
      ", é necessário que tenha sido selecionado apenas vales da mesma natureza. Favor selecionar apenas vales a "
      "débito ou a crédito para baixa parcial.";
  SetMessage(std::move(mensagem));
}

MENSAGEM(ExNaoTransferirValeEntreMesmoParceiro,
         "O processo de transferência de vales somente poderá ser feito entre parceiros diferentes. Favor selecionar "
         "os registros que sejam diferentes do parceiro de destino!")
MENSAGEM(ExValeJaTransferido,
         "Processo de transferência de vales cancelado! Foi selecionado um ou mais vales já transferidos "
         "anteriormente.")
MENSAGEM(ExNumeroValeInicialMaiorNumeroValeFinal, "O número do vale inicial não pode ser maior que o final.")
MENSAGEM(ExNaoPermiteBaixaConsideraBCDiferente,
         "Não é permitida a baixa de vales que não compõem a base de cálculo de impostos juntamente com vales que "
         "compõem a base de cálculo de impostos.")
MENSAGEM(ExNenhumValeSelecionado,
         "Para realizar o processo de baixa é necessário que seja escolhido pelo menos um registro de vale de crédito "
         "ou débito.")
MENSAGEM_TEXTO(ExErroInserindoZTLANC, "Erro ao inserir registro na ZTLANC:\r")
MENSAGEM_TEXTO(ExErroEditandoZTCORREN, "Erro ao editar registro na ZTCORREN:\r")
MENSAGEM_TEXTO(ExValidacaoCaixaReceber, "Erro ao validar Caixa: \r")

ExValeJaEstavaBaixado::ExValeJaEstavaBaixado(std::string_view texto) {
  SetMessage(Juntar("Vale número ", texto) + " já baixado.");
}

// Cash movements
MENSAGEM(ExErroAtualizarZTESTCR, "Não foi possível atualizar a ZTESTCR.")
MENSAGEM(ExCodigoCobrancaRecalculoVazia, "O código da Moeda para o recálculo não foi informado.")
MENSAGEM(ExCodigoBancoRecalculoVazio, "O código do Banco para o recálculo não foi informado.")
MENSAGEM(ExRecalculoCompensacaoDataIniVazia, "Para o recálculo por Data de Compensação a Data Inicial é obrigatória.")
MENSAGEM(ExNenhumaOpcaoDeRecalculoSelecionada,
         "Nenhuma opção para recálculo foi selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo por Data de "
         "Compensação.")
MENSAGEM(ExDataCompensacaoBloqueioEncerramento,
         "A data de compensação informada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
         "2117) na contabilidade.! Conforme parâmetro: 2822 - Permitir conciliação em períodos encerrados no contábil.")

// Receivable titles and bank slips
MENSAGEM(ExNumtransvendaInvalido, "Número de transação de venda (numtransvenda) inválido.")
MENSAGEM(ExPrestInvalida, "Prestação (prest) inválida.")
MENSAGEM(ExUsuarioNaoInformado, "Usuário, para validação de permissão de acesso, não foi informado.")
MENSAGEM(ExRotinaNaoInformada, "O número da rotina, para validação de permissão de acesso, não foi informado.")
MENSAGEM(ExNumeroPermissaoAcessoNaoInformado,
         "O número da permissão de acesso, para validação de permissão, não foi informado.")
MENSAGEM(ExUsuarioSemPermissaoGerarDadosBancarios,
         "Usuário não tem permissão de acesso para gerar dados bancários. Verifique na rotina 530")
MENSAGEM(ExNaoFoiPossivelBloqueiRegistroBancario,
         "Processo não permitido no momento!\rEste banco está sendo utilizado por outro processo no Quorvin! Favor "
         "aguardar...")
MENSAGEM(ExCodigoBancoNaoInformado522,
         "É necessário informar o código do banco para essa cobrança. Favor entrar na rotina 522 e informar o código "
         "do banco.")
MENSAGEM(ExCodigoBancoNaoInformado, "Código do banco não informado. É necessário informar.")
MENSAGEM(ExRegistroContasReceberNaoEncontrado, "Não foi encontrado o registro do contas a receber.")

ExBancoNaoDisponivelParaGerarDadosBancarios::ExBancoNaoDisponivelParaGerarDadosBancarios(std::string_view texto) {
  SetMessage(Juntar("O banco ", texto) +
             " não está disponivel para geração de dados bancários.\rFavor entrar em contato com o suporte da ZT "
             "Sistemas.");
}

MENSAGEM(ExNaoExisteBoletosParaSeremImpressos, "Não existe boletos para serem impressos.")

ExBancoMoeda::ExBancoMoeda(std::string_view banco, std::string_view moeda) {
  std::string mensagem = Juntar("Não existe configuração para o banco (", banco);
  mensagem += ") e moeda (";
  mensagem += moeda;
  mensagem += ") na rotina 565!";
  SetMessage(std::move(mensagem));
}

MENSAGEM_TEXTO(ExErroAoInserirZTPrest, "")
MENSAGEM_TEXTO(ExRetornarStatusCobrancaSupplierCard, "Erro ao validar status de cobrança SupplierCard. \r")

// SPED EFD services rendered
MENSAGEM(ExNumInscricaoSubContratanteVazio, "É necessário informar um número de inscrição do subcontratante!")
MENSAGEM(ExCodConstCivilVazio, "É necessário informar um tipo de Prestação de Serviços em obra de Construção Civil!")
MENSAGEM(ExNumSerieNFVazio, "É necessário informar uma série de nota fiscal! Caso não possua informe o número Zero!")
MENSAGEM(ExTipoServicoVazio, "É necessário informar um tipo de serviço!")
MENSAGEM(ExNumSerieNFSubContratanteVazio, "É necessário informar uma série NF para o subcontratante!")
MENSAGEM(ExNumDocumentoSubContratanteVazio, "É necessário informar um número de documento para o subcontratante!")
MENSAGEM(ExDataEmissaoSubContratanteVazio, "É necessário informar uma data de emissão da nota do subcontratante!")
MENSAGEM(ExValorBrutoSubContratanteVazio, "É necessário informar um valor bruto da nota do subcontratante!")
MENSAGEM(ExTipoServicoSubContratanteVazio, "É necessário informar um tipo de serviço para nota do subcontratante!")
MENSAGEM(ExCodServicoPrestadoVazio, "É necessário informar o código do serviço inserido na ZTLANC!")
MENSAGEM(ExPercentualRetencaoVazio, "É necessário informar um percentual de redução!")
MENSAGEM(ExValorRetencaoAdicionalVazio, "É necessário informar o valor de retenção adicional!")
MENSAGEM(ExValorAdicionalVazio, "É necessário informar o valor adicional, para informar o valor de retenção adicional!")
MENSAGEM(ExValorRetencaoNaoEfetuadaContratanteVazio,
         "O tipo do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção que deixou "
         "de ser efetuada pelo contratante! ")
MENSAGEM(ExValorRetencaoAdicionalNaoEfetuadaContratanteVazio,
         "O número do processo só pode ser informado caso exista, pelo menos uma nota com valor da retenção adicional "
         "que deixou de ser efetuada pelo contratant! ")
MENSAGEM(ExTipoProcessoVazio, "É necessário informar o tipo do processo! ")
MENSAGEM(ExNumeroProcessoVazio, "É necessário informar o número do processo! ")
MENSAGEM(ExValorRetencaoEmpresaSubcontratadaVazio,
         "É necessário informar o Valor da Retenção da empresa Subcontratada!")

// Customer credit
MENSAGEM(ExCodigoClienteObrigatorio, "É necessário informar o código do cliente")

ExNaoExisteCreditoClienteParaCodigoInformado::ExNaoExisteCreditoClienteParaCodigoInformado(double codigo) {
  SetMessage("Não existe crédito cadastrado para o código " + ShortestDecimal(codigo));
}

ExExisteMaisDeUmCreditoClienteParaCodigoInformado::ExExisteMaisDeUmCreditoClienteParaCodigoInformado(double codigo) {
  SetMessage("Existem mais de um registro de crédito cadastrado para o código " + ShortestDecimal(codigo));
}

ExCodigoCreditoClienteInformadoJaEstornado::ExCodigoCreditoClienteInformadoJaEstornado(double codigo) {
  SetMessage("O código " + ShortestDecimal(codigo) + " informado já esta estornado.");
}

ExValorEstornadoMaiorQueValorCredito::ExValorEstornadoMaiorQueValorCredito(double valorEstorno, double valorCredito) {
  SetMessage("O valor do estorno não pode ser maior que o valor do crédito.\rValor do estorno: " +
             FormatarValor(valorEstorno) + "\rValor do crédito: " + FormatarValor(valorCredito));
}

MENSAGEM_TEXTO(ExErroAoGravarCreditoCliente, "Ocorreu um problema ao gravar o crédito de cliente: ")
MENSAGEM_TEXTO(ExErroAoEstornarCreditoCliente, "Ocorreu um problema ao estornar o crédito de cliente: ")
MENSAGEM(ExMotivoObrigatorio, "É necessário informar o motivo.")
MENSAGEM_TEXTO(ExErroAoBaixarCreditoCliente, "")

// Unidentified deposits settled with allowances
MENSAGEM(ExNumeroVerbaObrigatorio, "É necessário informar o número da verba.")
MENSAGEM_TEXTO(ExErroAoBaixarVerbaComDNI, "")
MENSAGEM_TEXTO(ExErroAoEstornarVerbaBaixadaComDNI, "")
