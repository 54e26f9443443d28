// One application-wide filter rather than shortcuts: the song lists take Up, Down, PageUp and PageDown
// for themselves before a window shortcut is looked at, so the choice has to be made before the focus
// widget sees the key.
#include "render/ui/beamer_keys.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace psalmora {

BeamerKey BeamerKeyFor(int key, Qt::KeyboardModifiers modifiers, KeyFocus focus) {
  if (focus == KeyFocus::Text) return BeamerKey::None;
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return BeamerKey::None;
  const bool list = focus == KeyFocus::List;
  switch (key) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
      return BeamerKey::Next;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
      return BeamerKey::Previous;
    case Qt::Key_Down:
    case Qt::Key_Space:
      return list ? BeamerKey::None : BeamerKey::Next;
    case Qt::Key_Up:
      return list ? BeamerKey::None : BeamerKey::Previous;
    case Qt::Key_B:
    case Qt::Key_Period:
      return BeamerKey::Black;
    default:
      return BeamerKey::None;
  }
}

KeyFocus FocusKindOf(const QWidget* widget) {
  if (!widget) return KeyFocus::Other;
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
      qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)) {
    return KeyFocus::Text;
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
    return combo->isEditable() ? KeyFocus::Text : KeyFocus::Other;
  }
  // The viewport of a list gets the keys of the list only through the list itself.
  if (qobject_cast<const QAbstractItemView*>(widget)) return KeyFocus::List;
  return KeyFocus::Other;
}

BeamerKeyFilter::BeamerKeyFilter(QWidget* mainWindow, std::function<bool()> active, QObject* parent)
    : QObject(parent), main_(mainWindow), active_(std::move(active)) {
  qApp->installEventFilter(this);
}

bool BeamerKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  QWidget* window = widget->window();
  if (window != main_.data() && (beamer_.isNull() || window != beamer_.data())) return false;
  if (!active_ || !active_()) return false;
  // A key a text field ignores travels on to its parents; it is still the text field's key.
  QWidget* focus = QApplication::focusWidget();
  const QWidget* owner = focus && focus->window() == window ? focus : widget;
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  const BeamerKey key = BeamerKeyFor(keyEvent->key(), keyEvent->modifiers(), FocusKindOf(owner));
  if (key == BeamerKey::None) return false;
  emit keyPressed(key);
  return true;
}

}  // namespace psalmora
