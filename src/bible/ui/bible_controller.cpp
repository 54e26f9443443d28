// The Bible page's behaviour. Imports read and write on a worker thread and report back through queued
// calls, so the page stays usable while a large XML file or module is read.
#include "bible/ui/bible_controller.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "bible/bible_files.h"
#include "bible/bible_reference.h"
#include "bible/bible_xml_import.h"
#include "bible/sword/sword_import.h"
#include "bible/ui/bible_page.h"
#include "core/record_fields.h"
#include "core/startup_files.h"
#include "core/text_encoding.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/ui_text.h"

namespace psalmora {

namespace fs = std::filesystem;

namespace {

constexpr int kLineNumberRole = Qt::UserRole;

// name, or name (2), name (3) ... when a translation of that name is there already.
std::string FreeTranslationName(const fs::path& programFolder, std::string name) {
  const std::vector<TranslationEntry> list = ReadTranslationList(programFolder);
  if (!FindTranslation(list, name)) return name;
  for (int number = 2;; ++number) {
    const std::string candidate = name + " (" + std::to_string(number) + ")";
    if (!FindTranslation(list, candidate)) return candidate;
  }
}

}  // namespace

BibleController::BibleController(AppState& state, BiblePage& page)
    : QObject(&page), state_(state), page_(page), ownDialogs_(std::make_unique<QtCommonDialogs>()) {
  setObjectName(QStringLiteral("bibleController"));
  dialogs_ = ownDialogs_.get();
  connect(page.LoadButton(), &QToolButton::clicked, this, &BibleController::LoadTranslation);
  connect(page.BookTree(), &QTreeWidget::itemClicked, this, [this] { ChooseBook(); });
  connect(page.BookTree(), &QTreeWidget::currentItemChanged, this, [this] { ChooseBook(); });
  connect(page.ChapterList(), &QListWidget::itemClicked, this, [this] { ShowChapter(); });
  connect(page.ChapterList(), &QListWidget::currentRowChanged, this, [this] { ShowChapter(); });
  connect(page.PassageField(), &QLineEdit::returnPressed, this, &BibleController::ShowPassage);
  connect(page.ImportButton(), &QToolButton::clicked, this, &BibleController::ImportFile);
  connect(&page, &BiblePage::shown, this, [this] {
    if (bibleText_.empty()) LoadTranslation();
  });
  QMenu* menu = page.ImportButton()->menu();
  connect(menu, &QMenu::aboutToShow, this, [this, menu] {
    menu->clear();
    connect(menu->addAction(Tr("XML-Datei (Zefania, OSIS)…", state_)), &QAction::triggered, this,
            &BibleController::ImportFile);
    const std::vector<SwordModuleInfo> modules = ListSwordBibles();
    if (!modules.empty()) menu->addSection(Tr("SWORD-Module", state_));
    for (const SwordModuleInfo& module : modules) {
      const QString name = QString::fromStdString(module.name);
      QAction* action = menu->addAction(name + QStringLiteral(" – ") + QString::fromStdString(module.description));
      connect(action, &QAction::triggered, this, [this, name] { ImportSword(name); });
    }
  });
  FillTranslationChooser();
  FillBookTree();
}

BibleController::~BibleController() {
  if (worker_) {
    worker_->wait();
    delete worker_;
  }
}

BibleController* BibleController::Of(const BiblePage& page) {
  return page.findChild<BibleController*>(QStringLiteral("bibleController"), Qt::FindDirectChildrenOnly);
}

void BibleController::FillTranslationChooser() {
  QComboBox* chooser = page_.TranslationChooser();
  const QSignalBlocker blocker(chooser);
  chooser->clear();
  for (const TranslationEntry& entry : ReadTranslationList(state_.programFolder))
    chooser->addItem(FromCp1252(entry.name));
  if (state_.settings.bibel >= 0 && state_.settings.bibel < chooser->count())
    chooser->setCurrentIndex(state_.settings.bibel);
}

void BibleController::FillBookTree() {
  QTreeWidget* tree = page_.BookTree();
  const QSignalBlocker blocker(tree);
  tree->clear();
  int lineNumber = 0;
  std::string previousGroup;
  QTreeWidgetItem* groupItem = nullptr;
  for (const std::string& line : state_.bibleIndex) {
    ++lineNumber;
    const BibleIndexLine parsed = ParseBibleIndexLine(line);
    if (!groupItem || parsed.group != previousGroup) {
      groupItem = new QTreeWidgetItem(tree, {FromCp1252(parsed.group)});
      groupItem->setData(0, kLineNumberRole, lineNumber);
      previousGroup = parsed.group;
    }
    auto* bookItem = new QTreeWidgetItem(groupItem, {FromCp1252(parsed.book) + QStringLiteral(" (") +
                                                     QString::number(parsed.lastChapter) + QStringLiteral(")")});
    bookItem->setData(0, kLineNumberRole, lineNumber);
  }
}

void BibleController::LoadTranslation() {
  const std::vector<TranslationEntry> list = ReadTranslationList(state_.programFolder);
  const int position = page_.TranslationChooser()->currentIndex();
  if (position < 0 || position >= static_cast<int>(list.size())) return;
  std::optional<std::vector<std::string>> text =
      ReadTranslationText(state_.programFolder, list[static_cast<std::size_t>(position)]);
  if (!text) return;
  bibleText_ = std::move(*text);
}

void BibleController::ChooseBook() {
  QTreeWidgetItem* item = page_.BookTree()->currentItem();
  if (!item) return;
  const int lineNumber = item->data(0, kLineNumberRole).toInt();
  if (lineNumber < 1 || lineNumber > static_cast<int>(state_.bibleIndex.size())) return;
  const BibleIndexLine line = ParseBibleIndexLine(state_.bibleIndex[static_cast<std::size_t>(lineNumber - 1)]);
  group_ = line.group;
  book_ = line.book;
  page_.HeaderTextField()->setText(FromCp1252(group_ + " " + book_));
  if (!item->parent()) return;
  QListWidget* chapters = page_.ChapterList();
  const QSignalBlocker blocker(chapters);
  chapters->clear();
  const QString text = item->text(0);
  QString count = text.mid(text.indexOf(QLatin1Char('(')) + 1);
  count.remove(QLatin1Char(')'));
  // An index edited by hand may name any number; the list stops where no book could go on.
  const int last = std::min(count.toInt(), kLargestBibleNumber);
  for (int chapter = 1; chapter <= last; ++chapter) chapters->addItem(QString::number(chapter));
}

void BibleController::ShowChapter() {
  QListWidgetItem* item = page_.ChapterList()->currentItem();
  if (!item) return;
  const std::string chapter = ToCp1252(item->text());
  page_.HeaderTextField()->setText(FromCp1252(group_ + " " + book_ + ", " + chapter));
  const std::optional<std::string> text = FindChapter(bibleText_, group_, book_, chapter);
  page_.FreeTextField()->setPlainText(text ? FromCp1252(ChapterTextForDisplay(*text))
                                           : QStringLiteral("<Nicht vorhanden>"));
}

void BibleController::ShowPassage() {
  const QString typed = page_.PassageField()->text();
  if (typed.trimmed().isEmpty()) {
    SetStatus(QString(), false);
    return;
  }
  if (bibleText_.empty()) LoadTranslation();
  if (bibleText_.empty()) {
    SetStatus(Tr("Keine Bibelübersetzung geladen", state_), true);
    return;
  }
  const BibleReference reference = ParseBibleReference(ToCp1252(typed));
  switch (reference.error) {
    case ReferenceError::kNone:
      break;
    case ReferenceError::kEmpty:
    case ReferenceError::kUnknownBook:
      SetStatus(Tr("Unbekanntes Buch", state_), true);
      return;
    case ReferenceError::kNoChapter:
      SetStatus(Tr("Kapitel fehlt", state_), true);
      return;
    case ReferenceError::kBadVerses:
      SetStatus(Tr("Kapitel oder Verse nicht verstanden", state_), true);
      return;
  }
  const Passage passage = ExtractPassage(bibleText_, reference);
  switch (passage.error) {
    case PassageError::kNone:
      break;
    case PassageError::kBookMissing:
      SetStatus(Tr("Das Buch fehlt in dieser Übersetzung", state_), true);
      return;
    case PassageError::kChapterMissing:
      SetStatus(Tr("Kapitel %1 fehlt in dieser Übersetzung", state_).arg(passage.missingChapter), true);
      return;
    case PassageError::kVersesMissing:
      SetStatus(Tr("Diese Verse fehlen in dieser Übersetzung", state_), true);
      return;
  }
  page_.HeaderTextField()->setText(FromCp1252(passage.header));
  page_.FreeTextField()->setPlainText(FromCp1252(passage.text));
  SetStatus(QString(), false);
}

void BibleController::SetStatus(const QString& text, bool problem) {
  QLabel* status = page_.PassageStatus();
  status->setText(text);
  status->setVisible(!text.isEmpty());
  status->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
}

void BibleController::ImportFile() {
  if (worker_) return;
  const QString file = dialogs_->OpenFile(&page_, Tr("Bibeltext importieren", state_), QString(),
                                          Tr("Bibeltexte", state_) + QStringLiteral(" (*.xml *.osis *.zef);;*"));
  if (file.isEmpty()) return;
  const fs::path path = file.toStdString();
  StartImport([path](const ImportProgress& progress) { return ReadBibleXml(path, progress); },
              QFileInfo(file).completeBaseName());
}

void BibleController::ImportSword(const QString& module) {
  if (worker_) return;
  const std::string name = module.toStdString();
  StartImport([name](const ImportProgress& progress) { return ReadSwordModule(name, progress); }, module);
}

void BibleController::StartImport(std::function<ImportedBible(const ImportProgress&)> read, const QString& what) {
  QProgressBar* bar = page_.ImportProgress();
  bar->setRange(0, 0);
  bar->show();
  page_.ImportButton()->setEnabled(false);
  SetStatus(Tr("Importiere %1 …", state_).arg(what), false);
  const fs::path programFolder = state_.programFolder;
  const std::string fallbackName = ToCp1252(what);
  worker_ = QThread::create([this, read = std::move(read), programFolder, fallbackName] {
    const ImportProgress progress = [this](int done, int total) {
      QMetaObject::invokeMethod(
          this,
          [this, done, total] {
            page_.ImportProgress()->setRange(0, total);
            page_.ImportProgress()->setValue(done);
          },
          Qt::QueuedConnection);
    };
    const ImportedBible bible = read(progress);
    const std::string name = FreeTranslationName(programFolder, bible.name.empty() ? fallbackName : bible.name);
    const AddedTranslation added = AddTranslation(programFolder, bible, name);
    QMetaObject::invokeMethod(
        this, [this, added, skipped = bible.skippedBooks] { FinishImport(added, skipped); }, Qt::QueuedConnection);
  });
  worker_->start();
}

void BibleController::FinishImport(const AddedTranslation& added, const std::vector<std::string>& skipped) {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  page_.ImportProgress()->hide();
  page_.ImportButton()->setEnabled(true);
  if (!added.ok()) {
    SetStatus(Tr("Import fehlgeschlagen: %1", state_).arg(QString::fromStdString(added.error)), true);
    emit importFinished(false);
    return;
  }
  state_.bibleIndex = LoadBibleIndex(state_.programFolder);
  FillBookTree();
  FillTranslationChooser();
  const int position = page_.TranslationChooser()->findText(FromCp1252(added.name));
  if (position >= 0) page_.TranslationChooser()->setCurrentIndex(position);
  LoadTranslation();
  QString status = Tr("Übersetzung importiert: %1", state_).arg(FromCp1252(added.name));
  if (!skipped.empty())
    status += QStringLiteral(" (") + Tr("ausgelassen: %1", state_).arg(QString::fromStdString(JoinAt(skipped, ','))) +
              QStringLiteral(")");
  SetStatus(status, false);
  emit importFinished(true);
}

}  // namespace psalmora
