// Decoding of the raw request query.
#include "server/query_text.h"

#include "core/text_encoding.h"

namespace psalmora::server {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> DecodeQueryValue(std::string_view raw) {
  std::string decoded;
  decoded.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    // The client writes an apostrophe as backslash + apostrophe; this comes before the percent escapes,
    // so an encoded backslash ("%5C") in front of an apostrophe stays a backslash.
    if (c == '\\' && i + 1 < raw.size() && raw[i + 1] == '\'') {
      decoded += '\'';
      ++i;
    } else if (c == '%') {
      if (i + 2 >= raw.size()) return std::nullopt;
      const int high = HexDigit(raw[i + 1]);
      const int low = HexDigit(raw[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else if (c == '+') {
      decoded += ' ';
    } else {
      decoded += c;
    }
  }
  if (!IsValidUtf8(decoded)) return Cp1252ToUtf8(decoded);
  return decoded;
}

std::optional<Query> Query::Parse(std::string_view raw, std::string& error) {
  Query query;
  std::size_t start = 0;
  while (start <= raw.size()) {
    std::size_t end = raw.find('&', start);
    if (end == std::string_view::npos) end = raw.size();
    const std::string_view pair = raw.substr(start, end - start);
    start = end + 1;
    if (pair.empty()) continue;
    if (query.fields_.size() == kMaxFields) {
      error = "Ungültige Anfrage: zu viele Felder";
      return std::nullopt;
    }
    const std::size_t equals = pair.find('=');
    const std::string_view rawKey = pair.substr(0, equals);
    const std::string_view rawValue = equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
    std::optional<std::string> key = DecodeQueryValue(rawKey);
    std::optional<std::string> value = DecodeQueryValue(rawValue);
    if (!key || !value) {
      error = "Ungültige Anfrage: fehlerhafte Kodierung";
      return std::nullopt;
    }
    query.fields_.emplace_back(std::move(*key), std::move(*value));
  }
  return query;
}

const std::string* Query::Find(std::string_view key) const {
  for (const auto& [name, value] : fields_) {
    if (name == key) return &value;
  }
  return nullptr;
}

const std::string& Query::Value(std::string_view key) const {
  static const std::string kEmpty;
  const std::string* value = Find(key);
  return value ? *value : kEmpty;
}

}  // namespace psalmora::server
