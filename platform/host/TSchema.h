#pragma once

#include <string>
#include <vector>

class TOraSession;

namespace host {

// The database schema: platform/schema/*.sql applied in name order (each file idempotent), and the
// demo rows of platform/schema/seed/*.sql.
class TSchema {
 public:
  explicit TSchema(std::string directory = DefaultDirectory());

  [[nodiscard]] static std::string DefaultDirectory();
  [[nodiscard]] std::vector<std::string> Files() const;
  [[nodiscard]] std::vector<std::string> SeedFiles() const;

  // Applies every file, each in its own transaction. Returns the files applied.
  std::vector<std::string> Init(TOraSession& session) const;
  // Drops everything the schema created, then Init.
  std::vector<std::string> Reset(TOraSession& session) const;
  std::vector<std::string> Seed(TOraSession& session) const;

 private:
  std::string FDirectory;
};

}  // namespace host
