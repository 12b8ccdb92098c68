#pragma once
// Saving a finished forecast as a calendar file: "Сохранить в календарь…" in
// the main window's menu, beside the PDF, enabled once a forecast has run to
// its end. A file dialog suggests a name in the user's documents folder; the
// library writes the file. The dialog sits behind a seam, so tests never
// wait on it.

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "forecast/findings.h"
#include "forecast/forecast.h"

class QAction;
class QWidget;

namespace meridan {

class ForecastCalendar {
 public:
  // The menu item, owned by parent; disabled until a forecast is kept.
  explicit ForecastCalendar(QWidget* parent);

  QAction* Action() const { return action_; }

  // A run that came to its end, its findings, and the program directory
  // whose key names the events.
  void Keep(ForecastRequest request, std::shared_ptr<const ForecastFindings> findings,
            std::filesystem::path programDir);
  // A run started or failed: nothing to save until the next one ends.
  void Forget();

  // The documents folder and "Поездки, ноябрь 2026 – февраль 2027.ics" for the kept forecast.
  QString SuggestedPath() const;

  // Asks for the file and writes the calendar; a failure goes to the error box.
  void Save(QWidget* parent);
  // Told the file's path after each calendar written.
  void OnSaved(std::function<void(const QString& file)> saved) { saved_ = std::move(saved); }

 private:
  QAction* action_;
  std::function<void(const QString&)> saved_;
  std::optional<ForecastRequest> request_;
  std::shared_ptr<const ForecastFindings> findings_;
  std::filesystem::path programDir_;
};

}  // namespace meridan
