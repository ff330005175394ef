// Feeds arbitrary lists to the guards of the lists pasted into SQL: the payable area's IN clause
// (TDALContasPagar::MontaClausulaIN, numbers or quoted texts, IN or NOT IN) and the split titles'
// RECNUM list of the cost-center area (TDALCentroCusto::ListaRecNumSegura), and the receivable title
// listing's caller lists (TDALContasReceber::ClausulaListaIN: numbers or single-quoted texts, for a
// text or a numeric column). The first byte chooses (bit 0: quoted / text column, bit 1: NOT IN,
// bit 2: the RECNUM list, bit 3: the title listing's list); the rest is the list.
//
// A guard may refuse with Exception; what it answers must hold exactly the list's values and
// nothing that could end a literal or start another clause. Anything else is a fault (abort).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

constexpr std::string_view kColuna = "ZTLANC.RECNUM";

[[noreturn]] void Falha() {
  std::abort();
}

bool Digito(char c) {
  return c >= '0' && c <= '9';
}

bool Consumir(std::string_view& texto, std::string_view parte) {
  if (texto.substr(0, parte.size()) != parte) return false;
  texto.remove_prefix(parte.size());
  return true;
}

// One value of the clause: a quoted literal ('' inside) or a plain number.
std::string Valor(std::string_view& texto, bool aspas) {
  std::string valor;
  if (aspas) {
    if (!Consumir(texto, "'")) Falha();
    for (;;) {
      if (texto.empty()) Falha();  // an unterminated literal
      const char c = texto.front();
      texto.remove_prefix(1);
      if (c != '\'') {
        valor += c;
      } else if (Consumir(texto, "'")) {
        valor += '\'';
      } else {
        return valor;
      }
    }
  }
  while (!texto.empty() && (Digito(texto.front()) || texto.front() == '-' || texto.front() == '.')) {
    valor += texto.front();
    texto.remove_prefix(1);
  }
  if (valor.empty()) Falha();
  return valor;
}

// The values of a clause "(COL IN ( ... )) " (blocks joined by OR, or by AND for NOT IN).
std::set<std::string> LerClausula(std::string_view texto, bool aspas, bool negar) {
  if (!Consumir(texto, "(")) Falha();
  std::set<std::string> lidos;
  for (bool primeiro = true;; primeiro = false) {
    if (!primeiro && !Consumir(texto, negar ? "\r    AND " : "\r    OR ")) break;
    if (!Consumir(texto, kColuna) || !Consumir(texto, negar ? " NOT IN ( " : " IN ( ")) Falha();
    for (;;) {
      lidos.insert(Valor(texto, aspas));
      if (!Consumir(texto, ",")) break;
    }
    if (!Consumir(texto, " )")) Falha();
  }
  if (texto != ") ") Falha();
  return lidos;
}

void ConferirClausula(const std::string& lista, bool aspas, bool negar) {
  std::string clausula;
  try {
    clausula = TDALContasPagar::MontaClausulaIN(std::string(kColuna), lista, aspas, negar);
  } catch (const Exception&) {
    if (aspas) Falha();  // quoted texts are never refused
    return;
  }
  const std::vector<std::string> itens = SplitTrimmed(lista, ',');
  const std::set<std::string> esperados(itens.begin(), itens.end());
  if (clausula.empty()) {
    if (!esperados.empty()) Falha();
    return;
  }
  if (LerClausula(clausula, aspas, negar) != esperados) Falha();
}

// Accepted only when every item is a number or a quoted text without quotes; the clause then holds
// exactly those values (quotes taken off), numbers only for a numeric column.
void ConferirListaContasReceber(const std::string& lista, bool texto) {
  std::string clausula;
  try {
    clausula = TDALContasReceber::ClausulaListaIN(std::string(kColuna), lista, texto);
  } catch (const Exception&) {
    return;
  }
  std::set<std::string> esperados;
  for (const std::string& item : SplitTrimmed(lista, ',')) {
    const bool cotado = item.size() >= 2 && item.front() == '\'' && item.back() == '\'';
    const std::string valor = Trim(cotado ? item.substr(1, item.size() - 2) : item);
    if (valor.empty() || valor.find('\'') != std::string::npos) Falha();
    esperados.insert(valor);
  }
  if (clausula.empty()) {
    if (!esperados.empty()) Falha();
    return;
  }
  const std::string completa = clausula + " ";  // the IN clause's own form ends in a blank
  std::string_view resto = completa;
  if (!Consumir(resto, "   AND ")) Falha();
  const std::set<std::string> lidos = LerClausula(resto, texto, false);
  if (lidos != esperados) Falha();
  if (!texto) {
    for (const std::string& v : lidos) {
      for (const char c : v) {
        if (!Digito(c) && c != '-' && c != '.') Falha();
      }
    }
  }
}

void ConferirListaRecNum(const std::string& lista) {
  std::string segura;
  try {
    segura = TDALCentroCusto::ListaRecNumSegura(lista);
  } catch (const Exception&) {
    return;
  }
  // Whole numbers separated by single commas, nothing else.
  bool espera_digito = true;
  for (const char c : segura) {
    if (Digito(c)) {
      espera_digito = false;
    } else if (c == ',' && !espera_digito) {
      espera_digito = true;
    } else {
      Falha();
    }
  }
  if (espera_digito) Falha();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t modo = data[0];
  const std::string lista(reinterpret_cast<const char*>(data + 1), size - 1);
  if ((modo & 8) != 0) {
    ConferirListaContasReceber(lista, (modo & 1) != 0);
  } else if ((modo & 4) != 0) {
    ConferirListaRecNum(lista);
  } else {
    ConferirClausula(lista, (modo & 1) != 0, (modo & 2) != 0);
  }
  return 0;
}
