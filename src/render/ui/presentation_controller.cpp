// Every beamer operation renders through `RenderPage` into the files of the data folder first; loading a
// page into a frame is skipped while the window does not exist, so the files stay current either way.
#include "render/ui/presentation_controller.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "platform/page_view.h"
#include "render/layout_file.h"
#include "render/ui/beamer_keys.h"
#include "render/ui/control_window.h"
#include "render/ui/mouse_over_warning.h"
#include "render/ui/presentation_host.h"
#include "render/ui/presentation_toolbar.h"
#include "render/ui/presentation_window.h"
#include "render/ui/preview_controller.h"
#include "render/ui/preview_pane.h"
#include "render/ui/song_order_window.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {
namespace {

constexpr char kMakerAddress[] = "www.psalmora.org";

PresentationServices WithDefaults(PresentationServices services) {
  if (!services.monitors) services.monitors = CurrentMonitors;
  if (!services.statsClock) services.statsClock = LocalCalendarSeconds;
  if (!services.millisecondsNow) services.millisecondsNow = [] { return QDateTime::currentMSecsSinceEpoch(); };
  return services;
}

}  // namespace

PresentationController::PresentationController(AppState& state, PresentationHost& window, Messages& messages,
                                               PresentationServices services)
    : QObject(window.HostWindow()),
      state_(state),
      main_(window),
      messages_(messages),
      services_(WithDefaults(std::move(services))) {
  setObjectName(QStringLiteral("presentationController"));
  recorder_ = std::make_unique<PresentationRecorder>(state_.dataFiles.statistik, services_.statsClock);
  recordTimer_ = new QTimer(this);
  recordTimer_->setInterval(1000);
  connect(recordTimer_, &QTimer::timeout, this, [this] { recorder_->RecordPresentation(); });
  recordTimer_->start();

  miniatureTimer_ = new QTimer(this);
  miniatureTimer_->setSingleShot(true);
  connect(miniatureTimer_, &QTimer::timeout, this, &PresentationController::RefreshMiniatureWhenDue);

  screens_ = new ScreenWatcher(this);
  connect(screens_, &ScreenWatcher::screensChanged, this, &PresentationController::FollowScreens);
  mouseWarning_ =
      new MouseOverWarning([this] { return state_.settings.warnungmaus != 0; }, [this] { return services_.monitors(); },
                           Tr("Maus befindet sich", state_), Tr("über der Präsentation!", state_), this);

  keys_ = new BeamerKeyFilter(
      main_.HostWindow(), [this] { return IsOpen(); }, this);
  connect(keys_, &BeamerKeyFilter::keyPressed, this, &PresentationController::OnBeamerKey);
  ConnectMainWindow();
  // Paging as the settings left it; nothing is rendered before a song is sent.
  if (state_.settings.folie > 0 && state_.render.paging.currentSlide == 0) state_.render.paging.currentSlide = 1;
  main_.SetSlideKeys(state_.settings.folie > 0);
  if (state_.settings.showwindowkontroll != 0) OpenControlWindow();
  if (state_.settings.showwindowablauf != 0) ShowSongOrderWindow();
}

PresentationController::~PresentationController() {
  // The beamer is a window of its own (no parent): it goes with the controller.
  delete window_.data();
}

PresentationController* PresentationController::Of(const QObject& window) {
  return window.findChild<PresentationController*>(QStringLiteral("presentationController"),
                                                   Qt::FindDirectChildrenOnly);
}

void PresentationController::ConnectMainWindow() {
  PresentationToolbar* bar = main_.PresentationBar();
  connect(bar, &PresentationToolbar::chordsOrTranslationToggled, this,
          &PresentationController::ChordsOrTranslationToggled);
  connect(bar, &PresentationToolbar::blackToggled, this, &PresentationController::SetBlack);
  connect(bar, &PresentationToolbar::useSlidesToggled, this, [this](bool on) {
    SetPaging(on);
    if (PreviewController* preview = PreviewController::Of(*main_.HostWindow())) preview->ShowPreview();
  });
  for (SongListWidget* list : {main_.GroupSongList(), main_.SelectionSongList(), main_.SearchHitList()}) {
    connect(list, &SongListWidget::songDoubleClicked, this, [this] {
      if (IsOpen()) SendSongToBeamer();
    });
    connect(list, &SongListWidget::enterPressed, this, &PresentationController::SendSongOnEnter);
  }
  connect(main_.Preview(), &PreviewPane::commandTriggered, this, [this](PreviewCommand command) {
    if (command == PreviewCommand::SongOrder) ShowSongOrderWindow();
  });
  if (PreviewController* preview = PreviewController::Of(*main_.HostWindow())) {
    connect(preview, &PreviewController::slideMarkerClicked, this, &PresentationController::ShowPreviewSlide);
    connect(preview, &PreviewController::previewRendered, this, &PresentationController::MirrorPreview);
    connect(preview, &PreviewController::previewLoaded, this, &PresentationController::MarkPreviewSlide);
    connect(preview, &PreviewController::songOrderTextChanged, this, [this](const QString& text) {
      if (songOrder_ && songOrder_->isVisible()) songOrder_->SetOrderText(text);
    });
  }
}

