// Tooltips are translated first and the function-key suffix " (F7)" etc. appended afterwards, so every
// language shows the same key names.
#include "render/ui/presentation_toolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {

PresentationToolbar::PresentationToolbar(AppState& state, QWidget* parent) : QToolBar(parent), state_(state) {
  setObjectName(QStringLiteral("presentationToolbar"));
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(22, 22));
  setToolButtonStyle(Qt::ToolButtonIconOnly);

  auto* title = new QLabel(Tr("Präsentationssteuerung", state_), this);
  title->setObjectName(QStringLiteral("presentationTitle"));
  title->setContentsMargins(6, 0, 10, 0);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  addWidget(title);

  chords_ = addAction(AppIcon(IconId::Chords), Tr("Akkorde", state_));
  chords_->setToolTip(Tr("Akkorde ein aus", state_));
  chords_->setCheckable(true);
  translation_ = addAction(AppIcon(IconId::Translation), Tr("Übersetzung", state_));
  translation_->setToolTip(Tr("Übersetzung ein aus", state_));
  translation_->setCheckable(true);
  for (QAction* toggle : {chords_, translation_}) {
    connect(toggle, &QAction::toggled, this, [this] { emit chordsOrTranslationToggled(); });
  }
  addSeparator();

  AddLiveControls();
  addSeparator();
  AddCommand(AppIcon(IconId::SendToBeamer), Tr("Gewähltes Lied an Beamer senden", state_),
             PresentationCommand::SendToBeamer);
  // The key is the clicker's: "B" (or "."), taken by the beamer keys rather than a shortcut.
  black_ = addAction(QIcon::fromTheme(QStringLiteral("video-display")), Tr("Schwarzbild", state_));
  black_->setObjectName(QStringLiteral("blackScreenToggle"));
  black_->setToolTip(Tr("Schwarzbild", state_) + QStringLiteral(" (B)"));
  black_->setCheckable(true);
  connect(black_, &QAction::toggled, this, [this](bool on) { emit blackToggled(on); });
  addSeparator();

  AddSlideControls();
  addSeparator();

  AddCommand(AppIcon(IconId::News), Tr("Psalmoraaktuell", state_), PresentationCommand::News);
  AddCommand(AppIcon(IconId::WebSearch), Tr("Lieder im Web suchen", state_), PresentationCommand::WebSearch);
  AddCommand(AppIcon(IconId::SongSelect), Tr("SongSelect von CCLI", state_), PresentationCommand::SongSelect);
}

// The beamer's live controls, each with its function key; the keys work wherever the main window has
// the focus.
void PresentationToolbar::AddLiveControls() {
  struct LiveControl {
    IconId icon;
    QString tooltip;
    PresentationCommand command;
    Qt::Key key;
  };
  const LiveControl live[] = {
      {IconId::Footer, Tr("Fußzeile einblenden", state_) + QStringLiteral(" (F7)"), PresentationCommand::ToggleFooter,
       Qt::Key_F7},
      {IconId::Header, Tr("Kopfzeile einblenden", state_) + QStringLiteral(" (F8)"), PresentationCommand::ToggleHeader,
       Qt::Key_F8},
      {IconId::FontSmaller, Tr("Liedtext Schriftgröße -", state_) + QStringLiteral(" (F9)"),
       PresentationCommand::FontSmaller, Qt::Key_F9},
      {IconId::FontLarger, Tr("Liedtext Schriftgröße +", state_) + QStringLiteral(" (F10)"),
       PresentationCommand::FontLarger, Qt::Key_F10},
      {IconId::ScrollUp, Tr("Liedtext hochscrollen", state_) + QStringLiteral(" (F11)"), PresentationCommand::ScrollUp,
       Qt::Key_F11},
      {IconId::ScrollDown, Tr("Liedtext runterscrollen", state_) + QStringLiteral(" (F12)"),
       PresentationCommand::ScrollDown, Qt::Key_F12},
  };
  for (const LiveControl& control : live) {
    QAction* action = AddCommand(AppIcon(control.icon), control.tooltip, control.command);
    action->setShortcut(QKeySequence(control.key));
    action->setShortcutContext(Qt::WindowShortcut);
  }
}

// "Folien verwenden" and the nine slide buttons, disabled until a song with slides is shown.
void PresentationToolbar::AddSlideControls() {
  useSlides_ = new QCheckBox(Tr("Folien verwenden", state_), this);
  useSlides_->setChecked(state_.settings.folie > 0);
  connect(useSlides_, &QCheckBox::toggled, this, [this](bool on) { emit useSlidesToggled(on); });
  addWidget(useSlides_);
  for (int slide = 1; slide <= 9; ++slide) {
    QAction* button = addAction(QString::number(slide));
    button->setToolTip(Tr("Folie", state_) + QLatin1Char(' ') + QString::number(slide));
    button->setEnabled(false);
    connect(button, &QAction::triggered, this, [this, slide] { emit slideChosen(slide); });
    slides_[static_cast<std::size_t>(slide - 1)] = button;
  }
}

QAction* PresentationToolbar::AddCommand(const QIcon& icon, const QString& tooltip, PresentationCommand command) {
  QAction* action = addAction(icon, tooltip);
  action->setToolTip(tooltip);
  connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
  commands_[static_cast<std::size_t>(command)] = action;
  return action;
}

QAction* PresentationToolbar::Action(PresentationCommand command) const {
  return commands_[static_cast<std::size_t>(command)];
}

QAction* PresentationToolbar::SlideButton(int slide) const {
  if (slide < 1 || slide > 9) return nullptr;
  return slides_[static_cast<std::size_t>(slide - 1)];
}

void PresentationToolbar::SetSlideButtonsEnabled(int slideCount) {
  for (int slide = 1; slide <= 9; ++slide) SlideButton(slide)->setEnabled(slide <= slideCount);
}

}  // namespace psalmora
