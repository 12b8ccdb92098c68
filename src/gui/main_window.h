#pragma once
// The main window: name and birth date, the three forecast commands, the
// four month buttons that open the pages, and the menu. It holds the
// forecast session for the whole run of the program and creates the other
// windows, hidden until they are shown.

#include <QDate>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "forecast/context.h"
#include "forecast/forecast.h"
#include "gui/session.h"
#include "transits/forecast_kind.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace meridan {

class AboutBox;
class BestDaysWindow;
struct FinishedForecast;
class ForecastSave;
class HelpWindow;
class PeoplePicker;
class PlaceCompletion;
struct PlaceList;
class ProblemReport;
class SpinField;
class Viewer;
struct Person;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // viewerScreen: the screen size the viewer sizes itself by; empty for the
  // primary screen.
  explicit MainWindow(QWidget* parent = nullptr, QSize viewerScreen = {});
  ~MainWindow() override;

  // The clock the start-up reads the current month from; tests fix it.
  void SetClock(std::function<QDate()> clock) { clock_ = std::move(clock); }
  const ForecastSession& Session() const { return session_; }
  // The latest forecast command's result: its request and the months it
  // finished (all four unless it failed), which the month buttons open.
  const ForecastResult& Latest() const { return *latest_; }

  AboutBox* AboutForm() const { return About_Form; }
  Viewer* ViewerForm() const { return Form2; }
  ProblemReport* ProblemForm() const { return ProblemForm_; }
  HelpWindow* Help() const { return help_; }
  PeoplePicker* Remembered() const { return people_; }
  BestDaysWindow* BestDays() const { return best_; }

  // The session's start-up; runs once, when the window first comes up.
  void FormActivate();

  void Button18Click();
  void Button7Click();
  void Button8Click();
  void MonthButtonClick(int k);
  void N7Click();
  void N6Click();
  void N1Click();
  void N3Click();

  // Opens help topic n (the page help/n.html) over the window that asked
  // for it, the main window when none is given.
  void ShowHelpTopic(int topic, QWidget* caller = nullptr);

  // The status line under the client area: what was saved, and where.
  void ShowStatus(const QString& text);

  // F10: the menu bar takes the keyboard, as with Alt.
  void ActivateMenu();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window's parts, built in this order by the constructor.
  void BuildClient();
  void BuildNameAndBirth(QWidget* client);
  void BuildBirthHour(QWidget* client);
  void BuildCommands(QWidget* client);
  void BuildMonthButtons(QWidget* client);
  void BuildStartMonth(QWidget* client);
  void BuildStatusLine(QWidget* client);
  void SetTabOrder();
  void BuildMenu();
  void BuildWindows(QSize viewerScreen);

  // A remembered person's fields into the window.
  void ShowPerson(const Person& person);
  // The start months offered, from the current one; and the one chosen.
  void OfferStartMonths();
  YearMonth StartMonth() const;

  void RunCommand(ForecastKind kind);
  // The run, each month's button opening its page as soon as the month is
  // done; until it ends, the latest result holds the months done so far.
  ForecastResult RunShowingMonths(const ForecastRequest& request);
  // The finished run, read off once, for the PDF, the calendar and the
  // best days.
  void KeepFinished();
  // The birth time and place into the request, or false when the user is
  // to put them right (told why) or called the question off.
  bool ReadTimeAndPlace(Date birth, ForecastRequest& request);
  // The place list, for the place field's completion and reading.
  void LoadPlaces();
  // Before a run: nothing to open or save until it finishes its months.
  void ForgetLatest();
  // The background picture; the error box's text when it cannot be shown.
  QString LoadBackground();
  void PlaceMonthButtons();

  QLabel* Image1;
  QLabel* Label1;
  QLineEdit* Edit1;
  SpinField* SpinEdit1;
  SpinField* SpinEdit2;
  SpinField* SpinEdit3;
  QLabel* Label6;    // the birth time's caption
  QLineEdit* Edit2;  // birth time, on the clocks of the birth place
  QLabel* Label7;    // the birth place's caption
  QLineEdit* Edit3;  // birth place, from the place list
  PlaceCompletion* placeCompletion_;
  std::shared_ptr<const PlaceList> places_;
  QString placesError_;  // why there is no list
  QPushButton* Button18;
  QPushButton* Button7;
  QPushButton* Button8;
  std::array<QPushButton*, kForecastMonths + 1> monthButtons_{};  // Button1..Button4 at 1..4
  QComboBox* StartBox;                                            // the first of the four months
  QLabel* Shown;  // which forecast the month buttons open
  QAction* N7;
  QAction* N6;
  QAction* N1;
  QAction* N3;
  QMenu* ForecastMenu;  // the best days, the PDF and the calendar of the latest forecast

  AboutBox* About_Form;
  Viewer* Form2;
  ProblemReport* ProblemForm_;
  HelpWindow* help_;
  PeoplePicker* people_;

  ForecastSession session_;
  // Never changed once made: a run makes a new one, which the month
  // buttons open; of a run that failed, only the request and the months
  // it finished, their pages.
  std::shared_ptr<const ForecastResult> latest_ = std::make_shared<const ForecastResult>();
  // The same run once it came to its end, with what is read off it, which
  // the save actions share; null before.
  std::shared_ptr<const FinishedForecast> finished_;
  std::unique_ptr<ForecastContext> context_;
  std::unique_ptr<ForecastSave> pdf_;       // the latest finished forecast, to save as a PDF
  std::unique_ptr<ForecastSave> calendar_;  // the same, to save as a calendar file
  BestDaysWindow* best_;                    // the best days of the same
  QPushButton* ButtonBest;                  // opens it, beside the commands
  bool startupQueued_ = false;
  bool activated_ = false;
  std::function<QDate()> clock_ = &QDate::currentDate;
};

}  // namespace meridan
