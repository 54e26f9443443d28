#include "stage/ui/stage_controller.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>
#include <cstdio>

#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "render/song_lines.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/presentation_host.h"
#include "render/ui/presentation_toolbar.h"
#include "songdb/ui/song_list_model.h"
#include "songdb/ui/song_list_widget.h"
#include "stage/ui/stage_window.h"

namespace psalmora {

StageController::StageController(AppState& state, PresentationHost& window, Messages& messages,
                                 std::optional<int> portForRun)
    : QObject(window.HostWindow()), state_(state), main_(window), messages_(messages), portForRun_(portForRun) {
  setObjectName(QStringLiteral("stageController"));
  settings_ = LoadStageSettings(state_.programFolder / kSettingsFileName);
  ConnectBeamer();
  if (IsWanted()) {
    Apply();
    // Switched on, the program shows where the phones find it.
    if (IsServing()) QTimer::singleShot(0, this, &StageController::ShowWindow);
  }
}

StageController::~StageController() {
  // The server's threads end before the objects they read go.
  if (server_) server_->Stop();
}

StageController* StageController::Of(const QObject& window) {
  return window.findChild<StageController*>(QStringLiteral("stageController"), Qt::FindDirectChildrenOnly);
}

bool StageController::IsWanted() const {
  return portForRun_.has_value() || settings_.on;
}

void StageController::ConnectBeamer() {
  if (PresentationController* beamer = PresentationController::Of(*main_.HostWindow())) {
    connect(beamer, &PresentationController::beamerChanged, this, &StageController::SchedulePublish);
  }
  PresentationToolbar* bar = main_.PresentationBar();
  connect(bar->BlackToggle(), &QAction::toggled, this, &StageController::SchedulePublish);
  connect(bar->UseSlidesBox(), &QCheckBox::toggled, this, &StageController::SchedulePublish);
  const SongListModel* selection = &main_.SelectionSongList()->Model();
  connect(selection, &QAbstractItemModel::modelReset, this, &StageController::SchedulePublish);
  connect(selection, &QAbstractItemModel::layoutChanged, this, &StageController::SchedulePublish);
  connect(selection, &QAbstractItemModel::rowsInserted, this, &StageController::SchedulePublish);
  connect(selection, &QAbstractItemModel::rowsRemoved, this, &StageController::SchedulePublish);
  connect(selection, &QAbstractItemModel::rowsMoved, this, &StageController::SchedulePublish);
  connect(selection, &QAbstractItemModel::dataChanged, this, &StageController::SchedulePublish);
  connect(main_.SelectionChooser(), &QComboBox::currentIndexChanged, this, &StageController::SchedulePublish);
}

bool StageController::Apply() {
  if (server_) server_->Stop();
  server_.reset();
  if (!IsWanted()) {
    emit servingChanged();
    return true;
  }
  if (settings_.pin.empty()) {
    // A remote without a PIN would be open to everybody in the room: one is made and kept.
    settings_.pin = NewStagePin();
    SaveStageSettings(state_.programFolder / kSettingsFileName, settings_);
  }
  StageServerOptions options;
  options.pin = settings_.pin;
  options.labelsJson = LabelsJson();
  // From a server thread: queued to the interface thread, where the beamer lives. The reply does not
  // wait for it; the phones see the outcome in the next snapshot.
  options.onAction = [this](const RemoteAction& action) {
    QMetaObject::invokeMethod(this, [this, action] { RunAction(action); }, Qt::QueuedConnection);
  };
  server_ = std::make_unique<StageServer>(std::move(options));
  const int port = portForRun_.value_or(settings_.port);
  if (const std::optional<std::string> error = server_->Start(port)) {
    server_.reset();
    messages_.Show(main_.HostWindow(), MessageIcon::Warning, Tr("Bühnenansicht und Fernbedienung", state_),
                   Tr("Der Port %1 kann nicht benutzt werden: %2", state_)
                       .arg(port)
                       .arg(QString::fromStdString(*error)));
    emit servingChanged();
    return false;
  }
  PublishNow();
  emit servingChanged();
  return true;
}

bool StageController::ChangeSettings(const StageSettings& settings) {
  settings_ = settings;
  // The settings window decides from now on, not the command line of this run.
  portForRun_.reset();
  const WriteResult saved = SaveStageSettings(state_.programFolder / kSettingsFileName, settings_);
  if (!saved) std::fprintf(stderr, "psalmora: %s\n", saved.error.c_str());
  return Apply();
}

QStringList StageController::Addresses() const {
  QStringList addresses;
  if (!IsServing()) return addresses;
  const QString port = QString::number(Port());
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback()) continue;
    addresses << QStringLiteral("http://%1:%2/").arg(address.toString(), port);
  }
  // Without a network the machine itself can still show the pages (a rehearsal on one laptop).
  if (addresses.isEmpty()) addresses << QStringLiteral("http://127.0.0.1:%1/").arg(port);
  return addresses;
}

void StageController::ShowWindow() {
  if (!window_) {
    window_ = new StageWindow(*this, state_, main_.HostWindow());
  }
  window_->Refresh();
  window_->show();
  window_->raise();
}

StageWindow* StageController::Window() const {
  return window_.data();
}

void StageController::SchedulePublish() {
  if (publishPending_ || !IsServing()) return;
  publishPending_ = true;
  // Several signals of one change (a send moves the list, renders three pages) make one snapshot.
  QTimer::singleShot(0, this, [this] {
    publishPending_ = false;
    PublishNow();
  });
}

