#include "render/slides.h"

namespace psalmora {

void EmptyLinesToSeparators(std::vector<std::string>& lines) {
  for (std::string& line : lines) {
    if (line.empty()) line.push_back('-');
  }
}

Slide ChooseSlide(std::vector<std::string> allLines, int number) {
  EmptyLinesToSeparators(allLines);
  Slide slide;
  int block = 1;
  for (std::string& line : allLines) {
    const bool separator = line.front() == '-';
    if (block == number) slide.lines.push_back(std::move(line));
    if (separator) ++block;
  }
  slide.blockCount = block;
  return slide;
}

}  // namespace psalmora
