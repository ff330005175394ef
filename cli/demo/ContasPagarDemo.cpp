#include <ostream>
#include <string>
#include <vector>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kConta = 3101;
constexpr const char* kFilial = "1";
constexpr int kRotinaLancamentoDespesa = 749;

// Prints the rows of a query as "COLUNA=valor" lines.
void MostrarLinhas(TOraSession& sessao, std::ostream& out, const std::string& titulo, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.Open();
  out << titulo << ":" << (consulta.IsEmpty() ? " nenhuma linha" : "") << "\n";
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    out << " ";
    for (std::size_t indice = 0; indice < consulta.FieldCount(); ++indice) {
      TField campo = consulta.Fields(indice);
      out << " " << campo.FieldName() << "=" << (campo.IsNull() ? "-" : campo.AsString());
    }
    out << "\n";
  }
}

[[nodiscard]] bool TabelaExiste(TOraSession& sessao, const std::string& tabela) {
  TOraQuery consulta(&sessao);
  consulta.SQL.Add("SELECT COUNT(*) QTD FROM USER_TABLES WHERE UPPER(TABLE_NAME) = :TABELA");
  consulta.ParamByName("TABELA").SetAsString(tabela);
  consulta.Open();
  return consulta.FieldByName("QTD").AsInteger() > 0;
}

// The account's three cost centers (50%, 30%, 20%), for a build that has the cost-center area,
// unless the account already has its standard apportionment (the cost-center demo rows give one).
void PrepararCentrosCusto(host::THostQuorvin& host, TOraSession& sessao) {
  host.DefinirParametro("UTILIZACENTROCUSTO", "S", kFilial);
  TOraQuery existente(&sessao);
  existente.SQL.Add("SELECT COUNT(*) QTD FROM ZTCONTACENTROCUSTO WHERE CODCONTA = 3101");
  existente.Open();
  if (existente.FieldByName("QTD").AsInteger() > 0) return;
  Executar(sessao,
           "INSERT INTO ZTCONTA (CODCONTA, USARATEIOCENTROCUSTO) SELECT 3101, 'S' FROM DUAL "
           "WHERE NOT EXISTS (SELECT 1 FROM ZTCONTA WHERE CODCONTA = 3101)");
  const char* centros[][3] = {
      {"PG.ADM", "ADMINISTRATIVO", "50"}, {"PG.COM", "COMERCIAL", "30"}, {"PG.LOG", "LOGISTICA", "20"}};
  for (const auto& centro : centros) {
    const std::string codigo = std::string("'") + centro[0] + "'";
    Executar(sessao, "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO, RECEBE_LANCTO) SELECT " + codigo +
                         ", '" + centro[1] + "', 'S', 'S' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTCENTROCUSTO " +
                         "WHERE CODIGOCENTROCUSTO = " + codigo + ")");
    Executar(sessao, "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, PERCRATEIO, CODIGOCENTROCUSTO) SELECT 3101, " +
                         std::string(centro[2]) + ", " + codigo + " FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM " +
                         "ZTCONTACENTROCUSTO WHERE CODCONTA = 3101 AND CODIGOCENTROCUSTO = " + codigo + ")");
    Executar(sessao, "INSERT INTO ZTLIB (CODTABELA, CODIGOA, CODFUNC) SELECT 10, " + codigo + ", " +
                         std::to_string(host.Matricula()) + " FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTLIB " +
                         "WHERE CODTABELA = 10 AND CODIGOA = " + codigo +
                         " AND CODFUNC = " + std::to_string(host.Matricula()) + ")");
  }
}

[[nodiscard]] RFin_IncluirContasPagar Despesa(host::THostQuorvin& host, double valor, const std::string& historico,
                                              TDateTime vencimento) {
  RFin_IncluirContasPagar despesa;
  despesa.Inicializar();
  despesa.RECNUM = host.ProximoRecNum();
  despesa.TIPOLANC = "C";
  despesa.TIPOPARCEIRO = "F";
  despesa.CODFORNEC = 502;
  despesa.CODFILIAL = kFilial;
  despesa.CODCONTA = kConta;
  despesa.VALOR = valor;
  despesa.HISTORICO = historico;
  despesa.DTEMISSAO = host.DataServidor();
  despesa.DTVENC = vencimento;
  despesa.NOMEFUNC = "MARIA";
  return despesa;
}

// Restores the demo's host to how the chapter found it.
struct RotinaDaDemonstracao {
  host::THostQuorvin& Host;
  int Anterior;
  ~RotinaDaDemonstracao() {
    Host.SetCodigoRotina(Anterior);
    Host.SetConfirmationPolicy([](const std::string&) { return TModalResult::mrCancel; });
  }
};

}  // namespace

void AddContasPagarDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Contas a pagar: orçamento estourado, suplementação e aprovação", [](Runtime& runtime, std::ostream& out) {
         host::THostQuorvin& host = runtime.Host();
         TOraSession& sessao = host.Sessao();
         IGerenteFinanceiro& financeiro = runtime.Financeiro();
         IFin_ContasPagar* pagar = financeiro.GetContasPagar();
         if (pagar == nullptr) {
           out << "A área de contas a pagar não está neste módulo.\n";
           return;
         }
         if (!TabelaExiste(sessao, "ZTORCLAN")) {
           out << "Os orçamentos por conta (ZTORCLAN) chegam com a área de centros de custo; capítulo "
                  "pulado.\n";
           return;
         }
         const bool com_centro_custo = financeiro.GetCentroCusto() != nullptr;
         RotinaDaDemonstracao rotina{host, host.CodigoRotina()};
         host.SetCodigoRotina(kRotinaLancamentoDespesa);
         host.SetConfirmationPolicy([](const std::string&) { return TModalResult::mrOk; });

         // The branch works with supplementation; the account has 1.000,00 for the month.
         host.DefinirParametro("TRABSUPLORC", "S", kFilial);
         host.DefinirParametro("ORCREGCOMPETENCIA", "N", kFilial);
         if (com_centro_custo) PrepararCentrosCusto(host, sessao);
         const TDateTime vencimento = host.DataServidor() + 5;
         const int ano = vencimento.Year();
         const std::string coluna =
             std::string(vencimento.Month() < 10 ? "VLORCMES0" : "VLORCMES") + std::to_string(vencimento.Month());
         Executar(sessao,
                  "DELETE FROM ZTORCLAN WHERE CODCONTA = 3101 AND CODFILIAL = '1' AND ANO = " + std::to_string(ano));
         Executar(sessao, "INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, " + coluna + ") VALUES (3101, '1', " +
                              std::to_string(ano) + ", 1000)");
         out << "Conta " << ShortestDecimal(kConta) << ", filial " << kFilial << ": orçamento de "
             << FormatarValor(1000) << " para " << vencimento.ToBrazilian().substr(3) << ".\n";

         RFin_IncluirContasPagar primeira = Despesa(host, 600, "MATERIAL DE ESCRITORIO", vencimento);
         pagar->Incluir(primeira);
         out << "Despesa " << ShortestDecimal(primeira.RECNUM) << " de " << FormatarValor(600)
             << ": dentro do orçamento, gravada em ZTLANC.\n";

         RFin_IncluirContasPagar segunda = Despesa(host, 700, "CONTA DE ENERGIA", vencimento);
         pagar->Incluir(segunda);
         const std::string recnum = ShortestDecimal(segunda.RECNUM);
         out << "Despesa " << recnum << " de " << FormatarValor(700) << ": acima do orçamento. O usuário confirmou:\n";
         for (const auto& confirmacao : host.Confirmacoes()) {
           out << ParaTerminal(confirmacao.Texto, "    ") << "\n";
         }
         MostrarLinhas(sessao, out, "ZTLANCBLOQ (aguardando suplementação)",
                       "SELECT RECNUM, CODCONTA, VALOR, HISTORICO FROM ZTLANCBLOQ WHERE RECNUM = " + recnum);
         if (com_centro_custo) {
           MostrarLinhas(sessao, out, "ZTRATEIOCENTROCUSTOBLOQ",
                         "SELECT RECNUM, CODIGOCENTROCUSTO, PERCRATEIO, VALOR FROM ZTRATEIOCENTROCUSTOBLOQ "
                         "WHERE RECNUM = " +
                             recnum + " ORDER BY CODIGOCENTROCUSTO");
         }

         RFin_AprovarSuplementacao aprovacao;
         aprovacao.Inicializar();
         aprovacao.RECNUM = segunda.RECNUM;
         const bool aprovado = pagar->AprovarSuplementacao(aprovacao);
         out << "Suplementação da despesa " << recnum << (aprovado ? " aprovada." : " não aprovada: ")
             << (aprovado ? "" : aprovacao.MENSAGEM) << "\n";
         MostrarLinhas(sessao, out, "ZTLANC",
                       "SELECT RECNUM, CODCONTA, VALOR, HISTORICO, CODFUNCAUTSUPLORC FROM ZTLANC WHERE RECNUM "
                       "IN (" +
                           ShortestDecimal(primeira.RECNUM) + ", " + recnum + ") ORDER BY RECNUM");
         if (com_centro_custo) {
           MostrarLinhas(sessao, out, "ZTRATEIOCENTROCUSTO",
                         "SELECT RECNUM, CODIGOCENTROCUSTO, PERCRATEIO, VALOR FROM ZTRATEIOCENTROCUSTO "
                         "WHERE RECNUM IN (" +
                             ShortestDecimal(primeira.RECNUM) + ", " + recnum + ") ORDER BY RECNUM, CODIGOCENTROCUSTO");
         } else {
           out << "(Sem a área de centros de custo neste build, as despesas não foram rateadas.)\n";
         }
         MostrarLinhas(sessao, out, "ZTRECFUNC (aviso ao requisitante)",
                       "SELECT CODFUNCDEST, ASSUNTO, TEXTORECADO FROM ZTRECFUNC WHERE TEXTORECADO LIKE "
                       "'%RecNum: " +
                           recnum + " %'");
       }});
}

}  // namespace cli
