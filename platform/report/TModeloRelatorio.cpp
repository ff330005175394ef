#include "report/TModeloRelatorio.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "report/ERelatorio.h"
#include "rtl/Formatacao.h"

namespace report {

namespace {

using Json = nlohmann::json;

constexpr std::uintmax_t kMaiorModeloBytes = 1024 * 1024;
// Bars of a 44-digit ITF symbol: start (4 modules), 22 digit pairs of 18, stop (5).
constexpr double kModulosCodigo44 = 405;
constexpr double kFolga = 0.01;  // millimetres an element may pass its band by rounding

const std::map<std::string, TFormato, std::less<>>& Formatos() {
  static const std::map<std::string, TFormato, std::less<>> formatos = {
      {"texto", TFormato::fmTexto},
      {"valor", TFormato::fmValor},
      {"data", TFormato::fmData},
      {"inteiro", TFormato::fmInteiro},
      {"linhaDigitavel", TFormato::fmLinhaDigitavel},
      {"bancoComDigito", TFormato::fmBancoComDigito},
      {"documento", TFormato::fmDocumento},
      {"cep", TFormato::fmCep},
  };
  return formatos;
}

// Reads one JSON object, knowing where it sits in the template for the messages, and refusing
// properties it was not asked for (a misspelt property would otherwise vanish from the layout).
class Leitor {
 public:
  Leitor(const Json& objeto, std::string caminho, const std::string& modelo)
      : FObjeto(objeto), FCaminho(std::move(caminho)), FModelo(modelo) {
    if (!FObjeto.is_object()) Falhar(FCaminho, "esperado um objeto");
  }

  [[noreturn]] void Falhar(const std::string& onde, const std::string& problema) const {
    throw EModeloInvalido("Modelo de relatório \"" + FModelo + "\" inválido: " + onde + ": " + problema + ".");
  }

  [[nodiscard]] std::string Onde(std::string_view propriedade) const {
    return FCaminho.empty() ? std::string(propriedade) : FCaminho + "." + std::string(propriedade);
  }

  [[nodiscard]] const Json* Achar(std::string_view propriedade) {
    FLidas.insert(std::string(propriedade));
    const auto it = FObjeto.find(propriedade);
    return it == FObjeto.end() ? nullptr : &*it;
  }

  [[nodiscard]] const Json& Exigir(std::string_view propriedade) {
    const Json* valor = Achar(propriedade);
    if (valor == nullptr) Falhar(Onde(propriedade), "propriedade obrigatória ausente");
    return *valor;
  }

  [[nodiscard]] double Numero(std::string_view propriedade, std::optional<double> padrao, double minimo,
                              double maximo) {
    const Json* valor = padrao ? Achar(propriedade) : &Exigir(propriedade);
    if (valor == nullptr) return *padrao;
    if (!valor->is_number()) Falhar(Onde(propriedade), "esperado um número");
    const double numero = valor->get<double>();
    if (!std::isfinite(numero) || numero < minimo || numero > maximo) {
      Falhar(Onde(propriedade), "esperado um número entre " + ShortestDecimal(minimo) + " e " +
                                    ShortestDecimal(maximo) + ", recebido " + ShortestDecimal(numero));
    }
    return numero;
  }

  [[nodiscard]] std::string Texto(std::string_view propriedade, std::optional<std::string> padrao) {
    const Json* valor = padrao ? Achar(propriedade) : &Exigir(propriedade);
    if (valor == nullptr) return *padrao;
    if (!valor->is_string()) Falhar(Onde(propriedade), "esperado um texto");
    return valor->get<std::string>();
  }

  [[nodiscard]] bool Logico(std::string_view propriedade, bool padrao) {
    const Json* valor = Achar(propriedade);
    if (valor == nullptr) return padrao;
    if (!valor->is_boolean()) Falhar(Onde(propriedade), "esperado true ou false");
    return valor->get<bool>();
  }

