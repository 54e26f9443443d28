// DataPoolController: the values a request needs are copied on the interface thread; the lanes run the
// requests; files are written and widgets filled on the interface thread when a result comes back.
#include "online/ui/data_pool_controller.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <system_error>

#include "collections/collection_file.h"
#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "online/data_pool.h"
#include "online/ui/activities_window.h"
#include "online/ui/request_lane.h"
#include "platform/network_state.h"
#include "render/ui/presentation_host.h"
#include "render/ui/preview_pane.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {
namespace {

DataPoolController::Services WithDefaults(DataPoolController::Services services) {
  if (!services.isOnline) services.isOnline = IsOnline;
  if (!services.http) {
    services.http = [](const std::string& url, const HttpOptions& options) { return HttpGetText(url, options); };
  }
  return services;
}

// The activities picture with an arrow going out, so the toggle is told from the button beside it.
QIcon SharingIcon() {
  QPixmap picture = AppIcon(IconId::Activities).pixmap(40, 40);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 150, 60));
  const QPointF arrow[] = {{26, 18}, {40, 18}, {40, 4}};
  painter.drawPolygon(arrow, 3);
  painter.setPen(QPen(QColor(0, 150, 60), 4));
  painter.drawLine(QPointF(24, 20), QPointF(36, 8));
  return QIcon(picture);
}

PoolConnection::Account AccountOf(const AppState& state) {
  return {state.settings.serveradresse, state.settings.pmoUsername, state.settings.pmoPassword};
}

}  // namespace

DataPoolController::DataPoolController(AppState& state, PresentationHost& window, Services services)
    : QObject(window.HostWindow()),
      state_(state),
      window_(window),
      services_(WithDefaults(std::move(services))),
      connection_(std::make_shared<PoolConnection>(services_.http)) {
  setObjectName(QStringLiteral("dataPoolController"));
  reports_ = new RequestLane(this);
  pools_ = new RequestLane(this);
  refreshes_ = new RequestLane(this);

  // The toggle stands right after the activities button.
  PreviewPane* pane = window_.Preview();
  QAction* activities = pane->Action(PreviewCommand::Activities);
  QToolBar* toolbar = pane->Toolbar();
  const QList<QAction*> actions = toolbar->actions();
  const qsizetype at = actions.indexOf(activities);
  QAction* before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
  sharing_ = new QAction(SharingIcon(), Tr("Aktivitäten im Datenpool senden", state_), toolbar);
  sharing_->setObjectName(QStringLiteral("poolSharingToggle"));
  sharing_->setCheckable(true);
  toolbar->insertAction(before, sharing_);
}

DataPoolController::~DataPoolController() {
  if (activities_) delete activities_.data();
}

DataPoolController* DataPoolController::Of(const QObject& window) {
  return window.findChild<DataPoolController*>(QStringLiteral("dataPoolController"), Qt::FindDirectChildrenOnly);
}

ActivitiesWindow* DataPoolController::Window() const {
  return activities_.data();
}

bool DataPoolController::NetworkAvailable() const {
  return IsLoopbackHost(FromCp1252(state_.settings.serveradresse)) || services_.isOnline();
}

std::string DataPoolController::CurrentPoolId() const {
  const int position = window_.GroupChooser()->currentIndex() - 1;
  if (position < 0) return {};
  const std::vector<std::string> groups = LoadCollectionFile(state_.dataFiles.gruppierung);
  if (static_cast<std::size_t>(position) >= groups.size()) return {};
  return std::string(CollectionPoolId(groups[static_cast<std::size_t>(position)]));
}

void DataPoolController::OpenActivityWindow() {
  if (!activities_) {
    activities_ = new ActivitiesWindow(state_, window_.HostWindow());
    connect(activities_->SongButton(), &QPushButton::clicked, this, &DataPoolController::ShowActiveSong);
    connect(activities_->UserChooser(), &QComboBox::currentIndexChanged, this, [this] {
      activities_->ShowActiveSong({}, {});
      lastRefresh_ = 0;  // the new member's song at the next tick
    });
    // While the window exists the activity is polled; closing it ends the poll.
    poll_ = new QTimer(activities_);
    poll_->setInterval(250);
    connect(poll_, &QTimer::timeout, this, &DataPoolController::PollTick);
    poll_->start();
    connect(window_.GroupChooser(), &QComboBox::currentIndexChanged, activities_,
            [this] { LoadPoolsAndUsers(); });
  }
  activities_->show();
  activities_->raise();
  LoadPoolsAndUsers();
}

