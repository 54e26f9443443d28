// The system's file, font and colour choosers behind a small interface, so windows that ask for a picture,
// a text style or a colour can be driven by tests without a dialog blocking them.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace psalmora {

// A text style as the style dialog shows it: the font and the text colour.
struct FontChoice {
  QFont font;
  QColor colour;
};

class CommonDialogs {
 public:
  virtual ~CommonDialogs() = default;
  // An existing file to open; empty when the chooser was cancelled. start may name a folder or a file.
  virtual QString OpenFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) = 0;
  // A file name to write to; empty when cancelled. start names the proposed file. The base class has no
  // chooser and always answers "cancelled", so fakes that never save need not implement it.
  virtual QString SaveFile(QWidget* parent, const QString& title, const QString& start, const QString& filter);
  // Existing files to open, several at once, in the order chosen; empty when cancelled. The base class
  // answers "cancelled" like SaveFile.
  virtual QStringList OpenFiles(QWidget* parent, const QString& title, const QString& start, const QString& filter);
  // A font with its colour, started from initial; nothing when cancelled.
  virtual std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial, const QString& title) = 0;
  // A colour, started from initial; nothing when cancelled.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title) = 0;
};

// The real choosers: QFileDialog, a QFontDialog with a colour button beside it, QColorDialog. Each blocks
// only its parent window.
class QtCommonDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
  QString SaveFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
  QStringList OpenFiles(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
  std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial, const QString& title) override;
  std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title) override;

  // Caption of the colour button in the font dialog (already translated).
  void SetColourCaption(const QString& caption) { colourCaption_ = caption; }

 private:
  QString colourCaption_ = QStringLiteral("Farbe");
};

}  // namespace psalmora
