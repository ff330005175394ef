#include "support/StatementFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

constexpr std::string_view kHeader = "# statement: ";
constexpr std::string_view kEnd = "----";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The statement line a block line stands for, or nothing (and `error` set) when it is malformed.
std::optional<std::string> DecodeLine(const std::string& line, std::string& error) {
  if (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
    error = "raw blank, tab or carriage return at the end of a statement line (write it as \\s, \\t or \\r)";
    return std::nullopt;
  }
  std::string decoded;
  for (std::size_t pos = 0; pos < line.size(); ++pos) {
    if (line[pos] != '\\') {
      decoded += line[pos];
      continue;
    }
    const char escape = pos + 1 < line.size() ? line[++pos] : '\0';
    switch (escape) {
      case 's':
        decoded += ' ';
        break;
      case 'r':
        decoded += '\r';
        break;
      case 't':
        decoded += '\t';
        break;
      case '\\':
        decoded += '\\';
        break;
      case '-':
        decoded += '-';
        break;
      default:
        error = "unknown escape at column " + std::to_string(pos) + " (known: \\s \\r \\t \\\\ \\-)";
        return std::nullopt;
    }
  }
  return decoded;
}

std::string Where(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}

}  // namespace

std::string StatementBlock::Text() const {
  std::string text;
  for (std::size_t index = 0; index < Lines.size(); ++index) {
    if (index > 0) text += '\n';
    text += Lines[index];
  }
  return text;
}

StatementFile ParseStatementFile(const std::string& text, const std::string& file) {
  StatementFile parsed;
  std::optional<StatementBlock> open;
  bool broken = false;  // the open block had a bad line: it is reported, not kept
  const std::vector<std::string> lines = SplitLines(text);
  // A file ending in a line break leaves one empty piece after it, which is no line of the file.
  const std::size_t count = (!lines.empty() && lines.back().empty()) ? lines.size() - 1 : lines.size();
  for (std::size_t index = 0; index < count; ++index) {
    const std::string& line = lines[index];
    const int number = static_cast<int>(index) + 1;
    const bool header = line.starts_with(kHeader);
    if (open && header) {
      parsed.Errors.push_back(Where(file, number) + "\"" + open->Name + "\" (line " + std::to_string(open->Line) +
                              ") is not closed with \"----\" before the next statement");
      open.reset();
    }
    if (header) {
      std::string name = line.substr(kHeader.size());
      if (name.empty() || name.back() == ' ' || name.back() == '\r') {
        parsed.Errors.push_back(Where(file, number) + "a statement needs a name with no trailing blank");
        continue;
      }
      open = StatementBlock{.Name = std::move(name), .File = file, .Line = number, .Lines = {}};
      broken = false;
      continue;
    }
    if (open && line == kEnd) {
      if (!broken) parsed.Blocks.push_back(std::move(*open));
      open.reset();
      continue;
    }
    if (open) {
      std::string error;
      if (std::optional<std::string> decoded = DecodeLine(line, error)) {
        open->Lines.push_back(std::move(*decoded));
      } else {
        parsed.Errors.push_back(Where(file, number) + error);
        broken = true;
      }
      continue;
    }
    if (!line.empty() && !line.starts_with('#')) {
      parsed.Errors.push_back(Where(file, number) + "text outside a statement block");
    }
  }
  if (open) {
    parsed.Errors.push_back(Where(file, open->Line) + "\"" + open->Name + "\" is not closed with \"----\"");
  }
  return parsed;
}

StatementFile ReadStatementFiles(const std::string& folder) {
  StatementFile all;
  std::error_code error;
  std::vector<std::filesystem::path> paths;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file() && it->path().filename().string().ends_with(".sql.test")) paths.push_back(it->path());
  }
  if (error) all.Errors.push_back(folder + ": " + error.message());
  std::sort(paths.begin(), paths.end());
  for (const std::filesystem::path& path : paths) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      all.Errors.push_back(path.string() + ": cannot be read");
      continue;
    }
    std::ostringstream text;
    text << in.rdbuf();
    StatementFile parsed = ParseStatementFile(text.str(), path.string());
    std::move(parsed.Blocks.begin(), parsed.Blocks.end(), std::back_inserter(all.Blocks));
    std::move(parsed.Errors.begin(), parsed.Errors.end(), std::back_inserter(all.Errors));
  }
  return all;
}

std::string EncodeStatementLine(const std::string& line) {
  if (line == kEnd) return "\\" + line;
  std::string encoded;
  for (std::size_t pos = 0; pos < line.size(); ++pos) {
    switch (line[pos]) {
      case '\\':
        encoded += "\\\\";
        break;
      case '\r':
        encoded += "\\r";
        break;
      case '\t':
        encoded += "\\t";
        break;
      case ' ':
        encoded += pos + 1 == line.size() ? "\\s" : " ";
        break;
      default:
        encoded += line[pos];
    }
  }
  return encoded;
}

std::string EncodeStatementBlock(const std::string& name, const std::string& text) {
  std::string block = std::string(kHeader) + name + "\n";
  if (!text.empty()) {
    for (const std::string& line : SplitLines(text)) block += EncodeStatementLine(line) + "\n";
  }
  return block + std::string(kEnd) + "\n";
}

std::optional<StatementDifference> FirstDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return std::nullopt;
  const std::vector<std::string> want = SplitLines(expected);
  const std::vector<std::string> got = SplitLines(actual);
  std::size_t row = 0;
  while (row < want.size() && row < got.size() && want[row] == got[row]) ++row;
  std::size_t column = 0;
  if (row < want.size() && row < got.size()) {
    const std::string& a = want[row];
    const std::string& b = got[row];
    while (column < a.size() && column < b.size() && a[column] == b[column]) ++column;
  }
  const auto shown = [row](const std::vector<std::string>& lines) {
    return row < lines.size() ? EncodeStatementLine(lines[row]) : std::string("(no such line)");
  };
  return StatementDifference{.Line = row + 1, .Column = column + 1, .Expected = shown(want), .Actual = shown(got)};
}

}  // namespace testsupport
