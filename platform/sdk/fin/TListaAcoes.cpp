#include "sdk/fin/TListaAcoes.h"

#include <array>
#include <cstdint>
#include <typeinfo>

#include "rtl/Exception.h"

namespace {

std::uint32_t Rotl(std::uint32_t valor, int bits) {
  return (valor << bits) | (valor >> (32 - bits));
}

// A row as one unambiguous text: each value length-prefixed, NULL apart from every text.
std::string TextoDaLinha(const TCancDesdCds::TLinha& valores) {
  std::string texto;
  for (const auto& valor : valores) {
    if (!valor) {
      texto += "N;";
      continue;
    }
    texto += std::to_string(valor->size()) + ":" + *valor + ";";
  }
  return texto;
}

}  // namespace

std::string Sha1Hex(const std::string& texto) {
  std::array<std::uint32_t, 5> h = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  std::string dados = texto;
  const std::uint64_t bits = static_cast<std::uint64_t>(texto.size()) * 8u;
  dados += static_cast<char>(0x80);
  while (dados.size() % 64 != 56) dados += '\0';
  for (int deslocamento = 56; deslocamento >= 0; deslocamento -= 8) {
    dados += static_cast<char>((bits >> deslocamento) & 0xFFu);
  }
  for (std::size_t bloco = 0; bloco < dados.size(); bloco += 64) {
    std::array<std::uint32_t, 80> w{};
    for (std::size_t i = 0; i < 16; ++i) {
      for (std::size_t b = 0; b < 4; ++b) {
        w[i] = (w[i] << 8) | static_cast<unsigned char>(dados[bloco + i * 4 + b]);
      }
    }
    for (std::size_t i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (std::size_t i = 0; i < 80; ++i) {
      std::uint32_t f = 0;
      std::uint32_t k = 0;
      if (i < 20) {
        f = (b & c) | (~b & d);
        k = 0x5A827999u;
      } else if (i < 40) {
        f = b ^ c ^ d;
        k = 0x6ED9EBA1u;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d);
        k = 0x8F1BBCDCu;
      } else {
        f = b ^ c ^ d;
        k = 0xCA62C1D6u;
      }
      const std::uint32_t temp = Rotl(a, 5) + f + e + k + w[i];
      e = d;
      d = c;
      c = Rotl(b, 30);
      b = a;
      a = temp;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint32_t palavra : h) {
    for (int deslocamento = 28; deslocamento >= 0; deslocamento -= 4) hex += kHex[(palavra >> deslocamento) & 0xFu];
  }
  return hex;
}

void TCancDesdCds::DefinirColunas(std::vector<std::string> colunas) {
  FColunas = std::move(colunas);
  FIndice.clear();
  for (std::size_t i = 0; i < FColunas.size(); ++i) FIndice[FColunas[i]] = i;
}

void TCancDesdCds::Adicionar(const std::string& chave, TLinha valores) {
  std::string hash = Sha1Hex(TextoDaLinha(valores));
  FLinhas[chave] = {std::move(valores), std::move(hash)};
}

std::optional<std::string> TCancDesdCds::Valor(const std::string& campo, const TRegistro& registro) const {
  const auto linha = FLinhas.find(registro.Chave());
  if (linha == FLinhas.end()) return std::nullopt;
  const auto coluna = FIndice.find(campo);
  if (coluna == FIndice.end()) throw Exception("Campo '" + campo + "' não encontrado.");
  return linha->second.Valores[coluna->second];
}

const TCancDesdCds::TLinha* TCancDesdCds::Linha(const TRegistro& registro) const {
  const auto linha = FLinhas.find(registro.Chave());
  return linha == FLinhas.end() ? nullptr : &linha->second.Valores;
}

std::string TCancDesdCds::HASHCALCULADO(const TRegistro& registro) const {
  const auto linha = FLinhas.find(registro.Chave());
  return linha == FLinhas.end() ? std::string() : linha->second.Hash;
}

std::map<std::string, std::string> TCancDesdCds::Hashes() const {
  std::map<std::string, std::string> hashes;
  for (const auto& [chave, linha] : FLinhas) hashes[chave] = linha.Hash;
  return hashes;
}

std::shared_ptr<TAcaoDesdobramentoAMaiorZTPrest> CriarAcaoDesdobramentoAMaior(const TRegistroPtr& registro,
                                                                              const std::string& codcoborig) {
  if (codcoborig == "JUR") return std::make_shared<TAcaoDesdobramentoAMaiorZTPrestJUR>(registro);
  if (codcoborig == "CRTR") return std::make_shared<TAcaoDesdobramentoAMaiorZTPrestCRTR>(registro);
  if (codcoborig == "ACRE") return std::make_shared<TAcaoDesdobramentoAMaiorZTPrestACRE>(registro);
  if (codcoborig == "CRED") return std::make_shared<TAcaoDesdobramentoAMaiorZTPrestCRED>(registro);
  return nullptr;
}

TListaAcoes::~TListaAcoes() = default;

bool TListaAcoes::TodosAMaiorConfirmados() const {
  for (const TAcaoAMaiorPtr& acao : DesdobramentosAMaior) {
    if (!acao->Confirmada) return false;
  }
  return true;
}

bool TListaAcoes::TodosVencimentosConfirmados() const {
  for (const TAcaoVencimentoPtr& acao : Vencimentos) {
    if (!acao->Confirmada) return false;
  }
  return true;
}

TAcaoVencAnteriorDataAtual* TListaAcoes::Vencimento(const TRegistro& registro) const {
  for (const TAcaoVencimentoPtr& acao : Vencimentos) {
    if (acao->Registro->Igual(registro)) return acao.get();
  }
  return nullptr;
}

TAcaoDesdobramentoAMaiorZTPrest* TListaAcoes::DesdobramentoAMaior(const TRegistro& registro) const {
  for (const TAcaoAMaiorPtr& acao : DesdobramentosAMaior) {
    if (acao->Registro->Igual(registro)) return acao.get();
  }
  return nullptr;
}

namespace {

// Each action as its kind, its record and what it carries, in the part's order.
template <class Acoes, class Detalhe>
std::vector<std::string> Assinaturas(const Acoes& acoes, Detalhe detalhe) {
  std::vector<std::string> assinaturas;
  for (const auto& acao : acoes) {
    assinaturas.push_back(std::string(typeid(*acao).name()) + "|" + acao->Registro->Chave() + "|" + detalhe(*acao));
  }
  return assinaturas;
}

std::vector<std::string> Definidas(const std::vector<TAcaoDefinidaPtr>& acoes) {
  return Assinaturas(acoes, [](const TAcaoDefinida&) { return std::string(); });
}

std::vector<std::string> Recusas(const TArrayOfAcaoImpeditiva& acoes) {
  return Assinaturas(acoes, [](const TAcaoImpeditiva& acao) { return acao.Mensagem; });
}

}  // namespace

bool TListaAcoes::igual(const TListaAcoes& outra) const {
  if (typeid(*this) != typeid(outra)) return false;
  if (!ArrayIgual(Selecionados, outra.Selecionados)) return false;
  if (Definidas(Afetados) != Definidas(outra.Afetados) || Definidas(Raizes) != Definidas(outra.Raizes) ||
      Definidas(Folhas) != Definidas(outra.Folhas)) {
    return false;
  }
  const auto vencimento = [](const TAcaoVencAnteriorDataAtual& acao) { return acao.DTVENC.ToIso(); };
  if (Assinaturas(Vencimentos, vencimento) != Assinaturas(outra.Vencimentos, vencimento)) return false;
  const auto nada = [](const TAcaoDesdobramentoAMaiorZTPrest&) { return std::string(); };
  if (Assinaturas(DesdobramentosAMaior, nada) != Assinaturas(outra.DesdobramentosAMaior, nada)) return false;
  if (Recusas(Vendor) != Recusas(outra.Vendor) || Recusas(Impeditivas) != Recusas(outra.Impeditivas)) {
    return false;
  }
  return Dados.Hashes() == outra.Dados.Hashes();
}
