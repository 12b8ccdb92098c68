#include "gui/calendar_save.h"

#include <QAction>
#include <QFileDialog>

#include <ctime>
#include <utility>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "forecast/calendar_file.h"
#include "gui/documents_folder.h"
#include "gui/error_box.h"

namespace meridan {
namespace {

QString RunSaveDialog(QWidget* parent, const QString& suggested) {
  return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в календарь"), suggested,
                                      QStringLiteral("Календарь iCalendar (*.ics)"));
}

ForecastCalendar::SaveDialogFn& SaveDialog() {
  static ForecastCalendar::SaveDialogFn dialog = RunSaveDialog;
  return dialog;
}

}  // namespace

ForecastCalendar::SaveDialogFn ForecastCalendar::SetSaveDialog(SaveDialogFn dialog) {
  return std::exchange(SaveDialog(), dialog ? std::move(dialog) : RunSaveDialog);
}

ForecastCalendar::ForecastCalendar(QWidget* parent)
    : action_(new QAction(QStringLiteral("Сохранить в календарь…"), parent)) {
  action_->setObjectName(QStringLiteral("SaveCalendar"));
  action_->setEnabled(false);
  QObject::connect(action_, &QAction::triggered, parent, [this, parent] { Save(parent); });
}

void ForecastCalendar::Keep(ForecastRequest request, ForecastContext& context) {
  request_ = std::move(request);
  context_ = &context;
  action_->setEnabled(true);
}

void ForecastCalendar::Forget() {
  request_.reset();
  context_ = nullptr;
  action_->setEnabled(false);
}

QString ForecastCalendar::SuggestedPath() const {
  if (!request_) return {};
  // The calendar names no one, and neither does its file.
  const std::string name = std::string(KindInfo(request_->kind).command) + ", " +
                           Cp1251ToUtf8(MonthNameLower(request_->start.month)) + ' ' +
                           std::to_string(request_->start.year) + ".ics";
  return InDocumentsFolder(QString::fromStdString(name));
}

void ForecastCalendar::Save(QWidget* parent) {
  if (!request_ || !context_) return;
  QString file = SaveDialog()(parent, SuggestedPath());
  if (file.isEmpty()) return;
  if (!file.endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive)) file += QStringLiteral(".ics");
  Guarded(parent, QStringLiteral("Календарь не сохранён."), [&] {
    WriteForecastCalendar(*request_, *context_, file.toStdString(), std::time(nullptr));
    if (saved_) saved_(file);
  });
}

}  // namespace meridan
