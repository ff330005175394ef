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

constexpr double kContaEmprestimo = 31;  // the account that receives the demo loans
constexpr double kFornecedorCPRB = 9101;
constexpr double kServicoDemo = 880001;

void MostrarContrato(TOraSession& sessao, double chave, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT NUMSEQCONTRATOEMPRESTIMO, NUMCONTRATO, TIPOCONTRATO, DTCONTRATO, DTCOTACAO, VLRTOTAL");
  query.SQL.Add("  FROM ZTCONTRATOEMPRESTIMO WHERE NUMSEQCONTRATOEMPRESTIMO = :CHAVE");
  query.ParamByName("CHAVE").SetAsFloat(chave);
  query.Open();
  if (query.Eof()) {
    out << "  contrato " << ShortestDecimal(chave) << ": não existe\n";
    return;
  }
  out << "  contrato " << query.FieldByName("NUMSEQCONTRATOEMPRESTIMO").AsString() << " ("
      << query.FieldByName("NUMCONTRATO").AsString() << "), tipo " << query.FieldByName("TIPOCONTRATO").AsString()
      << ", valor " << FormatarValor(query.FieldByName("VLRTOTAL").AsFloat()) << ", data "
      << (query.FieldByName("DTCONTRATO").IsNull() ? "NULL"
                                                   : query.FieldByName("DTCONTRATO").AsDateTime().ToBrazilian())
      << ", cotação "
      << (query.FieldByName("DTCOTACAO").IsNull() ? "NULL" : query.FieldByName("DTCOTACAO").AsDateTime().ToBrazilian())
      << "\n";
}

void MostrarConta(TOraSession& sessao, std::ostream& out) {
  TOraQuery movimentos(&sessao);
  movimentos.SQL.Add("SELECT COUNT(*) N, SUM(VALOR) TOTAL FROM ZTMOVCR");
  movimentos.SQL.Add(" WHERE CODBANCO = :CODBANCO AND CODCOB = 'D' AND HISTORICO = 'Emprestimo 772'");
  movimentos.ParamByName("CODBANCO").SetAsFloat(kContaEmprestimo);
  movimentos.Open();
  TOraQuery saldo(&sessao);
  saldo.SQL.Add("SELECT VALOR FROM ZTESTCR WHERE CODCOB = 'D' AND CODBANCO = :CODBANCO");
  saldo.ParamByName("CODBANCO").SetAsFloat(kContaEmprestimo);
  saldo.Open();
  out << "  conta " << ShortestDecimal(kContaEmprestimo) << "/D: " << movimentos.FieldByName("N").AsString()
      << " movimento(s) \"Emprestimo 772\" somando " << FormatarValor(movimentos.FieldByName("TOTAL").AsFloat())
      << "; saldo ZTESTCR " << (saldo.Eof() ? std::string("-") : FormatarValor(saldo.FieldByName("VALOR").AsFloat()))
      << "\n";
}

void MostrarServico(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT VALORBRUTONF, VALORMATERIAL, PERCRETENCAO, VALORRETENCAO, HOUVEVALORRETENCAOINSS");
  query.SQL.Add("  FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = :CODSERVICO");
  query.ParamByName("CODSERVICO").SetAsFloat(kServicoDemo);
  query.Open();
  const auto valor = [&query](const char* campo) {
    TField field = query.FieldByName(campo);
    return field.IsNull() ? std::string("NULL") : field.AsString();
  };
  out << "  ZTSERVICOSPEDEFD " << ShortestDecimal(kServicoDemo) << ": VALORBRUTONF " << valor("VALORBRUTONF")
      << ", VALORMATERIAL " << valor("VALORMATERIAL") << ", PERCRETENCAO " << valor("PERCRETENCAO")
      << ", VALORRETENCAO " << valor("VALORRETENCAO") << ", HOUVEVALORRETENCAOINSS " << valor("HOUVEVALORRETENCAOINSS")
      << "\n";
}

}  // namespace

void AddContratoEmprestimoDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Contratos de empréstimo", [](Runtime& runtime, std::ostream& out) {
                     IFin_ContratoEmprestimo& area = *runtime.Financeiro().GetContratoEmprestimo();
                     TOraSession& sessao = runtime.Host().Sessao();
                     out << "Um contrato de tipo 1 grava só a sua linha; as datas não informadas ficam NULL:\n";
                     TFin_ContratoEmprestimo simples;
                     simples.NUMCONTRATO = "CE-2026/01";
                     simples.TIPOCONTRATO = "1";
                     simples.VLRTOTAL = 5000;
                     simples.CODFORNEC = 1;
                     out << "  Salvar -> " << (area.Salvar(simples) ? "true" : "false") << "\n";
                     MostrarContrato(sessao, simples.NUMSEQCONTRATOEMPRESTIMO, out);

                     out << "Um contrato de tipo 3 põe o valor do empréstimo na conta que o recebe:\n";
                     MostrarConta(sessao, out);
                     TFin_ContratoEmprestimo captacao;
                     captacao.NUMCONTRATO = "CE-2026/02";
                     captacao.TIPOCONTRATO = "3";
                     captacao.DTCONTRATO = runtime.Host().DataServidor();
                     captacao.CODBANCO = kContaEmprestimo;
                     captacao.VLRTOTAL = 12500.5;
                     captacao.TXJURO = 1.35;
                     captacao.PRAZOPER = 24;
                     out << "  Salvar -> " << (area.Salvar(captacao) ? "true" : "false") << ", chave "
                         << ShortestDecimal(captacao.NUMSEQCONTRATOEMPRESTIMO) << "\n";
                     MostrarContrato(sessao, captacao.NUMSEQCONTRATOEMPRESTIMO, out);
                     MostrarConta(sessao, out);

                     out << "Salvar o mesmo contrato outra vez só regrava a linha: o dinheiro não entra duas vezes:\n";
                     captacao.OBSERVACAO = "Prazo renegociado";
                     out << "  Salvar -> " << (area.Salvar(captacao) ? "true" : "false") << "\n";
                     MostrarConta(sessao, out);

                     out << "Alterar uma chave que não existe não grava nada e responde false:\n";
                     TFin_ContratoEmprestimo inexistente = captacao;
                     inexistente.NUMSEQCONTRATOEMPRESTIMO = 99999999;
                     out << "  Salvar -> " << (area.Salvar(inexistente) ? "true" : "false") << "\n";
                   }});

  steps.push_back(
      {"Serviços prestados para a EFD", [](Runtime& runtime, std::ostream& out) {
         IFin_IncluirServicosPrestadosSPED_EFD& area = *runtime.Financeiro().GetServicosPrestadosSPED_EFD();
         TOraSession& sessao = runtime.Host().Sessao();
         Executar(sessao, "DELETE FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = " + ShortestDecimal(kServicoDemo));
         Executar(sessao, "INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR, CONTRIBUINTEDOCPRB) SELECT " +
                              ShortestDecimal(kFornecedorCPRB) +
                              ", 'CONSTRUTORA DEMONSTRACAO', 'S' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTFORNEC "
                              "WHERE CODFORNEC = " +
                              ShortestDecimal(kFornecedorCPRB) + ")");
         RFin_IncluirServicosPrestadosSPED_EFD servico;
         servico.CODSERVICO = kServicoDemo;
         servico.CODCONSTCIVIL = 1;
         servico.CODTIPOSERVICO = 100000003;
         servico.SERIENF = "1";
         servico.VALORBRUTONF = 10000;
         servico.VALORBASERETENCAO = 10000;
         servico.PERCRETENCAO = 11;
         servico.VALORRETENCAO = 1100;
         servico.HOUVEVALORRETENCAOINSS = "S";
         servico.CODFORNEC = kFornecedorCPRB;
         servico.TRANSACAOABERTA = true;
         out << "A inclusão nomeia só as colunas informadas; as outras ficam NULL:\n";
         out << "  Incluir -> " << (area.IncluirServicosPrestadosSPED_EFD(servico) ? "true" : "false") << "\n";
         MostrarServico(sessao, out);
         out << "A alteração grava todas as colunas: a retenção zerada sobrescreve a gravada:\n";
         servico.VALORRETENCAO = 0;
         servico.HOUVEVALORRETENCAOINSS = "N";
         out << "  Alterar -> " << (area.AlterarServicoPrestadoSPED_EFD(servico) ? "true" : "false") << "\n";
         MostrarServico(sessao, out);
         out << "O fornecedor " << ShortestDecimal(kFornecedorCPRB) << " contribui pela receita bruta (CPRB)? '"
             << area.BuscarCONTRIBUINTEDOCPRB(servico) << "'\n";
         out << "Alterar um serviço que não existe é uma falha, não um sucesso vazio:\n";
         servico.CODSERVICO = kServicoDemo + 1;
         try {
           area.AlterarServicoPrestadoSPED_EFD(servico);
           out << "  (alterou?)\n";
         } catch (const Exception& falha) {
           out << ParaTerminal(falha.Message(), "  ") << "\n";
         }
       }});
}

}  // namespace cli
