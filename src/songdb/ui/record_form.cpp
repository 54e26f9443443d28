// Building the form rows by field kind and reading them back. Rows without an element of their own
// ("no") keep their value untouched, so a save never loses a field the form does not show.
#include "songdb/ui/record_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "core/atomic_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/ui_text.h"
#include "render/style_spec.h"
#include "songdb/timestamp.h"

namespace psalmora {
namespace {

constexpr char kOrderSeparator = '\x81';

// A line break cannot live inside a record field or a layout line: it is stored as one blank.
std::string OneLine(const QString& text) {
  QString line = text;
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  line.replace(QChar('\n'), QChar(' '));
  line.replace(QChar('\r'), QChar(' '));
  line.replace(QChar(0x2028), QChar(' '));
  line.replace(QChar(0x2029), QChar(' '));
  return ToCp1252(line);
}

// Room for text in a line edit, never narrower than the documented width.
int WidthFor(const QWidget* widget, int documented, const QString& sample) {
  const int needed = QFontMetrics(widget->font()).horizontalAdvance(sample) + 18;
  return std::max(documented, needed);
}

QColor OutlineQColor(std::string_view colourText) {
  const unsigned long value = static_cast<unsigned long>(LeadingNumber(colourText)) & 0xFFFFFFul;
  return QColor(QString::fromStdString(OutlineHexColour(value)));
}

void PaintSwatch(QLabel* swatch, std::string_view colourText) {
  swatch->setStyleSheet(
      QStringLiteral("background-color: %1; border: 1px solid palette(dark);").arg(OutlineQColor(colourText).name()));
}

}  // namespace

std::vector<std::string> RecordValues(std::string_view record, std::size_t count) {
  std::vector<std::string> values;
  values.reserve(count);
  for (std::size_t i = 1; i <= count; ++i) values.emplace_back(RecordField(record, static_cast<int>(i)));
  return values;
}

std::vector<std::string> LoadPickList(const std::filesystem::path& programFolder, std::string_view index) {
  std::vector<std::string> entries;
  const std::optional<std::string> bytes =
      ReadWholeFile(programFolder / "config" / ("pick-" + std::string(index) + ".dat"));
  if (!bytes) return entries;
  for (const std::string& line : SplitLines(*bytes)) entries.emplace_back(RecordField(line, 2));
  return entries;
}

QString SongOrderText(std::string_view value) {
  QStringList lines;
  for (const std::string& part : SplitAt(value, kOrderSeparator)) lines << FromCp1252(part);
  return lines.join(QChar('\n'));
}

std::string SongOrderValue(const QString& editorText) {
  QString text = editorText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  std::string value;
  const QStringList lines = text.split(QChar('\n'));
  for (int i = 0; i < lines.size(); ++i) {
    if (i > 0) value.push_back(kOrderSeparator);
    value += ToCp1252(lines[i]);
  }
  return value;
}

RecordForm::RecordForm(std::vector<std::string> schema, RecordFormContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(0, 0, 0, 0);
  grid_->setHorizontalSpacing(10);
  grid_->setVerticalSpacing(4);
  grid_->setColumnStretch(1, 1);
  rows_.resize(schema.size());
  for (std::size_t i = 0; i < schema.size(); ++i) {
    rows_[i].schemaRow = std::move(schema[i]);
    rows_[i].kind = KindOf(rows_[i].schemaRow);
    BuildRow(static_cast<int>(i));
  }
  grid_->setRowStretch(gridRow_, 1);
}

QString RecordForm::Caption(std::string_view cp1252Key) const {
  return FromCp1252(context_.language->Translate(cp1252Key));
}

int RecordForm::RowOfLabel(std::string_view label) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (SchemaLabel(rows_[i].schemaRow) == label) return static_cast<int>(i);
  }
  return -1;
}

void RecordForm::AddLabelled(FormRow& row, QWidget* input, int width) {
  row.label = new QLabel(Caption(SchemaLabel(row.schemaRow)), this);
  row.label->setBuddy(input);
  // A label sits beside a one-line input and at the first line of a multi-line one.
  const bool multiLine = qobject_cast<QPlainTextEdit*>(input) != nullptr;
  if (multiLine) row.label->setContentsMargins(0, 4, 0, 0);
  grid_->addWidget(row.label, gridRow_, 0, Qt::AlignLeft | (multiLine ? Qt::AlignTop : Qt::AlignVCenter));
  // Narrow inputs (numbers, ids) keep their size; text inputs take the form's width but never less
  // than documented.
  if (width < 200) {
    input->setFixedWidth(width);
    grid_->addWidget(input, gridRow_, 1, 1, 2, Qt::AlignLeft);
  } else {
    input->setMinimumWidth(width);
    grid_->addWidget(input, gridRow_, 1, 1, 2);
  }
  ++gridRow_;
}

