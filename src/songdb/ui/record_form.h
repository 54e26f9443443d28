// `RecordForm`: the generic form built from a record schema (songs, layouts). One typed row record per
// schema row keeps the row-to-field mapping; each field kind decides how its value is shown and how it
// is read back, so the values come back in row order, ready to be written as a record.
#pragma once

#include <QWidget>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "songdb/schema.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace psalmora {

class CommonDialogs;
class LanguageTable;

// What a form needs from the program: pick files, captions, the picture chooser and its last path.
struct RecordFormContext {
  std::filesystem::path programFolder;     // "config/pick-" + index + ".dat" lives below it
  LanguageTable* language = nullptr;       // required: every caption is translated
  CommonDialogs* dialogs = nullptr;        // picture chooser; nullptr disables the picture button
  std::string* lastPicturePath = nullptr;  // "pfadhgbild": start of the picture chooser, updated on a choice
};

// The widgets of one schema row. Which members are set depends on the kind; `kept` holds the value of
// rows without an editable element ("no" and unknown kinds), the style specification of a format row
// and the colour text of an outline row.
struct FormRow {
  std::string schemaRow;
  FieldKind kind = FieldKind::Unknown;
  QLabel* label = nullptr;
  QLineEdit* line = nullptr;             // fix, numeric, feld, bild
  QPlainTextEdit* multi = nullptr;       // feld2, text, ablauf
  QComboBox* pick = nullptr;             // pick
  QToolButton* pictureButton = nullptr;  // bild
  QCheckBox* check = nullptr;            // format: shown flag; outline: on flag
  QPushButton* button = nullptr;         // format: the style button; outline: "farbe"
  QLabel* swatch = nullptr;              // outline colour
  std::string kept;
};

// Field i (1-based) of a TAB record for each of count rows.
std::vector<std::string> RecordValues(std::string_view record, std::size_t count);

// The entries of a pick file: the second TAB part of every line, in file order; empty when missing.
std::vector<std::string> LoadPickList(const std::filesystem::path& programFolder, std::string_view index);

// How a song order (lines separated by 0x81) is shown, and the editor's text stored back.
QString SongOrderText(std::string_view value);
std::string SongOrderValue(const QString& editorText);

class RecordForm : public QWidget {
  Q_OBJECT

 public:
  RecordForm(std::vector<std::string> schema, RecordFormContext context, QWidget* parent = nullptr);

  // Shows value i in row i (missing values are empty).
  void Fill(const std::vector<std::string>& values);
  // Every row's value in row order, by the read-back rule of its kind (Windows-1252).
  std::vector<std::string> Values() const;

  const std::vector<FormRow>& Rows() const { return rows_; }
  // Position of the first row with this (untranslated) label, or -1.
  int RowOfLabel(std::string_view label) const;

  // The song order editor of an "ablauf" row (nullptr without one). It is not laid out in the form: the
  // window places it beside the form.
  QPlainTextEdit* SongOrderEditor() const { return orderEditor_; }

  // A format row's specification (the hidden value) and the outline's colour text.
  void SetFormatSpec(int row, const std::string& spec);
  void SetOutlineColour(int row, const std::string& colourText);

 signals:
  // The style button of a format row, the "farbe" button of an outline row.
  void styleButtonClicked(int row);
  void outlineColourClicked(int row);

 private:
  // A schema label (Windows-1252) translated.
  QString Caption(std::string_view cp1252Key) const;
  void BuildRow(int position);
  void AddLabelled(FormRow& row, QWidget* input, int width);
  void BuildPicture(FormRow& row, int position);
  void BuildFormat(FormRow& row, int position);
  void BuildOutline(FormRow& row, int position);
  void ChoosePicture(int position);
  void ShowValue(FormRow& row, const std::string& value);
  std::string ReadValue(const FormRow& row) const;

  RecordFormContext context_;
  std::vector<FormRow> rows_;
  QGridLayout* grid_ = nullptr;
  int gridRow_ = 0;
  QHBoxLayout* formatStrip_ = nullptr;  // the one row all format rows share
  QPlainTextEdit* orderEditor_ = nullptr;
};

}  // namespace psalmora
