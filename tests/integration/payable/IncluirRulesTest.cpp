#include <functional>
#include <ostream>
#include <string>

#include "PayableFixture.h"

namespace payabletest {
namespace {

std::string Repetir(const std::string& texto, int vezes) {
  std::string resultado;
  for (int i = 0; i < vezes; ++i) resultado += texto;
  return resultado;
}

struct Rejeicao {
  const char* nome;
  std::function<void(RFin_IncluirContasPagar&)> quebrar;
  const char* classe;
  const char* mensagem;
};

// Test names instead of bytes in failure reports.
void PrintTo(const Rejeicao& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableRejection : public PayableTest, public ::testing::WithParamInterface<Rejeicao> {};

// The first failing rule raises its class with its message, and nothing is written.
TEST_P(PayableRejection, FirstFailingRuleWinsAndNothingIsWritten) {
  RFin_IncluirContasPagar registro = Valida();
  GetParam().quebrar(registro);
  const double recnum = registro.RECNUM;
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, GetParam().classe, GetParam().mensagem);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANC"), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANCBLOQ"), 0);
  EXPECT_EQ(registro.RECNUM, recnum);
  EXPECT_EQ(registro.MENSAGEM, "");
}

const Rejeicao kRejeicoes[] = {
    {"RecNumZero", [](auto& r) { r.RECNUM = 0; }, "ExRecNumVazio", "O recnum deve estar preenchido."},
    {"RecNumBeforeEverythingElse",
     [](auto& r) {
       r.RECNUM = 0;
       r.TIPOLANC = "X";
       r.VALOR = 0;
       r.CODFILIAL = "";
     },
     "ExRecNumVazio", "O recnum deve estar preenchido."},
    {"TypeEmpty", [](auto& r) { r.TIPOLANC = " "; }, "ExTipoLancamentoVazio",
     "O tipo de lançamento não pode estar vazio."},
    {"TypeLowerCase", [](auto& r) { r.TIPOLANC = "p"; }, "ExTipoLancamentoDiferentePeC",
     "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."},
    {"ValueZero", [](auto& r) { r.VALOR = 0; }, "ExValorZerado",
     "O valor informado não pode estar vazio ou igual a zero."},
    {"AccountZero", [](auto& r) { r.CODCONTA = 0; }, "ExContaGerencialNaoInformada", "Conta gerencial não informada"},
    {"HistoryBlank", [](auto& r) { r.HISTORICO = "   "; }, "ExHistoricoNaoInformado", "O histórico não foi informado."},
    {"SupplierWithoutCode", [](auto& r) { r.CODFORNEC = 0; }, "ExCodigoParceiroNaoInformado",
     "O Código do parceiro não foi informado."},
    {"DueDateMissing", [](auto& r) { r.DTVENC = TDateTime(); }, "ExDataVencimentoNaoInformada",
     "Data de Vencimento não informada"},
    {"IssueDateBeforeTheWindow", [](auto& r) { r.DTEMISSAO = r.DTLANC - 1; }, "ExDataEmissaoInferiorPermitidoParam1957",
     "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132."},
    {"IssueDateMissing", [](auto& r) { r.DTEMISSAO = TDateTime(); }, "ExDataEmissaoInferiorPermitidoParam1957",
     "Data de emissão acima/abaixo do limite permitido pelo parâmetro 1957 da rotina 132."},
    {"DiscountAboveValue", [](auto& r) { r.DESCONTOFIN = 100.01; }, "ExValorDescontoFinMaiorValorLancto",
     "Valor do desconto financeiro maior que valor do título."},
    {"ReturnAboveValue", [](auto& r) { r.VALORDEV = 100.01; }, "ExValorDevolucaoMaiorValorLancto",
     "Valor devolução maior que o valor do título."},
    {"NegativeInterestOutside746",
     [](auto& r) {
       r.TXPERM = -1;
       r.LABELROTINA = "749";
     },
     "ExValorJurosDeveSerMaiorQueZero", "Não é possivel incluir valor de juros negativo."},
    {"PaidWithoutValue", [](auto& r) { r.DTPAGTO = r.DTLANC; }, "ExValorPagoZeradoComDataPagtoPreenchida",
     "O valor pago não pode estar zerado quando a data de pagamento estiver preenchida."},
    {"ServiceInvoiceOfOther",
     [](auto& r) {
       r.NFSERVICO = "S";
       r.TIPOPARCEIRO = "O";
     },
     "ExLanctoNaoPermitidoNFServicoTipoParceiroOutros",
     "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."},
    {"ServiceInvoiceOfCustomer",
     [](auto& r) {
       r.NFSERVICO = "S";
       r.TIPOPARCEIRO = "C";
     },
     "ExLanctoNaoPermitidoNFServicoTipoParceiroCliente",
     "Lançamento permitido apenas para tipo parceiro RCA ou Fornecedor."},
    {"ServiceInvoiceOfRepresentativeWithoutNote",
     [](auto& r) {
       r.NFSERVICO = "S";
       r.TIPOPARCEIRO = "R";
     },
     "ExLanctoNFServicoRCANumNotaZerado", "Para lançamentos de NF Serviço o número da nota é obrigatório."},
    {"BranchBlank", [](auto& r) { r.CODFILIAL = " "; }, "ExCodigoFilialNaoPreenchido",
     "Deve ser informado o código filial."},
    {"AccountElevenDigits", [](auto& r) { r.CODCONTA = 12345678901; }, "ExTamanhoCodContaMaiorQueDez",
     "Campo CODCONTA deve ter tamanho máximo 10."},
    {"SupplierElevenDigits", [](auto& r) { r.CODFORNEC = 12345678901; }, "ExTamanhoCodFornecMaiorQueDez",
     "Campo CODFORNEC deve ter tamanho máximo 10."},
    {"History201CharactersWithAccents", [](auto& r) { r.HISTORICO = Repetir("ÇÃO", 67); },
     "ExTamanhoHistoricoMaiorQueDuzentos", "Campo HISTORICO varchar (200)"},
    {"NoteElevenDigits", [](auto& r) { r.NUMNOTA = 10000000000; }, "ExTamanhoNumNotaMaiorQueDez",
     "Campo NUMNOTA number(10)"},
    {"PaidTooWide",
     [](auto& r) {
       r.DTPAGTO = r.DTLANC;
       r.VPAGO = 10000000000;
     },
     "ExValorPagoMaiorQuePermitidoPeloCampo", "Campo VPAGO number(12,2)."},
    {"Location21Characters", [](auto& r) { r.LOCALIZACAO = Repetir("É", 21); },
     "ExTamanhoCampoLocalizacaoMaiorQueVinte", "Campo LOCALIZAÇÃO varchar(20)."},
    {"ReturnNoteElevenDigits", [](auto& r) { r.NUMNOTADEV = 12345678901; }, "ExTamanhoNumNotaDevMaiorQueDez",
     "Campo NUMNOTADEV number(10)."},
    {"ReturnTooWide",
     [](auto& r) {
       r.VALOR = 10000000000;
       r.VALORDEV = 10000000000;
     },
     "ExValorDevolucaoMaiorQuePermitidoPeloCampo", "Campo VALORDEV number (12,2)."},
    {"ExtensionFiveDigits", [](auto& r) { r.PRORROG = 12345; }, "ExTamanhoCampoProrrogacaoMaiorQueQuatro",
     "Campo PRORROG number(4)."},
    {"NegativeExtensionFiveDigits", [](auto& r) { r.PRORROG = -12345; }, "ExTamanhoCampoProrrogacaoMaiorQueQuatro",
     "Campo PRORROG number(4)."},
    {"BorderoSevenDigits", [](auto& r) { r.NUMBORDERO = 1234567; }, "ExTamanhoNumBorderoMaiorQueSete",
     "Campo NUMBORDERO number(6)"},
    {"RmCode31Characters", [](auto& r) { r.CODLANCAMENTORM = Repetir("R", 31); }, "ExTamanhoCampoCodigoLancamentoRM",
     "O tamanho máximo do campo de código de lançamento RM é de 30 caracteres."},
    {"DuplicTwoCharacters", [](auto& r) { r.DUPLIC = "AB"; }, "ExTamanhoCampoDuplic",
     "O tamanho máximo do campo DUPLIC é de 1 caracter."},
    {"WidthsBeforeSefazWidths",
     [](auto& r) {
       r.DUPLIC = "AB";
       r.CODCOBSEFAZ = "ABCDE";
     },
     "ExTamanhoCampoDuplic", "O tamanho máximo do campo DUPLIC é de 1 caracter."},
    {"SefazCodeFiveCharacters", [](auto& r) { r.CODCOBSEFAZ = "ABCDE"; }, "ExCodigoCobrancaSefaz",
     "O tamanho máximo do campo CODCOBSEFAZ é de 4 caracteres."},
    {"AcquirerName61Characters", [](auto& r) { r.RAZAOCREDENCCARTAO = Repetir("Ã", 61); }, "ExRazaoCredenciadoraCartao",
     "O tamanho máximo do campo RAZAOCREDENCCARTAO é de 60 caracteres."},
    {"AcquirerCnpj19Characters", [](auto& r) { r.CNPJCREDENCCARTAO = Repetir("1", 19); }, "ExCNPJCredenciadoraCartao",
     "O tamanho máximo do campo CNPJCREDENCCARTAO é de 18 caracteres."},
    {"Nsu16Characters", [](auto& r) { r.NSUTEF = Repetir("9", 16); }, "ExNSUTef",
     "O tamanho máximo do campo NSUTEF é de 15 caracteres."},
    {"CardBrandFourDigits", [](auto& r) { r.BANDEIRACARTAO = 1000; }, "ExCodigoBandeiraCartao",
     "O tamanho máximo do campo BANDEIRACARTAO é de 3 dígitos."},
};

