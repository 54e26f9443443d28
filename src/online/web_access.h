// Web access of the online services: a blocking HTTP GET on libcurl, the query-value encoding and the
// reader of the key/value reply our servers put into the first line of a page.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace psalmora {

// Limits of one request. The server check before a service operation uses a short total time.
struct HttpOptions {
  std::chrono::milliseconds connectTimeout{5000};
  std::chrono::milliseconds totalTimeout{30000};
  // A longer body is a fault (or an attack); the request then fails.
  std::size_t maxBodyBytes = std::size_t{64} * 1024 * 1024;
};

// Agent name sent with every request.
inline constexpr std::string_view kHttpAgent = "Psalmora/3.12";

// The whole response body of an HTTP or HTTPS GET, never from a cache; empty on any failure (no
// connection, timeout, HTTP status 400 or above, a body over the limit). Safe to call from any thread.
// A URL too long for a request line goes as a POST of its query to the same address.
std::string HttpGetText(const std::string& url, const HttpOptions& options = {});

// The transport the service code runs on, so tests can put a fake in its place.
using HttpGet = std::function<std::string(const std::string& url, const HttpOptions& options)>;

// HttpGetText as an HttpGet that keeps one connection open across its requests (a synchronisation
// sends thousands). Each returned function owns its own connection: use it from one thread at a time.
HttpGet CurlHttpGet();

// A query value: unreserved ASCII (letters, digits, "-", ".", "_", "~") stays; the characters of the
// service's table get the table's text (the apostrophe becomes a backslash and the apostrophe); every
// other byte is taken as Windows-1252, converted to UTF-8 and percent-encoded ("%" -> "%25", a blank
// -> "%20", "é" -> "%C3%A9"). One pass, so an encoded text is never encoded again.
std::string UrlEncodeText(std::string_view text);

// The value of the last pair "key=value" in the first line of a page's source ("<!--" and "-->" are
// removed, pairs are separated by "|"); empty when the key is missing.
std::string ReadPageReply(std::string_view key, std::string_view pageSource);

}  // namespace psalmora
