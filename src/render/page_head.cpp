#include "render/page_head.h"

#include "core/text_encoding.h"
#include "render/style_spec.h"
#include "render/text_columns.h"

namespace psalmora {
namespace {

std::string GlowRule(const Outline& outline) {
  if (!outline.on) return {};
  const std::string colour = OutlineHexColour(outline.colour);
  // The filter is kept for engines that know it; the shadows give the same halo everywhere else.
  return "height: 1em; filter:Glow(color=" + colour + ", strength=5); text-shadow:0 0 2px " + colour + ", 0 0 3px " +
         colour + ", 0 0 5px " + colour + ", 0 0 5px " + colour + "; ";
}

// The code point of a numeric character reference ("&#41;", "&#x29;"; CharacterLength found it whole), as
// the page parser reads it: one it cannot show is U+FFFD.
unsigned long ReferenceCodePoint(std::string_view reference) {
  const bool hex = reference[2] == 'x' || reference[2] == 'X';
  const std::string_view digits = reference.substr(hex ? 3 : 2, reference.size() - (hex ? 4 : 3));
  unsigned long value = 0;
  for (const char c : digits) {
    const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    if (value > 0x10FFFF) return 0xFFFD;
  }
  if (value >= 0xD800 && value <= 0xDFFF) return 0xFFFD;
  return value;
}

void AppendPercent(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

// A byte that could end the unquoted url(), the declaration, the single-quoted style attribute or a
// style block, or start a reference or a CSS escape that would, goes in percent-encoded.
void AppendUrlByte(std::string& out, char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte <= 0x20 || byte == 0x7F || std::string_view("'\"()\\;<>&{}").find(c) != std::string_view::npos) {
    AppendPercent(out, byte);
  } else {
    out += c;
  }
}

// The picture path as it stands inside the unquoted url() of the body tag's single-quoted style
// attribute. The page parser decodes references inside the attribute before CSS sees them, so the
// store's references ("&#41;" for ")") are decoded first: an ASCII character is then treated like one
// typed as such, any other becomes its UTF-8 bytes percent-encoded (the URL the page would make of it).
// Every byte that could end the url or the attribute, "&" among them, is percent-encoded; every other
// byte, and so every path that worked, stays as it is.
std::string CssUrlText(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t pos = 0, length = 0; pos < path.size(); pos += length) {
    length = CharacterLength(path, pos);
    if (length == 1) {
      AppendUrlByte(out, path[pos]);
      continue;
    }
    const unsigned long code = ReferenceCodePoint(path.substr(pos, length));
    if (code < 0x80) {
      AppendUrlByte(out, static_cast<char>(code));
      continue;
    }
    std::string utf8;
    AppendUtf8(utf8, static_cast<char32_t>(code));
    for (const char c : utf8) AppendPercent(out, static_cast<unsigned char>(c));
  }
  return out;
}

void WriteStyleRule(std::string& out, std::string_view spec, std::string_view glow) {
  const TextStyle style = ParseStyleSpec(spec);
  out += '#';
  out += style.id;
  out += "{ ";
  out += glow;
  out += "font-family:";
  out += style.font;
  out += "; font-style:";
  out += style.italic == "-1" ? std::string_view("italic") : std::string_view(style.italic);
  out += "; font-weight:";
  out += style.weight;
  out += "; font-size:";
  out += style.size;
  out += "px; color:RGB(";
  out += style.colour;
  out += "); background-color:";
  out += style.background;
  out += '}';
}

}  // namespace

void WritePageHead(std::string& out, const Layout& layout, const PageFrame& frame) {
  out += "<head><title></title></head><body leftmargin='";
  out += frame.leftMargin;
  out += "' scroll='";
  out += frame.noScroll ? "no" : "";
  out += "' topmargin='0' id='body' style='background-image:url(";
  out += CssUrlText(frame.backgroundImage);
  out += "); background-repeat:; background-attachment:fixed; background-position:center; background-color:";
  out += layout.Line(layout_line::kBackgroundColour);
  out += frame.noScroll ? "; overflow:hidden;'>" : ";'>";
  if (!frame.styleBlock) return;
  out += "<style type='text/css'>";
  const Outline outline = layout.lines.size() >= static_cast<std::size_t>(layout_line::kOutline)
                              ? ParseOutline(layout.Line(layout_line::kOutline))
                              : Outline{};
  const std::string glow = GlowRule(outline);
  for (int line = layout_line::kChordStyle; line <= layout_line::kCommentStyle; ++line) {
    WriteStyleRule(out, layout.Line(line), glow);
  }
  out += "</style>";
}

}  // namespace psalmora
