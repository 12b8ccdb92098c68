#include "gui/help_window.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "gui/page_document.h"

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

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Meridan Diru — помощь"));
  resize(760, 620);

  back_ = NavigationButton(this, "Back", QStyle::SP_ArrowBack, QStringLiteral("Назад"));
  forward_ = NavigationButton(this, "Forward", QStyle::SP_ArrowForward, QStringLiteral("Вперед"));
  home_ = NavigationButton(this, "Home", QStyle::SP_DirHomeIcon, QStringLiteral("Содержание"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
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
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Meridan Diru — помощь")
                                   : QStringLiteral("Meridan Diru — ") + title);
  });
}

void HelpWindow::ShowPage(const std::filesystem::path& page) {
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.string()));
  contents_ = url.resolved(QUrl(QString::number(kHelpContentsTopic) + QStringLiteral(".html")));
  if (browser_->source() == url)
    browser_->reload();
  else
    browser_->setSource(url);
  show();
  raise();
  activateWindow();
}

}  // namespace meridan
