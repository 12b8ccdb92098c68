#pragma once
// Saving a finished forecast as the PDF digest: "Сохранить прогноз в PDF…"
// in the main window's menu and a button in the viewer, both enabled once a
// forecast has run to its end. A file dialog suggests a name in the user's
// documents folder; the library writes the digest. The dialog sits behind a
// seam, so tests never wait on it.

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/dates.h"
#include "forecast/findings.h"
#include "forecast/forecast.h"

class QAction;
class QPushButton;
class QWidget;

namespace meridan {

class ForecastPdf {
 public:
  // The menu item, owned by parent; disabled until a forecast is kept.
  explicit ForecastPdf(QWidget* parent);

  QAction* Action() const { return action_; }
  // A button in the viewer's button strip that saves over the viewer and is
  // enabled with the menu item.
  QPushButton* AddViewerButton(QWidget* viewer);

  // A run that came to its end, made on the day given, and its findings.
  void Keep(ForecastResult run, std::shared_ptr<const ForecastFindings> findings, Date made);
  // A run started or failed: nothing to save until the next one ends.
  void Forget();

  // The documents folder and the digest's name for the kept forecast.
  QString SuggestedPath() const;

  // Asks for the file and writes the digest; a failure goes to the error
  // box, a file written to the function given here (its path).
  void Save(QWidget* parent);
  void OnSaved(std::function<void(const QString& file)> saved) { saved_ = std::move(saved); }

 private:
  QAction* action_;
  std::optional<ForecastResult> run_;
  std::shared_ptr<const ForecastFindings> findings_;
  Date made_;
  std::function<void(const QString&)> saved_;
};

}  // namespace meridan
