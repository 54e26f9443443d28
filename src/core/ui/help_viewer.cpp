// Help page lookup and the help window. A window of the program rather than the desktop's browser: the
// browser hand-over drops the "#topic" of a file address on many desktops.
#include "core/ui/help_viewer.h"

#include <QVBoxLayout>
#include <system_error>

#include "core/program_folder.h"
#include "platform/page_view.h"

namespace psalmora {

namespace fs = std::filesystem;

fs::path HelpPageFile(const fs::path& programFolder) {
  std::error_code error;
  const fs::path own = programFolder / "help" / kHelpFileName;
  if (fs::is_regular_file(own, error)) return own;
  const fs::path defaults = FindDefaultsFolder(RunningProgramFolder());
  if (defaults.empty()) return {};
  const fs::path shipped = defaults / "help" / kHelpFileName;
  return fs::is_regular_file(shipped, error) ? shipped : fs::path();
}

QString HelpAnchor(const QString& topic) {
  return topic.trimmed().toLower().replace(QChar(' '), QChar('-'));
}

QUrl HelpUrl(const fs::path& programFolder, const QString& topic) {
  const fs::path page = HelpPageFile(programFolder);
  if (page.empty()) return {};
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.string()));
  if (!topic.isEmpty()) url.setFragment(HelpAnchor(topic));
  return url;
}

HelpWindow::HelpWindow(const QString& title, QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(title);
  resize(760, 640);
  view_ = new PageView(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
}

void HelpWindow::ShowPage(const QUrl& url) {
  view_->load(url);
  show();
  raise();
  activateWindow();
}

}  // namespace psalmora
