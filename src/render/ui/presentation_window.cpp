// The frames are placed by hand rather than by a layout: their rectangles follow the band toggles
// exactly, and the media layer has to lie over the whole song layer.
#include "render/ui/presentation_window.h"

#include <QResizeEvent>
#include <QScreen>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWindow>
#include <algorithm>

#include "platform/page_view.h"

namespace psalmora {
namespace {

// Neither form takes the keyboard focus: the F-keys and the slide keys are shortcuts of the main window
// and work only while it is active.
constexpr Qt::WindowFlags kBeamerFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
constexpr Qt::WindowFlags kFramedFlags = Qt::Window | Qt::WindowDoesNotAcceptFocus;

}  // namespace

FrameRects LayOutFrames(const QSize& layer, const BandLayout& bands) {
  const int width = layer.width();
  const int height = layer.height();
  const int top = bands.headerVisible ? std::max(bands.headerHeight, 0) : 0;
  const int feet = bands.footerVisible ? std::max(bands.footerHeight, 0) : 0;
  FrameRects rects;
  rects.header = QRect(0, 0, width, top);
  rects.main = QRect(0, top, width, std::max(height - top - feet, 0));
  rects.footer = QRect(0, height - feet, width, feet);
  return rects;
}

QString PresentationWindow::BandStartHtml() {
  return QStringLiteral("<body text='#FFFFFF' bgcolor='#000000' scroll='no'><div align=center><h2></h2></div>");
}

QString PresentationWindow::MainStartHtml(const QString& programTitle, const QString& makerAddress) {
  return QStringLiteral("<body text='#FFFFFF' bgcolor='#000000' scroll='no'><div align=center><h2><br><br>") +
         programTitle.toHtmlEscaped() + QStringLiteral("<br></h2><h2>") + makerAddress.toHtmlEscaped() +
         QStringLiteral("</div>");
}

QString PresentationWindow::MediaStartHtml() {
  return QStringLiteral("<body bgcolor='#000000' scroll='no'>");
}

// CSS zoom rather than a transform: the lines wrap anew at the smaller size, so a long line does not
// shrink the whole page more than it needs. Wrapping makes the height not quite proportional to the
// zoom, hence the few rounds.
QString PresentationWindow::FitTextScript() {
  return QStringLiteral(R"(
(function () {
  function fit() {
    var body = document.body;
    if (!body) return;
    body.style.zoom = '';
    var room = window.innerHeight;
    var page = document.documentElement;
    if (room <= 0) return;
    var zoom = 1;
    for (var round = 0; round < 12 && page.scrollHeight > room; ++round) {
      zoom = Math.min(zoom * 0.98, zoom * room / page.scrollHeight);
      body.style.zoom = String(zoom);
    }
  }
  fit();
  window.addEventListener('resize', fit);
})();
)");
}

PresentationWindow::PresentationWindow(const QString& windowTitle, const QString& programTitle,
                                       const QString& makerAddress, const BandLayout& bands, QWidget* parent)
    : QWidget(parent, kBeamerFlags), bands_(bands) {
  setObjectName(QStringLiteral("presentationWindow"));
  setWindowTitle(windowTitle);
  // The operator keeps typing in the main window while the beamer appears, and after a click into it.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);

  songLayer_ = new QWidget(this);
  songLayer_->setObjectName(QStringLiteral("songLayer"));
  header_ = new PageView(songLayer_);
  header_->setObjectName(QStringLiteral("headerFrame"));
  main_ = new PageView(songLayer_);
  main_->setObjectName(QStringLiteral("mainFrame"));
  footer_ = new PageView(songLayer_);
  footer_->setObjectName(QStringLiteral("footerFrame"));
  media_ = new PageView(this);
  media_->setObjectName(QStringLiteral("mediaLayer"));
  for (PageView* view : {header_, main_, footer_, media_}) {
    view->setFocusPolicy(Qt::NoFocus);
    view->page()->setBackgroundColor(Qt::black);
  }

  header_->setHtml(BandStartHtml());
  main_->setHtml(MainStartHtml(programTitle, makerAddress));
  footer_->setHtml(BandStartHtml());
  media_->setHtml(MediaStartHtml());
  media_->hide();
  black_ = new QWidget(this);
  black_->setObjectName(QStringLiteral("blackScreen"));
  black_->setAutoFillBackground(true);
  black_->setPalette(black);
  black_->hide();
  ApplyBands();
}

void PresentationWindow::SetBlack(bool black) {
  black_->setVisible(black);
  if (black) black_->raise();
}

bool PresentationWindow::IsBlack() const {
  return !black_->isHidden();
}

void PresentationWindow::Place(const QRect& monitor, QScreen* screen) {
  placement_ = monitor;
  if (monitor.isEmpty()) {
    // Nowhere to show it (monitor 2 asked for without a second screen): it waits, hidden.
    hide();
    return;
  }
  SetFramed(false);
  if (screen) {
    if (!windowHandle()) create();
    windowHandle()->setScreen(screen);
  }
  setGeometry(monitor);
  if (!isVisible()) show();
}

void PresentationWindow::ShowFramed(const QRect& area, QScreen* screen) {
  placement_ = area;
  if (!framed_ || !isVisible()) {
    SetFramed(true);
    if (screen) {
      if (!windowHandle()) create();
      windowHandle()->setScreen(screen);
    }
    const QSize size(area.width() * 2 / 3, area.height() * 2 / 3);
    setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
  }
  if (!isVisible()) show();
}

void PresentationWindow::SetFramed(bool framed) {
  if (framed == framed_) return;
  framed_ = framed;
  // New window flags give a new native window, hidden until it is shown again.
  setWindowFlags(framed ? kFramedFlags : kBeamerFlags);
}

void PresentationWindow::ToggleHeader(int h) {
  if (!bands_.headerVisible) bands_.headerHeight = h;
  bands_.headerVisible = !bands_.headerVisible;
  ApplyBands();
}

void PresentationWindow::ToggleFooter(int h) {
  if (!bands_.footerVisible) bands_.footerHeight = h;
  bands_.footerVisible = !bands_.footerVisible;
  ApplyBands();
}

void PresentationWindow::SetFitText(bool fit) {
  if (fit == fitText_) return;
  fitText_ = fit;
  const QString name = QStringLiteral("psalmoraFitText");
  QWebEngineScriptCollection& scripts = main_->page()->scripts();
  if (!fit) {
    for (const QWebEngineScript& script : scripts.find(name)) scripts.remove(script);
    return;
  }
  QWebEngineScript script;
  script.setName(name);
  script.setSourceCode(FitTextScript());
  // Before the first paint, so the audience never sees the page overflow and then shrink.
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(false);
  scripts.insert(script);
}

void PresentationWindow::ShowSongLayer() {
  media_->hide();
  songLayer_->show();
  // A layer brought forward must not cover the black screen.
  if (IsBlack()) black_->raise();
  emit songLayerShown();
}

void PresentationWindow::ClearFooter() {
  footer_->setHtml(BandStartHtml());
}

void PresentationWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyBands();
}

void PresentationWindow::ApplyBands() {
  const QRect all(QPoint(0, 0), size());
  songLayer_->setGeometry(all);
  media_->setGeometry(all);
  black_->setGeometry(all);
  const FrameRects rects = LayOutFrames(all.size(), bands_);
  header_->setGeometry(rects.header);
  main_->setGeometry(rects.main);
  footer_->setGeometry(rects.footer);
}

}  // namespace psalmora
