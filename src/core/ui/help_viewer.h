// The program's help: an HTML page shipped in "help/" ("help.htm"), shown in a help window of its own at
// a topic (an anchor of the page). The window is not modal, so it stays usable beside a dialog.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <functional>

namespace psalmora {

class PageView;

inline constexpr const char* kHelpFileName = "help.htm";

// Opens the help at a topic ("Neues Lied erstellen"); an empty topic opens the start of the page.
using HelpOpener = std::function<void(const QString& topic)>;

// The help page: "help/help.htm" of the program folder, else of the shipped defaults. Empty when neither
// exists.
std::filesystem::path HelpPageFile(const std::filesystem::path& programFolder);

// The anchor a topic has in the page: lower case, blanks as "-" ("Neues Lied erstellen" ->
// "neues-lied-erstellen").
QString HelpAnchor(const QString& topic);

// The address of the page at the topic; empty when there is no page.
QUrl HelpUrl(const std::filesystem::path& programFolder, const QString& topic);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(const QString& title, QWidget* parent = nullptr);

  // Shows the page at url and brings the window to the front.
  void ShowPage(const QUrl& url);
  PageView* View() const { return view_; }

 private:
  PageView* view_ = nullptr;
};

}  // namespace psalmora
