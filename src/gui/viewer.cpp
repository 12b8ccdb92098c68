#include "gui/viewer.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

#include "gui/application.h"
#include "gui/documents_folder.h"
#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/page_document.h"
#include "gui/path_text.h"

namespace meridan {
namespace {

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

Viewer::PrintDialogFn& PrintDialog() {
  static Viewer::PrintDialogFn dialog = RunPrintDialog;
  return dialog;
}

// What a browser assumes where the page says nothing: a 16-pixel serif face.
QFont PageDefaultFont() {
  QFont font(QStringLiteral("Times New Roman"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(16);
  return font;
}

// Every page it shows, also one reached through the page's own links, is
// corrected to look as in a browser before it is laid out, and laid out once:
// left to itself, Qt would lay the page out as loaded and again after the
// corrections, which doubled the wait for a month's page.
class PageBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
    QTextDocument& page = *document();
    const QSizeF size = page.pageSize();
    page.setPageSize(QSizeF(0, 0));  // a document of null size is not laid out
    QTextBrowser::doSetSource(name, type);
    MatchBrowserLayout(page, size.width());
    page.setPageSize(size);
  }
};

}  // namespace

Viewer::Viewer(QWidget* parent, QSize screen) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Прогноз"));
  setFont(ArialFont(13, true));

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(45);
  BitBtn1 = new QPushButton(QStringLiteral("Напечатать"), Panel1);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(16, 8, 120, 29);
  BitBtn1->setAutoDefault(false);
  LeaveToSpaceAndClick(*BitBtn1);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral(" Выйти"), Panel1);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(160, 8, 120, 29);
  BitBtn2->setAutoDefault(false);
  BitBtn2->setAccessibleName(BitBtn2->text().trimmed());

  WebBrowser1 = new PageBrowser(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1->setAccessibleName(QStringLiteral("Страница прогноза"));
  WebBrowser1->document()->setDefaultFont(PageDefaultFont());
  // A month's page is always longer than the window, and a scroll bar that
  // came only once the page was in would make Qt lay the page out again at
  // the narrower width.
  WebBrowser1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(WebBrowser1);

  WebBrowser1->viewport()->installEventFilter(this);
  connect(BitBtn1, &QPushButton::clicked, this, &Viewer::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &Viewer::BitBtn2Click);

  if (screen.isEmpty()) screen = QGuiApplication::primaryScreen()->size();
  resize(SizeForScreen(screen));
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

Viewer::~Viewer() { EndBusy(); }

QSize Viewer::SizeForScreen(QSize screen) {
  return {screen.width() > 800 ? 950 : 770, screen.height() - 80};
}

Viewer::PrintDialogFn Viewer::SetPrintDialog(PrintDialogFn dialog) {
  return std::exchange(PrintDialog(), dialog ? std::move(dialog) : RunPrintDialog);
}

void Viewer::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded(this, [this] { FormActivate(); });
}

void Viewer::hideEvent(QHideEvent* event) {
  EndBusy();
  QDialog::hideEvent(event);
}

bool Viewer::eventFilter(QObject* watched, QEvent* event) {
  // The cursor goes back once this paint, the page's first, is done.
  if (busy_ && watched == WebBrowser1->viewport() && event->type() == QEvent::Paint)
    QTimer::singleShot(0, this, &Viewer::EndBusy);
  return QDialog::eventFilter(watched, event);
}

void Viewer::EndBusy() {
  if (!std::exchange(busy_, false)) return;
  QApplication::restoreOverrideCursor();
}

void Viewer::FormActivate() {
  if (!std::exchange(busy_, true)) QApplication::setOverrideCursor(Qt::WaitCursor);
  // The keys people read with (arrows, Page Up and Down, Home, End, Space)
  // scroll the page from the first moment, and Enter presses nothing.
  WebBrowser1->setFocus(Qt::ActiveWindowFocusReason);
  page_ = pageToShow_;
  std::error_code ignored;
  if (page_.empty() || !std::filesystem::is_regular_file(page_, ignored)) {
    ShowMissingPage();
    return;
  }
  const QUrl url = QUrl::fromLocalFile(PathText(page_));
  // Setting the same address again keeps the old text: a page rewritten by a
  // newer run must be read again.
  if (WebBrowser1->source() == url)
    WebBrowser1->reload();
  else
    WebBrowser1->setSource(url);
}

void Viewer::ShowMissingPage() {
  WebBrowser1->setHtml(QStringLiteral("<p>Страница прогноза не найдена: файла <b>%1</b> нет.</p>"
                                      "<p>Составьте прогноз заново кнопкой в главном окне.</p>")
                           .arg(PathText(page_).toHtmlEscaped()));
}

void Viewer::BitBtn1Click() {
  Guarded(this, QStringLiteral("Страница не напечатана."), [this] {
    // At screen resolution the page prints at the size it is shown; at a
    // printer's resolution the cell backgrounds would shrink to specks.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(windowTitle().trimmed());
    // The name shows in the dialog's file field; a printer, where there is
    // one, stays the one chosen at first.
    printer.setOutputFileName(SuggestedPdfPath(ShownPage()));
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!PrintDialog()(printer, this)) return;
    PrintPage(*WebBrowser1->document(), printer);
  });
}

void Viewer::BitBtn2Click() { reject(); }

std::filesystem::path Viewer::ShownPage() const {
  // The page's own navigation row leads to the other months.
  const QUrl shown = WebBrowser1->source();
  if (shown.isLocalFile()) return shown.toLocalFile().toStdString();
  return page_;
}

QString Viewer::SuggestedPdfPath(const std::filesystem::path& page) {
  const QString name =
      page.empty() ? QStringLiteral("Прогноз") : QString::fromStdString(page.stem().string());
  return InDocumentsFolder(name + QStringLiteral(".pdf"));
}

}  // namespace meridan