INSTANTIATE_TEST_SUITE_P(Rules, PayableRejection, ::testing::ValuesIn(kRejeicoes),
                         [](const ::testing::TestParamInfo<Rejeicao>& info) { return info.param.nome; });

struct Aceite {
  const char* nome;
  std::function<void(RFin_IncluirContasPagar&)> ajustar;
};

// Test names instead of bytes in failure reports.
void PrintTo(const Aceite& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableAcceptance : public PayableTest, public ::testing::WithParamInterface<Aceite> {};

TEST_P(PayableAcceptance, EntryAtTheLimitIsPosted) {
  RFin_IncluirContasPagar registro = Valida();
  GetParam().ajustar(registro);
  EXPECT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
}

const Aceite kAceites[] = {
    {"OtherPartnerWithoutCode",
     [](auto& r) {
       r.TIPOPARCEIRO = "O";
       r.CODFORNEC = 0;
       r.FORNECEDOR = "PRESTADOR AVULSO";
     }},
    {"BorderoSixDigits", [](auto& r) { r.NUMBORDERO = 123456; }},
    {"NegativeExtensionFourDigits", [](auto& r) { r.PRORROG = -1234; }},
    {"History200CharactersWithAccents", [](auto& r) { r.HISTORICO = Repetir("ÇÃ", 100); }},
    {"DuplicOneAccentedCharacter", [](auto& r) { r.DUPLIC = "Ç"; }},
    {"NegativeAccountTenCharacters", [](auto& r) { r.CODCONTA = -123456789; }},
    {"DiscountEqualToValue", [](auto& r) { r.DESCONTOFIN = 100; }},
    {"NegativeInterestIn746New",
     [](auto& r) {
       r.TXPERM = -1;
       r.LABELROTINA = " 746 [NOVA] ";
     }},
    {"IssueDateWithinTheWindowOf776",
     [](auto& r) {
       r.DTEMISSAO = TDateTime();
       r.CODROTINABAIXA = 776;
     }},
    {"ServiceInvoiceOfRepresentativeWithNote",
     [](auto& r) {
       r.NFSERVICO = "S";
       r.TIPOPARCEIRO = "R";
       r.NUMNOTA = 4455;
     }},
    {"CardBrand999", [](auto& r) { r.BANDEIRACARTAO = 999; }},
};

INSTANTIATE_TEST_SUITE_P(Limits, PayableAcceptance, ::testing::ValuesIn(kAceites),
                         [](const ::testing::TestParamInfo<Aceite>& info) { return info.param.nome; });

TEST_F(PayableTest, RecordNotInitialisedIsRefusedBeforeTheTransactionIsLookedAt) {
  RFin_IncluirContasPagar registro = Valida();
  registro.Inicializado = false;
  Session().Rollback();
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExParametrosNaoInicializados",
               "Parâmetros não inicializados.");
}

