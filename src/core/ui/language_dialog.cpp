// LanguageDialog: the flags are the resources ":/flags/<code>.svg".
#include "core/ui/language_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/language.h"
#include "core/settings.h"
#include "core/ui/ui_text.h"

namespace psalmora {
namespace {

QLabel* FlagLabel(const QString& code) {
  auto* label = new QLabel;
  label->setFixedSize(20, 20);
  label->setAlignment(Qt::AlignCenter);
  label->setPixmap(QIcon(QStringLiteral(":/flags/%1.svg").arg(code)).pixmap(QSize(20, 14)));
  return label;
}

}  // namespace

LanguageDialog::LanguageDialog(Settings& settings, LanguageTable& language, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setWindowTitle(QStringLiteral("Sprache"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (parent) setWindowModality(Qt::WindowModal);
  resize(266, 179);

  const std::array<QString, 4> captions = {Tr("Deutsch", language), Tr("Englisch", language), Tr("Spanisch", language),
                                           Tr("Italienisch", language)};
  const std::array<QString, 4> codes = {QStringLiteral("de"), QStringLiteral("en"), QStringLiteral("es"),
                                        QStringLiteral("it")};
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  for (int i = 0; i < 4; ++i) {
    options_[i] = new QRadioButton(captions[i]);
    grid->addWidget(FlagLabel(codes[i]), i, 0);
    grid->addWidget(options_[i], i, 1);
    const int number = i + 1;
    connect(options_[i], &QRadioButton::toggled, this, [this, number](bool on) {
      if (on) settings_.sprache = number;
    });
  }
  okButton_ = new QPushButton(Tr("OK", language));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

  auto* centred = new QHBoxLayout;
  centred->addStretch(1);
  centred->addLayout(grid);
  centred->addStretch(1);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(okButton_);
  buttonRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  layout->addLayout(centred);
  layout->addStretch(1);
  layout->addLayout(buttonRow);

  if (settings_.sprache < kGerman || settings_.sprache > kItalian) settings_.sprache = kGerman;
  options_[settings_.sprache - 1]->setChecked(true);
}

void LanguageDialog::Run(Settings& settings, LanguageTable& language, QWidget* mainWindow) {
  LanguageDialog dialog(settings, language, mainWindow);
  dialog.exec();
  if (mainWindow) mainWindow->activateWindow();
}

}  // namespace psalmora