void PresentationController::OnPresentationCommand(PresentationCommand command) {
  switch (command) {
    case PresentationCommand::ToggleFooter:
      ToggleFooter();
      break;
    case PresentationCommand::ToggleHeader:
      ToggleHeader();
      break;
    case PresentationCommand::FontSmaller:
      ChangeFontSize(StyleAdjustment::kSmaller);
      break;
    case PresentationCommand::FontLarger:
      ChangeFontSize(StyleAdjustment::kLarger);
      break;
    case PresentationCommand::ScrollUp:
      ScrollBeamer(false);
      break;
    case PresentationCommand::ScrollDown:
      ScrollBeamer(true);
      break;
    case PresentationCommand::SendToBeamer:
      SendSongToBeamer();
      break;
    default:
      break;
  }
}

void PresentationController::SendSongOnEnter() {
  // With the mirror on the beamer follows the preview; Enter only moves through the list.
  if (IsOpen() && !main_.Preview()->MirrorBeamerToggle()->isChecked()) SendSongToBeamer();
}

// --- the window and the monitors ---

PresentationWindow* PresentationController::Window() const {
  return window_.data();
}

void PresentationController::OpenPresentation(int monitor) {
  mode_ = monitor == 0 ? 0 : 1;
  delete window_.data();
  BandLayout bands;
  bands.headerVisible = headerVisible_;
  bands.footerVisible = footerVisible_;
  bands.headerHeight = state_.settings.akkordzeilehoehe;
  bands.footerHeight = state_.settings.fusszeilenhoehe;
  window_ = new PresentationWindow(QStringLiteral("Präsentationsfenster"), QStringLiteral("Psalmora"),
                                   QString::fromLatin1(kMakerAddress), bands);
  window_->SetBlack(black_);
  keys_->SetBeamerWindow(window_);
  PlaceWindow(false);
  if (window_->IsFramed()) main_.ShowStatusMessage(Tr("Kein zweiter Bildschirm: Präsentation im Fenster", state_));
  SyncToggles();
  GiveFocusBack();
}

void PresentationController::PlaceWindow(bool keepVisible) {
  if (!window_) return;
  const Monitors monitors = services_.monitors();
  if (mode_ == 1 && !monitors.HasSecond()) {
    if (keepVisible && !window_->IsFramed()) {
      // A projector that went away during the service: the beamer covers the screen that is left
      // rather than staying off-desktop.
      window_->Place(monitors.first, monitors.firstScreen);
    } else {
      // No projector from the start: a window on the only screen to rehearse with, until one appears.
      QScreen* screen = monitors.firstScreen.data();
      window_->ShowFramed(screen ? screen->availableGeometry() : monitors.first, screen);
    }
    return;
  }
  window_->Place(monitors.Rect(mode_), monitors.Screen(mode_));
}

void PresentationController::FollowScreens() {
  if (!window_) return;
  const bool wasShown = window_->isVisible();
  PlaceWindow(wasShown);
  if (window_->isVisible()) MarkBeamerChanged();
  GiveFocusBack();
}

void PresentationController::GiveFocusBack() {
  // A dialog that is up keeps the focus; the main window gets it back when the dialog closes.
  if (QApplication::activeModalWidget()) return;
  main_.HostWindow()->activateWindow();
  main_.HostWindow()->raise();
}

