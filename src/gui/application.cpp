#include "gui/application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QTranslator>

namespace meridan {
namespace {

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
    if (!button->isEnabled()) return false;
    button->click();
    return true;
  }
};

}  // namespace

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
}

}  // namespace meridan
