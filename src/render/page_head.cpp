#include "render/page_head.h"

#include "render/style_spec.h"

namespace psalmora {
namespace {

std::string GlowRule(const Outline& outline) {
  if (!outline.on) return {};
  const std::string colour = OutlineHexColour(outline.colour);
  // The filter is kept for engines that know it; the shadows give the same halo everywhere else.
  return "height: 1em; filter:Glow(color=" + colour + ", strength=5); text-shadow:0 0 2px " + colour + ", 0 0 3px " +
         colour + ", 0 0 5px " + colour + ", 0 0 5px " + colour + "; ";
}

// The picture path as it stands inside the unquoted url() of a single-quoted style attribute. A blank,
// a quote or a bracket would end the url or the attribute there (no picture, a broken body tag), so
// these few are percent-encoded; every other byte, and so every path that worked, stays as it is.
std::string CssUrlText(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || c == '\'' || c == '"' || c == '(' || c == ')') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
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
