// Printing and the PDF run in the web engine while the window stays responsive; the progress bar runs
// and the buttons and the layout chooser rest until the job reports back, so the page being printed
// is not replaced under it.
#include "render/ui/print_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cstdio>

#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "platform/page_view.h"
#include "render/render_page.h"
#include "render/ui/pdf_export.h"

namespace psalmora {

PrintWindow::PrintWindow(AppState& state, Messages& messages, CommonDialogs& dialogs,
                         std::vector<std::string> renderList, QWidget* parent)
    : QWidget(parent, Qt::Window),
      state_(state),
      messages_(messages),
      dialogs_(dialogs),
      renderList_(std::move(renderList)),
      chooser_([](QPrinter& printer, QWidget* window) {
        QPrintDialog dialog(&printer, window);
        return dialog.exec() == QDialog::Accepted;
      }) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("printWindow"));
  setWindowTitle(Tr("Lieder ausdrucken", state_));
  resize(435, 420);

  layoutChooser_ = new QComboBox;
  layoutChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  printButton_ = new QPushButton(Tr("Drucken…", state_));
  pdfButton_ = new QPushButton(Tr("Als PDF speichern…", state_));
  progress_ = new QProgressBar;
  progress_->setRange(0, 0);
  progress_->setMaximumWidth(160);
  progress_->hide();
  progressText_ = new QLabel;

  auto* top = new QHBoxLayout;
  top->addWidget(layoutChooser_);
  top->addWidget(printButton_);
  top->addWidget(pdfButton_);
  top->addWidget(progress_);
  top->addWidget(progressText_);
  top->addStretch(1);

  view_ = new PageView;
  view_->setHtml(QStringLiteral("<div align=center><h2><br><br>%1</h2></div>")
                     .arg(FromCp1252(state_.windowTitle).toHtmlEscaped()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(view_, 1);

  FillLayouts();
  connect(layoutChooser_, &QComboBox::currentIndexChanged, this, &PrintWindow::RenderPrintPage);
  connect(printButton_, &QPushButton::clicked, this, &PrintWindow::Print);
  connect(pdfButton_, &QPushButton::clicked, this, &PrintWindow::ChoosePdfFile);
  connect(view_, &QWebEngineView::printFinished, this, &PrintWindow::OnPrinted);
  RenderPrintPage();
}

PrintWindow::~PrintWindow() = default;

void PrintWindow::FillLayouts() {
  const std::optional<std::vector<LayoutEntry>> layouts = ListLayouts(state_.programFolder / "layouts");
  if (!layouts) {
    messages_.Show(this, MessageIcon::Information, Tr("Fehler", state_),
                   Tr("Layoutordner konnte nicht geöffnet werden!", state_));
    return;
  }
  layouts_ = *layouts;
  const QSignalBlocker quiet(layoutChooser_);
  int chosen = 0;
  for (std::size_t i = 0; i < layouts_.size(); ++i) {
    layoutChooser_->addItem(FromCp1252(layouts_[i].name));
    if (layouts_[i].key == state_.settings.layouts.format) chosen = static_cast<int>(i);
  }
  layoutChooser_->setCurrentIndex(chosen);
}

void PrintWindow::SetRenderList(std::vector<std::string> renderList) {
  renderList_ = std::move(renderList);
  RenderPrintPage();
}

void PrintWindow::RenderPrintPage() {
  const int index = layoutChooser_->currentIndex();
  RenderRequest request;
  request.mode = RenderMode::kDrucken;
  request.renderList = renderList_;
  request.layoutKey = index >= 0 && index < static_cast<int>(layouts_.size()) ? layouts_[index].key : std::string();
  // The chosen layout is this window's own: the preview's and the beamer's stay loaded.
  RenderState render;
  const RenderFolders folders{state_.dataFiles.folder, state_.programFolder / "layouts"};
  const RenderResult result = RenderPage(request, folders, render);
  if (!result.written) std::fprintf(stderr, "psalmora: print page not written: %s\n", result.error.c_str());
  if (result.load) view_->LoadPageFile(result.page);
  // The title page is not worth a sheet of paper.
  printButton_->setEnabled(result.load && !busy_);
  pdfButton_->setEnabled(result.load && !busy_);
  emit pageRendered(result.load);
}

void PrintWindow::BeginWork(const QString& text) {
  busy_ = true;
  for (QWidget* widget :
       {static_cast<QWidget*>(layoutChooser_), static_cast<QWidget*>(printButton_), static_cast<QWidget*>(pdfButton_)})
    widget->setEnabled(false);
  progressText_->setText(text);
  progress_->show();
}

void PrintWindow::EndWork() {
  busy_ = false;
  layoutChooser_->setEnabled(true);
  printButton_->setEnabled(!renderList_.empty());
  pdfButton_->setEnabled(!renderList_.empty());
  progressText_->clear();
  progress_->hide();
}

void PrintWindow::Print() {
  if (busy_) return;
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer_->setPageLayout(SongSheetPageLayout());
  if (!chooser_(*printer_, this)) {
    printer_.reset();
    return;
  }
  BeginWork(Tr("Wird gedruckt…", state_));
  view_->print(printer_.get());
}

void PrintWindow::OnPrinted(bool ok) {
  EndWork();
  printer_.reset();
  if (!ok)
    messages_.Show(this, MessageIcon::Error, Tr("Fehler", state_), Tr("Der Ausdruck ist fehlgeschlagen.", state_));
  emit printFinished(ok);
}

void PrintWindow::ChoosePdfFile() {
  if (busy_) return;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QString file =
      dialogs_.SaveFile(this, Tr("Als PDF speichern…", state_), QDir(documents).filePath(QStringLiteral("Lieder.pdf")),
                        QStringLiteral("PDF (*.pdf)"));
  if (file.isEmpty()) return;
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
  SaveAsPdf(file);
}

void PrintWindow::SaveAsPdf(const QString& file) {
  if (busy_) return;
  BeginWork(Tr("PDF wird geschrieben…", state_));
  QPointer<PrintWindow> self(this);
  WritePagePdf(view_->page(), file, [self, file](const QString& error) {
    if (!self) return;
    self->EndWork();
    if (!error.isEmpty()) {
      self->messages_.Show(self, MessageIcon::Error, Tr("Fehler", self->state_),
                           Tr("Die PDF-Datei konnte nicht geschrieben werden:", self->state_) + QStringLiteral("\n") +
                               QDir::toNativeSeparators(file) + QStringLiteral("\n") + error);
    }
    emit self->pdfFinished(file, error.isEmpty());
  });
}

}  // namespace psalmora
