#pragma once

#include <string>
#include <vector>

namespace host {

// Loads a run-time package (a shared library exporting GetPackageInfoTable, Initialize and
// Finalize), runs its initialization, and on unload its finalization, removes what it registered
// in the container, and unmaps it. Objects created from the package must be gone before Unload.
class TPackageLoader {
 public:
  TPackageLoader() = default;
  ~TPackageLoader();
  TPackageLoader(const TPackageLoader&) = delete;
  TPackageLoader& operator=(const TPackageLoader&) = delete;

  // Throws Exception with the loader's reason when the file is missing or lacks an entry point.
  void Load(const std::string& path);
  void Unload() noexcept;
  [[nodiscard]] bool Loaded() const noexcept { return FHandle != nullptr; }
  [[nodiscard]] const std::string& Path() const noexcept { return FPath; }
  // Names of the package's units, in table order.
  [[nodiscard]] std::vector<std::string> Units() const;

 private:
  void* FHandle = nullptr;
  std::string FPath;
  void (*FFinalize)() = nullptr;
  const void* FTable = nullptr;
};

// The plug-in next to the running executable (or QUORVIN_PLUGIN when set).
[[nodiscard]] std::string DefaultPluginPath();

}  // namespace host
