// The font chooser embeds QFontDialog (which has no colour of its own) next to a colour button, giving
// the font-with-colour dialog the layouts' text styles are made with.
#include "core/ui/common_dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace psalmora {
namespace {

void PaintSwatch(QLabel* swatch, const QColor& colour) {
  swatch->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid palette(dark);").arg(colour.name()));
}

}  // namespace

QString CommonDialogs::SaveFile(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QStringList CommonDialogs::OpenFiles(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QStringList QtCommonDialogs::OpenFiles(QWidget* parent, const QString& title, const QString& start,
                                       const QString& filter) {
  return QFileDialog::getOpenFileNames(parent, title, start, filter);
}

QString QtCommonDialogs::SaveFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, start, filter);
}

QString QtCommonDialogs::OpenFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, start, filter);
}

std::optional<FontChoice> QtCommonDialogs::ChooseFont(QWidget* parent, const FontChoice& initial,
                                                      const QString& title) {
  QDialog dialog(parent);
  dialog.setWindowTitle(title);
  if (parent) dialog.setWindowModality(Qt::WindowModal);

  auto* fonts = new QFontDialog(initial.font, &dialog);
  fonts->setOptions(QFontDialog::NoButtons);
  fonts->setWindowFlags(Qt::Widget);

  QColor colour = initial.colour.isValid() ? initial.colour : QColor(Qt::black);
  auto* swatch = new QLabel;
  swatch->setFixedSize(40, 20);
  PaintSwatch(swatch, colour);
  auto* colourButton = new QPushButton(colourCaption_ + QStringLiteral("..."));
  QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
    const QColor chosen = QColorDialog::getColor(colour, &dialog, colourCaption_);
    if (!chosen.isValid()) return;
    colour = chosen;
    PaintSwatch(swatch, colour);
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(swatch);
  bottom->addWidget(colourButton);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(fonts, 1);
  layout->addLayout(bottom);

  // The family the dialog settled on for the initial font (which may be a list or a name not installed).
  const QString familyAtStart = fonts->currentFont().family();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QFont chosen = fonts->currentFont();
  // An untouched family comes back as it was given, so a family list such as "Arial, Helvetica,
  // sans-serif" is not replaced by the one font this machine has for it.
  if (chosen.family() == familyAtStart) chosen.setFamilies(initial.font.families());
  return FontChoice{chosen, colour};
}

std::optional<QColor> QtCommonDialogs::ChooseColour(QWidget* parent, const QColor& initial, const QString& title) {
  const QColor chosen = QColorDialog::getColor(initial, parent, title);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace psalmora
