#pragma once

// The module's statements, read from corpus.tsv beside this file. The unit tests translate them all;
// the integration tests have PostgreSQL parse every translation.
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace translatortest {

struct CorpusCase {
  std::string name;
  std::string text;
  std::size_t line;  // in corpus.tsv: names the test
};

inline void PrintTo(const CorpusCase& c, std::ostream* os) {
  *os << c.name;
}

inline const std::vector<CorpusCase>& Corpus() {
  static const std::vector<CorpusCase> corpus = [] {
    std::vector<CorpusCase> cases;
    std::ifstream file(std::string(QUORVIN_SOURCE_DIR) + "/tests/integration/translator/corpus.tsv");
    std::size_t number = 0;
    for (std::string line; std::getline(file, line);) {
      const std::size_t tab = line.find('\t');
      ++number;
      if (line.starts_with('#') || tab == std::string::npos) continue;
      CorpusCase& c = cases.emplace_back(CorpusCase{line.substr(0, tab), "", number});
      for (std::size_t i = tab + 1; i < line.size(); ++i) {
        const bool escape = line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'r' || line[i + 1] == 'n');
        c.text += escape ? (line[++i] == 'r' ? '\r' : '\n') : line[i];
      }
    }
    return cases;
  }();
  return corpus;
}

}  // namespace translatortest
