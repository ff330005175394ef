#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "report/TModeloRelatorio.h"

// Bank slips on the report engine: the six pipelines a slip template is bound to, the template each
// bank prints with, and the PDF document information of a slip file.
namespace report {

inline constexpr const char* kPipelineBoleta = "BDEBoleta";                     // the print data
inline constexpr const char* kPipelineBanco = "BDEZTBANCO";                     // the bank row
inline constexpr const char* kPipelineBancoAuxPorCod = "BDEZTBANCO_AUXPorCod";  // the bank row, again
inline constexpr const char* kPipelineData = "BDEDATA";                         // server date and time
inline constexpr const char* kPipelineData1 = "BDEDATA1";                       // server date and time
inline constexpr const char* kPipelineFilial = "BDEdsFILIAL";                   // the branch
inline constexpr std::array<const char*, 6> kPipelinesBoleto = {
    kPipelineBoleta, kPipelineBanco, kPipelineBancoAuxPorCod, kPipelineData, kPipelineData1, kPipelineFilial};

// Author written into every slip PDF.
inline constexpr const char* kAutorPdfBoleto = "ZT Informática.";

// The template a bank prints with: its NOMERTM, trimmed, or "Boleta" + NUMBANCO + ".rtm" when that is
// empty. Only the file name counts: a stored path ("C:\\Quorvin\\Boleta1.rtm", "../x.rtm") is
// reduced to its last component, so a bank row never points the engine outside its folders.
[[nodiscard]] std::string NomeModeloBoleto(std::string_view nomertm, double numbanco);

// The first of `pastas` that holds the template `nome` (EModeloInvalido naming every folder tried
// when none does).
[[nodiscard]] std::filesystem::path LocalizarModelo(const std::string& nome, const std::vector<std::string>& pastas);

// Reads a slip template: a template whose main pipeline is not BDEBoleta, or that names a pipeline
// other than the six, raises EModeloInvalido.
[[nodiscard]] TModeloRelatorio CarregarModeloBoleto(const std::filesystem::path& arquivo);
[[nodiscard]] TModeloRelatorio LerModeloBoleto(std::string_view texto, const std::string& nome);

// Why `impressora` cannot be handed to the print command (blanks, control characters, "/", "#",
// quotes, a leading "-"); empty when it can. Lets a caller refuse a printer before any work is done.
[[nodiscard]] std::string ProblemaNomeImpressora(const std::string& impressora);

// "Gerado pela rotina: " + the routine number, the subject of a slip PDF.
[[nodiscard]] std::string AssuntoPdfBoleto(double rotina);

}  // namespace report
