// The raw query of a service request: pairs split at "&" and the first "=", each value decoded the way
// the client encodes it ("\'" back to "'" first, then the percent escapes; "+" is a blank as in any
// form query). Decoded text is UTF-8; a value that is not (an old client's Windows-1252 bytes) is
// converted, so the store and the replies only ever hold UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace psalmora::server {

// One decoded value; nullopt when a "%" is not followed by two hex digits.
std::optional<std::string> DecodeQueryValue(std::string_view raw);

class Query {
 public:
  // Limits of one query, so a hostile request cannot make the server hold or decode much.
  static constexpr std::size_t kMaxFields = 64;

  // nullopt with a German reason in error when the query cannot be read.
  static std::optional<Query> Parse(std::string_view raw, std::string& error);

  // The value of the first pair with this key; "" when the key is missing.
  const std::string& Value(std::string_view key) const;
  const std::string* Find(std::string_view key) const;
  bool Has(std::string_view key) const { return Find(key) != nullptr; }

  const std::vector<std::pair<std::string, std::string>>& fields() const { return fields_; }

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace psalmora::server