TEST_F(PayableTest, NoOpenTransactionIsRefused) {
  RFin_IncluirContasPagar registro = Valida();
  Session().Rollback();
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExTransacaoNaoIniciada", "Transação não iniciada.");
}

TEST_F(PayableTest, DiscountAndReturnAboveValuePassWhenTheCallerMayActAs746) {
  PermitirRotina746();
  RFin_IncluirContasPagar registro = Valida();
  registro.DESCONTOFIN = 150;
  registro.VALORDEV = 150;
  registro.LABELROTINA = "746";
  EXPECT_TRUE(ContasPagar().Incluir(registro));
}

TEST_F(PayableTest, EntryDateAndServiceFlagDefaultBeforeTheRulesRun) {
  Host().SetCodigoRotina(749);
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  SetParametro("CON_NUMDIASMAXEMISSAOCP", "400000");
  const TDateTime hoje = Host().DataServidor();
  RFin_IncluirContasPagar registro = Valida();
  registro.DTLANC = TDateTime();
  registro.DTVENC = hoje + 10;
  // Measured from the server date, the due date is 5 days short of the floor.
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExDataVencimentoMenorQuePermitidoParam1393",
               "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro 1393 "
               "da rotina 132.");
  EXPECT_EQ(registro.DTLANC, hoje);
  EXPECT_EQ(registro.NFSERVICO, "N");
}

