// The main window's menu bar: its items, each with a keyboard letter (Alt
// and the underlined letter), F10 and Alt taking the keyboard to it, and
// what the items open.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>

#include "gui/about_box.h"
#include "gui/error_box.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/problem_report.h"

namespace meridan {
namespace {

// Alt alone takes the keyboard to the menu bar whatever the style's habit.
class MenuStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_MenuBar_AltKeyNavigation) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
  // The item the keyboard stands on is drawn as an open one: the style
  // marks only an item whose menu is open, and these items open no menu, so
  // after F10 or Alt nothing showed where the arrows were.
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
        widget->hasFocus()) {
      QStyleOptionMenuItem current = *item;
      current.state |= State_Sunken;
      QProxyStyle::drawControl(element, &current, painter, widget);
      return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }
};

}  // namespace

void MainWindow::BuildMenu() {
  // The form's captions without the blanks around them, which a screen
  // reader read out as part of the name.
  const struct {
    QAction** item;
    const char* name;
    const char* caption;
    void (MainWindow::*click)();
  } items[] = {{&N7, "N7", "&О программе", &MainWindow::N7Click},
               {&N6, "N6", "&Проблемы", &MainWindow::N6Click},
               {&N1, "N1", "Помо&щь", &MainWindow::N1Click},
               {&N3, "N3", "&Выход", &MainWindow::N3Click}};
  for (const auto& item : items) {
    *item.item = menuBar()->addAction(QString::fromUtf8(item.caption));
    (*item.item)->setObjectName(QString::fromLatin1(item.name));
    connect(*item.item, &QAction::triggered, this, item.click);
  }
  N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  auto* menuStyle = new MenuStyle;
  menuStyle->setParent(this);
  menuBar()->setStyle(menuStyle);
  connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
          &MainWindow::ActivateMenu);
}

void MainWindow::N7Click() { About_Form->exec(); }
void MainWindow::N6Click() { ProblemForm_->exec(); }
void MainWindow::N1Click() {
  Guarded(this, [this] { ShowHelpTopic(kHelpContentsTopic); });
}
void MainWindow::N3Click() { close(); }

void MainWindow::ActivateMenu() {
  // The menu bar watches its window's keys for a lone Alt going down and up.
  QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QCoreApplication::sendEvent(this, &altDown);
  QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &altUp);
}

}  // namespace meridan
