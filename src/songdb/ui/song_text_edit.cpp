// The marker colouring runs as a syntax highlighter, so it covers every line of a loaded text and every
// way a line can change (typing, paste, undo) without touching the text's own formatting.
#include "songdb/ui/song_text_edit.h"

#include <QFontDatabase>
#include <QKeyEvent>

#include "core/text_lines.h"
#include "core/ui/ui_text.h"

namespace psalmora {

QFont SongTextFont(int pointSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                    QStringLiteral("monospace")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(pointSize);
  return font;
}

std::optional<QTextCharFormat> MarkerFormat(QChar first) {
  const bool separator = first == QChar('-');
  if (!separator && first != QChar('#') && first != QChar(';') && first != QChar('>')) return std::nullopt;
  QTextCharFormat format;
  format.setFont(SongTextFont(separator ? 12 : 10));
  format.setFontWeight(separator ? QFont::Bold : QFont::Normal);
  format.setForeground(QColor(0, 0, 255));
  format.setBackground(QColor(255, 255, 255));
  return format;
}

SongTextHighlighter::SongTextHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void SongTextHighlighter::highlightBlock(const QString& text) {
  if (text.isEmpty()) return;
  if (const std::optional<QTextCharFormat> format = MarkerFormat(text.front())) setFormat(0, 1, *format);
}

SongTextEdit::SongTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setFont(SongTextFont(10));
  // Chord lines line up with their text by column, so a line is never wrapped.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  new SongTextHighlighter(document());
}

std::string SongTextEdit::SongText() const {
  QString text = toPlainText();
  text.replace(QChar(0x2029), QChar('\n'));
  return ToCp1252(text.replace(QChar('\n'), QStringLiteral("\r\n")));
}

void SongTextEdit::SetSongText(std::string_view bytes) {
  QStringList lines;
  for (const std::string& line : SplitLines(bytes)) lines << FromCp1252(line);
  setPlainText(lines.join(QChar('\n')));
}

void SongTextEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) emit tabPressed();
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace psalmora
