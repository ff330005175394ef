#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/THostQuorvin.h"
#include "host/TPackageLoader.h"

namespace cli {

// How one invocation runs: identity, routine, confirmation answer, transaction handling.
struct CallFlags {
  std::optional<int> Matricula;
  std::optional<int> Rotina;
  std::optional<std::string> Label;
  std::optional<bool> ConfirmOk;
  std::optional<bool> ExplicitParams;
  // Seconds a lock wait may last (0 waits until the holder ends).
  std::optional<int> LockTimeout;
  // The deposit picker's answers: the picked NUMTRANS ("1,2"; "-" asks on the terminal) and the
  // clearing date; no pick answers Cancel.
  std::optional<std::string> Pick;
  std::optional<std::string> ClearingDate;
  bool NoTransaction = false;
  bool Rollback = false;
  // Listings also answer the SQL they ran.
  bool Explain = false;
};

// The host's installation and spool folders: QUORVIN_PROD_DIR and QUORVIN_SPOOL_DIR, else the
// build folder's "prod" and "spool" folders (the spool folder created when missing).
struct HostFolders {
  std::string Prod;
  std::string Spool;
};
[[nodiscard]] HostFolders ResolveFolders();

// The database to use: QUORVIN_DSN, or the checkout's private cluster (started when needed).
[[nodiscard]] std::string ResolveDsn();

// The reference host with the plug-in loaded and the facade resolved; torn down in the right
// order (module objects, then the package).
class Runtime {
 public:
  explicit Runtime(const CallFlags& flags);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  [[nodiscard]] host::THostQuorvin& Host() { return *FHost; }
  [[nodiscard]] IGerenteFinanceiro& Financeiro();
  [[nodiscard]] host::TPackageLoader& Loader() { return FLoader; }
  // Applies per-request flags over the invocation's.
  void Apply(const CallFlags& flags);

 private:
  host::TPackageLoader FLoader;
  std::unique_ptr<host::THostQuorvin> FHost;
};

}  // namespace cli
