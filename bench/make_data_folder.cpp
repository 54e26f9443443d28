// Writes a generated data folder for measuring by hand: make_data_folder FOLDER [SONGS] [--no-texts].
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/data_folder_generator.h"

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_data_folder FOLDER [SONGS] [--no-texts]\n");
    return 2;
  }
  const int songs = argc > 2 && argv[2][0] != '-' ? std::atoi(argv[2]) : 20000;
  const bool withTexts = std::string(argv[argc - 1]) != "--no-texts";
  const auto generated = psalmora::bench::GenerateDataFolder(argv[1], songs, 20261207u, withTexts);
  std::printf("%s: %zu songs\n", generated.folder.c_str(), generated.records.size());
  return 0;
}
