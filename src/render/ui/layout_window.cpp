// Layout settings window: the chooser and its new/delete buttons, the layout form, the preview and the
// save paths. Switching layouts and refreshing the preview save the layout that was showing first.
#include "render/ui/layout_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <system_error>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "platform/page_view.h"
#include "render/ui/style_editing.h"
#include "songdb/schema.h"
#include "songdb/ui/record_form.h"

namespace psalmora {
namespace {

QToolButton* ImageButton(const QString& themeIcon, QStyle::StandardPixmap fallback, const QString& tooltip,
                         QWidget* parent) {
  return IconButton(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(fallback)), tooltip, parent);
}

}  // namespace

LayoutWindow* LayoutWindow::Open(AppState& state, const LayoutWindowServices& services, QWidget* mainWindow) {
  auto* window = new LayoutWindow(state, services, mainWindow);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &QDialog::finished, window, [mainWindow] {
    if (mainWindow == nullptr) return;
    mainWindow->activateWindow();
  });
  window->open();
  return window;
}

LayoutWindow::LayoutWindow(AppState& state, LayoutWindowServices services, QWidget* mainWindow)
    : QDialog(mainWindow), state_(state), services_(services), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("LayoutWindow"));
  setWindowTitle(Tr("Einstellungen Layouts", state_));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (mainWindow_) setWindowModality(Qt::WindowModal);
  BuildWindow();
  Reopen(state_.settings.layouts.beamer);
}

std::filesystem::path LayoutWindow::LayoutFolder() const {
  return state_.programFolder / "layouts";
}

