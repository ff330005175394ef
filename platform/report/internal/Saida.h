#pragma once

#include <string>
#include <vector>

// Where a rendered document goes: a file written whole or not at all, a printer reached through
// the CUPS client without a shell. Private to the report engine and its tests.
namespace report::internal {

// Writes `conteudo` to `arquivo` through a temporary file of the same folder, so a reader never sees
// half a document and a failure leaves nothing behind. Without `sobrescrever` an existing file is
// refused, in the same step that creates the new one. Failures raise EDispositivoRelatorio.
void GravarArquivo(const std::string& arquivo, const std::string& conteudo, bool sobrescrever);

// A CUPS destination name as `lp -d` accepts it: printable, no blanks, no "/" or "#", not starting
// with "-"; at most 127 bytes. Answers the reason it is refused, or an empty text.
[[nodiscard]] std::string ProblemaNomeImpressora(const std::string& impressora);

// The arguments of the print command: comando -d IMPRESSORA -n COPIAS -o media=A4 -t TITULO -- ARQUIVO.
[[nodiscard]] std::vector<std::string> ArgumentosLp(const std::string& comando, const std::string& impressora,
                                                    int copias, const std::string& titulo, const std::string& arquivo);

// Runs a command from its arguments (looked up on PATH, no shell), its input closed, and waits for
// it. A command that cannot start or ends other than with 0 raises EDispositivoRelatorio with what
// it wrote on its error output.
void Executar(const std::vector<std::string>& argumentos);

}  // namespace report::internal
