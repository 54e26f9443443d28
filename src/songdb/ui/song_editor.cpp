// Song editor window assembly and its save step. The store work is SaveSongValues (shared with
// psalmora-tool); this file adds what the main window shows of a saved song.
#include "songdb/ui/song_editor.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "songdb/new_song.h"
#include "songdb/schema.h"
#include "songdb/timestamp.h"
#include "songdb/ui/record_form.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"
#include "songdb/ui/song_rows.h"
#include "songdb/ui/song_text_edit.h"

namespace psalmora {
namespace {

void GiveFocusBack(QWidget* main) {
  if (main == nullptr) return;
  main->setEnabled(true);
  main->activateWindow();
}

SongEditor* ShowEditor(SongEditor* editor, SongListsHost* lists) {
  QWidget* main = lists ? lists->HostWindow() : nullptr;
  editor->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(editor, &QDialog::finished, editor, [main] { GiveFocusBack(main); });
  editor->open();
  return editor;
}

}  // namespace

SongEditor* SongEditor::OpenNew(AppState& state, const SongEditorServices& services, SongListsHost* main) {
  return ShowEditor(new SongEditor(state, services, main, true, StartNewSong(state.songs)), main);
}

SongEditor* SongEditor::OpenExisting(AppState& state, const SongEditorServices& services, SongListsHost* main) {
  SongListWidget* list = main ? main->CurrentSongListWidget() : nullptr;
  const QStringList ids = list ? list->SelectedIds() : QStringList();
  if (ids.isEmpty()) {
    GiveFocusBack(main ? main->HostWindow() : nullptr);
    return nullptr;
  }
  std::vector<std::string> rowIds;
  for (const QString& id : ids) rowIds.push_back(ToCp1252(id));
  std::string record = CollectSelectedSongIds(state.songs, rowIds).front();
  return ShowEditor(new SongEditor(state, services, main, false, std::move(record)), main);
}

SongEditor::SongEditor(AppState& state, SongEditorServices services, SongListsHost* main, bool isNew,
                       std::string editRecord)
    : QDialog(main ? main->HostWindow() : nullptr),
      state_(state),
      services_(std::move(services)),
      main_(main),
      isNew_(isNew),
      editRecord_(std::move(editRecord)) {
  setObjectName(QStringLiteral("SongEditor"));
  setWindowTitle(isNew_ ? Tr("Neues Lied anlegen", state_) : Tr("Lied bearbeiten", state_));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (main_) setWindowModality(Qt::WindowModal);
  BuildWindow();

  form_->Fill(RecordValues(editRecord_, SongSchema().size()));
  if (!isNew_) {
    const std::string id(RecordField(editRecord_, song_field::kId));
    text_->SetSongText(state_.songs.ReadSongText(id).value_or(std::string()));
  }
  const int title = form_->RowOfLabel("Titel");
  if (title >= 0) form_->Rows()[static_cast<std::size_t>(title)].line->setFocus();
}

QPlainTextEdit* SongEditor::OrderEditor() const {
  return form_->SongOrderEditor();
}

void SongEditor::BuildWindow() {
  form_ = new RecordForm(
      SongSchema(),
      RecordFormContext{state_.programFolder, &state_.language, services_.dialogs, &state_.settings.pfadhgbild}, this);

  auto* dataFrame = new QGroupBox(Tr("Datenbankeinträge", state_));
  auto* dataLayout = new QVBoxLayout(dataFrame);
  dataLayout->addWidget(form_);

  auto* orderFrame = new QGroupBox(Tr("liedablauf", state_));
  orderFrame->setFixedWidth(200);
  auto* orderLayout = new QVBoxLayout(orderFrame);
  orderLayout->addWidget(form_->SongOrderEditor());

  auto* top = new QHBoxLayout;
  top->addWidget(dataFrame, 1);
  top->addWidget(orderFrame);

  text_ = new SongTextEdit;
  text_->setMinimumSize(590, 250);
  connect(text_, &SongTextEdit::tabPressed, this, &SongEditor::WarnAboutTab);
  auto* textFrame = new QGroupBox(Tr("Liedtext", state_));
  auto* textLayout = new QVBoxLayout(textFrame);
  textLayout->addWidget(text_);

  save_ = new QPushButton(Tr("Speichern", state_));
  cancel_ = new QPushButton(Tr("Abbrechen", state_));
  help_ = new QPushButton(Tr("Hilfe", state_));
  for (QPushButton* button : {save_, cancel_, help_}) {
    // Enter in a field must not save the song behind the user's back.
    button->setAutoDefault(false);
    button->setMinimumWidth(80);
  }
  connect(save_, &QPushButton::clicked, this, &SongEditor::Save);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  const auto showHelp = [this] {
    if (services_.openHelp) services_.openHelp(QString::fromUtf8(kSongEditorHelpTopic));
  };
  connect(help_, &QPushButton::clicked, this, showHelp);
  // F1 of the main window cannot reach it while the editor blocks it; the editor answers F1 itself.
  connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, showHelp);
  auto* buttonFrame = new QFrame;
  buttonFrame->setFrameShape(QFrame::StyledPanel);
  auto* buttons = new QHBoxLayout(buttonFrame);
  buttons->setContentsMargins(8, 6, 8, 6);
  buttons->addWidget(save_);
  buttons->addWidget(cancel_);
  buttons->addWidget(help_);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addLayout(top);
  layout->addWidget(textFrame, 1);
  layout->addWidget(buttonFrame);
  resize(630, 710);
}