void StageController::PublishNow() {
  if (!IsServing()) return;
  server_->Publish(Snapshot());
}

StageState StageController::Snapshot() {
  StageState snapshot;
  PresentationController* beamer = PresentationController::Of(*main_.HostWindow());
  if (beamer && !beamer->BeamerRecord().empty()) {
    const std::string& record = beamer->BeamerRecord();
    if (record != cachedRecord_ || !cachedSong_) {
      SongLines lines = LoadSongLines(state_.dataFiles.folder, RecordField(record, 1), IsInlineForm(record));
      cachedSong_ = std::make_shared<const StageSong>(BuildStageSong(record, std::move(lines.all)));
      cachedRecord_ = record;
    }
    snapshot.song = cachedSong_;
    snapshot.songOffset = LeadingNumber(beamer->BeamerOffset());
    snapshot.slide = beamer->BeamerSlide();
    snapshot.beamerRow = beamer->BeamerSelectionRow();
  }
  if (beamer) {
    snapshot.black = beamer->IsBlack();
    snapshot.header = beamer->HeaderVisible();
    snapshot.footer = beamer->FooterVisible();
    snapshot.beamerOpen = beamer->IsOpen();
    if (beamer->BeamerFreeText()) snapshot.freeText = Cp1252ToUtf8(*beamer->BeamerFreeText());
  }
  snapshot.paging = state_.render.paging.currentSlide != 0;
  snapshot.selectionName = main_.SelectionChooser()->currentText().toStdString();
  const SongListModel& rows = main_.SelectionSongList()->Model();
  for (int row = 0; row < rows.RowCount(); ++row) {
    snapshot.selection.push_back({rows.RowAt(row).id.toStdString(), rows.RowAt(row).title.toStdString()});
  }
  return snapshot;
}

void StageController::RunAction(const RemoteAction& action) {
  PresentationController* beamer = PresentationController::Of(*main_.HostWindow());
  if (!beamer) return;
  switch (action.command) {
    case RemoteCommand::kSendSong:
      beamer->SendSelectionRow(action.row);
      break;
    case RemoteCommand::kNext:
      beamer->NextSlide();
      break;
    case RemoteCommand::kPrevious:
      beamer->PreviousSlide();
      break;
    case RemoteCommand::kPaging:
      // Through the check box, so the main window shows it and the preview follows as on a click.
      main_.PresentationBar()->UseSlidesBox()->setChecked(action.on);
      break;
    case RemoteCommand::kHeader:
      if (beamer->HeaderVisible() != action.on) beamer->ToggleHeader();
      break;
    case RemoteCommand::kFooter:
      if (beamer->FooterVisible() != action.on) beamer->ToggleFooter();
      break;
    case RemoteCommand::kBlack:
      beamer->SetBlack(action.on);
      break;
    case RemoteCommand::kFreeText: {
      const QString header = QString::fromStdString(action.header);
      const QString text = QString::fromStdString(action.text);
      beamer->SendFreeText(ToCp1252(header), ToCp1252(text));
      emit freeTextSent(header, text);
      break;
    }
  }
  // Actions that change nothing the beamer signals (a band toggle with the window closed) still answer.
  SchedulePublish();
}

std::string StageController::LabelsJson() const {
  const std::pair<const char*, QString> labels[] = {
      {"transpose", Tr("Transponieren", state_)},
      {"capo", Tr("Kapodaster", state_)},
      {"font", Tr("Schriftgröße", state_)},
      {"chords", Tr("Akkorde", state_)},
      {"light", Tr("Helle Ansicht", state_)},
      {"key", Tr("Tonart", state_)},
      {"tempo", Tr("Tempo", state_)},
      {"slide", Tr("Folie", state_)},
      {"next", Tr("Als Nächstes", state_)},
      {"nextSong", Tr("Nächstes Lied", state_)},
      {"black", Tr("Schwarzbild", state_)},
      {"nothing", Tr("Noch kein Lied auf dem Beamer", state_)},
      {"pin", Tr("PIN der Fernbedienung", state_)},
      {"enter", Tr("Anmelden", state_)},
      {"wrong", Tr("Falsche PIN", state_)},
      {"wait", Tr("Bitte %1 s warten", state_)},
      {"back", Tr("Zurück", state_)},
      {"forward", Tr("Weiter", state_)},
      {"paging", Tr("Folien", state_)},
      {"header", Tr("Kopfzeile", state_)},
      {"footer", Tr("Fußzeile", state_)},
      {"selection", Tr("Auswahlliste", state_)},
      {"free", Tr("Freier Text", state_)},
      {"freeHead", Tr("Kopfzeile", state_)},
      {"send", Tr("An Beamer senden", state_)},
      {"logout", Tr("Abmelden", state_)},
      {"closed", Tr("Das Präsentationsfenster ist geschlossen", state_)},
  };
  std::string json = "{";
  for (const auto& [name, text] : labels) {
    // A language file from before the stage view lacks these keys: the page keeps its own caption.
    if (text == QLatin1String("not found")) continue;
    if (json.size() > 1) json += ',';
    AppendJsonString(json, name);
    json += ':';
    AppendJsonString(json, text.toStdString());
  }
  json += '}';
  return json;
}

}  // namespace psalmora