void RecordForm::BuildRow(int position) {
  FormRow& row = rows_[static_cast<std::size_t>(position)];
  const int width = FieldWidth(row.schemaRow);
  switch (row.kind) {
    case FieldKind::Fix:
      row.line = new QLineEdit(this);
      row.line->setReadOnly(true);
      AddLabelled(row, row.line, WidthFor(row.line, 100, QStringLiteral("00.00.0000-00:00")));
      break;
    case FieldKind::Numeric:
      row.line = new QLineEdit(this);
      row.line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), row.line));
      AddLabelled(row, row.line, WidthFor(row.line, width, QStringLiteral("0000")));
      break;
    case FieldKind::Feld:
      row.line = new QLineEdit(this);
      AddLabelled(row, row.line, width);
      break;
    case FieldKind::Feld2:
      row.multi = new QPlainTextEdit(this);
      row.multi->setFixedHeight(45);
      AddLabelled(row, row.multi, width);
      break;
    case FieldKind::Text:
      row.multi = new QPlainTextEdit(this);
      row.multi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      row.multi->setFixedHeight(std::max(55, QFontMetrics(row.multi->font()).lineSpacing() * 3 + 12));
      AddLabelled(row, row.multi, width);
      break;
    case FieldKind::Pick: {
      row.pick = new QComboBox(this);
      for (const std::string& entry : LoadPickList(context_.programFolder, PartAt(row.schemaRow, 1)))
        row.pick->addItem(FromCp1252(entry));
      row.pick->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      row.pick->setMinimumWidth(100);
      AddLabelled(row, row.pick, 100);
      break;
    }
    case FieldKind::Bild:
      BuildPicture(row, position);
      break;
    case FieldKind::Ablauf:
      // One editor for the whole song order, placed by the window beside the form.
      row.multi = new QPlainTextEdit(this);
      row.multi->setLineWrapMode(QPlainTextEdit::NoWrap);
      orderEditor_ = row.multi;
      break;
    case FieldKind::Format:
      BuildFormat(row, position);
      break;
    case FieldKind::Outline:
      BuildOutline(row, position);
      break;
    case FieldKind::No:
      break;
    case FieldKind::Unknown:
      row.label = new QLabel(Caption(SchemaLabel(row.schemaRow)), this);
      grid_->addWidget(row.label, gridRow_++, 0);
      break;
  }
}

void RecordForm::BuildPicture(FormRow& row, int position) {
  row.line = new QLineEdit(this);
  row.pictureButton = new QToolButton(this);
  row.pictureButton->setIcon(
      QIcon::fromTheme(QStringLiteral("document-open-folder"), style()->standardIcon(QStyle::SP_DirOpenIcon)));
  row.pictureButton->setToolTip(Tr("Wähle dein Hintergrundbild...", *context_.language));
  row.pictureButton->setEnabled(context_.dialogs != nullptr);
  connect(row.pictureButton, &QToolButton::clicked, this, [this, position] { ChoosePicture(position); });
  row.label = new QLabel(Caption(SchemaLabel(row.schemaRow)), this);
  row.label->setBuddy(row.line);
  row.line->setMinimumWidth(230);
  grid_->addWidget(row.label, gridRow_, 0);
  grid_->addWidget(row.line, gridRow_, 1);
  grid_->addWidget(row.pictureButton, gridRow_, 2);
  ++gridRow_;
}

void RecordForm::BuildFormat(FormRow& row, int position) {
  if (formatStrip_ == nullptr) {
    auto* label = new QLabel(Tr("Formatierung Textteile", *context_.language), this);
    formatStrip_ = new QHBoxLayout;
    formatStrip_->setSpacing(12);
    formatStrip_->addStretch(1);
    grid_->addWidget(label, gridRow_, 0);
    grid_->addLayout(formatStrip_, gridRow_, 1, 1, 2);
    ++gridRow_;
  }
  row.check = new QCheckBox(this);
  row.check->setToolTip(Caption(SchemaLabel(row.schemaRow)));
  row.button = new QPushButton(Caption(SchemaLabel(row.schemaRow)), this);
  connect(row.check, &QCheckBox::toggled, this, [this, position](bool on) {
    FormRow& changed = rows_[static_cast<std::size_t>(position)];
    changed.kept = SetStyleShownFlag(changed.kept, on);
  });
  connect(row.button, &QPushButton::clicked, this, [this, position] { emit styleButtonClicked(position); });
  auto* pair = new QHBoxLayout;
  pair->setSpacing(2);
  pair->addWidget(row.check);
  pair->addWidget(row.button);
  formatStrip_->insertLayout(formatStrip_->count() - 1, pair);
}

