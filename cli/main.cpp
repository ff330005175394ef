#include <cstdlib>
#include <iostream>

#include "Cli.h"
#include "sdk/ZTCore.h"

int main(int argc, char** argv) {
  // The installation folder (slip templates): QUORVIN_PROD_DIR, else the build tree's.
  const char* prod = std::getenv("QUORVIN_PROD_DIR");
  DefinirDiretorios(prod != nullptr && *prod != '\0' ? prod : QUORVIN_PROD_DIR, DiretorioSpool(-1));
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::Main(args, std::cin, std::cout, std::cerr);
}