  [[nodiscard]] const Json& Lista(std::string_view propriedade) {
    const Json& valor = Exigir(propriedade);
    if (!valor.is_array()) Falhar(Onde(propriedade), "esperada uma lista");
    return valor;
  }

  // Every property of the object was read.
  void Concluir() const {
    for (const auto& [chave, valor] : FObjeto.items()) {
      if (FLidas.count(chave) == 0) Falhar(Onde(chave), "propriedade desconhecida");
    }
  }

  [[nodiscard]] const std::string& Caminho() const noexcept { return FCaminho; }
  [[nodiscard]] const std::string& Modelo() const noexcept { return FModelo; }

 private:
  const Json& FObjeto;
  std::string FCaminho;
  const std::string& FModelo;
  std::set<std::string, std::less<>> FLidas;
};

TReferenciaCampo LerReferencia(std::string_view texto, const Leitor& leitor, const std::string& onde) {
  std::string_view nome = texto;
  TReferenciaCampo referencia;
  if (const std::size_t dois_pontos = texto.find(':'); dois_pontos != std::string_view::npos) {
    const std::string_view formato = texto.substr(dois_pontos + 1);
    const auto it = Formatos().find(formato);
    if (it == Formatos().end()) leitor.Falhar(onde, "formato desconhecido \"" + std::string(formato) + "\"");
    referencia.Formato = it->second;
    nome = texto.substr(0, dois_pontos);
  }
  const std::size_t ponto = nome.find('.');
  const auto valido = [](std::string_view parte) {
    if (parte.empty()) return false;
    for (const char c : parte) {
      const bool letra = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
      if (!letra) return false;
    }
    return true;
  };
  if (ponto == std::string_view::npos || !valido(nome.substr(0, ponto)) || !valido(nome.substr(ponto + 1))) {
    leitor.Falhar(onde, "referência de campo \"" + std::string(texto) + "\" fora da forma PIPELINE.CAMPO[:formato]");
  }
  referencia.Pipeline = std::string(nome.substr(0, ponto));
  referencia.Campo = UpperAscii(nome.substr(ponto + 1));
  return referencia;
}

// "{PIPELINE.CAMPO[:formato]}" pieces inside a literal text; "{{" and "}}" are literal braces.
TTextoModelo LerTexto(const std::string& texto, const Leitor& leitor, const std::string& onde) {
  TTextoModelo modelo;
  std::string literal;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if ((c == '{' || c == '}') && i + 1 < texto.size() && texto[i + 1] == c) {
      literal += c;
      ++i;
    } else if (c == '{') {
      const std::size_t fim = texto.find('}', i);
      if (fim == std::string::npos) leitor.Falhar(onde, "\"{\" sem o \"}\" que fecha o campo");
      if (!literal.empty()) modelo.Partes.push_back({std::move(literal), std::nullopt});
      literal.clear();
      modelo.Partes.push_back({{}, LerReferencia(std::string_view(texto).substr(i + 1, fim - i - 1), leitor, onde)});
      i = fim;
    } else if (c == '}') {
      leitor.Falhar(onde, "\"}\" sem o \"{\" que abre o campo (escreva \"}}\" para a chave)");
    } else {
      literal += c;
    }
  }
  if (!literal.empty()) modelo.Partes.push_back({std::move(literal), std::nullopt});
  return modelo;
}

TAlinhamento LerAlinhamento(Leitor& leitor) {
  const std::string alinhamento = leitor.Texto("alinhamento", "esquerda");
  if (alinhamento == "esquerda") return TAlinhamento::taEsquerda;
  if (alinhamento == "centro") return TAlinhamento::taCentro;
  if (alinhamento == "direita") return TAlinhamento::taDireita;
  leitor.Falhar(leitor.Onde("alinhamento"), "esperado \"esquerda\", \"centro\" ou \"direita\"");
}

void ConferirDentro(const Leitor& leitor, double direita, double baixo, const TBanda& banda, double largura) {
  if (direita > largura + kFolga) {
    leitor.Falhar(leitor.Caminho(), "passa da largura útil da página (" + ShortestDecimal(largura) + " mm)");
  }
  if (baixo > banda.Altura + kFolga) {
    leitor.Falhar(leitor.Caminho(), "passa da altura da banda (" + ShortestDecimal(banda.Altura) + " mm)");
  }
}

TElemento LerElemento(const Json& json, const std::string& caminho, const std::string& nome, const TBanda& banda,
                      double largura_util) {
  Leitor leitor(json, caminho, nome);
  const std::string tipo = leitor.Texto("tipo", std::nullopt);
  const double maximo = 1000;
  if (tipo == "texto" || tipo == "campo") {
    TElementoTexto texto;
    texto.X = leitor.Numero("x", std::nullopt, 0, maximo);
    texto.Y = leitor.Numero("y", std::nullopt, 0, maximo);
    texto.Largura = leitor.Numero("largura", std::nullopt, 0.1, maximo);
    texto.Altura = leitor.Numero("altura", std::nullopt, 0.1, maximo);
    if (tipo == "campo") {
      const std::string onde = leitor.Onde("campo");
      texto.Texto.Partes.push_back({{}, LerReferencia(leitor.Texto("campo", std::nullopt), leitor, onde)});
    } else {
      texto.Texto = LerTexto(leitor.Texto("texto", std::nullopt), leitor, leitor.Onde("texto"));
    }
    texto.Fonte.Tamanho = leitor.Numero("tamanho", 8.0, 3, 72);
    texto.Fonte.Negrito = leitor.Logico("negrito", false);
    texto.Alinhamento = LerAlinhamento(leitor);
    texto.Multilinha = leitor.Logico("multilinha", false);
    if (leitor.Achar("visivelSe") != nullptr) {
      texto.VisivelSe = LerReferencia(leitor.Texto("visivelSe", std::nullopt), leitor, leitor.Onde("visivelSe"));
    }
    leitor.Concluir();
    ConferirDentro(leitor, texto.X + texto.Largura, texto.Y + texto.Altura, banda, largura_util);
    return texto;
  }
  if (tipo == "linha") {
    TElementoLinha linha;
    linha.X1 = leitor.Numero("x1", std::nullopt, 0, maximo);
    linha.Y1 = leitor.Numero("y1", std::nullopt, 0, maximo);
    linha.X2 = leitor.Numero("x2", std::nullopt, 0, maximo);
    linha.Y2 = leitor.Numero("y2", std::nullopt, 0, maximo);
    linha.Espessura = leitor.Numero("espessura", 0.2, 0.05, 5);
    linha.Tracejada = leitor.Logico("tracejada", false);
    leitor.Concluir();
    ConferirDentro(leitor, std::max(linha.X1, linha.X2), std::max(linha.Y1, linha.Y2), banda, largura_util);
    return linha;
  }
  if (tipo == "caixa") {
    TElementoCaixa caixa;
    caixa.X = leitor.Numero("x", std::nullopt, 0, maximo);
    caixa.Y = leitor.Numero("y", std::nullopt, 0, maximo);
    caixa.Largura = leitor.Numero("largura", std::nullopt, 0.1, maximo);
    caixa.Altura = leitor.Numero("altura", std::nullopt, 0.1, maximo);
    caixa.Espessura = leitor.Numero("espessura", 0.2, 0, 5);
    if (leitor.Achar("preenchimento") != nullptr) caixa.Preenchimento = leitor.Numero("preenchimento", 1.0, 0, 1);
    leitor.Concluir();
    ConferirDentro(leitor, caixa.X + caixa.Largura, caixa.Y + caixa.Altura, banda, largura_util);
    return caixa;
  }
  if (tipo == "codigoBarras") {
    TElementoCodigoBarras codigo;
    codigo.X = leitor.Numero("x", std::nullopt, 0, maximo);
    codigo.Y = leitor.Numero("y", std::nullopt, 0, maximo);
    codigo.Altura = leitor.Numero("altura", 13.0, 5, 50);
    codigo.LarguraModulo = leitor.Numero("larguraModulo", 0.254, 0.19, 0.5);
    codigo.Campo = LerReferencia(leitor.Texto("campo", std::nullopt), leitor, leitor.Onde("campo"));
    leitor.Concluir();
    ConferirDentro(leitor, codigo.X + kModulosCodigo44 * codigo.LarguraModulo, codigo.Y + codigo.Altura, banda,
                   largura_util);
    return codigo;
  }
  leitor.Falhar(leitor.Onde("tipo"),
                "tipo de elemento desconhecido \"" + tipo + "\" (texto, campo, linha, caixa ou codigoBarras)");
}

TBanda LerBanda(const Json& json, const std::string& caminho, const std::string& nome, const TPaginaModelo& pagina) {
  Leitor leitor(json, caminho, nome);
  TBanda banda;
  const std::string tipo = leitor.Texto("tipo", std::nullopt);
  if (tipo == "cabecalho") {
    banda.Tipo = TTipoBanda::tbCabecalho;
  } else if (tipo == "detalhe") {
    banda.Tipo = TTipoBanda::tbDetalhe;
  } else if (tipo == "rodape") {
    banda.Tipo = TTipoBanda::tbRodape;
  } else {
    leitor.Falhar(leitor.Onde("tipo"), "esperado \"cabecalho\", \"detalhe\" ou \"rodape\"");
  }
  banda.Altura = leitor.Numero("altura", std::nullopt, 1, pagina.AlturaUtil());
  banda.NovaPagina = leitor.Logico("novaPagina", false);
  const Json& elementos = leitor.Lista("elementos");
  for (std::size_t i = 0; i < elementos.size(); ++i) {
    banda.Elementos.push_back(LerElemento(elementos[i], leitor.Onde("elementos[" + std::to_string(i) + "]"), nome,
                                          banda, pagina.LarguraUtil()));
  }
  leitor.Concluir();
  return banda;
}

TPaginaModelo LerPagina(const Json& json, const std::string& nome) {
  Leitor leitor(json, "pagina", nome);
  TPaginaModelo pagina;
  const std::string papel = leitor.Texto("papel", "A4");
  if (papel != "A4") leitor.Falhar(leitor.Onde("papel"), "só o papel \"A4\" é suportado");
  const std::string orientacao = leitor.Texto("orientacao", "retrato");
  if (orientacao == "paisagem") {
    std::swap(pagina.Largura, pagina.Altura);
  } else if (orientacao != "retrato") {
    leitor.Falhar(leitor.Onde("orientacao"), "esperado \"retrato\" ou \"paisagem\"");
  }
  pagina.MargemEsquerda = leitor.Numero("margemEsquerda", 10.0, 0, 50);
  pagina.MargemSuperior = leitor.Numero("margemSuperior", 10.0, 0, 50);
  pagina.MargemDireita = leitor.Numero("margemDireita", 10.0, 0, 50);
  pagina.MargemInferior = leitor.Numero("margemInferior", 10.0, 0, 50);
  leitor.Concluir();
  return pagina;
}

void ConferirBandas(const TModeloRelatorio& modelo, const Leitor& leitor) {
  int detalhes = 0;
  double fixas = 0;
  for (const TBanda& banda : modelo.Bandas) {
    if (banda.Tipo == TTipoBanda::tbDetalhe) {
      ++detalhes;
    } else {
      fixas += banda.Altura;
    }
  }
  if (detalhes != 1) leitor.Falhar("bandas", "o modelo precisa de exatamente uma banda \"detalhe\"");
  for (const TBanda& banda : modelo.Bandas) {
    if (banda.Tipo == TTipoBanda::tbDetalhe && banda.Altura + fixas > modelo.Pagina.AlturaUtil() + kFolga) {
      leitor.Falhar("bandas", "cabeçalho, detalhe e rodapé não cabem juntos na altura útil da página (" +
                                  ShortestDecimal(modelo.Pagina.AlturaUtil()) + " mm)");
    }
  }
}

void AcrescentarCampos(const TTextoModelo& texto, std::vector<TReferenciaCampo>& campos) {
  for (const auto& parte : texto.Partes) {
    if (parte.Campo) campos.push_back(*parte.Campo);
  }
}

}  // namespace

