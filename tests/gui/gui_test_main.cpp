// The desktop program tests run inside one QApplication on the offscreen
// platform, so no window needs a display.

#include <QApplication>
#include <QTimer>
#include <functional>

#include "gui_testing.h"

namespace meridan::testing {

CurrentProgramDir::CurrentProgramDir(bool withData)
    : dir_(withData), previous_(QDir::currentPath()) {
  QDir::setCurrent(QString::fromStdString(dir_.root().string()));
}

CurrentProgramDir::~CurrentProgramDir() { QDir::setCurrent(previous_); }

QString CurrentProgramDir::rootText() const {
  return QString::fromStdString(dir_.root().string()) + QLatin1Char('/');
}

MessageRecorder::MessageRecorder() {
  previousError_ = ErrorBox::SetHandler([this](QWidget*, const QString& text) { errors << text; });
  previousNotice_ = NoticeBox::SetHandler([this](QWidget*, const QString& text) { notices << text; });
}

MessageRecorder::~MessageRecorder() {
  ErrorBox::SetHandler(previousError_);
  NoticeBox::SetHandler(previousNotice_);
}

void WhenModalShows(std::function<void()> work) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, work] {
    if (!QApplication::activeModalWidget()) return;
    timer->stop();
    timer->deleteLater();
    work();
  });
  timer->start();
}

}  // namespace meridan::testing

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
