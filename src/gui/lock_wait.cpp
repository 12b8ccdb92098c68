#include "gui/lock_wait.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "forecast/lock.h"
#include "gui/error_box.h"

namespace meridan {
namespace {

constexpr int kPollMilliseconds = 100;

}  // namespace

void WaitWhileAnotherForecastRuns(QWidget* parent, const std::filesystem::path& programDir,
                                  const QString& then) {
  QDialog dialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog.setObjectName(QStringLiteral("LockWait"));
  dialog.setWindowTitle(QStringLiteral("Meridan Diru"));
  auto* text = new QLabel(QStringLiteral("Идёт другой прогноз в этой папке…\n") + then, &dialog);
  text->setObjectName(QStringLiteral("LockWaitText"));
  auto* cancel = new QPushButton(QStringLiteral("Отменить"), &dialog);
  cancel->setObjectName(QStringLiteral("LockWaitCancel"));
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(text);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel);
  layout->addLayout(row);

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
    if (!ProgramDirLock::HeldElsewhere(programDir)) dialog.accept();
  });
  poll.start(kPollMilliseconds);
  // The busy cursor of the command would hide that the button can be
  // pressed.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = dialog.exec();
  QApplication::restoreOverrideCursor();
  if (result != QDialog::Accepted) throw CommandCancelled();
}

}  // namespace meridan
