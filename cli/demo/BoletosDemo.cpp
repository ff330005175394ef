#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/ZTCore.h"
#include "sdk/fin/IFin_ContasReceber.h"

namespace cli {

namespace {

// Two banks (one under the internal number 6375), a customer billed at its delivery address, two
// sales of three titles; written afresh each time.
void PrepararDados(TOraSession& sessao) {
  for (const char* sql : {
           "DELETE FROM ZTPREST WHERE NUMTRANSVENDA IN (873001, 873002)",
           "DELETE FROM ZTNFSAID WHERE NUMTRANSVENDA IN (873001, 873002)",
           "DELETE FROM ZTBANCONOSSONUMERO WHERE CODBANCO IN (8731, 8732)",
           "DELETE FROM ZTCOB WHERE CODCOB IN ('BDB1', 'BDB2')",
           "DELETE FROM ZTBANCO WHERE CODBANCO IN (8731, 8732)",
           "DELETE FROM ZTCLIENT WHERE CODCLI = 87301",
           "DELETE FROM ZTFILIAL WHERE CODIGO = '87'",
           "INSERT INTO ZTFILIAL (CODIGO, RAZAOSOCIAL, CGC, CIDADE, UF) VALUES ('87', 'DISTRIBUIDORA DEMONSTRACAO "
           "LTDA', '11222333000181', 'CAMPINAS', 'SP')",
           "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCEDENTE, NUMDIASPROTESTO, "
           "CODCOMPENSACAO) VALUES (8731, 'BRADESCO COBRANCA', 6375, '1172-0', '0403005-2', '09', '0403005-2', 5, "
           "'237')",
           "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCEDENTE, CODCOMPENSACAO) "
           "VALUES (8732, 'ITAU COBRANCA', 341, '0057', '12345-7', '109', '12345-7', '341')",
           "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO, OBSNF) VALUES ('BDB1', 'S', 8731, 'NAO RECEBER APOS 30 "
           "DIAS DO VENCIMENTO')",
           "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BDB2', 'S', 8732)",
           "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, CGCENT, ENDERCOB, ENDERENT, BAIRROENT, MUNICENT, ESTENT, CEPENT, "
           "SACADOELETRONICO) VALUES (87301, 'MERCADO DEMONSTRACAO', '11444777000161', 'O MESMO', 'RUA DAS FLORES, "
           "120', 'CENTRO', 'CAMPINAS', 'SP', '13010000', 'N')",
           "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (873001, 873001, 87301, 1)",
           "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA) VALUES (873002, 873002, 87301, 14)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTEMISSAO, DTVENC, VALOR) "
           "VALUES (873001, '1', 873001, '87', 87301, 'BDB1', TO_DATE('2026-12-01', 'YYYY-MM-DD'), "
           "TO_DATE('2026-12-31', 'YYYY-MM-DD'), 250)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTEMISSAO, DTVENC, VALOR) "
           "VALUES (873001, '2', 873001, '87', 87301, 'BDB1', TO_DATE('2026-12-01', 'YYYY-MM-DD'), "
           "TO_DATE('2027-01-30', 'YYYY-MM-DD'), 250)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTEMISSAO, DTVENC, VALOR) "
           "VALUES (873002, '1', 873002, '87', 87301, 'BDB2', TO_DATE('2026-12-01', 'YYYY-MM-DD'), "
           "TO_DATE('2027-01-15', 'YYYY-MM-DD'), 1234.56)",
       }) {
    Executar(sessao, sql);
  }
}

TFin_GerarBoletos Pedido(double venda) {
  TFin_GerarBoletos boleto;
  boleto.NUMTRANSVENDA = venda;
  boleto.getParametros().gerarDadosBancarios(true);
  boleto.getParametros().gerarBoletos(true);
  boleto.getParametros().codigoRotina(1452);
  return boleto;
}

void MostrarArquivos(const std::filesystem::path& pasta, std::ostream& out) {
  std::set<std::string> nomes;
  for (const auto& entrada : std::filesystem::directory_iterator(pasta)) {
    nomes.insert(entrada.path().filename().string());
  }
  for (const std::string& nome : nomes) out << "  " << (pasta / nome).string() << "\n";
}

}  // namespace

void AddBoletosDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Emissão de boletos bancários em PDF", [](Runtime& runtime, std::ostream& out) {
                     TOraSession& sessao = runtime.Host().Sessao();
                     IFin_ContasReceber& area = *runtime.Financeiro().GetContasReceber();
                     PrepararDados(sessao);
                     // The demo's own folder, emptied of its earlier files so each run tells the same story.
                     const std::filesystem::path pasta = std::filesystem::path(DiretorioSpool(-1)) / "boletos-demo";
                     std::error_code ignorado;
                     std::filesystem::remove_all(pasta, ignorado);
                     std::filesystem::create_directories(pasta);
                     runtime.Host().DefinirParametro("GERARARQUIVOSPDFBOLETOS", "S", "");
                     runtime.Host().DefinirParametro("DIRETORIOARQUIVOSPDFBOLETOS", pasta.string(), "");

                     out << "Duas vendas, três títulos: 873001 em duas parcelas no banco 6375 (leiaute 237) e "
                            "873002 no Itaú (341).\n"
                            "Parâmetros: GERARARQUIVOSPDFBOLETOS = S, DIRETORIOARQUIVOSPDFBOLETOS = "
                         << pasta.string() << "\n";
                     std::vector<TFin_GerarBoletos> lote{Pedido(873001), Pedido(873002)};
                     out << "  EmitirBoletosBancarios (lote de 2 pedidos) -> "
                         << (area.EmitirBoletosBancarios(lote, false) ? "true" : "false") << "\n";
                     TOraQuery titulos(&sessao);
                     titulos.SQL.Add("SELECT NUMTRANSVENDA, PREST, CODBANCOCM, LINHADIG FROM ZTPREST");
                     titulos.SQL.Add(" WHERE NUMTRANSVENDA IN (873001, 873002) ORDER BY NUMTRANSVENDA, PREST");
                     titulos.Open();
                     for (; !titulos.Eof(); titulos.Next()) {
                       out << "  título " << titulos.FieldByName("NUMTRANSVENDA").AsString() << "-"
                           << titulos.FieldByName("PREST").AsString() << ", banco "
                           << titulos.FieldByName("CODBANCOCM").AsString() << ": "
                           << titulos.FieldByName("LINHADIG").AsString() << "\n";
                     }
                     out << "Um PDF por título; a segunda parcela da mesma nota leva o sufixo \"A\":\n";
                     MostrarArquivos(pasta, out);

                     out << "Emitir de novo a venda 873002 não substitui o arquivo que já existe:\n";
                     TFin_GerarBoletos outro = Pedido(873002);
                     out << "  EmitirBoletosBancarios -> "
                         << (area.EmitirBoletosBancarios(outro, false) ? "true" : "false") << "\n";
                     MostrarArquivos(pasta, out);
                     out << "Os PDFs estão em " << pasta.string() << " (pdftoppm -r 150 -png mostra as páginas).\n";
                   }});
}

}  // namespace cli
