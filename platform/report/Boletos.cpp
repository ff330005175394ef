#include "report/Boletos.h"

#include "report/ERelatorio.h"
#include "report/internal/Saida.h"
#include "rtl/Formatacao.h"

namespace report {

namespace {

void ConferirPipelinesBoleto(const TModeloRelatorio& modelo) {
  if (modelo.PipelinePrincipal != kPipelineBoleta) {
    throw EModeloInvalido("Modelo de boleto \"" + modelo.Nome + "\" inválido: o pipeline principal deve ser \"" +
                          kPipelineBoleta + "\", e não \"" + modelo.PipelinePrincipal + "\".");
  }
  for (const std::string& pipeline : modelo.Pipelines()) {
    bool conhecido = false;
    for (const char* nome : kPipelinesBoleto) conhecido = conhecido || pipeline == nome;
    if (!conhecido) {
      throw EModeloInvalido("Modelo de boleto \"" + modelo.Nome + "\" inválido: o pipeline \"" + pipeline +
                            "\" não existe; use BDEBoleta, BDEZTBANCO, BDEZTBANCO_AUXPorCod, BDEDATA, BDEDATA1 ou "
                            "BDEdsFILIAL.");
    }
  }
}

}  // namespace

std::string NomeModeloBoleto(std::string_view nomertm, double numbanco) {
  std::string nome = Trim(nomertm);
  if (nome.empty()) return "Boleta" + ShortestDecimal(numbanco) + ".rtm";
  if (const std::size_t barra = nome.find_last_of("/\\"); barra != std::string::npos) nome = nome.substr(barra + 1);
  if (nome == "." || nome == "..") nome.clear();
  return nome;
}

std::filesystem::path LocalizarModelo(const std::string& nome, const std::vector<std::string>& pastas) {
  std::string tentadas;
  if (!nome.empty() && nome.find_first_of("/\\") == std::string::npos && nome != "." && nome != "..") {
    for (const std::string& pasta : pastas) {
      if (pasta.empty()) continue;
      const std::filesystem::path caminho = std::filesystem::path(pasta) / nome;
      std::error_code erro;
      if (std::filesystem::is_regular_file(caminho, erro)) return caminho;
      tentadas += (tentadas.empty() ? "" : ", ") + pasta;
    }
  }
  throw EModeloInvalido("Modelo de relatório \"" + nome + "\" não encontrado" +
                        (tentadas.empty() ? std::string(".") : " em: " + tentadas + "."));
}

TModeloRelatorio CarregarModeloBoleto(const std::filesystem::path& arquivo) {
  TModeloRelatorio modelo = CarregarModelo(arquivo);
  ConferirPipelinesBoleto(modelo);
  return modelo;
}

TModeloRelatorio LerModeloBoleto(std::string_view texto, const std::string& nome) {
  TModeloRelatorio modelo = LerModelo(texto, nome);
  ConferirPipelinesBoleto(modelo);
  return modelo;
}

std::string ProblemaNomeImpressora(const std::string& impressora) {
  return internal::ProblemaNomeImpressora(impressora);
}

std::string AssuntoPdfBoleto(double rotina) {
  return "Gerado pela rotina: " + ShortestDecimal(rotina);
}

}  // namespace report
