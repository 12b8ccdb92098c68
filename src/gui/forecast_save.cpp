#include "gui/forecast_save.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <ctime>
#include <utility>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "forecast/calendar_file.h"
#include "forecast/digest_file.h"
#include "gui/documents_folder.h"
#include "gui/error_box.h"
#include "gui/kind_words.h"
#include "gui/lock_wait.h"
#include "gui/save_dialog.h"

namespace meridan {

ForecastSave::ForecastSave(QWidget* parent, Way way)
    : way_(std::move(way)), action_(new QAction(way_.item, parent)) {
  action_->setObjectName(way_.objectName);
  action_->setEnabled(false);
  QObject::connect(action_, &QAction::triggered, parent, [this, parent] { Save(parent); });
}

void ForecastSave::Keep(std::shared_ptr<const FinishedForecast> forecast) {
  forecast_ = std::move(forecast);
  action_->setEnabled(forecast_ && !forecast_->run->months.empty());
}

void ForecastSave::Forget() {
  forecast_.reset();
  action_->setEnabled(false);
}

QString ForecastSave::SuggestedPath() const {
  if (!forecast_) return {};
  return InDocumentsFolder(QString::fromStdString(way_.fileName(*forecast_)));
}

void ForecastSave::Save(QWidget* parent) {
  if (!forecast_ || forecast_->run->months.empty()) return;
  // Held for the save: a Forget while the dialog is open does not take it
  // from under the writing.
  const std::shared_ptr<const FinishedForecast> forecast = forecast_;
  QString file = AskWhereToSave(parent, way_.title, SuggestedPath(), way_.filter);
  if (file.isEmpty()) return;
  // What is written is of its kind, whatever the name typed says.
  if (!file.endsWith(way_.extension, Qt::CaseInsensitive)) file += way_.extension;
  Guarded(parent, way_.failure, [&] {
    way_.write(*forecast, file.toStdString(), parent);
    if (saved_) saved_(file);
  });
}

std::unique_ptr<ForecastSave> ForecastPdf(QWidget* parent) {
  return std::make_unique<ForecastSave>(
      parent,
      ForecastSave::Way{
          .item = QStringLiteral("&Сохранить прогноз в PDF…"),
          .objectName = QStringLiteral("SavePdf"),
          .title = QStringLiteral("Сохранить прогноз в PDF"),
          .filter = QStringLiteral("PDF (*.pdf)"),
          .extension = QStringLiteral(".pdf"),
          .failure = QStringLiteral("PDF не сохранён."),
          .fileName =
              [](const FinishedForecast& forecast) {
                return ForecastDigestFileName(forecast.run->request);
              },
          .write =
              [](const FinishedForecast& forecast, const std::filesystem::path& file, QWidget*) {
                WriteForecastDigest(*forecast.run, forecast.findings, forecast.made, file);
              }});
}

std::unique_ptr<ForecastSave> ForecastCalendar(QWidget* parent) {
  return std::make_unique<ForecastSave>(
      parent,
      ForecastSave::Way{
          .item = QStringLiteral("Сохранить в &календарь…"),
          .objectName = QStringLiteral("SaveCalendar"),
          .title = QStringLiteral("Сохранить в календарь"),
          .filter = QStringLiteral("Календарь iCalendar (*.ics)"),
          .extension = QStringLiteral(".ics"),
          .failure = QStringLiteral("Календарь не сохранён."),
          .fileName =
              [](const FinishedForecast& forecast) {
                // The calendar names no one, and neither does its file; it
                // names the whole period, not the first of its months.
                const ForecastRequest& request = forecast.run->request;
                const auto month = [](YearMonth m) { return Cp1251ToUtf8(MonthAndYearLower(m)); };
                return std::string(WindowWords(request.kind).command) + ", " +
                       month(request.start) + " – " +
                       month(request.start.Plus(kForecastMonths - 1)) + ".ics";
              },
          .write =
              [](const FinishedForecast& forecast, const std::filesystem::path& file,
                 QWidget* over) {
                // The first calendar of a program directory makes its key,
                // under the lock: a forecast running meanwhile is waited for
                // in the dialog a forecast waits in, not with a window that
                // stops painting.
                WriteForecastCalendar(
                    forecast.run->request, forecast.findings, forecast.programDir, file,
                    std::time(nullptr), [&] {
                      WaitWhileAnotherForecastRuns(
                          over, forecast.programDir,
                          QStringLiteral("Календарь сохранится, как только тот закончится."));
                    });
              }});
}

QPushButton* AddViewerButton(ForecastSave& pdf, QWidget* viewer) {
  // The viewer's strip holds "Напечатать" and " Выйти"; the button goes
  // after them, in their row.
  QWidget* strip = viewer->findChild<QWidget*>(QStringLiteral("Panel1"));
  auto* button = new QPushButton(QStringLiteral("Сохранить в PDF…"), strip ? strip : viewer);
  button->setObjectName(QStringLiteral("SavePdfButton"));
  button->setGeometry(304, 8, 150, 29);
  // The viewer is made no narrower than its row of buttons, the last one
  // whole with the margin the first keeps on the left.
  viewer->setMinimumWidth(std::max(viewer->minimumWidth(), button->geometry().right() + 1 + 16));
  button->setAutoDefault(false);
  QAction* action = pdf.Action();
  button->setEnabled(action->isEnabled());
  QObject::connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
  QObject::connect(button, &QPushButton::clicked, viewer, [&pdf, viewer] { pdf.Save(viewer); });
  return button;
}

}  // namespace meridan
