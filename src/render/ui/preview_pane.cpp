// Preview pane widgets. The page view itself is placed into ViewHost() by the renderer's UI side.
#include "render/ui/preview_pane.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "songdb/schema.h"

namespace psalmora {
namespace {

const QColor kTempoGrey(242, 242, 242);
const QColor kTempoRed(255, 0, 0);

}  // namespace

int TempoBlinkPeriodMs(long long tempo) {
  if (tempo <= 0 || tempo > 1000000000LL) return 0;
  const long long beatsPerThousandMinutes = tempo * 1000 / 60;
  if (beatsPerThousandMinutes <= 0) return 0;
  return static_cast<int>(1000000 / beatsPerThousandMinutes);
}

PreviewPane::PreviewPane(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
  setObjectName(QStringLiteral("previewPane"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // Made first: the tempo toggle built with the strip restarts it.
  tempoTimer_ = new QTimer(this);
  connect(tempoTimer_, &QTimer::timeout, this, [this] { ToggleTempoColour(); });
  layout->addWidget(BuildCommandStrip());
  layout->addWidget(BuildViewFrame(), 1);

  connect(Action(PreviewCommand::TransposeDown), &QAction::triggered, this, [this] {
    SetTransposeValue(TransposeValue() - 1);
    emit previewRequested();
  });
  connect(Action(PreviewCommand::TransposeUp), &QAction::triggered, this, [this] {
    SetTransposeValue(TransposeValue() + 1);
    emit previewRequested();
  });
  SetSongStateButtons({});
}

// The toolbar with the song commands and, at its right, the tempo label.
QWidget* PreviewPane::BuildCommandStrip() {
  auto* strip = new QWidget(this);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(0, 0, 4, 0);
  stripLayout->setSpacing(4);
  toolbar_ = new QToolBar(strip);
  toolbar_->setObjectName(QStringLiteral("previewToolbar"));
  toolbar_->setIconSize(QSize(20, 20));
  stripLayout->addWidget(toolbar_, 1);

  AddCommand(IconId::TransposeDown, Tr("Akkorde runter transponieren", state_), PreviewCommand::TransposeDown);
  transposeField_ = new QLineEdit(QStringLiteral("0"), toolbar_);
  transposeField_->setObjectName(QStringLiteral("TransposeField"));
  transposeField_->setValidator(new QIntValidator(-99, 99, transposeField_));
  transposeField_->setAlignment(Qt::AlignCenter);
  transposeField_->setFixedWidth(transposeField_->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 12);
  connect(transposeField_, &QLineEdit::editingFinished, this, [this] { emit previewRequested(); });
  toolbar_->addWidget(transposeField_);
  AddCommand(IconId::TransposeUp, Tr("Akkorde hoch transponieren", state_), PreviewCommand::TransposeUp);
  AddCommand(IconId::SongCopy, Tr("songcopy speichern", state_), PreviewCommand::SaveSongCopy);
  toolbar_->addSeparator();
  twoColumns_ = toolbar_->addAction(AppIcon(IconId::TwoColumns), Tr("lange Texte in zwei Spalten darstellen", state_));
  twoColumns_->setCheckable(true);
  connect(twoColumns_, &QAction::toggled, this, [this] { emit previewRequested(); });
  AddCommand(IconId::SongOrder, Tr("liedablauf", state_), PreviewCommand::SongOrder);
  toolbar_->addSeparator();
  mirrorBeamer_ =
      toolbar_->addAction(AppIcon(IconId::MirrorBeamer), Tr("Beamer zeigt das gleiche an wie Vorschau", state_));
  mirrorBeamer_->setCheckable(true);
  toolbar_->addSeparator();
  AddCommand(IconId::VideoBackground, Tr("Video im Hintergrund abspielen", state_), PreviewCommand::VideoInBackground);
  AddCommand(IconId::VideoBeamer, Tr("Video auf Beamer abspielen", state_), PreviewCommand::VideoOnBeamer);
  AddCommand(IconId::VideoStop, Tr("Video anhalten", state_), PreviewCommand::VideoStop);
  AddCommand(IconId::Activities, Tr("Aktivitäten empfangen", state_), PreviewCommand::Activities);
  toolbar_->addSeparator();
  tempoToggle_ = toolbar_->addAction(AppIcon(IconId::Tempo), Tr("Songtempo anzeigen", state_));
  tempoToggle_->setCheckable(true);
  connect(tempoToggle_, &QAction::toggled, this, [this] { RestartTempoBlink(); });

  tempoLabel_ = new QLabel(QStringLiteral("kein Tempo"), strip);
  tempoLabel_->setObjectName(QStringLiteral("tempoLabel"));
  tempoLabel_->setTextFormat(Qt::PlainText);  // shows the song's tempo field as typed
  tempoLabel_->setAutoFillBackground(true);
  tempoLabel_->setContentsMargins(8, 2, 8, 2);
  tempoLabel_->setMinimumWidth(tempoLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Tempo: 000 bpm")) + 20);
  tempoLabel_->setAlignment(Qt::AlignCenter);
  SetTempoColour(false);
  stripLayout->addWidget(tempoLabel_);
  return strip;
}

// The framed white host the page view is placed into.
QWidget* PreviewPane::BuildViewFrame() {
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(1, 1, 1, 1);
  viewHost_ = new QWidget(frame);
  frameLayout->addWidget(viewHost_);
  viewHost_->setObjectName(QStringLiteral("previewViewHost"));
  viewHost_->setAutoFillBackground(true);
  QPalette page = viewHost_->palette();
  page.setColor(QPalette::Window, Qt::white);
  viewHost_->setPalette(page);
  auto* hostLayout = new QVBoxLayout(viewHost_);
  hostLayout->setContentsMargins(0, 0, 0, 0);
  return frame;
}

QAction* PreviewPane::AddCommand(IconId icon, const QString& tooltip, PreviewCommand command) {
  QAction* action = toolbar_->addAction(AppIcon(icon), tooltip);
  action->setToolTip(tooltip);
  connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
  commands_[static_cast<std::size_t>(command)] = action;
  return action;
}

QAction* PreviewPane::Action(PreviewCommand command) const {
  return commands_[static_cast<std::size_t>(command)];
}

int PreviewPane::TransposeValue() const {
  return static_cast<int>(LeadingNumber(transposeField_->text().toStdString()));
}

void PreviewPane::SetTransposeValue(int semitones) {
  transposeField_->setText(QString::number(semitones));
}

void PreviewPane::SetShownRecord(std::string record) {
  shownRecord_ = std::move(record);
  SetSongStateButtons(shownRecord_);
  const std::string_view tempo = RecordField(shownRecord_, song_field::kTempo);
  tempoLabel_->setText(tempo.empty() ? QStringLiteral("kein Tempo")
                                     : QStringLiteral("Tempo: ") + FromCp1252(tempo) + QStringLiteral(" bpm"));
  SetTempoColour(false);
  RestartTempoBlink();
}

void PreviewPane::SetSongStateButtons(std::string_view record) {
  const bool hasVideo = LeadingNumber(RecordField(record, song_field::kVideoId)) != 0;
  Action(PreviewCommand::VideoInBackground)->setEnabled(hasVideo);
  Action(PreviewCommand::VideoOnBeamer)->setEnabled(hasVideo);
  Action(PreviewCommand::VideoStop)->setEnabled(true);
}

void PreviewPane::RestartTempoBlink() {
  tempoTimer_->stop();
  if (!tempoToggle_->isChecked()) return;
  const int period = TempoBlinkPeriodMs(LeadingNumber(RecordField(shownRecord_, song_field::kTempo)));
  // No tempo: the label keeps its colour.
  if (period > 0) tempoTimer_->start(period);
}

void PreviewPane::ToggleTempoColour() {
  SetTempoColour(!tempoRed_);
}

void PreviewPane::SetTempoColour(bool red) {
  tempoRed_ = red;
  QPalette palette = tempoLabel_->palette();
  palette.setColor(QPalette::Window, red ? kTempoRed : kTempoGrey);
  tempoLabel_->setPalette(palette);
}

}  // namespace psalmora
