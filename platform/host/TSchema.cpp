#include "host/TSchema.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "oradb/TOraSession.h"
#include "rtl/Exception.h"

namespace host {

namespace {

std::vector<std::string> SqlFilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  if (!std::filesystem::is_directory(folder)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".sql") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Exception("Não foi possível ler " + path + ".");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Scripts create their objects in public while orafce's functions still come before
// PostgreSQL's own (the session's path puts orafce's schema first, which would receive them).
constexpr const char* kScriptPath = "SET LOCAL search_path TO public, oracle, pg_catalog;\n";

std::vector<std::string> Apply(TOraSession& session, const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    TOraTransaction transaction(session);
    try {
      session.ExecuteScript(kScriptPath + ReadFile(file));
    } catch (const Exception& failure) {
      throw Exception(std::filesystem::path(file).filename().string() + ": " + failure.Message());
    }
    transaction.Commit();
  }
  return files;
}

}  // namespace

TSchema::TSchema(std::string directory) : FDirectory(std::move(directory)) {}

std::string TSchema::DefaultDirectory() {
  if (const char* env = std::getenv("QUORVIN_SCHEMA_DIR"); env != nullptr && *env != '\0') return env;
  return QUORVIN_SCHEMA_DIR;
}

std::vector<std::string> TSchema::Files() const {
  return SqlFilesIn(FDirectory);
}

std::vector<std::string> TSchema::SeedFiles() const {
  return SqlFilesIn(std::filesystem::path(FDirectory) / "seed");
}

std::vector<std::string> TSchema::Init(TOraSession& session) const {
  return Apply(session, Files());
}

std::vector<std::string> TSchema::Reset(TOraSession& session) const {
  {
    TOraTransaction transaction(session);
    // Every schema the scripts may have made (public, sys, the server-side packages) goes.
    session.ExecuteScript(
        "DROP EXTENSION IF EXISTS orafce CASCADE;\n"
        "DO $reset$ DECLARE s record; BEGIN\n"
        "  FOR s IN SELECT nspname FROM pg_namespace\n"
        "            WHERE nspname NOT LIKE 'pg\\_%' AND nspname <> 'information_schema' LOOP\n"
        "    EXECUTE format('DROP SCHEMA %I CASCADE', s.nspname);\n"
        "  END LOOP;\n"
        "END $reset$;\n"
        "CREATE SCHEMA public;");
    transaction.Commit();
  }
  return Init(session);
}

std::vector<std::string> TSchema::Seed(TOraSession& session) const {
  return Apply(session, SeedFiles());
}

}  // namespace host
