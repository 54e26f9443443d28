// Conversion between the Windows-1252 bytes the store keeps and the UTF-8 text of the screen.
#pragma once

#include <string>
#include <string_view>

namespace psalmora {

// Windows-1252 bytes -> UTF-8. The bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the C1 code points of the same value, so they survive a round trip. Numeric character
// references ("&#322;") written for characters outside Windows-1252 turn back into those characters.
std::string Cp1252ToUtf8(std::string_view bytes);

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 -> Windows-1252 bytes. A character Windows-1252 cannot hold is written as a numeric character
// reference ("ł" -> "&#322;") instead of being lost; invalid UTF-8 bytes are taken as Windows-1252.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace psalmora