std::vector<TReferenciaCampo> TModeloRelatorio::Campos() const {
  std::vector<TReferenciaCampo> campos;
  for (const TBanda& banda : Bandas) {
    for (const TElemento& elemento : banda.Elementos) {
      if (const auto* texto = std::get_if<TElementoTexto>(&elemento)) {
        AcrescentarCampos(texto->Texto, campos);
        if (texto->VisivelSe) campos.push_back(*texto->VisivelSe);
      } else if (const auto* codigo = std::get_if<TElementoCodigoBarras>(&elemento)) {
        campos.push_back(codigo->Campo);
      }
    }
  }
  return campos;
}

std::vector<std::string> TModeloRelatorio::Pipelines() const {
  std::vector<std::string> nomes{PipelinePrincipal};
  for (const TReferenciaCampo& campo : Campos()) {
    bool conhecido = false;
    for (const std::string& nome : nomes) conhecido = conhecido || nome == campo.Pipeline;
    if (!conhecido) nomes.push_back(campo.Pipeline);
  }
  return nomes;
}

TModeloRelatorio LerModelo(std::string_view texto, const std::string& nome) {
  Json json;
  try {
    json = Json::parse(texto);
  } catch (const Json::parse_error& erro) {
    throw EModeloInvalido("Modelo de relatório \"" + nome + "\" inválido: o texto não é JSON válido (byte " +
                          std::to_string(erro.byte) + ").");
  }
  Leitor leitor(json, "", nome);
  const std::string formato = leitor.Texto("formato", std::nullopt);
  if (formato != "quorvin-relatorio/1") {
    leitor.Falhar("formato", "esperado \"quorvin-relatorio/1\", recebido \"" + formato + "\"");
  }
  TModeloRelatorio modelo;
  modelo.Nome = nome;
  modelo.Titulo = leitor.Texto("titulo", nome);
  modelo.FamiliaFonte = leitor.Texto("fonte", "DejaVu Sans");
  if (const Json* pagina = leitor.Achar("pagina")) modelo.Pagina = LerPagina(*pagina, nome);
  modelo.PipelinePrincipal = leitor.Texto("pipelinePrincipal", std::nullopt);
  const Json& bandas = leitor.Lista("bandas");
  for (std::size_t i = 0; i < bandas.size(); ++i) {
    modelo.Bandas.push_back(LerBanda(bandas[i], "bandas[" + std::to_string(i) + "]", nome, modelo.Pagina));
  }
  leitor.Concluir();
  ConferirBandas(modelo, leitor);
  return modelo;
}

TModeloRelatorio CarregarModelo(const std::filesystem::path& arquivo) {
  const std::string nome = arquivo.filename().string();
  std::error_code erro;
  const std::uintmax_t tamanho = std::filesystem::file_size(arquivo, erro);
  if (erro || !std::filesystem::is_regular_file(arquivo, erro)) {
    throw EModeloInvalido("Modelo de relatório \"" + arquivo.string() + "\" não encontrado ou ilegível.");
  }
  if (tamanho > kMaiorModeloBytes) {
    throw EModeloInvalido("Modelo de relatório \"" + nome + "\" inválido: arquivo maior que 1 MiB.");
  }
  std::ifstream entrada(arquivo, std::ios::binary);
  std::string texto((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
  if (!entrada.good() && !entrada.eof()) {
    throw EModeloInvalido("Modelo de relatório \"" + arquivo.string() + "\" não encontrado ou ilegível.");
  }
  return LerModelo(texto, nome);
}

}  // namespace report
