#include "rtl/TStringList.h"

std::string TStringList::Text() const {
  std::string text;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    if (i > 0) text += '\n';
    text += FLines[i];
  }
  return text;
}

void TStringList::SetText(const std::string& text) {
  FLines.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      if (start < text.size()) FLines.push_back(text.substr(start));
      break;
    }
    FLines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}
