#pragma once
// "Лучшие дни…": the best windows of the latest forecast's kind for its
// person, in Russian, each with its days and weekdays, its peak day and
// the influences behind it and against it (planet, aspect and natal body
// with the first sentence of the text). Opened from the main window's menu
// item or its button once a forecast has run; the period can be widened to
// twelve months; the list copies or prints as text. Everything is reachable
// from the keyboard: Tab between the period, the list and the buttons,
// Ctrl+C copies, Ctrl+P prints, Escape closes.

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

#include "forecast/context.h"
#include "forecast/forecast.h"

class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QTextBrowser;

namespace meridan {

class BestDaysWindow : public QDialog {
  Q_OBJECT

 public:
  explicit BestDaysWindow(QWidget* parent);

  // The menu item, owned by the parent; disabled until a forecast is kept.
  QAction* Action() const { return action_; }

  // A run that came to its end, with the context it ran in (which outlives
  // it until the next Forget).
  void Keep(ForecastRequest request, ForecastContext& context);
  // A run started or failed: nothing to show until the next one ends.
  void Forget();

  // Shows the window over its parent for the forecast's four months.
  void Open();
  // Searches the kept forecast's months, `months` of them, and lists them.
  void ShowMonths(int months);
  // What the list says, as plain text.
  QString Text() const { return text_; }

  void Copy() const;
  void Print();
  // The print dialog, replaceable for tests: returns whether to print.
  using PrintDialogFn = std::function<bool(QPrinter& printer, QWidget* parent)>;
  static PrintDialogFn SetPrintDialog(PrintDialogFn dialog);

 private:
  void AddHeading();
  QLabel* AddPeriodChoice();
  void AddList();
  QLabel* AddNote();
  void AddButtons();
  void LayOut(QLabel* periodLabel, QLabel* note);

  QAction* action_;
  QLabel* heading_;
  QComboBox* period_;
  QTextBrowser* list_;
  QPushButton* copy_;
  QPushButton* print_;
  QPushButton* close_;
  QString text_;
  std::optional<ForecastRequest> request_;
  ForecastContext* context_ = nullptr;
};

}  // namespace meridan
