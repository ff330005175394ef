#include "vouchers/Uclsfin_validacaofinanceira.h"

#include <cmath>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

// The account that stands for "the user's open cash, whichever it is".
constexpr double kQualquerCaixa = -1;

[[nodiscard]] bool ValorS(TOraQuery& query, const char* campo) {
  return !query.IsEmpty() && UpperAscii(Trim(query.FieldByName(campo).AsString())) == "S";
}

// The control is on in the general configuration.
[[nodiscard]] bool ControleCaixaLigado(TOraSession& sessao) {
  TOraQuery query(&sessao);
  query.SQL = TValidacaoFinanceira::GetSQLControleCaixa();
  query.Open();
  return ValorS(query, "UTILIZACONTROLECAIXA");
}

// The account closes its cash (a cash account rather than a bank).
[[nodiscard]] bool CaixaComFechamento(TOraSession& sessao, double pCodCaixa) {
  if (pCodCaixa == kQualquerCaixa) return true;
  TOraQuery query(&sessao);
  query.SQL = TValidacaoFinanceira::GetSQLCaixaComFechamento(pCodCaixa);
  query.Open();
  return ValorS(query, "UTILIZA");
}

// The user's open cash (on the account, when given): its absence, or a limit already past, is
// appended to sMSG.
void VerificarCaixaAberto(TOraSession& sessao, double pCodUsuario, const double* pCodCaixa, const char* semCaixa,
                          std::string& sMSG) {
  TOraQuery query(&sessao);
  query.SQL = TValidacaoFinanceira::GetSQLCaixaAberto(pCodCaixa != nullptr);
  query.ParamByName("codfunccaixa").SetAsFloat(pCodUsuario);
  if (pCodCaixa != nullptr) query.ParamByName("codbanco").SetAsFloat(*pCodCaixa);
  query.Open();
  if (query.IsEmpty()) {
    sMSG += std::string(semCaixa) + "\r";
    return;
  }
  const TField limite = query.FieldByName("DTLIMITEFECHAMENTO");
  if (!limite.IsNull() && query.FieldByName("DATAATUAL").AsDateTime().Value() > limite.AsDateTime().Value()) {
    sMSG += std::string(TValidacaoFinanceira::kDataLimiteUltrapassada) + "\r";
  }
}

}  // namespace

TValidacaoFinanceira::TValidacaoFinanceira(TComponent* owner, TOraSession* sessao)
    : TComponent(owner), fSessao(sessao) {}

TValidacaoFinanceira::~TValidacaoFinanceira() = default;

bool TValidacaoFinanceira::ValidarCaixaCReceber(std::string& sMSG, TOraSession& sessao, double pCodUsuario,
                                                double pCodCaixa) {
  sMSG.clear();
  // The account is written into a statement: only a whole number gets there.
  if (!std::isfinite(pCodCaixa) || std::trunc(pCodCaixa) != pCodCaixa) {
    throw Exception("Código do caixa/banco inválido: " + ShortestDecimal(pCodCaixa) + ".");
  }
  if (pCodUsuario == 0) sMSG = kUsuarioNaoInformado;
  const bool controle = ControleCaixaLigado(sessao);
  const bool fechamento = CaixaComFechamento(sessao, pCodCaixa);
  if (controle && fechamento && Trim(sMSG).empty()) {
    VerificarCaixaAberto(sessao, pCodUsuario, nullptr, kNenhumCaixaAberto, sMSG);
    if (pCodCaixa != kQualquerCaixa && Trim(sMSG).empty()) {
      VerificarCaixaAberto(sessao, pCodUsuario, &pCodCaixa, kCaixaDiferente, sMSG);
    }
  }
  return Trim(sMSG).empty();
}