struct Piso {
  const char* nome;
  int rotina;
  const char* label;
  bool permissao;
  bool pago;
  int dias;
  bool aceito;
};

// Test names instead of bytes in failure reports.
void PrintTo(const Piso& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableDueDateFloor : public PayableTest, public ::testing::WithParamInterface<Piso> {};

TEST_P(PayableDueDateFloor, AppliesToUnpaidEntriesOfRoutine749UnlessTheCallerMayActAs746) {
  const Piso& caso = GetParam();
  Host().SetCodigoRotina(caso.rotina);
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  if (caso.permissao) PermitirRotina746();
  RFin_IncluirContasPagar registro = Valida();
  registro.DTVENC = registro.DTLANC + caso.dias;
  registro.LABELROTINA = caso.label;
  if (caso.pago) {
    registro.DTPAGTO = registro.DTLANC;
    registro.VPAGO = registro.VALOR;
  }
  if (caso.aceito) {
    EXPECT_TRUE(ContasPagar().Incluir(registro));
  } else {
    EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExDataVencimentoMenorQuePermitidoParam1393",
                 "Não é permitido inclusão pois data vencimento está menor que o mínimo permitido pelo parâmetro "
                 "1393 da rotina 132.");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PayableDueDateFloor,
                         ::testing::Values(Piso{"UnpaidWithoutPermission", 749, "749", false, false, 10, false},
                                           Piso{"UnpaidCalledAs746WithPermission", 749, "746", true, false, 10, true},
                                           Piso{"PermissionButNotCalledAs746", 749, "749", true, false, 10, false},
                                           Piso{"CalledAs746WithoutPermission", 749, "746", false, false, 10, false},
                                           Piso{"Paid", 749, "749", false, true, 10, true},
                                           Piso{"ExactlyTheFloor", 749, "749", false, false, 15, true},
                                           Piso{"OtherRoutine", 746, "746", false, false, 10, true}),
                         [](const ::testing::TestParamInfo<Piso>& info) { return info.param.nome; });

TEST_F(PayableTest, ClosedAccountingPeriodRefusesEntriesOfThePostingRoutines) {
  Exec(
      "INSERT INTO ZTPERIODOCONTABIL (CODFILIAL, DTINICIO, DTFIM, SITUACAO) VALUES ('1', "
      "TO_DATE('2030-05-01', 'YYYY-MM-DD'), TO_DATE('2030-05-31', 'YYYY-MM-DD'), 'E')");
  RFin_IncluirContasPagar registro = Valida();
  registro.DTCOMPETENCIA = Dia(15);
  for (int rotina : {746, 749, 614}) {
    Host().SetCodigoRotina(rotina);
    EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExDataCompetenciaBloqueadaEncerrada",
                 "A data de competência selecionada, encontra-se dentro de um período bloqueado/encerrado (rotinas "
                 "2106/rotina 2117) na contabilidade.!\rConforme o parâmetro: 3815 - Bloqueio de lançamentos de "
                 "títulos a pagar.");
  }
  // Other routines, and accrual dates outside the period, post.
  Host().SetCodigoRotina(1234);
  EXPECT_TRUE(ContasPagar().Incluir(registro));
  RFin_IncluirContasPagar outra = Valida();
  outra.DTCOMPETENCIA = Dia(1, 6);
  Host().SetCodigoRotina(746);
  EXPECT_TRUE(ContasPagar().Incluir(outra));
}

}  // namespace
}  // namespace payabletest
