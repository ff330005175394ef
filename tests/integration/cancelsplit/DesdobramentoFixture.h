#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "support/TestHost.h"

namespace cancelsplit_it {

// Split titles and entries written in the test's own transaction (rolled back). A split title is
// settled by the split (charge "DESD", paid) and keeps its copy as it was: open, charge "BK", due on
// 2026-01-10; the titles born of it are open. A split entry has DTDESD set and its copy.
class DesdobramentoTest : public testsupport::HostTest {
 protected:
  void Titulo(long long venda, double valor, const std::string& colunas = "", const std::string& valores = "",
              const std::string& tabela = "ZTPREST") {
    Exec("INSERT INTO " + tabela + " (NUMTRANSVENDA, PREST, DUPLIC, CODCLI, VALOR, CODCOB, DTVENC" + colunas +
         ") VALUES (" + std::to_string(venda) + ", '1', " + std::to_string(venda % 10000) + ", 8201, " +
         std::to_string(valor) + ", 'BK', TO_DATE('2026-01-10', 'YYYY-MM-DD')" + valores + ")");
  }
  void Desdobrado(long long venda, double valor, const std::string& operacao = "TONormal",
                  const std::string& codcoborig = "") {
    Titulo(venda, valor);
    Titulo(venda, valor, ", OPERACAODESD, QTREPLICAS", ", '" + operacao + "', 0", "ZTDESDPREST");
    Exec("UPDATE ZTPREST SET CODCOB = 'DESD', DTPAG = TRUNC(SYSDATE), VPAGO = VALOR, CODCOBORIG = " +
         (codcoborig.empty() ? std::string("NULL") : "'" + codcoborig + "'") +
         " WHERE NUMTRANSVENDA = " + std::to_string(venda));
  }
  void Ligar(long long orig, long long dest) {
    Exec("INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" +
         std::to_string(orig) + ", '1', " + std::to_string(dest) + ", '1')");
  }
  // Title `venda` of `total` split into venda + 1, venda + 2, ... of the values `partes`.
  void Dividir(long long venda, double total, std::initializer_list<double> partes,
               const std::string& operacao = "TONormal", const std::string& codcoborig = "") {
    Desdobrado(venda, total, operacao, codcoborig);
    long long folha = venda;
    for (const double parte : partes) {
      Titulo(++folha, parte);
      Ligar(venda, folha);
    }
  }
  static TRegistroPtr T(long long venda) { return std::make_shared<TRegistroZtPrest>(venda, "1"); }

  void LigarLancamentos(long long orig, long long dest) {
    Exec("INSERT INTO ZTDESDLANC (RECNUMORIG, RECNUMDESTINO) VALUES (" + std::to_string(orig) + ", " +
         std::to_string(dest) + ")");
  }
};

}  // namespace cancelsplit_it
