#include "gui/viewer.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <utility>

#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/page_document.h"

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

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace

Viewer::Viewer(QWidget* parent, QSize screen) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("   Прогноз "));
  setFont(ArialFont(13, true));

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(45);
  BitBtn1 = new QPushButton(QStringLiteral("Напечатать"), Panel1);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(16, 8, 120, 29);
  BitBtn1->setAutoDefault(false);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral(" Выйти"), Panel1);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(160, 8, 120, 29);
  BitBtn2->setAutoDefault(false);

  WebBrowser1 = new QTextBrowser(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1->document()->setDefaultFont(PageDefaultFont());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(WebBrowser1);

  // Every page shown, also one reached through the page's own links.
  connect(WebBrowser1, &QTextBrowser::sourceChanged, this, &Viewer::WebBrowser1SourceChanged);
  connect(BitBtn1, &QPushButton::clicked, this, &Viewer::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &Viewer::BitBtn2Click);

  if (screen.isEmpty()) screen = QGuiApplication::primaryScreen()->size();
  resize(SizeForScreen(screen));
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

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

void Viewer::FormActivate() {
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

void Viewer::WebBrowser1SourceChanged() { MatchBrowserLayout(*WebBrowser1->document()); }

void Viewer::ShowMissingPage() {
  WebBrowser1->setHtml(QStringLiteral("<p>Страница прогноза не найдена: файла <b>%1</b> нет.</p>"
                                      "<p>Составьте прогноз заново кнопкой в главном окне.</p>")
                           .arg(PathText(page_).toHtmlEscaped()));
}

void Viewer::BitBtn1Click() {
  Guarded(this, [this] {
    // At screen resolution the page prints at the size it is shown; at a
    // printer's resolution the cell backgrounds would shrink to specks.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(windowTitle().trimmed());
    if (!PrintDialog()(printer, this)) return;
    PrintPage(*WebBrowser1->document(), printer);
  });
}

void Viewer::BitBtn2Click() { reject(); }

}  // namespace meridan
