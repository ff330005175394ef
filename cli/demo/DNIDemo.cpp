#include <ostream>
#include <sstream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "ops/DepositoNaoIdentificadoOps.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr int kBancoDNI = 41;  // the bank whose unidentified deposits the story uses
constexpr double kClienteVerba = 7701;
constexpr int kRotinaDNI = 1803;

double Deposito(IGerenteFinanceiro& financeiro, double valor, double numassoc, const std::string& documento) {
  RFin_IncluirMovimentacaoNumerarios m;
  m.Inicializar();
  m.DATA = TDateTime::EncodeDate(2026, 11, 3);
  m.CODBANCO = kBancoDNI;
  m.CODCOB = "DNI";
  m.VALOR = valor;
  m.TIPO = "C";
  m.HISTORICO = "DEPOSITO NAO IDENTIFICADO";
  m.NUMDOC = documento;
  m.INDICE = "A";
  m.CODFUNC = 1;
  if (numassoc != 0) {
    m.NUMASSOCDNI = numassoc;
    m.CODCLI = kClienteVerba;
    m.CODFUNCDNICLI = 1;
    m.DTASSOCIADNICLI = TDateTime::EncodeDate(2026, 11, 5);
  }
  financeiro.GetMovimentacaoNumerarios()->Incluir(m);
  return m.NUMTRANS;
}

void MostrarSaldo(TOraSession& sessao, std::ostream& out) {
  TOraQuery saldo(&sessao);
  saldo.SQL.Add("SELECT NVL(MAX(VALOR), 0) VALOR FROM ZTESTCR WHERE CODCOB = 'DNI' AND CODBANCO = :CODBANCO");
  saldo.ParamByName("CODBANCO").SetAsFloat(kBancoDNI);
  saldo.Open();
  TOraQuery abertos(&sessao);
  abertos.SQL.Add("SELECT COUNT(*) N, NVL(SUM(VALOR), 0) TOTAL FROM ZTMOVCR WHERE CODCOB = 'DNI' AND TIPO = 'C'");
  abertos.SQL.Add(" AND CODBANCO = :CODBANCO AND ((CONCILIACAO <> 'OK') OR (CONCILIACAO IS NULL))");
  abertos.ParamByName("CODBANCO").SetAsFloat(kBancoDNI);
  abertos.Open();
  out << "  saldo DNI do banco " << kBancoDNI << ": " << FormatarValor(saldo.FieldByName("VALOR").AsFloat()) << "; "
      << abertos.FieldByName("N").AsString() << " DNI(s) em aberto somando "
      << FormatarValor(abertos.FieldByName("TOTAL").AsFloat()) << "\n";
}

void MostrarMovimentos(TOraSession& sessao, double verba, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT TIPO, VALOR, CONCILIACAO, HISTORICO FROM ZTMOVCR WHERE CODCOB = 'DNI'");
  query.SQL.Add(" AND CODBANCO = :CODBANCO AND NUMCARR = :VERBA ORDER BY ROWID");
  query.ParamByName("CODBANCO").SetAsFloat(kBancoDNI);
  query.ParamByName("VERBA").SetAsFloat(verba);
  query.Open();
  for (; !query.Eof(); query.Next()) {
    out << "  " << query.FieldByName("TIPO").AsString() << " " << FormatarValor(query.FieldByName("VALOR").AsFloat())
        << (query.FieldByName("CONCILIACAO").AsString() == "OK" ? " conciliado  " : " em aberto   ")
        << query.FieldByName("HISTORICO").AsString() << "\n";
  }
}

// The terminal picker answering from a script, as a user would type it: the screen, then what was typed.
void EscolherNoTerminal(Runtime& runtime, const std::string& respostas, std::ostream& out) {
  runtime.Host().SetSeletorDNI(
      [respostas, &out](const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) {
        std::istringstream in(respostas);
        std::ostringstream tela;
        const TModalResult resultado = SelecionarDNIsNoTerminal(janela, confirmar, in, tela);
        out << ParaTerminal(tela.str(), "  | ") << "\n";
        out << ParaTerminal("respostas digitadas, linha a linha:\n" + respostas, "  > ") << "\n";
        return resultado;
      });
}

}  // namespace

void AddDNIDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Verbas baixadas com depósitos não identificados", [](Runtime& runtime, std::ostream& out) {
                     IGerenteFinanceiro& financeiro = runtime.Financeiro();
                     IFin_DepositoNaoIdentificadoComVerba& area = *financeiro.GetDepositoNaoIdentificadoComVerba();
                     TOraSession& sessao = runtime.Host().Sessao();
                     const int rotina = runtime.Host().CodigoRotina();
                     runtime.Host().SetCodigoRotina(kRotinaDNI);
                     Executar(sessao,
                              "INSERT INTO ZTCLIENT (CODCLI, CLIENTE) SELECT 7701, 'SUPERMERCADO DEMONSTRACAO' "
                              "FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTCLIENT WHERE CODCLI = 7701)");
                     const double verba = 1 + std::stod(runtime.Host()
                                                            .Localizar("ZTMOVCR", "NVL(MAX(NUMCARR), 0)",
                                                                       "CODCOB = 'DNI' AND CODBANCO = 41")
                                                            .value_or("0"));
                     const double setenta = Deposito(financeiro, 70, 0, "EXTRATO-0311-A");
                     const double cinquenta = Deposito(financeiro, 50, 0, "EXTRATO-0311-B");
                     out << "Dois depósitos sem pagador conhecido chegaram ao banco " << kBancoDNI << ":\n";
                     MostrarSaldo(sessao, out);

                     out << "A verba " << ShortestDecimal(verba) << " de 100,00 do cliente 7701 é baixada na rotina "
                         << kRotinaDNI
                         << "; o usuário marca só um DNI, o total não basta e a janela pergunta de novo:\n";
                     EscolherNoTerminal(runtime,
                                        ShortestDecimal(setenta) + "\n2026-11-20\n" + ShortestDecimal(setenta) + "," +
                                            ShortestDecimal(cinquenta) + "\n2026-11-20\n",
                                        out);
                     const bool primeira = area.BaixarVerbaComDNI(kClienteVerba, kBancoDNI, verba, 100);
                     out << "  BaixarVerbaComDNI -> " << (primeira ? "true" : "false") << "\n";
                     MostrarMovimentos(sessao, verba, out);
                     out << "Os 20,00 além da verba voltam como um DNI em aberto; o saldo acompanha os DNIs abertos:\n";
                     MostrarSaldo(sessao, out);

                     out << "Um DNI de 100,00 com títulos de 30,00 associados: só 70,00 cobrem a verba "
                         << ShortestDecimal(verba + 1) << ", os 30,00 ficam em aberto com os títulos:\n";
                     const double associado = Deposito(financeiro, 100, 770001, "EXTRATO-0311-C");
                     Executar(sessao, "DELETE FROM ZTPREST WHERE NUMTRANSVENDA = 770001");
                     Executar(sessao,
                              "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, CODCLI, VALOR, NUMASSOCDNI) "
                              "VALUES (770001, '1', 7701, 30, 770001)");
                     EscolherNoTerminal(runtime, ShortestDecimal(associado) + "\n2026-11-21\n", out);
                     const bool segunda = area.BaixarVerbaComDNI(kClienteVerba, kBancoDNI, verba + 1, 70);
                     out << "  BaixarVerbaComDNI -> " << (segunda ? "true" : "false") << "\n";
                     MostrarMovimentos(sessao, verba + 1, out);
                     MostrarSaldo(sessao, out);

                     out << "O estorno da verba " << ShortestDecimal(verba)
                         << " devolve o seu valor como DNI em aberto e marca a baixa como estornada:\n";
                     out << "  EstornarBaixaDNIComVerba -> "
                         << (area.EstornarBaixaDNIComVerba(verba, 100) ? "true" : "false") << "\n";
                     MostrarSaldo(sessao, out);
                     out << "Um segundo estorno não encontra o que estornar e não lança nada:\n";
                     try {
                       area.EstornarBaixaDNIComVerba(verba, 100);
                       out << "  (estornou de novo?)\n";
                     } catch (const Exception& falha) {
                       out << ParaTerminal(std::string(falha.ClassName()) + ": " + falha.Message(), "  ") << "\n";
                     }
                     MostrarSaldo(sessao, out);
                     runtime.Host().SetSeletorDNI({});
                     runtime.Host().SetCodigoRotina(rotina);
                   }});
}

}  // namespace cli