void DataPoolController::LoadPoolsAndUsers() {
  if (!activities_) return;
  if (!NetworkAvailable()) {
    activities_->ShowStatus(Tr("Es besteht keine Internetverbindung!", state_));
    return;
  }
  const std::string poolId = CurrentPoolId();
  if (poolId.empty()) {
    activities_->SetPoolsAndUsers({}, {});
    activities_->ShowStatus(Tr("Die gewählte Gruppe hat keine Datenpool ID", state_));
    return;
  }
  if (state_.settings.pmoUsername.empty()) {
    activities_->ShowStatus(Tr("Benutzername und Passwort für den Datenpool fehlen in den Einstellungen", state_));
    return;
  }
  activities_->ShowStatus(Tr("Verbindung zum Datenpool...", state_));
  pools_->Submit([this, connection = connection_, account = AccountOf(state_), poolId]() -> std::function<void()> {
    PoolsAndUsers reply = connection->LoadPoolsAndUsers(account, poolId);
    return [this, reply = std::move(reply)] {
      if (!activities_) return;
      QStringList users;
      for (const std::string& user : reply.users) users << FromCp1252(user);
      activities_->SetPoolsAndUsers(FromCp1252(reply.pool), users);
      activities_->ShowStatus(FromCp1252(reply.error));
      lastRefresh_ = 0;
    };
  });
}

void DataPoolController::ReportActivity(const std::string& record) {
  if (!sharing_->isChecked() || record.empty() || !NetworkAvailable()) return;
  const std::string poolId = CurrentPoolId();
  if (poolId.empty()) return;  // a report outside a pool goes nowhere
  const std::filesystem::path mappingFile = PoolMappingFile(state_.dataFiles.folder, poolId);
  const std::string mapping = mappingFile.empty() ? std::string() : ReadWholeFile(mappingFile).value_or("");
  const std::string poolSongId = PoolSongIdOf(mapping, RecordField(record, song_field::kId));
  std::vector<std::string> selectionIds;
  const SongListModel& selection = window_.SelectionSongList()->Model();
  for (int row = 0; row < selection.RowCount(); ++row) selectionIds.push_back(ToCp1252(selection.RowAt(row).id));
  reports_->Submit([this, connection = connection_, account = AccountOf(state_), poolId, poolSongId,
                    title = std::string(RecordField(record, song_field::kTitle)),
                    selectionValue = SelectionValue(selectionIds, mapping)]() -> std::function<void()> {
    const bool ok = connection->ReportActivity(account, poolId, poolSongId, title, selectionValue);
    return [this, ok] { emit activityReported(ok); };
  });
}

void DataPoolController::PollTick() {
  // At most every two seconds: when the time in whole seconds has passed the last refresh plus one.
  if (QDateTime::currentSecsSinceEpoch() > lastRefresh_ + 1) RefreshActivity();
}

void DataPoolController::RefreshActivity() {
  if (!activities_) return;
  // A request still running (a slow server) is waited for, not doubled; its time does not count.
  if (refreshes_->Busy()) return;
  lastRefresh_ = QDateTime::currentSecsSinceEpoch();
  if (!NetworkAvailable()) return;
  const std::string userId = UserIdOfEntry(ToCp1252(activities_->ChosenUserEntry()));
  if (!IsSafePoolFileId(userId)) return;
  refreshes_->SubmitUnlessBusy([this, connection = connection_, account = AccountOf(state_),
                                userId]() -> std::function<void()> {
    std::optional<std::string> file = connection->FetchActivity(account, userId);
    if (!file) return {};  // a failed download changes nothing
    return [this, userId, file = std::move(*file)] { ApplyActivity(userId, file); };
  });
}

void DataPoolController::ApplyActivity(const std::string& userId, const std::string& file) {
  const std::filesystem::path path = ActivityFilePath(state_.dataFiles.folder, userId);
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  WriteStoreFile(path, file);
  if (!activities_ || UserIdOfEntry(ToCp1252(activities_->ChosenUserEntry())) != userId) return;
  const Activity activity = ReadActivity(file);
  activities_->ShowActiveSong(FromCp1252(LocalSongId(activity.poolId, activity.poolSongId, activity.title)),
                              FromCp1252(activity.title));
  emit activityShown();
}

std::string DataPoolController::LocalSongId(const std::string& poolId, const std::string& poolSongId,
                                            const std::string& title) const {
  const std::filesystem::path mappingFile = PoolMappingFile(state_.dataFiles.folder, poolId);
  if (!mappingFile.empty()) {
    const std::string mapped = LocalSongIdOf(ReadWholeFile(mappingFile).value_or(""), poolSongId);
    if (!mapped.empty()) return mapped;
  }
  // Without a mapping the song is found by its title, as a musician would look for it.
  if (title.empty()) return {};
  for (const std::string& record : state_.songs.SongList()) {
    if (RecordField(record, song_field::kTitle) == title && RecordField(record, song_field::kId) != kDeletedMarker) {
      return std::string(RecordField(record, song_field::kId));
    }
  }
  return {};
}

void DataPoolController::ShowActiveSong() {
  if (!activities_) return;
  const QString id = activities_->ActiveSongId()->text();
  SongListWidget* list = window_.GroupSongList();
  for (int row = 0; row < list->RowCount(); ++row) {
    if (id.isEmpty() || list->Model().RowAt(row).id != id) continue;
    list->clearSelection();
    list->SelectRow(row);
    list->scrollTo(list->Model().index(row, 0));
    list->setFocus();
    activities_->ShowStatus({});
    return;
  }
  activities_->ShowStatus(Tr("Das Lied steht nicht in der angezeigten Liste", state_));
}

}  // namespace psalmora
