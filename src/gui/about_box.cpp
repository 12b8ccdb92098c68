#include "gui/about_box.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/fonts.h"

namespace meridan {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("About_Form"));
  setWindowTitle(QStringLiteral("О программе"));
  setFont(WindowFont());
  setFixedSize(384, 262);
  // Placed once, centred on the screen: left to place itself, the box came
  // back lower by its title bar's height at its second showing.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }

  Label1 = new QLabel(QStringLiteral("Meridan Diru"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(ArialFont(16, true));
  Label1->move(11, 8);
  Label1->adjustSize();

  Label2 = new QLabel(QStringLiteral("Версия ") + QStringLiteral(MERIDAN_VERSION), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(ArialFont(15, false));
  Label2->move(12, 29);
  Label2->adjustSize();

  const auto addText = [this](const char* name, int top, int height) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(ArialFont(13, false));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setGeometry(12, top, 360, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  };
  Label3 = addText("Label3", 54, 96);
  Label3->setText(QStringLiteral(
      "Астрологические прогнозы для автомобилистов: поездки, авто-сервис, покупка и продажа "
      "машины на четыре месяца вперёд.\n"
      "Все права принадлежат разработчикам Meridan Diru; лицензия на копирование и "
      "распространение пока не опубликована."));
  Label4 = addText("Label4", 152, 36);

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(156, 192, 61, 20);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &AboutBox::Button1Click);
}

void AboutBox::showEvent(QShowEvent* event) {
  const QString programDir = QDir::toNativeSeparators(QDir::currentPath());
  Label4->setText(QStringLiteral("Данные программы: ") + programDir +
                  QStringLiteral("/System\nПрогнозы: ") + programDir + QStringLiteral("/Output"));
  QDialog::showEvent(event);
}

void AboutBox::Button1Click() { accept(); }

}  // namespace meridan
