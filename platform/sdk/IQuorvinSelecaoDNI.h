#pragma once

#include <functional>
#include <string>
#include <vector>

#include "rtl/TDateTime.h"
#include "sdk/IQuorvin.h"

// A read-only field of the deposit picker: its caption and the text it shows.
struct TCampoSelecaoDNI {
  std::string Titulo;
  std::string Valor;
};

// A column of the deposit grid: the list's field and the caption over it.
struct TColunaSelecaoDNI {
  std::string Campo;
  std::string Titulo;
};

// One open deposit of the grid: its transaction number (how a pick names it) and its cells,
// formatted as shown, one per column.
struct TLinhaSelecaoDNI {
  double NUMTRANS = 0;
  std::vector<std::string> Celulas;
};

// What the picker shows: the window's caption and fields, the clearing-date caption, the grid with
// its caption, columns and rows, and the captions of the two buttons.
struct TJanelaSelecaoDNI {
  std::string Titulo;
  std::vector<TCampoSelecaoDNI> Campos;
  std::string TituloDataCompensacao;
  std::string TituloGrade;
  std::vector<TColunaSelecaoDNI> Colunas;
  std::vector<TLinhaSelecaoDNI> Linhas;
  std::string BotaoConfirmar;
  std::string BotaoCancelar;
};

// What the user confirmed: the picked deposits by NUMTRANS and the clearing date (0: not given).
struct TSelecaoDNI {
  std::vector<double> NUMTRANS;
  TDateTime DataCompensacao;
};

// Runs the settlement for a confirmation; it throws when the settlement fails.
using TConfirmarSelecaoDNI = std::function<void(const TSelecaoDNI& selecao)>;

// The host's modal picker of unidentified deposits. The host object implements it beside IQuorvin
// when it can show one.
class IQuorvinSelecaoDNI {
 public:
  virtual ~IQuorvinSelecaoDNI();
  // Shows the window. Each confirmation calls `confirmar`; a picker that can ask again shows the
  // failure and keeps the window open, one that cannot lets the failure through. mrOk once a
  // confirmation succeeded, mrCancel when the user cancels.
  [[nodiscard]] virtual TModalResult SelecionarDNIs(const TJanelaSelecaoDNI& janela,
                                                    const TConfirmarSelecaoDNI& confirmar) = 0;
};
