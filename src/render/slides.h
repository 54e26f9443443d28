// Dividing a song's lines into blocks at separator lines and picking one block as a slide.
#pragma once

#include <string>
#include <vector>

namespace psalmora {

struct Slide {
  std::vector<std::string> lines;  // the lines of the chosen block, its closing separator included
  int blockCount = 1;              // number of blocks of the whole song
};

// Every empty line turned into the separator "-".
void EmptyLinesToSeparators(std::vector<std::string>& lines);

// Block `number` (1-based) of allLines, after empty lines have become separators. A number past the last
// block gives no lines.
Slide ChooseSlide(std::vector<std::string> allLines, int number);

}  // namespace psalmora
