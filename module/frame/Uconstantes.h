#pragma once

// Enumerations, array types and name tables shared by the module's units, and the host folders
// the module works in.

#include <array>
#include <string>
#include <string_view>
#include <vector>

enum class TTipoLancFinanceiro { tiLancDespesa = 0, tiLancReceita };
enum class TTipoItem { tiTabela = 0, tiPedido, tiNotaFiscal, tiPreEntrada, tiNFComplementar };
enum class TTipoProcessamento { tpFreteCIF = 0, tpFreteFOB, tpDesconto, tpOutrasDespesas };
enum class TTipoVerba { tvMercadoria = 0, tvDinheiro, tvOutras };
enum class TTipoEmbalagemPedido { teMaster = 0, teVenda };
enum class TTipoEstagio {
  teGeracaoOS = 0,
  teSeparacao,
  teConferencia,
  tePendencia,
  teLiberacaoFaturamento,
  teRegistroCliente,
  teLiberacaoPedidoNota
};
enum class TTipoOrdenacaoSQL { toAsc = 0, toDesc };
enum class TTipoPersistencia { tpInclusao = 0, tpAtualizacao, tpExclusao };
enum class TStatusInstancia { siCarregado = 0, siIncluido, siAlterado, siExcluido };

using TArrayString = std::vector<std::string>;
using TArrayInteger = std::vector<int>;
using TArrayDouble = std::vector<double>;

// Day names, Sunday first.
inline constexpr std::array<std::string_view, 7> cDIASEMANA = {
    "Domingo", "Segunda-feira", "Terça-feira", "Quarta-feira", "Quinta-feira", "Sexta-feira", "Sábado"};

// Month names, January first.
inline constexpr std::array<std::string_view, 12> cMESES = {"Janeiro",  "Fevereiro", "Março",    "Abril",
                                                            "Maio",     "Junho",     "Julho",    "Agosto",
                                                            "Setembro", "Outubro",   "Novembro", "Dezembro"};

// The host's spool folder, where the work datasets of the cancel-splitting run and of the
// customer-credit operations save and reload their contents.
[[nodiscard]] std::string cDIRSPOOL();

// The help file of a routine: the installation folder followed by "HELP\ZTSIS%s00.CHM"; the
// "%s" is left in for the caller to fill with the routine's number.
[[nodiscard]] std::string cHELPQUORVIN();
