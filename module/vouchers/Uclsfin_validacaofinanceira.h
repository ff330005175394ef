#pragma once

#include <string>

#include "rtl/TComponent.h"
#include "rtl/TStringList.h"

class TOraSession;

// Financial checks shared by the screens that take money in. ValidarCaixaCReceber is the cash
// control: with the control switched on, a user moves money only through a cash account that is
// open for them and within its closing limit.
class TValidacaoFinanceira : public TComponent {
 public:
  explicit TValidacaoFinanceira(TComponent* owner, TOraSession* sessao = nullptr);
  ~TValidacaoFinanceira() override;

  // True when sMSG ends up blank. pCodCaixa -1 stands for "the user's open cash, whichever it is".
  // sMSG holds the reasons of a refusal, each ended by a carriage return.
  [[nodiscard]] static bool ValidarCaixaCReceber(std::string& sMSG, TOraSession& sessao, double pCodUsuario,
                                                 double pCodCaixa);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLControleCaixa();
  // The account is written into the text, as a number.
  [[nodiscard]] static TStringList GetSQLCaixaComFechamento(double pCodCaixa);
  [[nodiscard]] static TStringList GetSQLCaixaAberto(bool PorCaixa);

  static constexpr const char* kUsuarioNaoInformado = "Usuario de baixa nao informado";
  static constexpr const char* kNenhumCaixaAberto =
      "O sistema está parametrizado para utilização de controle para abertura e fechamento de caixa e nenhum caixa "
      "está aberto para o usuário. Operação não permitida";
  static constexpr const char* kDataLimiteUltrapassada =
      "O sistema está parametrizado para utilização de controle para abertura e fechamento de caixa e o caixa aberto "
      "está com a data limite para fechamento ultrapassada. Operação não permitida";
  static constexpr const char* kCaixaDiferente =
      "O sistema está parametrizado para utilização de controle para abertura e fechamento de caixa e o caixa aberto "
      "para o usuario é diferente do caixa selecionado. Operação não permitida";

 private:
  TOraSession* fSessao;
};
