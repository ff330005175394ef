#include <iostream>

#include "Cli.h"
#include "Runtime.h"
#include "sdk/ZTCore.h"

int main(int argc, char** argv) {
  // The installation folder (slip templates) and the spool folder, for every command.
  const cli::HostFolders folders = cli::ResolveFolders();
  DefinirDiretorios(folders.Prod, folders.Spool);
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::Main(args, std::cin, std::cout, std::cerr);
}