void LayoutWindow::BuildWindow() {
  chooser_ = new QComboBox;
  chooser_->setMinimumWidth(260);
  connect(chooser_, &QComboBox::currentIndexChanged, this, &LayoutWindow::ChooserChanged);
  newButton_ = ImageButton(QStringLiteral("document-new"), QStyle::SP_FileDialogNewFolder,
                           Tr("Neues Layout erstellen", state_), this);
  deleteButton_ = ImageButton(QStringLiteral("edit-delete"), QStyle::SP_TrashIcon, Tr("Layout löschen", state_), this);
  connect(newButton_, &QToolButton::clicked, this, &LayoutWindow::NewLayout);
  connect(deleteButton_, &QToolButton::clicked, this, &LayoutWindow::DeleteLayout);
  auto* top = new QHBoxLayout;
  top->addWidget(chooser_, 1);
  top->addWidget(newButton_);
  top->addWidget(deleteButton_);

  form_ = new RecordForm(
      LayoutSchema(),
      RecordFormContext{state_.programFolder, &state_.language, services_.dialogs, &state_.settings.pfadhgbild}, this);
  connect(form_, &RecordForm::styleButtonClicked, this, &LayoutWindow::EditStyleOfRow);
  connect(form_, &RecordForm::outlineColourClicked, this, &LayoutWindow::ChooseOutlineColour);

  refreshButton_ = new QPushButton(Tr("Vorschau aktualisieren", state_));
  connect(refreshButton_, &QPushButton::clicked, this, &LayoutWindow::RefreshPreview);
  auto* refreshRow = new QHBoxLayout;
  refreshRow->addStretch(1);
  refreshRow->addWidget(refreshButton_);

  preview_ = new PageView;
  preview_->setMinimumSize(540, 223);
  auto* previewFrame = new QGroupBox(Tr("Vorschau", state_));
  auto* previewLayout = new QVBoxLayout(previewFrame);
  previewLayout->setContentsMargins(4, 4, 4, 4);
  previewLayout->addWidget(preview_);

  saveCloseButton_ = new QPushButton(Tr("speichern und schließen", state_));
  connect(saveCloseButton_, &QPushButton::clicked, this, &LayoutWindow::SaveAndClose);
  for (QPushButton* button : {refreshButton_, saveCloseButton_}) button->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(saveCloseButton_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addLayout(top);
  layout->addWidget(form_);
  layout->addLayout(refreshRow);
  layout->addWidget(previewFrame, 1);
  layout->addLayout(bottom);
  resize(560, 555);
}

int LayoutWindow::EntryOfKey(const std::string& key) const {
  for (std::size_t i = 0; i < layouts_.size(); ++i) {
    if (layouts_[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

void LayoutWindow::Reopen(const std::string& key) {
  if (std::optional<std::vector<LayoutEntry>> listed = ListLayouts(LayoutFolder())) {
    layouts_ = std::move(*listed);
  } else if (services_.messages) {
    services_.messages->Show(mainWindow_ ? mainWindow_ : this, MessageIcon::Information, Tr("Fehler", state_),
                             Tr("Layoutordner konnte nicht geöffnet werden!", state_));
  }
  {
    const QSignalBlocker blocker(chooser_);
    chooser_->clear();
    for (const LayoutEntry& entry : layouts_)
      chooser_->addItem(FromCp1252(entry.name.empty() ? entry.key : entry.name));
    const int entry = EntryOfKey(key);
    chooser_->setCurrentIndex(entry >= 0 ? entry : (layouts_.empty() ? -1 : 0));
  }
  ShowChosen();
}

void LayoutWindow::ShowChosen() {
  const int entry = chooser_->currentIndex();
  deleteButton_->setEnabled(entry >= 0);
  saveCloseButton_->setEnabled(true);
  if (entry < 0 || entry >= static_cast<int>(layouts_.size())) {
    shownKey_.clear();
    form_->Fill({});
    form_->setEnabled(false);
    return;
  }
  form_->setEnabled(true);
  shownKey_ = layouts_[static_cast<std::size_t>(entry)].key;
  const Layout layout = LoadLayout(LayoutFolder(), shownKey_);
  form_->Fill(layout.lines);
  RenderRequest request;
  request.mode = RenderMode::kLayout;
  request.layoutKey = shownKey_;
  request.transposeOffset = services_.transposeOffset;
  lastPreview_ = RenderPage(request, RenderFolders{state_.dataFiles.folder, LayoutFolder()}, render_);
  if (lastPreview_.written) preview_->LoadPageFile(lastPreview_.page);
}

void LayoutWindow::ChooserChanged() {
  SaveLayout();
  ShowChosen();
}

void LayoutWindow::SaveLayout() {
  if (shownKey_.empty()) return;
  Layout layout;
  layout.lines = form_->Values();
  // A file that cannot be written is skipped without a message; the core reports it on stderr.
  psalmora::SaveLayout(LayoutFolder(), shownKey_, layout);
  const int entry = EntryOfKey(shownKey_);
  if (entry < 0) return;
  LayoutEntry& shown = layouts_[static_cast<std::size_t>(entry)];
  shown.name = layout.lines.empty() ? std::string() : layout.lines[0];
  shown.description = layout.lines.size() > 1 ? layout.lines[1] : std::string();
  const QSignalBlocker blocker(chooser_);
  chooser_->setItemText(entry, FromCp1252(shown.name.empty() ? shown.key : shown.name));
}

void LayoutWindow::NewLayout() {
  SaveLayout();
  std::string key = shownKey_;
  if (ReadLastLayoutId(LayoutFolder()) == -1) {
    if (services_.messages) {
      services_.messages->Show(this, MessageIcon::Warning, Tr("Error", state_),
                               Tr("ID konnte nicht geladen werden", state_));
    }
  } else {
    NewLayoutWords words;
    words.layoutNeu = ToCp1252(Tr("Layout Neu", state_));
    words.beschreibung = ToCp1252(Tr("Layoutbeschreibung", state_));
    words.kein = ToCp1252(Tr("kein", state_));
    if (std::optional<std::string> created = CreateNewLayout(LayoutFolder(), words)) key = *created;
  }
  Reopen(key);
}

void LayoutWindow::DeleteLayout() {
  SaveLayout();
  const int entry = EntryOfKey(shownKey_);
  if (entry < 0) return;
  const LayoutEntry shown = layouts_[static_cast<std::size_t>(entry)];
  const QString question = Tr("Layout", state_) + QStringLiteral(" ") + FromCp1252(shown.name) + QStringLiteral(" ") +
                           Tr("wirklich löschen?", state_);
  if (services_.messages && services_.messages->AskYesNo(this, Tr("Layout löschen", state_), question)) {
    std::error_code error;
    const std::optional<std::filesystem::path> file = LayoutFilePath(LayoutFolder(), shown.key);
    const bool removed = file && std::filesystem::remove(*file, error) && !error;
    if (removed) {
      shownKey_.clear();
    } else {
      services_.messages->Show(this, MessageIcon::Warning, Tr("Layout löschen", state_),
                               Tr("Layout konnte nicht gelöscht werden!", state_));
    }
  }
  Reopen(state_.settings.layouts.beamer);
}

void LayoutWindow::RefreshPreview() {
  SaveLayout();
  ShowChosen();
}

void LayoutWindow::SaveAndClose() {
  SaveLayout();
  accept();
}

void LayoutWindow::EditStyleOfRow(int row) {
  if (services_.dialogs == nullptr) return;
  const FormRow& style = form_->Rows().at(static_cast<std::size_t>(row));
  const QString title = Tr("Schrift", state_) + QStringLiteral(": ") +
                        FromCp1252(state_.language.Translate(SchemaLabel(style.schemaRow)));
  if (std::optional<std::string> spec = EditStyle(*services_.dialogs, this, style.kept, title)) {
    form_->SetFormatSpec(row, *spec);
  }
}

void LayoutWindow::ChooseOutlineColour(int row) {
  if (services_.dialogs == nullptr) return;
  const FormRow& outline = form_->Rows().at(static_cast<std::size_t>(row));
  if (std::optional<QColor> colour =
          services_.dialogs->ChooseColour(this, OutlineColour(outline.kept), Tr("farbe", state_))) {
    form_->SetOutlineColour(row, OutlineColourText(*colour));
  }
}

}  // namespace psalmora