void RecordForm::BuildOutline(FormRow& row, int position) {
  row.label = new QLabel(Caption(SchemaLabel(row.schemaRow)), this);
  row.check = new QCheckBox(this);
  row.swatch = new QLabel(this);
  row.swatch->setFixedSize(40, 20);
  row.button = new QPushButton(Tr("farbe", *context_.language), this);
  connect(row.button, &QPushButton::clicked, this, [this, position] { emit outlineColourClicked(position); });
  auto* strip = new QHBoxLayout;
  strip->addWidget(row.check);
  strip->addWidget(row.swatch);
  strip->addWidget(row.button);
  strip->addStretch(1);
  grid_->addWidget(row.label, gridRow_, 0);
  grid_->addLayout(strip, gridRow_, 1, 1, 2);
  ++gridRow_;
}

void RecordForm::ChoosePicture(int position) {
  FormRow& row = rows_[static_cast<std::size_t>(position)];
  if (context_.dialogs == nullptr) return;
  const QString start = context_.lastPicturePath ? FromCp1252(*context_.lastPicturePath) : QString();
  const QString chosen = context_.dialogs->OpenFile(window(), Tr("Wähle dein Hintergrundbild...", *context_.language),
                                                    start, Tr("Alle", *context_.language) + QStringLiteral(" (*)"));
  // A cancelled chooser leaves the path that was there.
  if (chosen.isEmpty()) return;
  const QString path = QDir::toNativeSeparators(chosen);
  row.line->setText(path);
  if (context_.lastPicturePath) *context_.lastPicturePath = ToCp1252(path);
}

void RecordForm::Fill(const std::vector<std::string>& values) {
  for (std::size_t i = 0; i < rows_.size(); ++i) ShowValue(rows_[i], i < values.size() ? values[i] : std::string());
}

void RecordForm::ShowValue(FormRow& row, const std::string& value) {
  switch (row.kind) {
    case FieldKind::Fix:
      if (SchemaParameter(row.schemaRow) == "datum" && !value.empty()) {
        row.line->setText(FromCp1252(FormatTimestamp(LeadingNumber(value))));
      } else {
        row.line->setText(FromCp1252(value));
      }
      break;
    case FieldKind::Numeric:
    case FieldKind::Feld:
    case FieldKind::Bild:
      row.line->setText(FromCp1252(value));
      break;
    case FieldKind::Feld2:
    case FieldKind::Text:
      row.multi->setPlainText(FromCp1252(value));
      break;
    case FieldKind::Ablauf:
      row.multi->setPlainText(SongOrderText(value));
      break;
    case FieldKind::Pick: {
      const long long position = LeadingNumber(value);
      row.pick->setCurrentIndex(position >= 0 && position < row.pick->count() ? static_cast<int>(position) : -1);
      break;
    }
    case FieldKind::Format: {
      row.kept = value;
      const QSignalBlocker blocker(row.check);
      row.check->setChecked(ParseStyleSpec(value).IsShown());
      break;
    }
    case FieldKind::Outline: {
      const std::size_t dash = value.find('-');
      row.kept = dash == std::string::npos ? std::string() : value.substr(dash + 1);
      row.check->setChecked(LeadingNumber(std::string_view(value).substr(0, dash)) != 0);
      PaintSwatch(row.swatch, row.kept);
      break;
    }
    case FieldKind::No:
    case FieldKind::Unknown:
      row.kept = value;
      break;
  }
}

std::vector<std::string> RecordForm::Values() const {
  std::vector<std::string> values;
  values.reserve(rows_.size());
  for (const FormRow& row : rows_) values.push_back(ReadValue(row));
  return values;
}

std::string RecordForm::ReadValue(const FormRow& row) const {
  switch (row.kind) {
    case FieldKind::Fix:
    case FieldKind::Numeric:
    case FieldKind::Feld:
    case FieldKind::Bild:
      // A pasted or dropped text can bring line breaks even into a one-line box; stored as they are they
      // would shift every later line of a layout file.
      return OneLine(row.line->text());
    case FieldKind::Feld2:
    case FieldKind::Text:
      return OneLine(row.multi->toPlainText());
    case FieldKind::Ablauf:
      return SongOrderValue(row.multi->toPlainText());
    case FieldKind::Pick:
      return std::to_string(row.pick->currentIndex());
    case FieldKind::Outline:
      return std::string(row.check->isChecked() ? "1" : "0") + "-" + row.kept;
    case FieldKind::Format:
    case FieldKind::No:
    case FieldKind::Unknown:
      return row.kept;
  }
  return row.kept;
}

void RecordForm::SetFormatSpec(int row, const std::string& spec) {
  FormRow& target = rows_.at(static_cast<std::size_t>(row));
  if (target.kind != FieldKind::Format) return;
  target.kept = spec;
  const QSignalBlocker blocker(target.check);
  target.check->setChecked(ParseStyleSpec(spec).IsShown());
}

void RecordForm::SetOutlineColour(int row, const std::string& colourText) {
  FormRow& target = rows_.at(static_cast<std::size_t>(row));
  if (target.kind != FieldKind::Outline) return;
  target.kept = colourText;
  PaintSwatch(target.swatch, colourText);
}

}  // namespace psalmora
