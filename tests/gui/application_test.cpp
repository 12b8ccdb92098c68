// What the program sets up for all of its windows: Qt's dialogs in Russian,
// the icon and the desktop entry's name.

#include "gui/application.h"

#include <QIcon>
#include <QTranslator>
#include <QWidget>

#include "gui_testing.h"

namespace meridan::testing {
namespace {

TEST(Application, QtsOwnDialogsSpeakRussian) {
  ASSERT_TRUE(InstallQtTranslation(*qApp)) << "qt6-translations-l10n is not installed";
  const QStringList texts = {QCoreApplication::translate("QPrintDialog", "Print"),
                             QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"),
                             QCoreApplication::translate("QPageSetupWidget", "Portrait"),
                             QCoreApplication::translate("QPlatformTheme", "Cancel"),
                             QCoreApplication::translate("QWidgetTextControl", "&Copy")};
  // Other tests read Qt's English messages.
  for (QTranslator* translation : qApp->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translation);
    delete translation;
  }
  EXPECT_EQ(texts, (QStringList{u"Печать"_s, u"Печать в файл (PDF)"_s, u"Книжная"_s, u"Отмена"_s,
                                u"&Копировать"_s}));
}

TEST(Application, EveryWindowHasTheProgramsIconAndTheDesktopEntrysName) {
  // Set up by the test program as by the program itself.
  EXPECT_EQ(QGuiApplication::desktopFileName(), u"meridan-diru"_s);
  EXPECT_EQ(QApplication::windowIcon().pixmap(48).size(), QSize(48, 48));
  QWidget window;
  EXPECT_EQ(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

}  // namespace
}  // namespace meridan::testing
