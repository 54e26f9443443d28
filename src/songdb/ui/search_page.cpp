// The search page's widgets and the ways a search is asked for.
#include "songdb/ui/search_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "songdb/schema.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {
namespace {

// Return in the search scope drop-down starts the search, as it does in the search field.
class EnterFilter : public QObject {
 public:
  EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        onEnter_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onEnter_;
};

}  // namespace

void FillFieldChooser(QComboBox& chooser) {
  chooser.clear();
  for (const std::string& row : SongSchema()) chooser.addItem(FromCp1252(SchemaLabel(row)));
  chooser.addItem(QStringLiteral("Liedtext"));
  chooser.setCurrentIndex(2);
}

SearchPage::SearchPage(AppState& state, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("searchPage"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* form = new QGridLayout;
  searchField_ = new QLineEdit(this);
  searchField_->setObjectName(QStringLiteral("searchField"));
  searchField_->setClearButtonEnabled(true);
  searchScope_ = new QComboBox(this);
  searchScope_->setObjectName(QStringLiteral("searchScope"));
  FillFieldChooser(*searchScope_);
  searchButton_ = IconButton(AppIcon(IconId::SearchStart), Tr("Suche starten", state), this);
  form->addWidget(new QLabel(Tr("Suchtext:", state), this), 0, 0);
  form->addWidget(searchField_, 0, 1);
  form->addWidget(searchButton_, 0, 2, 2, 1, Qt::AlignVCenter);
  form->addWidget(new QLabel(Tr("suchen in:", state), this), 1, 0);
  form->addWidget(searchScope_, 1, 1);
  form->setColumnStretch(1, 1);
  layout->addLayout(form);
  asYouType_ = new QCheckBox(Tr("Suche beim Tippen", state), this);
  asYouType_->setObjectName(QStringLiteral("searchAsYouType"));
  asYouType_->setChecked(state.settings.suchebeimtippen != 0);
  layout->addWidget(asYouType_);
  searchStatus_ = new QLabel(Tr("Suchergebniss:", state), this);
  searchStatus_->setObjectName(QStringLiteral("searchStatus"));
  layout->addWidget(searchStatus_);

  searchHits_ = new SongListWidget(2, this);
  searchHits_->setObjectName(QStringLiteral("SearchHitList"));
  // The id column is present but has no visible width; "ID" is not translated.
  searchHits_->SetColumns({QStringLiteral("ID"), Tr("Titel", state)}, {0, 200});
  layout->addWidget(searchHits_, 1);

  connect(searchButton_, &QToolButton::clicked, this, [this] { emit searchRequested(); });
  connect(searchField_, &QLineEdit::returnPressed, this, [this] { emit searchRequested(); });
  searchScope_->installEventFilter(new EnterFilter(searchScope_, [this] { emit searchRequested(); }));

  // Each key restarts the pause, so only the text the typing rests on is searched.
  typingPause_ = new QTimer(this);
  typingPause_->setSingleShot(true);
  typingPause_->setInterval(kTypingPauseMs);
  const auto typed = [this] {
    if (asYouType_->isChecked()) typingPause_->start();
  };
  connect(searchField_, &QLineEdit::textEdited, this, typed);
  connect(searchScope_, &QComboBox::currentIndexChanged, this, typed);
  connect(asYouType_, &QCheckBox::toggled, this, [this](bool on) {
    if (!on) typingPause_->stop();
  });
  // A search asked for outright makes a pending one needless.
  connect(this, &SearchPage::searchRequested, typingPause_, &QTimer::stop);
  connect(typingPause_, &QTimer::timeout, this, [this] { emit typingSearchRequested(); });
}

}  // namespace psalmora