void SongEditor::WarnAboutTab() {
  if (services_.messages == nullptr) return;
  services_.messages->Show(this, MessageIcon::Information, Tr("Meldung", state_),
                           Tr("Keine Tabulatoren verwenden!", state_));
}

bool SongEditor::Save() {
  const bool wasNew = isNew_;
  const SongSaveResult result =
      SaveSongValues(state_.songs, isNew_, editRecord_, form_->Values(), text_->SongText(), CurrentTimeValue());
  if (!result.listSaved || !result.textSaved) {
    if (services_.messages) {
      services_.messages->Show(this, MessageIcon::Warning, Tr("Fehler", state_),
                               Tr("Das Lied konnte nicht gespeichert werden!", state_));
    }
    return false;
  }
  // The list holds the song now: a second attempt would replace it instead of adding it again. A failed
  // save left the list, the lists on screen and the editor as they were.
  isNew_ = false;
  if (main_) UpdateMainWindow(wasNew, result.id, result.record);
  editRecord_ = result.record;
  accept();
  return true;
}

void SongEditor::UpdateMainWindow(bool wasNew, const std::string& id, const std::string& record) {
  if (wasNew) {
    const bool shared = AddToShownGroup(id, record);
    SongRow row;
    if (SongRowFromRecord(editRecord_, shared, row)) main_->GroupSongList()->Model().InsertRowAtTop(std::move(row));
    main_->SetGroupRowCount(main_->GroupSongList()->RowCount());
  }
  main_->RefreshSongRows(id, record);
  // The preview shows the saved text and fields, not the ones from before the edit.
  main_->RequestPreview();
}

bool SongEditor::AddToShownGroup(const std::string& id, const std::string& record) {
  QComboBox* chooser = main_->GroupChooser();
  const int position = chooser->currentIndex();
  if (position <= 0) return false;
  const std::filesystem::path& file = state_.dataFiles.gruppierung;
  std::vector<std::string> groups = LoadCollectionFile(file);
  const std::size_t at = static_cast<std::size_t>(position - 1);
  if (at >= groups.size()) return false;
  AddSongsToCollection(groups, at, {record}, ChangeStampNow(state_.settings.useridcb));
  SaveCollectionFile(file, groups);
  chooser->setItemText(position, CollectionChooserEntry(groups[at]));
  return IsGroupedSong(groups, id);
}

}  // namespace psalmora