void PresentationController::SyncToggles() {
  const Layout layout = LoadLayout(state_.programFolder / "layouts", state_.settings.layouts.beamer);
  PresentationToolbar* bar = main_.PresentationBar();
  const QSignalBlocker chords(bar->ChordsToggle());
  const QSignalBlocker translation(bar->TranslationToggle());
  bar->ChordsToggle()->setChecked(ParseStyleSpec(layout.Line(layout_line::kChordStyle)).IsShown());
  bar->TranslationToggle()->setChecked(ParseStyleSpec(layout.Line(layout_line::kTranslationStyle)).IsShown());
}

void PresentationController::ShowMonitorInfo() {
  const QString text = MonitorInfoText(services_.monitors(), Tr("Monitor 1", state_), Tr("Monitor 2", state_));
  messages_.Show(main_.HostWindow(), MessageIcon::Information, QStringLiteral("Monitor Info"), text);
}

// --- rendering ---

std::vector<std::string> PresentationController::ChosenSongs() const {
  std::vector<std::string> records;
  SongListWidget* list = main_.CurrentSongListWidget();
  if (!list) return records;
  for (const QString& id : list->SelectedIds()) records.push_back(state_.songs.FindSongRecord(ToCp1252(id)));
  return records;
}

void PresentationController::TakeChosenSong() {
  freeText_.reset();
  beamerSongs_ = ChosenSongs();
  beamerRow_ = -1;
  if (main_.CurrentSongList() == SongListId::Selection) {
    // The first song chosen is the one rendered; its row is where "next" and "previous" go on from.
    const QModelIndexList rows = main_.SelectionSongList()->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
      if (beamerRow_ < 0 || index.row() < beamerRow_) beamerRow_ = index.row();
    }
  }
  beamerOffset_ = ToCp1252(main_.Preview()->TransposeField()->text());
}

std::string PresentationController::LayoutIdOf(RenderMode mode) const {
  const LayoutAssignment& layouts = state_.settings.layouts;
  const std::string_view key = LayoutSettingKey(mode);
  if (key == "vorschau") return layouts.vorschau;
  if (key == "beamer") return layouts.beamer;
  if (key == "kopfzeile") return layouts.kopfzeile;
  if (key == kKeyFooterLayout) return layouts.fusszeile;
  return {};
}

RenderResult PresentationController::Render(RenderMode mode) {
  RenderRequest request;
  request.mode = mode;
  // Slides, font size and the toggles re-render what was sent, never what the lists choose for the
  // preview meanwhile.
  request.renderList = beamerSongs_;
  request.layoutKey = LayoutIdOf(mode);
  request.transposeOffset = beamerOffset_;
  request.twoColumns = main_.Preview()->TwoColumnsToggle()->isChecked();
  request.beamerSongRecord = beamerRecord_;
  const RenderFolders folders{state_.dataFiles.folder, state_.programFolder / "layouts"};
  RenderResult result = RenderPage(request, folders, state_.render);
  if (!result.written) std::fprintf(stderr, "psalmora: beamer page not written: %s\n", result.error.c_str());
  LoadIntoFrame(mode, result);
  return result;
}

void PresentationController::LoadIntoFrame(RenderMode mode, const RenderResult& result) {
  if (!result.load || !window_) return;
  window_->SetFitText(state_.settings.beamertextanpassen != 0);
  PageView* frame = nullptr;
  switch (mode) {
    case RenderMode::kBeamerLied:
    case RenderMode::kFreetext:
      frame = window_->MainFrame();
      break;
    case RenderMode::kAkkorde:
    case RenderMode::kKopfzeile:
      frame = window_->HeaderFrame();
      break;
    case RenderMode::kFuss:
      frame = window_->FooterFrame();
      break;
    default:
      return;
  }
  frame->LoadPageFile(result.page);
  if (mode == RenderMode::kBeamerLied || mode == RenderMode::kFreetext) window_->ShowSongLayer();
}

void PresentationController::MirrorPreview(const QString& file) {
  // Only the preview page is mirrored: the band pages of a send belong in their bands.
  if (!window_ || !main_.Preview()->MirrorBeamerToggle()->isChecked()) return;
  // The previewed song is now the one in front of the congregation, with its own bands.
  TakeChosenSong();
  window_->SetFitText(state_.settings.beamertextanpassen != 0);
  window_->MainFrame()->LoadPageFile(file.toStdString());
  window_->ShowSongLayer();
  Render(RenderMode::kAkkorde);
  Render(RenderMode::kFuss);
  MarkBeamerChanged();
}

