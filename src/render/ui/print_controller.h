// The main window's side of printing: the song lists' item "Drucken" opens the print window with the
// songs chosen in `CurrentSongList`.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class PrintWindow;
class SongListsHost;

class PrintController : public QObject {
  Q_OBJECT

 public:
  // A child of the window. dialogs: the file chooser of the PDF (nullptr: the system's).
  PrintController(AppState& state, SongListsHost& window, Messages& messages, CommonDialogs* dialogs = nullptr);
  ~PrintController() override;

  static PrintController* Of(const QObject& window);

  // `OpenPrintWindow`: opened maximised; used again while it is open, it takes the songs chosen now.
  PrintWindow* OpenPrintWindow();
  PrintWindow* Window() const;

 private:
  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
  std::unique_ptr<CommonDialogs> ownDialogs_;
  CommonDialogs* dialogs_;
  QPointer<PrintWindow> printWindow_;
};

}  // namespace psalmora
