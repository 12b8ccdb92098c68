#pragma once
// Saving the latest finished forecast as a file: the PDF digest
// ("Сохранить прогноз в PDF…", also a button in the viewer) and the
// calendar file ("Сохранить в календарь…"), items of the main window's
// menu, enabled once a forecast has run to its end. A file dialog suggests
// a name in the user's documents folder; the library writes the file. The
// dialog sits behind a seam, so tests never wait on it.

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/dates.h"
#include "forecast/findings.h"
#include "forecast/forecast.h"

class QAction;
class QPushButton;
class QWidget;

namespace meridan {

// A forecast that ran to its end, as the main window keeps it: the run,
// which the window's month buttons open too, what is read off it for the
// files, the day it was made and the program directory it was made in.
// Shared by the window and its save actions and never changed; the next
// run makes a new one.
struct FinishedForecast {
  std::shared_ptr<const ForecastResult> run;
  ForecastFindings findings;
  Date made;
  std::filesystem::path programDir;
};

// One way of saving it: a menu item, owned by its parent, disabled until a
// forecast is kept.
class ForecastSave {
 public:
  // What the way says and does; the texts in the window's words.
  struct Way {
    QString item;        // the menu item
    QString objectName;  // the menu item's
    QString title;       // the dialog's
    QString filter;      // the dialog's file types
    QString extension;   // added to a name typed without it: ".pdf"
    QString failure;     // the error box's first sentence
    // The file's name in the documents folder (UTF-8).
    std::string (*fileName)(const FinishedForecast& forecast);
    // Writes the file; a wait is shown over parent.
    void (*write)(const FinishedForecast& forecast, const std::filesystem::path& file,
                  QWidget* parent);
  };

  ForecastSave(QWidget* parent, Way way);

  QAction* Action() const { return action_; }

  // A run that came to its end.
  void Keep(std::shared_ptr<const FinishedForecast> forecast);
  // A run started or failed: nothing to save until the next one ends.
  void Forget();

  // The documents folder and the file's name for the kept forecast.
  QString SuggestedPath() const;

  // Asks for the file and writes it; a failure goes to the error box, a
  // file written to the function given here (its path).
  void Save(QWidget* parent);
  void OnSaved(std::function<void(const QString& file)> saved) { saved_ = std::move(saved); }

 private:
  Way way_;
  QAction* action_;
  std::shared_ptr<const FinishedForecast> forecast_;
  std::function<void(const QString&)> saved_;
};

// "Сохранить прогноз в PDF…": the digest, named by its title.
std::unique_ptr<ForecastSave> ForecastPdf(QWidget* parent);
// "Сохранить в календарь…": the calendar file, named by the kind and the
// period: "Поездки, ноябрь 2026 – февраль 2027.ics".
std::unique_ptr<ForecastSave> ForecastCalendar(QWidget* parent);

// A button in the viewer's button strip that saves the PDF over the viewer
// and is enabled with its menu item.
QPushButton* AddViewerButton(ForecastSave& pdf, QWidget* viewer);

}  // namespace meridan
