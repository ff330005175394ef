#pragma once

#include <cstddef>
#include <string>
#include <vector>

// An ordered list of lines: SQL built line by line, validation messages.
class TStringList {
 public:
  void Add(std::string line) { FLines.push_back(std::move(line)); }
  void Clear() noexcept { FLines.clear(); }
  [[nodiscard]] std::size_t Count() const noexcept { return FLines.size(); }
  [[nodiscard]] bool IsEmpty() const noexcept { return FLines.empty(); }
  [[nodiscard]] const std::string& operator[](std::size_t index) const { return FLines.at(index); }
  [[nodiscard]] const std::vector<std::string>& Lines() const noexcept { return FLines; }
  // The lines joined with a line break, so a "--" comment line never swallows the next line.
  [[nodiscard]] std::string Text() const;
  void SetText(const std::string& text);

 private:
  std::vector<std::string> FLines;
};
