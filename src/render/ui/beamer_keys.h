// The live keys of the beamer: next and previous slide, and the black screen, typed on the keyboard or
// sent by a presenter clicker (PageDown/PageUp, "B" or "."), in the main window or the beamer window.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace psalmora {

enum class BeamerKey { None, Next, Previous, Black };

// Where the keyboard focus sits when a key arrives.
enum class KeyFocus {
  Text,   // a text field, spin box or editable combo box: every key is typing
  List,   // a song list: Up, Down and Space move through it and add to the selection
  Other,  // a button, the preview page, the window itself
};

// Which beamer key a key press is. Text fields keep every key. Lists keep Up, Down and Space (their
// own navigation and "add to the selection"); Left and Right mean nothing in a flat list, so they page
// there too, as PageUp/PageDown do (the clicker's keys) and "B"/"." (the clicker's black screen).
// Keys with Ctrl, Alt or Meta are never beamer keys.
BeamerKey BeamerKeyFor(int key, Qt::KeyboardModifiers modifiers, KeyFocus focus);

// The kind of focus a widget is.
KeyFocus FocusKindOf(const QWidget* widget);

// Watches the application's key presses for the given windows and reports the beamer keys; the key is
// then consumed. Only while active() says so (the beamer is open).
class BeamerKeyFilter : public QObject {
  Q_OBJECT

 public:
  BeamerKeyFilter(QWidget* mainWindow, std::function<bool()> active, QObject* parent = nullptr);
  // The beamer window, whose keys count too (it is recreated at every opening).
  void SetBeamerWindow(QWidget* beamer) { beamer_ = beamer; }

 signals:
  void keyPressed(BeamerKey key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> main_;
  QPointer<QWidget> beamer_;
  std::function<bool()> active_;
};

}  // namespace psalmora
