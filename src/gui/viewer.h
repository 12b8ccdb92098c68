#pragma once
// The forecast viewer: one month's page in an embedded HTML view, printed
// through the print dialog. Created hidden with the main window and reused;
// every showing reads the page afresh from its file.

#include <QDialog>

#include <filesystem>
#include <functional>

class QPrinter;
class QPushButton;
class QTextBrowser;
class QWidget;

namespace meridan {

class Viewer : public QDialog {
  Q_OBJECT

 public:
  // screen: the size of the screen the window is sized by; empty for the
  // primary screen.
  explicit Viewer(QWidget* parent = nullptr, QSize screen = {});
  ~Viewer() override;

  // 950 wide on screens wider than 800 pixels, 770 otherwise; the screen's
  // height less 80.
  static QSize SizeForScreen(QSize screen);

  // The page the next showing opens.
  void SetPageToShow(const std::filesystem::path& page) { pageToShow_ = page; }
  const std::filesystem::path& Page() const { return page_; }
  // The page on the screen: the one opened, or another month the page's
  // navigation row led to.
  std::filesystem::path ShownPage() const;
  QTextBrowser* Browser() const { return WebBrowser1; }

  // The print dialog: returns true when the user chose to print (printer or
  // PDF file set up in the printer). Tests put a stand-in here.
  using PrintDialogFn = std::function<bool(QPrinter& printer, QWidget* parent)>;
  static PrintDialogFn SetPrintDialog(PrintDialogFn dialog);

  // Reads the page; the busy cursor shows from here until the page's first
  // screen has been painted.
  void FormActivate();
  void BitBtn1Click();
  void BitBtn2Click();

  // Where printing to a file puts the page first: its own name with ".pdf"
  // (Prog_01_2027.pdf) in the user's documents folder, or in the home
  // folder where there is none.
  static QString SuggestedPdfPath(const std::filesystem::path& page);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowMissingPage();
  void EndBusy();

  QWidget* Panel1;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QTextBrowser* WebBrowser1;
  std::filesystem::path pageToShow_;
  std::filesystem::path page_;
  bool busy_ = false;
};

}  // namespace meridan
