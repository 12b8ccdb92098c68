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

  // Shows the page (which must exist) and brings the window up.
  // "Содержание" leads to the contents, topic 10, beside it.
  void ShowPage(const std::filesystem::path& page);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* home_;
  QUrl contents_;
};

// The topic the menu opens: what the program does, with the contents.
inline constexpr int kHelpContentsTopic = 10;

}  // namespace meridan
