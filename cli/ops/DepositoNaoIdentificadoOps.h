#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "sdk/IQuorvinSelecaoDNI.h"

namespace cli {

// The picked NUMTRANS of `--pick 1,2,3`: whole positive numbers, each once. Usage error otherwise.
[[nodiscard]] std::vector<double> LerNumTransEscolhidos(const std::string& texto);
// The date of `--clearing-date AAAA-MM-DD`. Usage error when it is not a calendar day.
[[nodiscard]] TDateTime LerDataCompensacao(const std::string& texto);

// The terminal picker: shows the window's caption, fields, grid caption, columns and rows on
// `out`, reads the picks and the clearing date from `in` and confirms; a failed confirmation is
// shown and asked again. An empty answer or the end of the input cancels.
[[nodiscard]] TModalResult SelecionarDNIsNoTerminal(const TJanelaSelecaoDNI& janela,
                                                    const TConfirmarSelecaoDNI& confirmar, std::istream& in,
                                                    std::ostream& out);

}  // namespace cli