void PresentationController::AfterBeamerSong(const RenderResult& result, bool newPresentation) {
  if (!result.load) return;
  beamerRecord_ = result.record;
  beamerSlides_ = result.blockCount;
  if (!result.beamerTitle.empty()) main_.ShowBeamerTitle(FromCp1252(result.beamerTitle));
  main_.PresentationBar()->SetSlideButtonsEnabled(state_.render.paging.currentSlide != 0 ? result.blockCount : 0);
  // Only a song the audience can see counts: without a beamer on a screen the pages are merely written,
  // and the framed window of a rehearsal without a projector has no audience.
  if (window_ && window_->isVisible() && !window_->IsFramed()) {
    recorder_->SongShown(result.beamerSongId, newPresentation);
  } else {
    recorder_->SongRemoved();
  }
  MarkBeamerChanged();
  MarkPreviewSlide();
}

void PresentationController::SendSongToBeamer() {
  TakeChosenSong();
  state_.render.paging.keepSlide = false;
  const RenderResult song = Render(RenderMode::kBeamerLied);
  AfterBeamerSong(song, true);
  Render(RenderMode::kAkkorde);
  Render(RenderMode::kFuss);
}

void PresentationController::SelectSlide(int slide) {
  if (slide < 1) return;
  state_.render.paging.currentSlide = slide;
  state_.render.paging.keepSlide = true;
  // A slide of the song sent brings it back over free text, with its bands.
  const bool bandsToo = freeText_.has_value();
  freeText_.reset();
  AfterBeamerSong(Render(RenderMode::kBeamerLied), false);
  if (bandsToo) {
    Render(RenderMode::kAkkorde);
    Render(RenderMode::kFuss);
  }
}

void PresentationController::ShowPreviewSlide(int slide) {
  if (slide < 1) return;
  TakeChosenSong();
  state_.render.paging.currentSlide = slide;
  state_.render.paging.keepSlide = true;
  AfterBeamerSong(Render(RenderMode::kBeamerLied), false);
  Render(RenderMode::kAkkorde);
  Render(RenderMode::kFuss);
}

// --- the live keys and the black screen ---

void PresentationController::OnBeamerKey(BeamerKey key) {
  switch (key) {
    case BeamerKey::Next:
      NextSlide();
      break;
    case BeamerKey::Previous:
      PreviousSlide();
      break;
    case BeamerKey::Black:
      // Through the toggle, so the button shows the state.
      main_.PresentationBar()->BlackToggle()->toggle();
      break;
    case BeamerKey::None:
      break;
  }
}

int PresentationController::BeamerSlide() const {
  return beamerSongs_.empty() ? 0 : state_.render.paging.currentSlide;
}

int PresentationController::BeamerSelectionRow() const {
  if (beamerRow_ < 0 || beamerSongs_.empty()) return -1;
  SongListWidget* list = main_.SelectionSongList();
  const QString id = FromCp1252(RecordField(beamerSongs_.front(), 1));
  // The list may have changed since the send: the row moves with the song (the nearest one of its rows).
  int found = -1;
  for (int row = 0; row < list->RowCount(); ++row) {
    if (list->Model().RowAt(row).id != id) continue;
    if (found < 0 || std::abs(row - beamerRow_) < std::abs(found - beamerRow_)) found = row;
  }
  return found;
}

bool PresentationController::SendSelectionRow(int row) {
  SongListWidget* list = main_.SelectionSongList();
  if (row < 0 || row >= list->RowCount()) return false;
  list->SelectRow(row);
  list->scrollTo(list->Model().index(row, SongListModel::kIdColumn));
  main_.SetCurrentSongList(SongListId::Selection);
  SendSongToBeamer();
  return true;
}

void PresentationController::NextSlide() {
  if (!window_) return;
  const int slide = state_.render.paging.currentSlide;
  if (slide == 0 || freeText_ || beamerSongs_.empty()) {
    ScrollBeamer(true);
    return;
  }
  if (slide < beamerSlides_) {
    SelectSlide(slide + 1);
    return;
  }
  const int row = BeamerSelectionRow();
  if (row >= 0) SendSelectionRow(row + 1);
}

