#include "report/internal/Formatos.h"

#include <map>

#include "febraban/Arrecadacao.h"
#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"
#include "rtl/Formatacao.h"

namespace report::internal {

namespace {

std::string SoDigitos(std::string_view texto) {
  std::string digitos;
  for (const char c : texto) {
    if (c >= '0' && c <= '9') digitos += c;
  }
  return digitos;
}

std::string LinhaDigitavel(const std::string& texto) {
  const std::string digitos = SoDigitos(texto);
  try {
    if (digitos.size() == febraban::kDigitosLinhaBoleto) return febraban::FormatarLinhaDigitavelBoleto(digitos);
    if (digitos.size() == febraban::kDigitosLinhaArrecadacao) {
      return febraban::FormatarLinhaDigitavelArrecadacao(digitos);
    }
  } catch (const febraban::ECodigoInvalido&) {
    // Shown as stored: the line is printed for the payer to read, the barcode is what is checked.
  }
  return texto;
}

std::string BancoComDigito(const std::string& texto) {
  std::string digitos = SoDigitos(texto);
  if (digitos.empty()) return texto;
  if (digitos.size() == febraban::kDigitosCodigoBarras || digitos.size() == febraban::kDigitosLinhaBoleto) {
    digitos = digitos.substr(0, 3);
  }
  if (digitos.size() > 3) return texto;
  const int codigo = std::stoi(digitos);
  return ZeroPad(codigo, 3) + "-" + DigitoBanco(codigo);
}

std::string Documento(const std::string& texto) {
  const std::string d = SoDigitos(texto);
  if (d.size() == 14) {
    return d.substr(0, 2) + "." + d.substr(2, 3) + "." + d.substr(5, 3) + "/" + d.substr(8, 4) + "-" + d.substr(12, 2);
  }
  if (d.size() == 11) return d.substr(0, 3) + "." + d.substr(3, 3) + "." + d.substr(6, 3) + "-" + d.substr(9, 2);
  return texto;
}

std::string Cep(const std::string& texto) {
  const std::string d = SoDigitos(texto);
  return d.size() == 8 ? d.substr(0, 5) + "-" + d.substr(5) : texto;
}

// Formats that read the value as text.
std::string FormatarComoTexto(const std::string& texto, TFormato formato) {
  switch (formato) {
    case TFormato::fmLinhaDigitavel:
      return LinhaDigitavel(texto);
    case TFormato::fmBancoComDigito:
      return BancoComDigito(texto);
    case TFormato::fmDocumento:
      return Documento(texto);
    case TFormato::fmCep:
      return Cep(texto);
    default:
      return texto;
  }
}

}  // namespace

std::string DigitoBanco(int codigo) {
  static const std::map<int, std::string> publicados = {
      {1, "9"},   {33, "7"},  {41, "8"},  {104, "0"}, {237, "2"},
      {341, "7"}, {399, "9"}, {422, "7"}, {748, "X"}, {756, "0"},
  };
  if (const auto it = publicados.find(codigo); it != publicados.end()) return it->second;
  const std::string digitos = ZeroPad(codigo, 3);
  int soma = 0;
  int peso = 2;
  for (auto it = digitos.rbegin(); it != digitos.rend(); ++it) {
    soma += (*it - '0') * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  const int digito = 11 - soma % 11;
  if (digito == 10) return "X";
  if (digito == 11) return "0";
  return std::to_string(digito);
}

std::string FormatarCampo(const TField& campo, TFormato formato) {
  if (campo.IsNull()) return {};
  switch (formato) {
    case TFormato::fmValor:
      return FormatarValor(campo.AsFloat());
    case TFormato::fmData: {
      const TDateTime data = campo.AsDateTime();
      return data.IsZero() ? std::string() : data.ToBrazilian();
    }
    case TFormato::fmInteiro:
      return std::to_string(campo.AsInteger());
    default:
      return FormatarComoTexto(Trim(campo.AsString()), formato);
  }
}

std::string FormatarTexto(std::string_view valor, TFormato formato) {
  return FormatarComoTexto(Trim(valor), formato);
}

bool TemValor(const TField& campo) {
  if (campo.IsNull()) return false;
  switch (campo.DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftInteger:
      return campo.AsFloat() != 0;
    default:
      return !Trim(campo.AsString()).empty();
  }
}

std::string TextoDesenhavel(std::string_view texto, bool manter_quebras) {
  std::string saida;
  saida.reserve(texto.size());
  std::size_t i = 0;
  while (i < texto.size()) {
    const auto byte = static_cast<unsigned char>(texto[i]);
    if (byte < 0x80) {
      if (byte == '\r' || byte == '\n') {
        if (byte == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
        saida += manter_quebras ? '\n' : ' ';
      } else {
        saida += (byte < 0x20 || byte == 0x7f) ? ' ' : static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    // A well-formed sequence of 2 to 4 bytes (no overlong forms, no surrogates, at most U+10FFFF).
    std::size_t comprimento = 0;
    unsigned int minimo = 0;
    unsigned int codigo = 0;
    if ((byte & 0xE0) == 0xC0) {
      comprimento = 2, minimo = 0x80, codigo = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
      comprimento = 3, minimo = 0x800, codigo = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
      comprimento = 4, minimo = 0x10000, codigo = byte & 0x07;
    }
    bool valido = comprimento != 0 && i + comprimento <= texto.size();
    for (std::size_t k = 1; valido && k < comprimento; ++k) {
      const auto seguinte = static_cast<unsigned char>(texto[i + k]);
      valido = (seguinte & 0xC0) == 0x80;
      codigo = (codigo << 6) | (seguinte & 0x3F);
    }
    valido = valido && codigo >= minimo && codigo <= 0x10FFFF && (codigo < 0xD800 || codigo > 0xDFFF);
    if (valido) {
      saida.append(texto.substr(i, comprimento));
      i += comprimento;
    } else {
      saida += '?';
      ++i;
    }
  }
  return saida;
}

}  // namespace report::internal
