#include <iomanip>
#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kFuncionaria = 6101;    // MARIA OLIVEIRA, employee
constexpr double kRepresentante = 6102;  // ROBERTO VENDAS, representative
constexpr double kCaixaVales = 21;       // the cash account the vouchers move
constexpr double kContaDespesa = 3201;   // payable account without cost-center apportionment
const std::string kFilial = "1";

// The partners, the history code and the cash account of the story (idempotent).
void Preparar(TOraSession& sessao) {
  Executar(
      sessao,
      "INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA, CODFILIAL, SITUACAO, TIPO) SELECT 6101, 'MARIA "
      "OLIVEIRA', 'MARIA', '1', 'A', 'F' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTEMPR WHERE MATRICULA = 6101)");
  Executar(
      sessao,
      "INSERT INTO ZTUSUARI (CODUSUR, NOME, CODFILIAL, TIPOVEND) SELECT 6102, 'ROBERTO VENDAS', '1', 'R' FROM DUAL "
      "WHERE NOT EXISTS (SELECT 1 FROM ZTUSUARI WHERE CODUSUR = 6102)");
  Executar(sessao,
           "INSERT INTO ZTHIST (CODHIST, HISTORICO) SELECT 61, 'ADIANTAMENTO DE VIAGEM' FROM DUAL WHERE NOT EXISTS "
           "(SELECT 1 FROM ZTHIST WHERE CODHIST = 61)");
  Executar(sessao,
           "INSERT INTO ZTBANCO (CODBANCO, NOME, CODCONTABIL, UTILIZAFECHAMENTOCAIXA) SELECT 21, 'CAIXA VALES', 11105, "
           "'N' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTBANCO WHERE CODBANCO = 21)");
}

void MostrarRazao(TOraSession& sessao, double numvale, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT RECNUM, CODFUNC, TIPOFUNC, TIPOLANC, VALOR, NUMTRANS, DTBAIXAVALE, HISTORICO");
  query.SQL.Add("  FROM ZTCORREN WHERE NUMVALE = :NUMVALE ORDER BY RECNUM, TIPOLANC");
  query.ParamByName("NUMVALE").SetAsFloat(numvale);
  query.Open();
  out << "  RECNUM  PARCEIRO  T  NAT        VALOR  NUMTRANS  SITUAÇÃO  HISTÓRICO\n";
  for (query.First(); !query.Eof(); query.Next()) {
    out << "  " << std::setw(6) << query.FieldByName("RECNUM").AsString() << "  " << std::setw(8)
        << query.FieldByName("CODFUNC").AsString() << "  " << query.FieldByName("TIPOFUNC").AsString() << "  "
        << std::setw(3) << query.FieldByName("TIPOLANC").AsString() << "  " << std::setw(11)
        << FormatarValor(query.FieldByName("VALOR").AsFloat()) << "  " << std::setw(8)
        << (query.FieldByName("NUMTRANS").IsNull() ? "-" : query.FieldByName("NUMTRANS").AsString()) << "  "
        << std::setw(8) << (query.FieldByName("DTBAIXAVALE").IsNull() ? "aberto" : "baixado") << "  "
        << query.FieldByName("HISTORICO").AsString() << "\n";
  }
}

void MostrarDinheiro(TOraSession& sessao, double numvale, std::ostream& out) {
  TOraQuery movimentos(&sessao);
  movimentos.SQL.Add("SELECT CODCOB, TIPO, VALOR, NUMTRANS FROM ZTMOVCR WHERE NUMCARR = :NUMVALE AND CODBANCO = 21");
  movimentos.SQL.Add(" ORDER BY ROWID");
  movimentos.ParamByName("NUMVALE").SetAsFloat(numvale);
  movimentos.Open();
  for (movimentos.First(); !movimentos.Eof(); movimentos.Next()) {
    out << "  movimento " << movimentos.FieldByName("CODCOB").AsString() << "/"
        << movimentos.FieldByName("TIPO").AsString() << " " << FormatarValor(movimentos.FieldByName("VALOR").AsFloat())
        << " (transação " << movimentos.FieldByName("NUMTRANS").AsString() << ")\n";
  }
}