void PresentationController::PreviousSlide() {
  if (!window_) return;
  const int slide = state_.render.paging.currentSlide;
  if (slide == 0 || freeText_ || beamerSongs_.empty()) {
    ScrollBeamer(false);
    return;
  }
  if (slide > 1) {
    SelectSlide(std::min(slide - 1, std::max(beamerSlides_, 1)));
    return;
  }
  const int row = BeamerSelectionRow();
  if (row < 0 || !SendSelectionRow(row - 1)) return;
  if (beamerSlides_ > 1) SelectSlide(beamerSlides_);
}

void PresentationController::MarkPreviewSlide() {
  PreviewController* preview = PreviewController::Of(*main_.HostWindow());
  if (!preview) return;
  const std::string_view shown = RecordField(main_.Preview()->ShownRecord(), 1);
  const bool sameSong =
      !beamerRecord_.empty() && !freeText_ && !shown.empty() && shown == RecordField(beamerRecord_, 1);
  const int slide = sameSong ? BeamerSlide() : 0;
  // The markers are the page's only elements with a click handler, one per block in block order.
  preview->View()->page()->runJavaScript(
      QStringLiteral("(function (n) {"
                     "  var markers = document.querySelectorAll('span[onclick]');"
                     "  for (var i = 0; i < markers.length; ++i) {"
                     "    var on = i + 1 == n;"
                     "    markers[i].style.backgroundColor = on ? '#FF8C00' : 'yellow';"
                     "    markers[i].style.outline = on ? '2px solid #C00000' : '';"
                     "    markers[i].setAttribute('data-beamer', on ? '1' : '0');"
                     "    if (on && markers[i].scrollIntoView) markers[i].scrollIntoView({block: 'nearest'});"
                     "  }"
                     "})(%1);")
          .arg(slide));
}

void PresentationController::SetBlack(bool black) {
  black_ = black;
  QAction* toggle = main_.PresentationBar()->BlackToggle();
  if (toggle->isChecked() != black) {
    const QSignalBlocker quiet(toggle);
    toggle->setChecked(black);
  }
  if (!window_) return;
  window_->SetBlack(black);
  MarkBeamerChanged();
}

void PresentationController::SetPaging(bool on) {
  state_.render.paging.currentSlide = on ? 1 : 0;
  state_.settings.folie = on ? 1 : 0;
  main_.SetSlideKeys(on);
  if (!on) main_.PresentationBar()->SetSlideButtonsEnabled(0);
  state_.render.paging.keepSlide = true;
  RenderBeamerAgain();
}

void PresentationController::ToggleFooter() {
  if (!window_) return;
  window_->ToggleFooter(state_.settings.fusszeilenhoehe);
  footerVisible_ = window_->Bands().footerVisible;
  MarkBeamerChanged();
}

void PresentationController::ToggleHeader() {
  if (!window_) return;
  window_->ToggleHeader(state_.settings.akkordzeilehoehe);
  headerVisible_ = window_->Bands().headerVisible;
  MarkBeamerChanged();
}

bool PresentationController::AdjustBeamerLayout(StyleAdjustment adjustment) {
  const std::filesystem::path folder = state_.programFolder / "layouts";
  const std::string& key = state_.settings.layouts.beamer;
  Layout layout = LoadLayout(folder, key);
  PresentationToolbar* bar = main_.PresentationBar();
  return AdjustLayoutStyles(layout, adjustment, folder, key, bar->ChordsToggle()->isChecked(),
                            bar->TranslationToggle()->isChecked());
}

void PresentationController::ChangeFontSize(StyleAdjustment adjustment) {
  if (!window_) return;
  state_.render.paging.keepSlide = true;
  AdjustBeamerLayout(adjustment);
  RenderBeamerAgain();
}

void PresentationController::ChordsOrTranslationToggled() {
  state_.render.paging.keepSlide = true;
  AdjustBeamerLayout(StyleAdjustment::kUpdateShown);
  RenderBeamerAgain();
}

void PresentationController::ScrollBeamer(bool down) {
  if (!window_) return;
  const int step = down ? state_.settings.scrollweite : -state_.settings.scrollweite;
  window_->MainFrame()->page()->runJavaScript(QStringLiteral("scrollBy(0,%1)").arg(step));
  MarkBeamerChanged();
}

