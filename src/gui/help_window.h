#pragma once
// The help: our own HTML pages in the program directory's help/ folder,
// topic n being the page n.html, shown in a window of their own that stays
// open beside the main window.

#include <QUrl>
#include <QWidget>

#include <filesystem>

class QTextBrowser;
class QToolButton;

namespace meridan {

// The page of a help topic under the program directory.
std::filesystem::path HelpTopicPath(const std::filesystem::path& programDir, int topic);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the page (which must exist) and brings the window up over the
  // window that asked for it (the main window when none is given); the
  // first time it opens centred over the main window. "Содержание" leads to
  // the contents, topic 10, beside it.
  void ShowPage(const std::filesystem::path& page, QWidget* caller = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  void PlaceOver(const QWidget* window);

  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* home_;
  QUrl contents_;
  bool placed_ = false;
};

// The window's title for a page: "Справка — " and the page's own title,
// or the program's name for a page without one.
QString HelpWindowTitle(const QString& pageTitle);

// The topic the menu opens: what the program does, with the contents.
inline constexpr int kHelpContentsTopic = 10;

}  // namespace meridan
