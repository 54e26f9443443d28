#include "transfer/libreoffice_show_profile.h"

#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
    "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
constexpr std::string_view kTail = "</oor:items>\n";

struct Item {
  std::string path;
  std::string name;
  std::string value;
};

std::string ItemLine(const Item& item) {
  return "<item oor:path=\"" + item.path + "\"><prop oor:name=\"" + item.name + "\" oor:op=\"fuse\"><value>" +
         item.value + "</value></prop></item>\n";
}

bool SetsItem(std::string_view line, const Item& item) {
  return line.find("oor:path=\"" + item.path + "\"") != std::string_view::npos &&
         line.find("oor:name=\"" + item.name + "\"") != std::string_view::npos;
}

}  // namespace

std::string ShowProfileSettings(std::string_view existing, int screen) {
  const std::vector<Item> items = {
      {"/org.openoffice.Office.Impress/MultiPaneGUI/SlideShow", "Display", std::to_string(screen < 0 ? 0 : screen)},
      {"/org.openoffice.Office.Impress/Misc/Start", "EnablePresenterScreen", "false"},
      {"/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false"},
      {"/org.openoffice.Office.Common/Misc", "FirstRun", "false"},
  };
  // LibreOffice writes one item per line; keep every line that sets something else.
  std::string kept;
  const std::size_t open = existing.find("<oor:items");
  const std::size_t openEnd = open == std::string_view::npos ? open : existing.find('\n', open);
  const std::size_t close = existing.rfind("</oor:items>");
  if (openEnd != std::string_view::npos && close != std::string_view::npos && close > openEnd) {
    std::string_view body = existing.substr(openEnd + 1, close - openEnd - 1);
    while (!body.empty()) {
      const std::size_t end = body.find('\n');
      const std::string_view line = body.substr(0, end);
      body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
      bool ours = false;
      for (const Item& item : items) ours = ours || SetsItem(line, item);
      if (!ours && !line.empty()) (kept += line) += '\n';
    }
  }
  std::string out(kHead);
  out += kept;
  for (const Item& item : items) out += ItemLine(item);
  out += kTail;
  return out;
}

bool PrepareShowProfile(const std::filesystem::path& profileFolder, int screen) {
  const std::filesystem::path file = profileFolder / "user" / "registrymodifications.xcu";
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return false;
  const std::optional<std::string> existing = ReadWholeFile(file);
  return static_cast<bool>(WriteFileAtomically(file, ShowProfileSettings(existing.value_or(""), screen)));
}

std::filesystem::path DefaultShowProfileFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path base;
  if (cache && *cache == '/') {
    base = cache;
  } else {
    base = std::filesystem::path(home && *home ? home : "/tmp") / ".cache";
  }
  return base / "psalmora" / "libreoffice-show";
}

}  // namespace psalmora
