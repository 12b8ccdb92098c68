#include "gui/help_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <string>

#include "gui/page_document.h"
#include "gui/path_text.h"
#include "gui/screen_fit.h"

namespace meridan {
namespace {

QToolButton* NavigationButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                              const QString& caption) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(parent->style()->standardIcon(icon));
  button->setText(caption);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

std::filesystem::path HelpTopicPath(const std::filesystem::path& programDir, int topic) {
  return programDir / "help" / (std::to_string(topic) + ".html");
}

QString HelpWindowTitle(const QString& pageTitle) {
  return QStringLiteral("Справка — ") +
         (pageTitle.isEmpty() ? QStringLiteral("Meridan Diru") : pageTitle);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(HelpWindowTitle({}));
  ResizeToScreen(*this, {760, 620});

  back_ = NavigationButton(this, "Back", QStyle::SP_ArrowBack, QStringLiteral("Назад"));
  forward_ = NavigationButton(this, "Forward", QStyle::SP_ArrowForward, QStringLiteral("Вперед"));
  home_ = NavigationButton(this, "Home", QStyle::SP_DirHomeIcon, QStringLiteral("Содержание"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setAccessibleName(QStringLiteral("Текст справки"));
  browser_->setOpenExternalLinks(true);

  auto* bar = new QHBoxLayout;
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(home_);
  bar->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(home_, &QToolButton::clicked, this, [this] { browser_->setSource(contents_); });
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    MatchBrowserLayout(*browser_->document(), browser_->document()->textWidth());
    setWindowTitle(HelpWindowTitle(browser_->documentTitle()));
  });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
}

void HelpWindow::ShowPage(const std::filesystem::path& page, QWidget* caller) {
  const QUrl url = QUrl::fromLocalFile(PathText(page));
  contents_ = url.resolved(QUrl(QString::number(kHelpContentsTopic) + QStringLiteral(".html")));
  if (browser_->source() == url)
    browser_->reload();
  else
    browser_->setSource(url);
  if (!placed_) {
    placed_ = true;
    PlaceOver(parentWidget());
  }
  // Asked for from a modal window, the help must take input while that
  // window stays open, which it does as that window's dependent (and so
  // also stands above it).
  create();
  QWidget* owner = caller != nullptr ? caller->window() : parentWidget();
  if (owner != nullptr && owner->windowHandle() != nullptr)
    windowHandle()->setTransientParent(owner->windowHandle());
  show();
  raise();
  activateWindow();
}

void HelpWindow::PlaceOver(const QWidget* window) {
  const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
  QRect frame(QPoint(), size());
  frame.moveCenter(window != nullptr ? window->frameGeometry().center() : room.center());
  if (room.isValid()) {
    // Whole on the screen, its title bar first.
    frame.moveRight(std::min(frame.right(), room.right()));
    frame.moveBottom(std::min(frame.bottom(), room.bottom()));
    frame.moveLeft(std::max(frame.left(), room.left()));
    frame.moveTop(std::max(frame.top(), room.top()));
  }
  move(frame.topLeft());
}

}  // namespace meridan
