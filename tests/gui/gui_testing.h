#pragma once
// Shared pieces of the desktop program tests: a program directory that is
// also the current directory, recorders in place of the message boxes, and a
// hook into the next modal window.

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "gui/error_box.h"
#include "support/scratch_program_dir.h"

// Failures show a QString as its text rather than as its UTF-16 units, and
// sizes and points as numbers.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(QSize size, std::ostream* out) { *out << size.width() << 'x' << size.height(); }
inline void PrintTo(QPoint point, std::ostream* out) { *out << point.x() << ',' << point.y(); }

namespace meridan::testing {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

// A temporary program directory made current for the life of the object, as
// the program expects to be started in it.
class CurrentProgramDir : public ScratchProgramDir {
 public:
  CurrentProgramDir() { QDir::setCurrent(QString::fromStdString(root().string())); }
  ~CurrentProgramDir() { QDir::setCurrent(previous_); }
  // The directory as the program names it: the current directory plus "/".
  QString rootText() const { return QString::fromStdString(root().string()) + QLatin1Char('/'); }

 private:
  QString previous_ = QDir::currentPath();
};

// Test base: what the windows would have shown in the error and notice boxes.
class GuiTest : public ::testing::Test {
 protected:
  GuiTest() {
    ErrorBox::SetHandler([this](QWidget*, const QString& text) { errors << text; });
    NoticeBox::SetHandler([this](QWidget*, const QString& text) { notices << text; });
  }
  ~GuiTest() override {
    ErrorBox::SetHandler({});
    NoticeBox::SetHandler({});
  }
  QStringList errors;
  QStringList notices;
};

// The named child of a window, or a failure naming it.
template <class T>
T* Child(const QObject* parent, const QString& name) {
  T* child = parent->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

// Runs the function once the next modal window has come up (from within its
// event loop), so a test can look at it and close it.
inline void WhenModalShows(std::function<void()> work) {
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
