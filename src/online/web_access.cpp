// HTTP GET on libcurl, the query-value encoding and the page reply reader.
#include "online/web_access.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "core/text_encoding.h"

namespace psalmora {
namespace {

// curl_global_init is not thread-safe itself; every handle is made after this ran once.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Body {
  std::string text;
  std::size_t limit = 0;
  bool overflow = false;
};

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* user) {
  Body& body = *static_cast<Body*>(user);
  const std::size_t bytes = size * count;
  if (body.text.size() + bytes > body.limit) {
    body.overflow = true;
    return 0;  // makes curl stop with a write error
  }
  body.text.append(data, bytes);
  return bytes;
}

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

CurlHandle NewHandle() {
  InitCurlOnce();
  return CurlHandle(curl_easy_init());
}

// Servers refuse request lines of more than 8 KiB (our server answers 414). A longer query, such as
// a song with a long text, goes as the body of a POST to the same address, which the server reads
// as the query.
constexpr std::size_t kLongestGetUrl = 7000;

std::string Get(CURL* handle, const std::string& url, const HttpOptions& options) {
  if (handle == nullptr) return {};
  Body body;
  body.limit = options.maxBodyBytes;
  const std::size_t question = url.find('?');
  const bool post = url.size() > kLongestGetUrl && question != std::string::npos;
  const std::string address = post ? url.substr(0, question) : url;
  const std::string query = post ? url.substr(question + 1) : std::string();
  curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
  if (post) {
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(query.size()));
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, query.c_str());
  } else {
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(handle, CURLOPT_USERAGENT, std::string(kHttpAgent).c_str());
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);  // no SIGALRM for timeouts: safe on worker threads
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(handle, CURLOPT_PROXY, "");  // a direct connection, as every caller asks for
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &AppendBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  // A reload from the server: no cached copy anywhere on the way.
  curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  if (post) {
    headers = curl_slist_append(headers, "Content-Type: text/plain; charset=utf-8");
    headers = curl_slist_append(headers, "Expect:");  // no wait for "100 Continue"
  }
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  const CURLcode result = curl_easy_perform(handle);
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, nullptr);
  curl_slist_free_all(headers);
  if (result != CURLE_OK || body.overflow || status >= 400) return {};
  return std::move(body.text);
}

// Characters the service's table names and the text it gives them; all but the apostrophe are the
// characters' UTF-8 bytes percent-encoded, which the general rule would give too.
constexpr bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

}  // namespace

std::string HttpGetText(const std::string& url, const HttpOptions& options) {
  const CurlHandle handle = NewHandle();
  return Get(handle.get(), url, options);
}

HttpGet CurlHttpGet() {
  auto handle = std::make_shared<CurlHandle>(NewHandle());
  return [handle](const std::string& url, const HttpOptions& options) { return Get(handle->get(), url, options); };
}

std::string UrlEncodeText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // The whole text at once, so a character kept as a reference ("&#322;") goes out as that character.
  const std::string utf8 = Cp1252ToUtf8(text);
  std::string encoded;
  encoded.reserve(utf8.size() * 3);
  for (const char ch : utf8) {
    const auto byte = static_cast<unsigned char>(ch);
    if (IsUnreserved(byte)) {
      encoded.push_back(ch);
    } else if (ch == '\'') {
      encoded.append("\\'");
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0x0F]);
    }
  }
  return encoded;
}

std::string ReadPageReply(std::string_view key, std::string_view pageSource) {
  std::string line(pageSource.substr(0, pageSource.find('\n')));
  for (const std::string_view marker : {std::string_view("<!--"), std::string_view("-->")}) {
    for (std::size_t at = line.find(marker); at != std::string::npos; at = line.find(marker, at)) {
      line.erase(at, marker.size());
    }
  }
  std::string value;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find('|', start);
    if (end == std::string::npos) end = line.size();
    const std::string_view pair = std::string_view(line).substr(start, end - start);
    const std::size_t equals = pair.find('=');
    const std::string_view name = pair.substr(0, equals);
    if (name == key) {
      // A value ends at the next "=".
      value = equals == std::string_view::npos ? std::string() : std::string(pair.substr(equals + 1));
      value = value.substr(0, value.find('='));
    }
    start = end + 1;
  }
  return value;
}

}  // namespace psalmora
