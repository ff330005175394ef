#pragma once

#include <string>

// The host's installation and spool folders (host core package). The argument is the host's
// branch selector; -1 asks for the current one. Both end with a path separator.
[[nodiscard]] std::string DiretorioProd(int filial);
[[nodiscard]] std::string DiretorioSpool(int filial);
// Set by the host at start-up.
void DefinirDiretorios(const std::string& prod, const std::string& spool);
