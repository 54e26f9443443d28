// What the Bible page does: the translation chooser and its loading, the book tree and chapter list,
// passages typed as references, and importing Bible texts (XML files, SWORD modules) beside the
// interface thread.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bible/bible_import.h"

class QThread;

namespace psalmora {

struct AppState;
class BiblePage;
class CommonDialogs;

class BibleController : public QObject {
  Q_OBJECT

 public:
  BibleController(AppState& state, BiblePage& page);
  ~BibleController() override;

  static BibleController* Of(const BiblePage& page);

  // Tests put a recording chooser here; the page keeps its own otherwise.
  void SetDialogs(CommonDialogs* dialogs) { dialogs_ = dialogs; }

  // `FillBookTree`: one level-0 entry per group, one level-1 entry "book (last chapter)" per index line,
  // each carrying the 1-based index line number.
  void FillBookTree();
  // The chooser from "bibel/uebersetzungen.dat", at the position of the setting "bibel".
  void FillTranslationChooser();
  // `LoadTranslation`: reads the chosen translation into BibleText; a file that cannot be opened
  // changes nothing.
  void LoadTranslation();
  // `ChooseBook` for the book tree's current entry.
  void ChooseBook();
  // `ShowChapter` for the chapter list's current entry.
  void ShowChapter();
  // The reference in the passage field: its verses into the free-text field, itself as header text;
  // what is wrong with it next to the field.
  void ShowPassage();
  // Asks for a Zefania or OSIS file and imports it; ImportSword takes an installed module.
  void ImportFile();
  void ImportSword(const QString& module);
  bool Importing() const { return worker_ != nullptr; }

  const std::vector<std::string>& BibleText() const { return bibleText_; }

 signals:
  // An import has ended (ok or not); the status text says how.
  void importFinished(bool ok);

 private:
  void StartImport(std::function<ImportedBible(const ImportProgress&)> read, const QString& what);
  void FinishImport(const AddedTranslation& added, const std::vector<std::string>& skipped);
  void SetStatus(const QString& text, bool problem);

  AppState& state_;
  BiblePage& page_;
  std::unique_ptr<CommonDialogs> ownDialogs_;
  CommonDialogs* dialogs_ = nullptr;
  std::vector<std::string> bibleText_;  // `BibleText`
  std::string group_, book_;            // the current book
  QThread* worker_ = nullptr;
};

}  // namespace psalmora
