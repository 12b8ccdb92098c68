#include "gui/calendar_save.h"

#include <QAction>
#include <QWidget>

#include <ctime>
#include <utility>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "forecast/calendar_file.h"
#include "gui/documents_folder.h"
#include "gui/error_box.h"
#include "gui/kind_words.h"
#include "gui/lock_wait.h"
#include "gui/save_dialog.h"

namespace meridan {

ForecastCalendar::ForecastCalendar(QWidget* parent)
    : action_(new QAction(QStringLiteral("Сохранить в &календарь…"), parent)) {
  action_->setObjectName(QStringLiteral("SaveCalendar"));
  action_->setEnabled(false);
  QObject::connect(action_, &QAction::triggered, parent, [this, parent] { Save(parent); });
}

void ForecastCalendar::Keep(ForecastRequest request,
                            std::shared_ptr<const ForecastFindings> findings,
                            std::filesystem::path programDir) {
  request_ = std::move(request);
  findings_ = std::move(findings);
  programDir_ = std::move(programDir);
  action_->setEnabled(true);
}

void ForecastCalendar::Forget() {
  request_.reset();
  findings_.reset();
  action_->setEnabled(false);
}

QString ForecastCalendar::SuggestedPath() const {
  if (!request_) return {};
  // The calendar names no one, and neither does its file; it names the
  // whole period, not the first of its months.
  const auto month = [](YearMonth m) {
    return Cp1251ToUtf8(MonthNameLower(m.month)) + ' ' + std::to_string(m.year);
  };
  const std::string name = std::string(WindowWords(request_->kind).command) + ", " +
                           month(request_->start) + " – " +
                           month(request_->start.Plus(kForecastMonths - 1)) + ".ics";
  return InDocumentsFolder(QString::fromStdString(name));
}

void ForecastCalendar::Save(QWidget* parent) {
  if (!request_ || !findings_) return;
  QString file = AskWhereToSave(parent, QStringLiteral("Сохранить в календарь"), SuggestedPath(),
                                QStringLiteral("Календарь iCalendar (*.ics)"));
  if (file.isEmpty()) return;
  if (!file.endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive)) file += QStringLiteral(".ics");
  Guarded(parent, QStringLiteral("Календарь не сохранён."), [&] {
    // The first calendar of a program directory makes its key, under the
    // lock: a forecast running meanwhile is waited for in the dialog a
    // forecast waits in, not with a window that stops painting.
    WriteForecastCalendar(*request_, *findings_, programDir_, file.toStdString(),
                          std::time(nullptr), [&] {
                            WaitWhileAnotherForecastRuns(
                                parent, programDir_,
                                QStringLiteral("Календарь сохранится, как только тот закончится."));
                          });
    if (saved_) saved_(file);
  });
}

}  // namespace meridan
