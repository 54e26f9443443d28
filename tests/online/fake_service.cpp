#include "fake_service.h"

#include <cctype>

namespace psalmora::testing {

Query DecodeQuery(std::string_view url) {
  Query query;
  const std::size_t mark = url.find('?');
  std::string_view rest = mark == std::string_view::npos ? url : url.substr(mark + 1);
  while (!rest.empty()) {
    const std::size_t amp = rest.find('&');
    const std::string_view pair = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    const std::size_t equals = pair.find('=');
    std::string raw(pair.substr(equals == std::string_view::npos ? pair.size() : equals + 1));
    for (std::size_t at = raw.find("\\'"); at != std::string::npos; at = raw.find("\\'", at)) raw.erase(at, 1);
    std::string value;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '%' && i + 2 < raw.size() && std::isxdigit(static_cast<unsigned char>(raw[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(raw[i + 2]))) {
        value.push_back(static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16)));
        i += 2;
      } else {
        value.push_back(raw[i]);
      }
    }
    query[std::string(pair.substr(0, equals))] = value;
  }
  return query;
}

FakeService::FakeService() {
  handlers["ping"] = [](const Query&) { return std::string("ok|psalmora-server"); };
  handlers["neuersong"] = [this](const Query&) { return "ok|g" + std::to_string(++next_); };
  handlers["neueplaylist"] = [this](const Query&) { return "ok|p" + std::to_string(++next_); };
  handlers["abgleich"] = [](const Query& q) {
    return q.at("part") == "fertig" ? std::string("[zeile][zeile][zeile]") : std::string("ok");
  };
  handlers["abgleichplaylist"] = handlers["abgleich"];
}

HttpGet FakeService::Transport() {
  return [this](const std::string& url, const HttpOptions&) {
    urls.push_back(url);
    Query query = DecodeQuery(url);
    requests.push_back(query);
    const auto handler = handlers.find(query["aktion"]);
    return handler == handlers.end() ? std::string("ok") : handler->second(query);
  };
}

std::vector<Query> FakeService::Requests(std::string_view action) const {
  std::vector<Query> found;
  for (const Query& query : requests) {
    const auto it = query.find("aktion");
    if (it != query.end() && it->second == action) found.push_back(query);
  }
  return found;
}

}  // namespace psalmora::testing
