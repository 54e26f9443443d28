// The song text editor of the song editor: plain text in a fixed-width font (chords stand over their
// syllables by column), the marker character of chord, translation, comment and separator lines coloured
// (`ColourSongText`), and a signal for the TAB key, which the editor warns about.
#pragma once

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <optional>

namespace psalmora {

// The editor's font: "Courier New" at pointSize, falling back to the system's fixed-width font.
QFont SongTextFont(int pointSize);

// The format of a line's first character: ">", "#", ";" blue in the editor's font; "-" blue, bold and
// two points larger; nothing for any other character (the line keeps the editor's black text).
std::optional<QTextCharFormat> MarkerFormat(QChar first);

// Colours the marker of every line, whenever a line is shown or changed: typed, pasted or loaded.
class SongTextHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  explicit SongTextHighlighter(QTextDocument* document);

 protected:
  void highlightBlock(const QString& text) override;
};

class SongTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit SongTextEdit(QWidget* parent = nullptr);

  // The text in Windows-1252 with CR LF between lines, as a song text file holds it.
  std::string SongText() const;
  // Shows a song text file's content (any line ends); the final line end does not add an empty line.
  void SetSongText(std::string_view bytes);

 signals:
  // The TAB key was pressed; the key itself still reaches the text.
  void tabPressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace psalmora
