// Windows-1252 <-> UTF-8 with numeric character references for what Windows-1252 cannot hold.
#include "core/text_encoding.h"

#include <array>
#include <cstdint>
#include <optional>

namespace psalmora {
namespace {

// Code points of the bytes 0x80-0x9F; undefined bytes map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> CodePointToByte(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}


// Decodes one UTF-8 sequence at text[pos]; returns the code point and its length, or nothing when the
// bytes there are not valid UTF-8.
std::optional<std::pair<char32_t, std::size_t>> DecodeUtf8(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  char32_t cp = 0;
  if (lead < 0x80) return std::pair<char32_t, std::size_t>{lead, 1};
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (pos + length > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return std::pair<char32_t, std::size_t>{cp, length};
}

// Reads "&#NNN;" or "&#xHHH;" at text[pos] for a character outside Windows-1252; returns the code
// point and the reference's length. References to characters Windows-1252 holds are left as text,
// because this program never writes them.
std::optional<std::pair<char32_t, std::size_t>> ReadCharacterReference(std::string_view text, std::size_t pos) {
  if (pos + 3 >= text.size() || text[pos] != '&' || text[pos + 1] != '#') return std::nullopt;
  std::size_t i = pos + 2;
  const bool hex = text[i] == 'x' || text[i] == 'X';
  if (hex) ++i;
  const std::size_t digitsStart = i;
  std::uint32_t value = 0;
  while (i < text.size() && i - digitsStart < 8) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    ++i;
  }
  if (i == digitsStart || i >= text.size() || text[i] != ';') return std::nullopt;
  const auto cp = static_cast<char32_t>(value);
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || CodePointToByte(cp)) return std::nullopt;
  return std::pair<char32_t, std::size_t>{cp, i + 1 - pos};
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const auto decoded = DecodeUtf8(bytes, pos);
    if (!decoded) return false;
    pos += decoded->second;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[pos]);
    if (byte == '&') {
      if (const auto reference = ReadCharacterReference(bytes, pos)) {
        AppendUtf8(out, reference->first);
        pos += reference->second;
        continue;
      }
    }
    if (byte < 0x80) out += static_cast<char>(byte);
    else AppendUtf8(out, ByteToCodePoint(byte));
    ++pos;
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto decoded = DecodeUtf8(utf8, pos);
    if (!decoded) {
      out += utf8[pos];  // not UTF-8: keep the byte as it is
      ++pos;
      continue;
    }
    const auto [cp, length] = *decoded;
    if (const auto byte = CodePointToByte(cp)) {
      out += static_cast<char>(*byte);
    } else {
      out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
    }
    pos += length;
  }
  return out;
}

}  // namespace psalmora
