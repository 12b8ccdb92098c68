#include "gui/application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <QTranslator>

namespace meridan {
namespace {

constexpr char kEnterLeavesAlone[] = "meridanEnterLeavesAlone";

// Enter and Return press the button that has the keyboard focus, as Space
// does. Qt lets them press only a dialog's default buttons, so a user who
// tabbed to "Поездки" or "Напечатать" pressed Enter to no effect.
class EnterPressesButtons : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    // Keys go to the focused widget. Push and tool buttons; an option button
    // leaves Enter to its dialog.
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!qobject_cast<QPushButton*>(watched) && !qobject_cast<QToolButton*>(watched)) return false;
    if (!button->isEnabled() || button->property(kEnterLeavesAlone).toBool()) return false;
    button->click();
    return true;
  }
};

// The style marks a focused button only when the focus came by Tab: a window
// that opened with the focus on a button showed nothing, and Enter or Space
// then pressed a button nobody could see was meant.
class FocusMarkStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
      const QStyleOptionButton marked = Marked(*button);
      return QProxyStyle::drawPrimitive(element, &marked, painter, widget);
    }
    if (const auto* frame = qstyleoption_cast<const QStyleOptionFocusRect*>(option)) {
      const QStyleOptionFocusRect marked = Marked(*frame);
      return QProxyStyle::drawPrimitive(element, &marked, painter, widget);
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
      const QStyleOptionButton marked = Marked(*button);
      return QProxyStyle::drawControl(element, &marked, painter, widget);
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option)) {
      const QStyleOptionToolButton marked = Marked(*button);
      return QProxyStyle::drawComplexControl(control, &marked, painter, widget);
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }

 private:
  template <class Option>
  static Option Marked(Option option) {
    if (option.state & State_HasFocus) option.state |= State_KeyboardFocusChange;
    return option;
  }
};

}  // namespace

void LeaveToSpaceAndClick(QAbstractButton& button) { button.setProperty(kEnterLeavesAlone, true); }

bool InstallQtTranslation(QCoreApplication& application) {
  auto* translation = new QTranslator(&application);
  if (!translation->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translation;
    return false;
  }
  return QCoreApplication::installTranslator(translation);
}

void SetUpDesktop(QApplication& application) {
  QGuiApplication::setDesktopFileName(kDesktopFileName);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/meridan-diru.svg")));
  application.installEventFilter(new EnterPressesButtons(&application));
  QApplication::setStyle(new FocusMarkStyle);
}

}  // namespace meridan
