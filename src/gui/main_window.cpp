#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <stdexcept>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/files.h"
#include "base/places.h"
#include "ephemeris/birth_date.h"
#include "forecast/digest_file.h"
#include "gui/about_box.h"
#include "gui/best_days_window.h"
#include "gui/birth_fields.h"
#include "gui/birth_hour_fields.h"
#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/forecast_save.h"
#include "gui/help_window.h"
#include "gui/kind_words.h"
#include "gui/launcher_notice.h"
#include "gui/lock_wait.h"
#include "gui/main_window_parts.h"
#include "gui/path_text.h"
#include "gui/people_picker.h"
#include "gui/place_completion.h"
#include "gui/problem_report.h"
#include "gui/spin_field.h"
#include "gui/viewer.h"
#include "output/pages/page.h"

namespace meridan {
namespace {

QString MonthCaption(int month, int year) {
  return QString::fromStdString(Cp1251ToUtf8(MonthAndYear({year, month})));
}

// "Поездки: Иван Петров, 20.05.1984; октябрь 2025 – январь 2026", or
// without the name where none was typed.
QString ForecastCaption(const ForecastRequest& request, const QString& name) {
  const std::string_view kind = WindowWords(request.kind).command;
  const YearMonth last = request.start.Plus(kForecastMonths - 1);
  const auto month = [](YearMonth m) {
    return QString::fromStdString(Cp1251ToUtf8(MonthAndYearLower(m)));
  };
  const QString who = name.trimmed().isEmpty() ? QString() : name.trimmed() + QStringLiteral(", ");
  return QStringLiteral("Кнопки месяцев: ") +
         QString::fromUtf8(kind.data(), static_cast<qsizetype>(kind.size())) +
         QStringLiteral(" — ") + who + QString::fromStdString(DateInDigits(request.birth)) +
         QStringLiteral("; ") + month(request.start) + QStringLiteral(" – ") + month(last);
}

// Every window shows the same normal arrow once a command is over, whatever
// it left behind.
void SetNormalCursor() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { SetNormalCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// What packing did beside the archive (an unreadable old archive put
// aside, not lost; files left out; old entries dropped), a scratch file
// that could not be written, and a forecast without texts; empty when
// there is nothing to say.
QString AfterRunNotice(const ForecastResult& result, const std::filesystem::path& archive) {
  QString notice = PackingNotice(result.packed, archive);
  if (!result.scratchFailure.empty())
    notice += (notice.isEmpty() ? QString() : QStringLiteral("\n")) +
              QStringLiteral(
                  "Страницы и архив записаны, но служебный файл записать не "
                  "удалось: ") +
              QString::fromStdString(result.scratchFailure);
  if (result.noTexts)
    notice +=
        (notice.isEmpty() ? QString() : QStringLiteral("\n")) + NoTextsNotice(*result.noTexts);
  return notice;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent, QSize viewerScreen)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  // Numbers are written with "." whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  setObjectName(QStringLiteral("ZMeridanDiruForm"));
  setWindowTitle(QStringLiteral("Meridan Diru"));
  setFont(WindowFont());
  BuildClient();
  BuildMenu();
  // The status line confirms what was saved, and where.
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->setSizeGripEnabled(false);
  setFixedSize(kClientWidth,
               kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  BuildWindows(viewerScreen);
}

void MainWindow::BuildWindows(QSize viewerScreen) {
  About_Form = new AboutBox(this);
  Form2 = new Viewer(this, viewerScreen);
  ProblemForm_ = new ProblemReport(this);
  help_ = new HelpWindow(this);

  // What is done with the latest forecast stands in one menu before
  // "Выход", so that the menu bar keeps all its items in the window's width.
  ForecastMenu = new QMenu(QStringLiteral("П&рогноз"), this);
  ForecastMenu->setObjectName(QStringLiteral("ForecastMenu"));
  menuBar()->insertMenu(N3, ForecastMenu);
  best_ = new BestDaysWindow(this);
  ForecastMenu->addAction(best_->Action());
  pdf_ = ForecastPdf(this);
  pdf_->OnSaved([this](const QString& file) {
    ShowStatus(QStringLiteral("Прогноз сохранён в PDF: ") + file);
  });
  ForecastMenu->addAction(pdf_->Action());
  AddViewerButton(*pdf_, Form2);
  calendar_ = ForecastCalendar(this);
  calendar_->OnSaved(
      [this](const QString& file) { ShowStatus(QStringLiteral("Календарь сохранён: ") + file); });
  ForecastMenu->addAction(calendar_->Action());
  // The button under the commands, on the picture; its caption without the
  // menu item's keyboard letter, which the menu answers.
  ButtonBest = new QPushButton(best_->Action()->text().remove(QLatin1Char('&')), centralWidget());
  ButtonBest->setObjectName(QStringLiteral("ButtonBest"));
  // Under the start month, in the row of the birth time and place.
  ButtonBest->setGeometry(484, 130, 140, 29);
  ButtonBest->setFont(Button8->font());
  ButtonBest->setAutoDefault(false);
  ButtonBest->setEnabled(false);
  connect(ButtonBest, &QPushButton::clicked, best_->Action(), &QAction::trigger);
  connect(best_->Action(), &QAction::changed, ButtonBest,
          [this] { ButtonBest->setEnabled(best_->Action()->isEnabled()); });
  setTabOrder(Button8, StartBox);
  setTabOrder(StartBox, ButtonBest);
  // F1 opens the help from every window, over the window it was pressed in.
  for (QWidget* window :
       std::initializer_list<QWidget*>{this, About_Form, Form2, ProblemForm_, help_}) {
    connect(
        new QShortcut(QKeySequence(Qt::Key_F1), window), &QShortcut::activated, this,
        [this, window] { Guarded(window, [&] { ShowHelpTopic(kHelpContentsTopic, window); }); });
  }
}

MainWindow::~MainWindow() = default;

bool MainWindow::event(QEvent* event) {
  // The start-up runs once the window is up, outside the showing itself, so
  // that an error box it raises opens over a finished window.
  const bool comingUp = event->type() == QEvent::Show || event->type() == QEvent::WindowActivate;
  if (comingUp && !startupQueued_) {
    startupQueued_ = true;
    QTimer::singleShot(0, this, &MainWindow::FormActivate);
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  help_->close();
  QMainWindow::closeEvent(event);
}

void MainWindow::FormActivate() {
  if (activated_) return;
  activated_ = true;
  SetProgramDir(session_, QDir::currentPath().toStdString());
  const QString backgroundError = LoadBackground();
  LoadPlaces();
  PlaceMonthButtons();
  Edit1->clear();
  SpinEdit1->SetLimits(kDayLimits.minimum, kDayLimits.maximum);
  SpinEdit2->SetLimits(kMonthLimits.minimum, kMonthLimits.maximum);
  SpinEdit3->SetLimits(kYearLimits.minimum, kYearLimits.maximum);
  Edit1->setFocus();
  SpinEdit1->SetValue(kDayLimits.initial);
  SpinEdit2->SetValue(kMonthLimits.initial);
  SpinEdit3->SetValue(kYearLimits.initial);
  const QDate today = clock_();
  session_.CurrentYear = today.year();
  session_.CurrentMonth = today.month();
  OfferStartMonths();
  SetNormalCursor();
  // The picture is the only thing that can fail here; the window is whole
  // and usable by the time the box shows.
  if (!backgroundError.isEmpty()) ErrorBox::Show(this, backgroundError);
  ShowLauncherNotice(this);
}

void MainWindow::ShowStatus(const QString& text) {
  // Then back to which forecast the month buttons open.
  constexpr int kShownFor = 30'000;  // milliseconds
  statusBar()->showMessage(text, kShownFor);
}

QString MainWindow::LoadBackground() {
  const QString task = QStringLiteral("Не удалось показать картинку окна.");
  const std::filesystem::path file = session_.DataDir / "diru2.bmp";
  std::string bytes;
  try {
    bytes = ReadFile(file);
  } catch (const std::exception& error) {
    return ErrorMessage(error, task);
  }
  QImage picture;
  if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size())))
    return task + QStringLiteral(" Файл «") + PathText(file) +
           QStringLiteral(
               "» — не картинка, которую программа может прочитать. Верните его из "
               "установленной копии программы.");
  Image1->setPixmap(QPixmap::fromImage(picture));
  return {};
}

void MainWindow::LoadPlaces() {
  try {
    places_ = std::make_shared<const PlaceList>(LoadPlaceList(session_.DataDir));
    placesError_.clear();
  } catch (const std::exception& error) {
    // The window works without it; a place typed is refused with this.
    places_.reset();
    placesError_ = ErrorMessage(error, {});
  }
  placeCompletion_->SetList(places_);
}

void MainWindow::Button18Click() { RunCommand(ForecastKind::Trips); }
void MainWindow::Button7Click() { RunCommand(ForecastKind::Service); }
void MainWindow::Button8Click() { RunCommand(ForecastKind::Sale); }

void MainWindow::RunCommand(ForecastKind kind) {
  const BirthReading birth = ReadBirthDate(*SpinEdit1, *SpinEdit2, *SpinEdit3);
  if (!birth.date) {
    ErrorBox::Show(this, birth.refusal);
    birth.field->setFocus();
    return;
  }
  ForecastRequest request{kind, {}, *birth.date, {}};
  if (!ReadTimeAndPlace(*birth.date, request)) return;
  Guarded(this, QStringLiteral("Прогноз не составлен."), [&] {
    session_.Name = NameForPage(Edit1->text().toStdString());
    session_.BirthDay = birth.date->day;
    session_.BirthMonth = birth.date->month;
    session_.BirthYear = birth.date->year;

    const BusyCursor busy;
    ForgetLatest();
    // The buttons open the months of this run from now on, each as soon as
    // it is finished, so a run that fails keeps the ones it finished.
    request.name = session_.Name;
    request.start = StartMonth();
    Shown->setText(ForecastCaption(request, Edit1->text()));
    latest_ = std::make_shared<const ForecastResult>(RunShowingMonths(request));
    // Remembered once the forecast is made, as typed.
    people_->Remember({Edit1->text().trimmed(), session_.Birth(), Edit2->text().trimmed(),
                       Edit3->text().trimmed()});
    KeepFinished();
    if (WindowWords(kind).showsProgramDir) {
      Label1->setText(QStringLiteral("    MainDir= ") + PathText(session_.MainDir / ""));
      Label1->adjustSize();
    }
    const QString notice = AfterRunNotice(*latest_, context_->dir().archive());
    if (!notice.isEmpty()) NoticeBox::Show(this, notice);
  });
}

ForecastResult MainWindow::RunShowingMonths(const ForecastRequest& request) {
  // Until the run ends: its request and the months finished so far, of
  // each only what the buttons open, its page.
  ForecastResult partial;
  partial.request = request;
  latest_ = std::make_shared<const ForecastResult>(partial);
  // The run holds the event loop; each finished month's button is
  // repainted at once so the user sees the months come in.
  return RunForecast(
      *context_, request,
      [this, &partial](int k, const MonthForecast& month) {
        MonthForecast opened;
        opened.month = month.month;
        opened.page = month.page;
        partial.months.push_back(std::move(opened));
        latest_ = std::make_shared<const ForecastResult>(partial);
        QPushButton* button = monthButtons_[static_cast<size_t>(k)];
        button->setEnabled(true);
        button->setText(MonthCaption(month.month.month, month.month.year));
        button->repaint();
      },
      [this] { WaitWhileAnotherForecastRuns(this, session_.MainDir); });
}

void MainWindow::KeepFinished() {
  const QDate today = clock_();
  // Read off the run once for both files; its texts stay valid until the
  // next run refreshes the context, and it is forgotten before that.
  finished_ = std::make_shared<const FinishedForecast>(
      FinishedForecast{latest_, FindingsOf(*latest_, *context_),
                       Date{today.day(), today.month(), today.year()}, context_->programDir()});
  pdf_->Keep(finished_);
  calendar_->Keep(finished_);
  best_->Keep(latest_->request, *context_);
}

bool MainWindow::ReadTimeAndPlace(Date birth, ForecastRequest& request) {
  BirthHourFields hour =
      ReadBirthHourFields(birth, Edit2->text(), Edit3->text(), places_.get(), placesError_);
  if (!hour.choices.isEmpty()) {
    // An hour the clocks showed twice: the user picks the reading, which
    // the field then keeps with its offset.
    const int chosen = ChoiceBox::Ask(this, hour.refusal, hour.choiceCaptions);
    if (chosen < 0) {
      Edit2->setFocus();
      return false;
    }
    Edit2->setText(hour.choices.at(chosen));
    hour = ReadBirthHourFields(birth, Edit2->text(), Edit3->text(), places_.get(), placesError_);
  }
  if (!hour.ok()) {
    ErrorBox::Show(this, hour.refusal);
    (hour.field == BirthHourFields::Field::Place ? Edit3 : Edit2)->setFocus();
    return false;
  }
  request.hour = hour.hour;
  request.birthTime = hour.time;
  request.birthPlace = NameForPage(hour.place.toStdString());
  return true;
}

void MainWindow::ForgetLatest() {
  pdf_->Forget();
  calendar_->Forget();
  best_->Forget();
  for (int k = 1; k <= 4; ++k) {
    QPushButton* button = monthButtons_[static_cast<size_t>(k)];
    button->setEnabled(false);
    button->setText(MonthButtonCaption(k));
  }
  finished_.reset();
  latest_ = std::make_shared<const ForecastResult>();
  // One context for the window's life: what it loaded stays for the next
  // run unless the file has changed on disk since.
  if (!context_ || context_->programDir() != session_.MainDir)
    context_ = std::make_unique<ForecastContext>(session_.MainDir);
  else
    context_->Refresh();
}

void MainWindow::OfferStartMonths() {
  StartBox->clear();
  for (int k = 0; k < kStartMonthsOffered; ++k) {
    const YearMonth month = session_.Current().Plus(k);
    StartBox->addItem(QString::fromStdString(Cp1251ToUtf8(MonthAndYearLower(month))));
  }
  StartBox->setCurrentIndex(0);
}

YearMonth MainWindow::StartMonth() const {
  return session_.Current().Plus(std::max(StartBox->currentIndex(), 0));
}

void MainWindow::ShowPerson(const Person& person) {
  Edit1->setText(person.name);
  SpinEdit1->SetValue(person.birth.day);
  SpinEdit2->SetValue(person.birth.month);
  SpinEdit3->SetValue(person.birth.year);
  Edit2->setText(person.time);
  Edit3->setText(person.place);
}

void MainWindow::MonthButtonClick(int k) {
  Guarded(this, [&] {
    session_.PageToShow = latest_->months.at(static_cast<size_t>(k - 1)).page;
    Form2->SetPageToShow(session_.PageToShow);
    Form2->exec();
  });
}

void MainWindow::ShowHelpTopic(int topic, QWidget* caller) {
  const std::filesystem::path page = HelpTopicPath(session_.MainDir, topic);
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(page, ignored)) {
    ErrorBox::Show(caller ? caller : this,
                   QStringLiteral("Не удалось открыть справку: файла «") + PathText(page) +
                       QStringLiteral("» нет. Проверьте, что программа запущена из своей папки и "
                                      "что в ней есть папка help со страницами справки."));
    return;
  }
  help_->ShowPage(page, caller);
}

}  // namespace meridan