void MostrarLancamentos(TOraSession& sessao, double numtrans, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT RECNUM, CODFORNEC, TIPOPARCEIRO, VALOR, HISTORICO2 FROM ZTLANC WHERE LOCALIZACAO = :LOCAL");
  query.SQL.Add(" ORDER BY RECNUM");
  query.ParamByName("LOCAL").SetAsString(ShortestDecimal(numtrans));
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) {
    out << "  ZTLANC " << query.FieldByName("RECNUM").AsString() << ": parceiro "
        << query.FieldByName("TIPOPARCEIRO").AsString() << " " << query.FieldByName("CODFORNEC").AsString()
        << ", valor " << FormatarValor(query.FieldByName("VALOR").AsFloat()) << ", "
        << query.FieldByName("HISTORICO2").AsString() << "\n";
  }
}

}  // namespace

void AddValesDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Vales: inclusão, baixa parcial, transferência e extrato", [](Runtime& runtime, std::ostream& out) {
         IFin_Vales& vales = *runtime.Financeiro().GetVales();
         TOraSession& sessao = runtime.Host().Sessao();
         Preparar(sessao);
         const TDateTime hoje = runtime.Host().DataServidor();

         out << "Um adiantamento de 250,00 à funcionária 6101, com o movimento do vale e o lançamento "
                "pago no contas a pagar; os números são sorteados pelo módulo e devolvidos:\n";
         RFin_ParametrosInclusaoVale vale;
         vale.Inicializar();
         vale.CODFILIAL = kFilial;
         vale.TIPOPARCEIRO = "F";
         vale.CODPARCEIRO = kFuncionaria;
         vale.NATUREZA = "D";
         vale.VALOR = 250;
         vale.CODHIST = 61;
         vale.HISTORICO = "ADIANTAMENTO DE VIAGEM A SANTOS";
         vale.HISTORICO2 = "VIAGEM COMERCIAL";
         vale.HISTORICO2FUNCIONARIO = "MARIA OLIVEIRA";
         vale.NUMDOC = 6101;
         vale.DTLANC = hoje;
         vale.DTDOC = hoje;
         vale.DTVENC = hoje + 30;
         vale.CODBANCO = kCaixaVales;
         vale.CODCONTA = kContaDespesa;
         vale.MOVIMENTARCONTAVALE = true;
         vale.LANCARCONTASPAGAR = true;
         out << "  IncluirVale -> " << (vales.IncluirVale(vale) ? "true" : "false") << ": vale "
             << ShortestDecimal(vale.NUMVALE) << ", RECNUM " << ShortestDecimal(vale.RECNUM) << ", transação "
             << ShortestDecimal(vale.NUMTRANS) << "\n";
         MostrarRazao(sessao, vale.NUMVALE, out);
         MostrarDinheiro(sessao, vale.NUMVALE, out);
         MostrarLancamentos(sessao, vale.NUMTRANS, out);

         out << "A funcionária devolve 100,00 em dinheiro: o vale fecha, o valor devolvido fica "
                "registrado e os 150,00 restantes são um vale novo com o mesmo número:\n";
         RFin_ParamBaixaVale baixa;
         baixa.Inicializar();
         baixa.NATUREZAVALE = nvDebito;
         baixa.NUMVALE = vale.NUMVALE;
         baixa.RECNUM = vale.RECNUM;
         baixa.NUMDOC = vale.NUMDOC;
         baixa.VALORVALE = vale.VALOR;
         baixa.VALORBAIXA = 100;
         baixa.CODPARCEIRO = kFuncionaria;
         baixa.TIPOPARCEIRO = "F";
         baixa.TEXTOFUNCIONARIO = "MARIA OLIVEIRA";
         baixa.CODFILIAL = kFilial;
         baixa.CODHIST = 61;
         baixa.HISTORICO = "DEVOLUCAO DE ADIANTAMENTO";
         baixa.CODBANCOVALE = static_cast<int>(kCaixaVales);
         baixa.CODBANCOBAIXA = static_cast<int>(kCaixaVales);
         baixa.NUMTRANSBAIXA = runtime.Host().ProximoNumTrans();
         baixa.PAGOEMDINHEIRO = true;
         out << "  BaixarValeIndividual -> " << (vales.BaixarValeIndividual(baixa, nullptr) ? "true" : "false") << "\n";
         MostrarRazao(sessao, vale.NUMVALE, out);
         MostrarDinheiro(sessao, vale.NUMVALE, out);
         out << "Baixar outra vez o mesmo registro não muda nada:\n";
         try {
           vales.BaixarValeIndividual(baixa, nullptr);
           out << "  (baixou?)\n";
         } catch (const Exception& falha) {
           out << "  " << falha.ClassName() << ":\n" << ParaTerminal(falha.Message(), "    ") << "\n";
         }

         out << "O registro original já está baixado: transferi-lo é recusado, não respondido como "
                "feito:\n";
         try {
           vales.TransferirVales(vale.RECNUM, kRepresentante, vale.NUMTRANS, vale.NUMDOC, "R", "ROBERTO VENDAS",
                                 vale.DTLANC);
           out << "  (transferiu?)\n";
         } catch (const Exception& falha) {
           out << "  " << falha.ClassName() << ": " << ParaTerminal(falha.Message()) << "\n";
         }
         out << "O saldo em aberto (150,00) passa ao representante 6102:\n";
         TOraQuery aberto(&sessao);
         aberto.SQL.Add("SELECT RECNUM, NVL(NUMTRANS, 0) NUMTRANS, NUMDOC, DTLANC FROM ZTCORREN");
         aberto.SQL.Add(" WHERE NUMVALE = :NUMVALE AND DTBAIXAVALE IS NULL");
         aberto.ParamByName("NUMVALE").SetAsFloat(vale.NUMVALE);
         aberto.Open();
         out << "  TransferirVales -> "
             << (vales.TransferirVales(aberto.FieldByName("RECNUM").AsFloat(), kRepresentante,
                                       aberto.FieldByName("NUMTRANS").AsFloat(), aberto.FieldByName("NUMDOC").AsFloat(),
                                       "R", "ROBERTO VENDAS", aberto.FieldByName("DTLANC").AsDateTime())
                     ? "true"
                     : "false")
             << "\n";
         MostrarRazao(sessao, vale.NUMVALE, out);

         out << "Extrato sintético da filial " << kFilial << " (um total por parceiro, vales abertos):\n";
         TOraQuery extrato(&sessao);
         if (vales.ExtratoVales(extrato, kFilial, TPesquisaPeriodoVale::ppDataLancamento, hoje, hoje,
                                TTipoParceiroVale::tpRCA, kRepresentante, 0, TTipoRelatorioExtratoVale::teSintetico,
                                TTipoOrdenacaoVale::toCodigoParceiro, TStatusParceiroVale::spTodos, false,
                                TSituacaoVales::svAbertos, 0, 0)) {
           for (extrato.First(); !extrato.Eof(); extrato.Next()) {
             out << "  " << extrato.FieldByName("CODTIPOFUNC").AsString() << " "
                 << extrato.FieldByName("NOMEPACEIRO").AsString() << ": " << extrato.FieldByName("QTD").AsString()
                 << " vale(s), débitos " << FormatarValor(extrato.FieldByName("VALORDEBITOS").AsFloat())
                 << ", créditos " << FormatarValor(extrato.FieldByName("VALORCREDITOS").AsFloat()) << ", saldo "
                 << FormatarValor(extrato.FieldByName("VALORSALDO").AsFloat()) << "\n";
           }
         } else {
           out << "  (nenhum vale)\n";
         }
       }});
}

}  // namespace cli