void PresentationController::SendFreeText(const std::string& headerText, const std::string& freeText) {
  freeText_ = freeText;
  RenderFreeText();
  RenderRequest request;
  request.mode = RenderMode::kKopfzeile;
  request.layoutKey = LayoutIdOf(RenderMode::kKopfzeile);
  request.headerText = headerText;
  const RenderFolders folders{state_.dataFiles.folder, state_.programFolder / "layouts"};
  LoadIntoFrame(RenderMode::kKopfzeile, RenderPage(request, folders, state_.render));
  // The song's authors and copyright do not belong under an announcement.
  if (window_) window_->ClearFooter();
  recorder_->SongRemoved();
  MarkBeamerChanged();
}

void PresentationController::RenderFreeText() {
  RenderRequest request;
  request.mode = RenderMode::kFreetext;
  request.layoutKey = LayoutIdOf(RenderMode::kFreetext);
  request.freeText = freeText_.value_or(std::string());
  request.beamerSongRecord = beamerRecord_;
  const RenderFolders folders{state_.dataFiles.folder, state_.programFolder / "layouts"};
  LoadIntoFrame(RenderMode::kFreetext, RenderPage(request, folders, state_.render));
}

void PresentationController::RenderBeamerAgain() {
  if (freeText_) {
    RenderFreeText();
    MarkBeamerChanged();
    return;
  }
  AfterBeamerSong(Render(RenderMode::kBeamerLied), false);
}

// --- the miniature, the side windows and the shutdown ---

void PresentationController::MarkBeamerChanged() {
  refreshPending_ = true;
  const qint64 now = services_.millisecondsNow();
  changedSecond_ = now / 1000;
  // Due once the clock has passed that second: at the start of the next one.
  miniatureTimer_->start(static_cast<int>(1000 - now % 1000) + 1);
  emit beamerChanged();
}

void PresentationController::RefreshMiniatureWhenDue() {
  if (!refreshPending_) return;
  if (!control_) return;  // stays due until the window exists
  const qint64 now = services_.millisecondsNow();
  if (now / 1000 <= changedSecond_) {
    miniatureTimer_->start(static_cast<int>(1000 - now % 1000) + 1);
    return;
  }
  refreshPending_ = false;
  RefreshMiniature();
}

void PresentationController::RefreshMiniature() {
  if (!control_ || !window_ || !window_->isVisible() || window_->width() <= 0) return;
  control_->ShowMiniature(window_->grab());
}

void PresentationController::OpenControlWindow() {
  if (!control_) {
    control_ =
        new ControlWindow(Tr("Präsentation Kontrollfenster", state_),
                          QPoint(state_.settings.windowkontrollx, state_.settings.windowkontrolly), main_.HostWindow());
    connect(control_, &ControlWindow::hiddenByUser, this, [this] {
      state_.settings.showwindowkontroll = 0;
      GiveFocusBack();
    });
  }
  state_.settings.showwindowkontroll = 1;
  control_->show();
  control_->raise();
  if (refreshPending_) {
    RefreshMiniatureWhenDue();
  } else {
    RefreshMiniature();
  }
}

void PresentationController::ShowSongOrderWindow() {
  if (!songOrder_) {
    const Settings& s = state_.settings;
    songOrder_ = new SongOrderWindow(Tr("liedablauf", state_),
                                     QRect(s.windowablaufx, s.windowablaufy, s.windowablaufweite, s.windowablaufhohe),
                                     main_.HostWindow());
    connect(songOrder_, &SongOrderWindow::hiddenByUser, this, [this] {
      state_.settings.showwindowablauf = 0;
      GiveFocusBack();
    });
  }
  state_.settings.showwindowablauf = 1;
  if (PreviewController* preview = PreviewController::Of(*main_.HostWindow()))
    songOrder_->SetOrderText(preview->SongOrderText());
  songOrder_->show();
  songOrder_->raise();
}

void PresentationController::StoreRunValues(Settings& settings) const {
  settings.frametop = headerVisible_ ? 1 : 0;
  settings.framefeet = footerVisible_ ? 1 : 0;
  // Shown state: kept up to date in the settings whenever a window is shown or closed.
  settings.showwindowkontroll = state_.settings.showwindowkontroll;
  settings.showwindowablauf = state_.settings.showwindowablauf;
  if (control_) {
    settings.windowkontrollx = control_->pos().x();
    settings.windowkontrolly = control_->pos().y();
  }
  if (songOrder_) {
    settings.windowablaufx = songOrder_->pos().x();
    settings.windowablaufy = songOrder_->pos().y();
    settings.windowablaufweite = songOrder_->width();
    settings.windowablaufhohe = songOrder_->height();
  }
}

}  // namespace psalmora
