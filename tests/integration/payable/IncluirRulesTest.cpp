#include <functional>
#include <ostream>
#include <string>

#include "PayableFixture.h"

namespace payabletest {
namespace {

// An entry broken one way: refused with this class and message, or posted when `classe` is null.
struct Regra {
  const char* nome;
  std::function<void(RFin_IncluirContasPagar&)> ajustar;
  const char* classe = nullptr;
  const char* mensagem = "";
  int rotina = 0;
  bool permitir746 = false;  // the user may run routine 746
};

// A case prints as its name, in test listings and failure reports.
void PrintTo(const Regra& c, std::ostream* out) {
  *out << c.nome;
}

class PayableRule : public PayableTest, public ::testing::WithParamInterface<Regra> {};

// The first failing rule raises its class with its message and nothing is written; an entry at a
// rule's limit is posted. The 1393 floor is 15 days here and May 2030 is closed in branch "1".
TEST_P(PayableRule, FirstFailingRuleWinsAndNothingIsWritten) {
  const Regra& regra = GetParam();
  Host().SetCodigoRotina(regra.rotina);
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  if (regra.permitir746) Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 746, 0)");
  Exec(
      "INSERT INTO ZTPERIODOCONTABIL (CODFILIAL, DTINICIO, DTFIM, SITUACAO) VALUES ('1', DATE '2030-05-01', "
      "DATE '2030-05-31', 'E')");
  RFin_IncluirContasPagar registro = Valida();
  regra.ajustar(registro);
  if (regra.classe == nullptr) {
    EXPECT_TRUE(ContasPagar().Incluir(registro));
    EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
    return;
  }
  const double recnum = registro.RECNUM;
  EXPECT_FAILS_WITH(ContasPagar().Incluir(registro), std::string(regra.classe) + ": " + regra.mensagem);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANC") + ScalarNumber("SELECT COUNT(*) FROM ZTLANCBLOQ"), 0);
  EXPECT_EQ(registro.RECNUM, recnum);
  EXPECT_EQ(registro.MENSAGEM, "");
}

constexpr const char* kPiso1393 =
    "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro 1393 da rotina "
    "132.";
constexpr const char* kJanela1957 =
    "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132.";
constexpr const char* kPeriodoEncerrado =
    "A data de competência selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas 2106/rotina "
    "2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de títulos a pagar.";
constexpr const char* kNFServico = "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor.";

// clang-format off
const Regra kRegras[] = {
    {"RecNumBeforeEverythingElse", [](auto& r) { r.RECNUM = 0; r.TIPOLANC = "X"; r.VALOR = 0; r.CODFILIAL = ""; }, "ExRecNumVazio", "O recnum deve estar preenchido."},
    // Values that are not what they look like: an amount that rounds to zero is a zero value, record
    // numbers and partners must be real ones.
    {"RecnumNegative", [](auto& r) { r.RECNUM = -1; }, "ExRecNumVazio", "O recnum deve estar preenchido."},
    {"RecnumBelowThirtyTwoBits", [](auto& r) { r.RECNUM = -2147483649.0; }, "ExRecNumVazio", "O recnum deve estar preenchido."},
    {"RecnumWithAFraction", [](auto& r) { r.RECNUM = 650000.5; }, "Exception", "O número do registro (RECNUM) deve ser um número inteiro: 650000.5."},
    {"ValueRoundingToZero", [](auto& r) { r.VALOR = 0.004; }, "ExValorZerado", "O valor informado não pode estar vazio ou igual a zero."},
    {"ValueBelowTheSmallestDouble", [](auto& r) { r.VALOR = 5e-324; }, "ExValorZerado", "O valor informado não pode estar vazio ou igual a zero."},
    {"PartnerSlightlyNegative", [](auto& r) { r.CODFORNEC = -0.001; }, "ExCodigoParceiroNaoInformado", "O Código do parceiro não foi informado."},
    {"PartnerWithAFraction", [](auto& r) { r.CODFORNEC = 501.5; }, "Exception", "O código do parceiro (CODFORNEC) deve ser um número inteiro: 501.5."},
    {"TypeEmpty", [](auto& r) { r.TIPOLANC = " "; }, "ExTipoLancamentoVazio", "O tipo de lançamento não pode estar vazio."},
    {"TypeLowerCase", [](auto& r) { r.TIPOLANC = "p"; }, "ExTipoLancamentoDiferentePeC", "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."},
    {"ValueZero", [](auto& r) { r.VALOR = 0; }, "ExValorZerado", "O valor informado não pode estar vazio ou igual a zero."},
    {"AccountZero", [](auto& r) { r.CODCONTA = 0; }, "ExContaGerencialNaoInformada", "Conta gerencial não informada"},
    {"HistoryBlank", [](auto& r) { r.HISTORICO = "   "; }, "ExHistoricoNaoInformado", "O histórico não foi informado."},
    {"SupplierWithoutCode", [](auto& r) { r.CODFORNEC = 0; }, "ExCodigoParceiroNaoInformado", "O Código do parceiro não foi informado."},
    {"OtherPartnerWithoutCode", [](auto& r) { r.TIPOPARCEIRO = "O"; r.CODFORNEC = 0; r.FORNECEDOR = "PRESTADOR AVULSO"; }},
    {"DueDateMissing", [](auto& r) { r.DTVENC = TDateTime(); }, "ExDataVencimentoNaoInformada", "Data de Vencimento não informada"},
    // The 1393 floor (15 days here) holds for unpaid entries of routine 749 unless the caller may act as 746.
    {"DueDateUnderTheFloor", [](auto& r) { r.LABELROTINA = "749"; }, "ExDataVencimentoMenorQuePermitidoParam1393", kPiso1393, 749},
    {"FloorCalledAs746WithPermission", [](auto& r) { r.LABELROTINA = "746"; }, nullptr, "", 749, true},
    {"FloorPermissionButNotCalledAs746", [](auto& r) { r.LABELROTINA = "749"; }, "ExDataVencimentoMenorQuePermitidoParam1393", kPiso1393, 749, true},
    {"FloorCalledAs746WithoutPermission", [](auto& r) { r.LABELROTINA = "746"; }, "ExDataVencimentoMenorQuePermitidoParam1393", kPiso1393, 749},
    {"FloorPaidEntry", [](auto& r) { r.DTPAGTO = r.DTLANC; r.VPAGO = r.VALOR; }, nullptr, "", 749},
    {"FloorExactly", [](auto& r) { r.DTVENC = r.DTLANC + 15; }, nullptr, "", 749},
    {"FloorOtherRoutine", [](auto& r) { r.LABELROTINA = "746"; }, nullptr, "", 746},
    {"IssueDateBeforeTheWindow", [](auto& r) { r.DTEMISSAO = r.DTLANC - 1; }, "ExDataEmissaoInferiorPermitidoParam1957", kJanela1957},
    {"IssueDateMissing", [](auto& r) { r.DTEMISSAO = TDateTime(); }, "ExDataEmissaoInferiorPermitidoParam1957", kJanela1957},
    {"IssueDateMissingInRoutine776", [](auto& r) { r.DTEMISSAO = TDateTime(); r.CODROTINABAIXA = 776; }},
    {"DiscountAboveValue", [](auto& r) { r.DESCONTOFIN = 100.01; }, "ExValorDescontoFinMaiorValorLancto", "Valor do desconto financeiro maior que valor do título."},
    {"DiscountEqualToValue", [](auto& r) { r.DESCONTOFIN = 100; }},
    {"ReturnAboveValue", [](auto& r) { r.VALORDEV = 100.01; }, "ExValorDevolucaoMaiorValorLancto", "Valor devolução maior que o valor do título."},
    {"DiscountAndReturnAboveValueAs746", [](auto& r) { r.DESCONTOFIN = r.VALORDEV = 150; r.LABELROTINA = "746"; }, nullptr, "", 0, true},
    {"NegativeInterestOutside746", [](auto& r) { r.TXPERM = -1; r.LABELROTINA = "749"; }, "ExValorJurosDeveSerMaiorQueZero", "Não é possivel incluir valor de juros negativo."},
    {"NegativeInterestIn746New", [](auto& r) { r.TXPERM = -1; r.LABELROTINA = " 746 [NOVA] "; }},
    {"PaidWithoutValue", [](auto& r) { r.DTPAGTO = r.DTLANC; }, "ExValorPagoZeradoComDataPagtoPreenchida", "O valor pago não pode estar zerado quando a data de pagamento estiver preenchida."},
    {"ServiceInvoiceOfOther", [](auto& r) { r.NFSERVICO = "S"; r.TIPOPARCEIRO = "O"; }, "ExLanctoNaoPermitidoNFServicoTipoParceiroOutros", kNFServico},
    {"ServiceInvoiceOfCustomer", [](auto& r) { r.NFSERVICO = "S"; r.TIPOPARCEIRO = "C"; }, "ExLanctoNaoPermitidoNFServicoTipoParceiroCliente", kNFServico},
    {"ServiceInvoiceOfRepresentativeWithoutNote", [](auto& r) { r.NFSERVICO = "S"; r.TIPOPARCEIRO = "R"; }, "ExLanctoNFServicoRCANumNotaZerado", "Para lançamentos de NF Serviço o número da nota é obrigatório."},
    {"ServiceInvoiceOfRepresentativeWithNote", [](auto& r) { r.NFSERVICO = "S"; r.TIPOPARCEIRO = "R"; r.NUMNOTA = 4455; }},
    {"BranchBlank", [](auto& r) { r.CODFILIAL = " "; }, "ExCodigoFilialNaoPreenchido", "Deve ser informado o código filial."},
    {"AccountElevenDigits", [](auto& r) { r.CODCONTA = 12345678901; }, "ExTamanhoCodContaMaiorQueDez", "Campo CODCONTA deve ter tamanho máximo 10."},
    {"NegativeAccountTenCharacters", [](auto& r) { r.CODCONTA = -123456789; }},
    {"SupplierElevenDigits", [](auto& r) { r.CODFORNEC = 12345678901; }, "ExTamanhoCodFornecMaiorQueDez", "Campo CODFORNEC deve ter tamanho máximo 10."},
    {"History201CharactersWithAccents", [](auto& r) { r.HISTORICO = Repetir("ÇÃO", 67); }, "ExTamanhoHistoricoMaiorQueDuzentos", "Campo HISTORICO varchar (200)"},
    {"History200CharactersWithAccents", [](auto& r) { r.HISTORICO = Repetir("ÇÃ", 100); }},
    {"NoteElevenDigits", [](auto& r) { r.NUMNOTA = 10000000000; }, "ExTamanhoNumNotaMaiorQueDez", "Campo NUMNOTA number(10)"},
    {"PaidTooWide", [](auto& r) { r.DTPAGTO = r.DTLANC; r.VPAGO = 10000000000; }, "ExValorPagoMaiorQuePermitidoPeloCampo", "Campo VPAGO number(12,2)."},
    {"Location21Characters", [](auto& r) { r.LOCALIZACAO = Repetir("É", 21); }, "ExTamanhoCampoLocalizacaoMaiorQueVinte", "Campo LOCALIZAÇÃO varchar(20)."},
    {"ReturnNoteElevenDigits", [](auto& r) { r.NUMNOTADEV = 12345678901; }, "ExTamanhoNumNotaDevMaiorQueDez", "Campo NUMNOTADEV number(10)."},
    {"ReturnTooWide", [](auto& r) { r.VALOR = r.VALORDEV = 10000000000; }, "ExValorDevolucaoMaiorQuePermitidoPeloCampo", "Campo VALORDEV number (12,2)."},
    {"ExtensionFiveDigits", [](auto& r) { r.PRORROG = 12345; }, "ExTamanhoCampoProrrogacaoMaiorQueQuatro", "Campo PRORROG number(4)."},
    {"NegativeExtensionFourDigits", [](auto& r) { r.PRORROG = -1234; }},
    {"BorderoSevenDigits", [](auto& r) { r.NUMBORDERO = 1234567; }, "ExTamanhoNumBorderoMaiorQueSete", "Campo NUMBORDERO number(6)"},
    {"BorderoSixDigits", [](auto& r) { r.NUMBORDERO = 123456; }},
    {"RmCode31Characters", [](auto& r) { r.CODLANCAMENTORM = Repetir("R", 31); }, "ExTamanhoCampoCodigoLancamentoRM", "O tamanho máximo do campo de código de lançamento RM é de 30 caracteres."},
    {"DuplicTwoCharacters", [](auto& r) { r.DUPLIC = "AB"; }, "ExTamanhoCampoDuplic", "O tamanho máximo do campo DUPLIC é de 1 caracter."},
    {"DuplicOneAccentedCharacter", [](auto& r) { r.DUPLIC = "Ç"; }},
    // Only the posting routines 746, 749 and 614 are checked against closed accounting periods.
    {"ClosedPeriodIn746", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; }, "ExDataCompetenciaBloqueadaEncerrada", kPeriodoEncerrado, 746},
    {"ClosedPeriodIn749", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; r.DTVENC = r.DTLANC + 15; }, "ExDataCompetenciaBloqueadaEncerrada", kPeriodoEncerrado, 749},
    {"ClosedPeriodIn614", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; }, "ExDataCompetenciaBloqueadaEncerrada", kPeriodoEncerrado, 614},
    {"ClosedPeriodInAnotherRoutine", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; }, nullptr, "", 1234},
    {"AccrualAfterTheClosedPeriod", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 22; r.LABELROTINA = "746"; }, nullptr, "", 746},
    {"ClosedPeriodAfterTheWidths", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; r.DUPLIC = "AB"; }, "ExTamanhoCampoDuplic", "O tamanho máximo do campo DUPLIC é de 1 caracter.", 746},
    {"ClosedPeriodBeforeSefazWidths", [](auto& r) { r.DTCOMPETENCIA = r.DTLANC + 5; r.CODCOBSEFAZ = "ABCDE"; }, "ExDataCompetenciaBloqueadaEncerrada", kPeriodoEncerrado, 746},
    {"WidthsBeforeSefazWidths", [](auto& r) { r.DUPLIC = "AB"; r.CODCOBSEFAZ = "ABCDE"; }, "ExTamanhoCampoDuplic", "O tamanho máximo do campo DUPLIC é de 1 caracter."},
    {"SefazCodeFiveCharacters", [](auto& r) { r.CODCOBSEFAZ = "ABCDE"; }, "ExCodigoCobrancaSefaz", "O tamanho máximo do campo CODCOBSEFAZ é de 4 caracteres."},
    {"AcquirerName61Characters", [](auto& r) { r.RAZAOCREDENCCARTAO = Repetir("Ã", 61); }, "ExRazaoCredenciadoraCartao", "O tamanho máximo do campo RAZAOCREDENCCARTAO é de 60 caracteres."},
    {"AcquirerCnpj19Characters", [](auto& r) { r.CNPJCREDENCCARTAO = Repetir("1", 19); }, "ExCNPJCredenciadoraCartao", "O tamanho máximo do campo CNPJCREDENCCARTAO é de 18 caracteres."},
    {"Nsu16Characters", [](auto& r) { r.NSUTEF = Repetir("9", 16); }, "ExNSUTef", "O tamanho máximo do campo NSUTEF é de 15 caracteres."},
    {"CardBrandFourDigits", [](auto& r) { r.BANDEIRACARTAO = 1000; }, "ExCodigoBandeiraCartao", "O tamanho máximo do campo BANDEIRACARTAO é de 3 dígitos."},
    {"CardBrand999", [](auto& r) { r.BANDEIRACARTAO = 999; }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, PayableRule, ::testing::ValuesIn(kRegras),
                         [](const ::testing::TestParamInfo<Regra>& info) { return info.param.nome; });

TEST_F(PayableTest, RecordNotInitialisedIsRefusedBeforeTheTransactionIsLookedAt) {
  RFin_IncluirContasPagar registro = Valida();
  Session().Rollback();
  EXPECT_FAILS_WITH(ContasPagar().Incluir(registro), "ExTransacaoNaoIniciada: Transação não iniciada.");
  registro.Inicializado = false;
  EXPECT_FAILS_WITH(ContasPagar().Incluir(registro), "ExParametrosNaoInicializados: Parâmetros não inicializados.");
}

}  // namespace
}  // namespace payabletest
