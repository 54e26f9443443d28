// Preview rendering and its side effects in the main window, and the song copy's UI half.
#include "render/ui/preview_controller.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cstdio>

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "platform/page_view.h"
#include "render/song_copy.h"
#include "render/ui/presentation_host.h"
#include "render/ui/preview_pane.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_rows.h"

namespace psalmora {

PreviewController::PreviewController(AppState& state, PresentationHost& window, Messages* messages)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages) {
  setObjectName(QStringLiteral("previewController"));
  // Paging is on from the start when slides were in use last time.
  if (state_.settings.folie > 0 && state_.render.paging.currentSlide == 0) state_.render.paging.currentSlide = 1;

  PreviewPane* pane = window_.Preview();
  view_ = new PageView(pane->ViewHost());
  view_->setObjectName(QStringLiteral("previewView"));
  pane->ViewHost()->layout()->addWidget(view_);

  connect(pane, &PreviewPane::commandTriggered, this, [this](PreviewCommand command) {
    if (command == PreviewCommand::SaveSongCopy) SaveSongCopy();
  });
  connect(view_, &PageView::pageLoaded, this, &PreviewController::previewLoaded);
  connect(view_, &PageView::pageTitleChanged, this, &PreviewController::OnTitleChanged);
}

PreviewController* PreviewController::Of(const QObject& window) {
  return window.findChild<PreviewController*>(QStringLiteral("previewController"), Qt::FindDirectChildrenOnly);
}

std::vector<std::string> PreviewController::RenderList() const {
  std::vector<std::string> records;
  SongListWidget* list = window_.CurrentSongListWidget();
  if (!list) return records;
  for (const QString& id : list->SelectedIds()) records.push_back(state_.songs.FindSongRecord(ToCp1252(id)));
  return records;
}

void PreviewController::ShowPreview() {
  PreviewPane* pane = window_.Preview();
  RenderRequest request;
  request.mode = RenderMode::kVorschau;
  request.renderList = RenderList();
  request.layoutKey = state_.settings.layouts.vorschau;
  request.transposeOffset = ToCp1252(pane->TransposeField()->text());
  request.twoColumns = pane->TwoColumnsToggle()->isChecked();
  const RenderFolders folders{state_.dataFiles.folder, state_.programFolder / "layouts"};
  const RenderResult result = RenderPage(request, folders, state_.render);
  if (!result.written) std::fprintf(stderr, "psalmora: preview page not written: %s\n", result.error.c_str());

  ApplySideEffects(result);
  if (!result.load) {
    // Nothing chosen: the page shown stays, unless its song has gone to the trash meanwhile.
    if (ShownSongIsGone()) ClearPreview();
    return;
  }
  // A page that could not be written still points the view at the file, which shows its old content.
  view_->LoadPageFile(result.page);
  emit previewRendered(QString::fromStdString(result.page.string()));
}

void PreviewController::ApplySideEffects(const RenderResult& result) {
  window_.ShowPreviewPane();
  if (!result.load) return;
  // The hidden record field, the song-state buttons and the tempo label (back on light grey).
  window_.Preview()->SetShownRecord(result.record);
  songOrderText_ = FromCp1252(result.songOrderText);
  songOrderText_.replace(QChar('\r'), QChar('\n'));
  emit songOrderTextChanged(songOrderText_);
}

bool PreviewController::ShownSongIsGone() const {
  const std::string& shown = window_.Preview()->ShownRecord();
  if (shown.empty()) return false;
  return !state_.songs.FindSongPosition(RecordField(shown, song_field::kId));
}

void PreviewController::ClearPreview() {
  view_->setHtml(QString());
  window_.Preview()->SetShownRecord({});
  songOrderText_.clear();
  emit songOrderTextChanged(songOrderText_);
}

void PreviewController::OnTitleChanged(const QString& title) {
  bool number = false;
  const int slide = title.trimmed().toInt(&number);
  if (!number || slide <= 0) return;
  // Cleared again so a second click on the same marker is a new title change.
  view_->page()->runJavaScript(QStringLiteral("document.title='';"));
  emit slideMarkerClicked(slide);
}

std::optional<std::string> PreviewController::SaveSongCopy() {
  const std::string& record = window_.Preview()->ShownRecord();
  const std::optional<SongCopy> copy =
      CopySong(state_.songs, record, ToCp1252(window_.Preview()->TransposeField()->text()));
  if (!copy) return std::nullopt;
  if (!copy->saved) {
    // Nothing of the copy is in the store: no row, no group entry, and the user is told.
    if (messages_) {
      messages_->Show(window_.HostWindow(), MessageIcon::Warning, Tr("Fehler", state_),
                      Tr("Das Lied konnte nicht gespeichert werden!", state_));
    }
    return std::nullopt;
  }
  AddCopyToShownGroup(copy->record);
  SongRow row;
  if (SongRowFromRecord(copy->record, IsGroupedSong(state_.dataFiles.gruppierung, copy->id), row)) {
    window_.GroupSongList()->Model().InsertRowAtTop(row);
  }
  window_.SetGroupRowCount(window_.GroupSongList()->RowCount());
  emit songCopied(FromCp1252(copy->id));
  return copy->id;
}

void PreviewController::AddCopyToShownGroup(const std::string& record) {
  QComboBox* chooser = window_.GroupChooser();
  const int position = chooser->currentIndex();
  if (position <= 0) return;  // "Gesamte Datenbank"
  const std::filesystem::path& file = state_.dataFiles.gruppierung;
  std::vector<std::string> groups = LoadCollectionFile(file);
  const auto index = static_cast<std::size_t>(position - 1);
  if (index >= groups.size()) return;
  const AddSongsResult added = AddSongsToCollection(groups, index, {record}, ChangeStampNow(state_.settings.useridcb));
  if (!added.changed) return;
  // The group file is only rewritten when the group changed: rewriting it unchanged would add nothing.
  SaveCollectionFile(file, groups);
  const QSignalBlocker blocker(chooser);
  chooser->setItemText(position, CollectionChooserEntry(groups[index]));
}

}  // namespace psalmora
