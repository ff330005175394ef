#include "Runtime.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "RecordJson.h"
#include "report/TRelatorio.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/ZTCore.h"

namespace cli {

namespace {

std::string RunDbScript(const std::string& action) {
  const std::string command = std::string(QUORVIN_SOURCE_DIR) + "/scripts/db.sh " + action + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("não foi possível executar scripts/db.sh");
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = pclose(pipe);
  if (status != 0) throw std::runtime_error("scripts/db.sh " + action + " falhou: " + output);
  return Trim(output);
}

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The command line has no screen: a report meant for it is kept in the spool folder, and stderr
// says where, so a preview asked by the module is never lost or taken for a failure.
void GuardarTela(const std::string& pdf, const report::TOpcoesTela& opcoes) {
  static std::atomic<unsigned> sequencia{0};
  const std::filesystem::path arquivo =
      std::filesystem::path(DiretorioSpool(-1)) /
      ("tela-" + std::to_string(::getpid()) + "-" + std::to_string(++sequencia) + ".pdf");
  std::ofstream saida(arquivo, std::ios::binary | std::ios::trunc);
  saida.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
  if (!saida) throw Exception("Não foi possível gravar a visualização em " + arquivo.string() + ".");
  std::cerr << "Relatório \"" << opcoes.Titulo << "\" para a tela gravado em " << arquivo.string() << "\n";
}

}  // namespace

HostFolders ResolveFolders() {
  // The build folder holds bin/, the installation folder "prod" (where the build puts the slip
  // templates) and the spool folder "spool", so files the module saves never land where the
  // command happened to be started.
  const std::filesystem::path bin = std::filesystem::path(host::DefaultPluginPath()).parent_path();
  const std::filesystem::path base = bin.empty() ? std::filesystem::current_path() : bin.parent_path();
  HostFolders folders;
  folders.Prod = FromEnvironment("QUORVIN_PROD_DIR");
  if (folders.Prod.empty()) folders.Prod = (base / "prod").string();
  folders.Spool = FromEnvironment("QUORVIN_SPOOL_DIR");
  if (folders.Spool.empty()) folders.Spool = (base / "spool").string();
  std::error_code ignored;
  std::filesystem::create_directories(folders.Spool, ignored);
  return folders;
}

std::string ResolveDsn() {
  if (const char* dsn = std::getenv("QUORVIN_DSN"); dsn != nullptr && *dsn != '\0') return dsn;
  // Starts the private cluster when needed, but never one stopped on purpose with `db stop`.
  const std::string output = RunDbScript("ensure");
  // The last line is the connection string.
  const std::size_t last = output.find_last_of('\n');
  return last == std::string::npos ? output : output.substr(last + 1);
}

Runtime::Runtime(const CallFlags& flags) {
  const HostFolders folders = ResolveFolders();
  DefinirDiretorios(folders.Prod, folders.Spool);
  report::DefinirVisualizadorPadrao(GuardarTela);
  host::THostConfig config;
  config.Dsn = ResolveDsn();
  config.Matricula = flags.Matricula.value_or(1);
  config.CodigoRotina = flags.Rotina.value_or(0);
  config.Label = flags.Label.value_or("");
  config.ParametrosExplicitos = flags.ExplicitParams.value_or(false);
  config.TempoEsperaBloqueio = flags.LockTimeout.value_or(0);
  // A batch keeps the parameters it read across its lines, checked against their version per line.
  config.CacheParametros = true;
  FHost = std::make_unique<host::THostQuorvin>(config);
  Apply(flags);
}

Runtime::~Runtime() {
  // Everything the module created dies before its code is unmapped.
  FHost.reset();
  FLoader.Unload();
}

IGerenteFinanceiro& Runtime::Financeiro() {
  if (!FLoader.Loaded()) FLoader.Load(host::DefaultPluginPath());
  return *FHost->GerenteFinanceiro();
}

void Runtime::Apply(const CallFlags& flags) {
  FHost->NovaChamada();
  if (flags.Matricula) FHost->SetMatricula(*flags.Matricula);
  if (flags.Rotina) FHost->SetCodigoRotina(*flags.Rotina);
  if (flags.Label) FHost->SetLabel(*flags.Label);
  if (flags.ExplicitParams) FHost->SetParametrosExplicitos(*flags.ExplicitParams);
  if (flags.LockTimeout && *flags.LockTimeout != FHost->Sessao().LockTimeout()) {
    FHost->Sessao().SetLockTimeout(*flags.LockTimeout);
  }
  const bool ok = flags.ConfirmOk.value_or(false);
  FHost->SetConfirmationPolicy([ok](const std::string&) { return ok ? TModalResult::mrOk : TModalResult::mrCancel; });
}

}  // namespace cli
