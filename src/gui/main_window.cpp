#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyleOptionMenuItem>
#include <QTimer>

#include <clocale>
#include <stdexcept>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/month_names.h"
#include "ephemeris/birth_date.h"
#include "forecast/digest_file.h"
#include "gui/about_box.h"
#include "gui/birth_fields.h"
#include "gui/calendar_save.h"
#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/help_window.h"
#include "gui/launcher_notice.h"
#include "gui/lock_wait.h"
#include "gui/pdf_save.h"
#include "gui/problem_report.h"
#include "gui/spin_field.h"
#include "gui/viewer.h"
#include "output/pages/page.h"

namespace meridan {
namespace {

constexpr int kClientWidth = 634;
constexpr int kClientHeight = 392;
const QColor kFieldColour(181, 173, 197);

// Month buttons: left edges, widths and height; their top edge keeps this
// margin to the bottom of the client area.
constexpr int kMonthButtonLeft[] = {0, 20, 160, 300, 440};
constexpr int kMonthButtonWidth[] = {0, 121, 122, 122, 122};
constexpr int kMonthButtonHeight = 26;
constexpr int kMonthButtonBottomMargin = 9;

struct BirthLimits {
  int minimum, maximum, initial;
};
constexpr BirthLimits kDayLimits{1, 31, 15};
constexpr BirthLimits kMonthLimits{1, 12, 6};
constexpr BirthLimits kYearLimits{kFirstBirthYear, kLastBirthYear, 1980};

QString MonthButtonCaption(int k) { return QString::number(k) + QStringLiteral("-й месяц"); }

QString MonthCaption(int month, int year) {
  return QString::fromStdString(Cp1251ToUtf8(MonthName(month))) + QLatin1Char(' ') +
         QString::number(year);
}

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
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

// Alt takes the keyboard to the menu bar whatever the style's habit, so the
// captions need no marks for accelerator keys and stay as they are.
class MenuStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_MenuBar_AltKeyNavigation) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
  // The item the keyboard stands on is drawn as an open one: the style
  // marks only an item whose menu is open, and these items open no menu, so
  // after F10 or Alt nothing showed where the arrows were.
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
        widget->hasFocus()) {
      QStyleOptionMenuItem current = *item;
      current.state |= State_Sunken;
      QProxyStyle::drawControl(element, &current, painter, widget);
      return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }
};

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
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

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  const QFont controlFont = ArialFont(15, true);

  Image1 = Named(new QLabel(client), "Image1");
  Image1->setGeometry(0, 0, kClientWidth, kClientHeight);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  struct Caption {
    const char* name;
    const char* text;
    int left, top;
  };
  const Caption captions[] = {{"Label2", "Имя (фамилия)", 19, 11},
                              {"Label3", "День", 284, 11},
                              {"Label4", "Месяц", 344, 11},
                              {"Label5", "Год  рождения", 409, 11}};
  for (const Caption& caption : captions) {
    auto* label = Named(new QLabel(QString::fromUtf8(caption.text), client), caption.name);
    label->setFont(controlFont);
    label->move(caption.left, caption.top);
    label->adjustSize();
  }

  QPalette fieldPalette = palette();
  fieldPalette.setColor(QPalette::Base, kFieldColour);
  fieldPalette.setColor(QPalette::Text, Qt::black);

  Edit1 = Named(new QLineEdit(client), "Edit1");
  Edit1->setGeometry(16, 33, 244, 28);
  Edit1->setMaxLength(static_cast<int>(kMaxNameLength));
  Edit1->setFont(controlFont);
  Edit1->setPalette(fieldPalette);

  const struct {
    SpinField** field;
    const char* name;
    QRect geometry;
  } spins[] = {{&SpinEdit1, "SpinEdit1", {284, 34, 52, 28}},
               {&SpinEdit2, "SpinEdit2", {345, 34, 51, 28}},
               {&SpinEdit3, "SpinEdit3", {406, 34, 67, 28}}};
  for (const auto& spin : spins) {
    SpinField* field = Named(new SpinField(client), spin.name);
    field->setGeometry(spin.geometry);
    field->setFont(controlFont);
    field->setPalette(fieldPalette);
    *spin.field = field;
  }

  const struct {
    QPushButton** button;
    const char* name;
    ForecastKind kind;
    int left;
  } commands[] = {{&Button18, "Button18", ForecastKind::Trips, 16},
                  {&Button7, "Button7", ForecastKind::Service, 172},
                  {&Button8, "Button8", ForecastKind::Sale, 328}};
  for (const auto& command : commands) {
    const std::string_view caption = KindInfo(command.kind).command;
    auto* button = Named(
        new QPushButton(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                        client),
        command.name);
    button->setGeometry(command.left, 71, 145, 29);
    button->setFont(controlFont);
    button->setAutoDefault(false);
    *command.button = button;
  }
  connect(Button18, &QPushButton::clicked, this, &MainWindow::Button18Click);
  connect(Button7, &QPushButton::clicked, this, &MainWindow::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &MainWindow::Button8Click);

  for (int k = 1; k <= 4; ++k) {
    auto* button = new QPushButton(MonthButtonCaption(k), client);
    button->setObjectName(QStringLiteral("Button%1").arg(k));
    button->setFont(controlFont);
    button->setAutoDefault(false);
    button->setEnabled(false);
    connect(button, &QPushButton::clicked, this, [this, k] { MonthButtonClick(k); });
    monthButtons_[static_cast<size_t>(k)] = button;
  }
  PlaceMonthButtons();

  // The status line sits below the client area, where the window's fixed
  // size hides it.
  Label1 = Named(new QLabel(client), "Label1");
  Label1->setFont(ArialFont(16, true));
  QPalette white = Label1->palette();
  white.setColor(QPalette::WindowText, Qt::white);
  Label1->setPalette(white);
  Label1->move(64, 447);

  Image1->lower();

  setTabOrder(monthButtons_[1], monthButtons_[2]);
  setTabOrder(monthButtons_[2], monthButtons_[3]);
  setTabOrder(monthButtons_[3], monthButtons_[4]);
  setTabOrder(monthButtons_[4], Edit1);
  setTabOrder(Edit1, SpinEdit1);
  setTabOrder(SpinEdit1, SpinEdit2);
  setTabOrder(SpinEdit2, SpinEdit3);
  setTabOrder(SpinEdit3, Button18);
  setTabOrder(Button18, Button7);
  setTabOrder(Button7, Button8);

  N7 = menuBar()->addAction(QStringLiteral(" О программе "));
  N6 = menuBar()->addAction(QStringLiteral("Проблемы"));
  N1 = menuBar()->addAction(QStringLiteral("Помощь"));
  N3 = menuBar()->addAction(QStringLiteral(" Выход "));
  N7->setObjectName(QStringLiteral("N7"));
  N6->setObjectName(QStringLiteral("N6"));
  N1->setObjectName(QStringLiteral("N1"));
  N3->setObjectName(QStringLiteral("N3"));
  connect(N7, &QAction::triggered, this, &MainWindow::N7Click);
  connect(N6, &QAction::triggered, this, &MainWindow::N6Click);
  connect(N1, &QAction::triggered, this, &MainWindow::N1Click);
  connect(N3, &QAction::triggered, this, &MainWindow::N3Click);
  N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  auto* menuStyle = new MenuStyle;
  menuStyle->setParent(this);
  menuBar()->setStyle(menuStyle);
  connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
          &MainWindow::ActivateMenu);

  // The status line confirms what was saved, and where.
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->setSizeGripEnabled(false);
  setFixedSize(kClientWidth,
               kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  About_Form = new AboutBox(this);
  Form2 = new Viewer(this, viewerScreen);
  ProblemForm_ = new ProblemReport(this);
  help_ = new HelpWindow(this);

  pdf_ = std::make_unique<ForecastPdf>(this);
  pdf_->OnSaved([this](const QString& file) {
    ShowStatus(QStringLiteral("Прогноз сохранён в PDF: ") + file);
  });
  menuBar()->insertAction(N3, pdf_->Action());  // before " Выход "
  pdf_->AddViewerButton(Form2);
  calendar_ = std::make_unique<ForecastCalendar>(this);
  calendar_->OnSaved(
      [this](const QString& file) { ShowStatus(QStringLiteral("Календарь сохранён: ") + file); });
  menuBar()->insertAction(N3, calendar_->Action());  // beside the PDF
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
  SetNormalCursor();
  // The picture is the only thing that can fail here; the window is whole
  // and usable by the time the box shows.
  if (!backgroundError.isEmpty()) ErrorBox::Show(this, backgroundError);
  ShowLauncherNotice(this);
}

void MainWindow::ShowStatus(const QString& text) { statusBar()->showMessage(text); }

void MainWindow::PlaceMonthButtons() {
  const int top = kClientHeight - kMonthButtonHeight - kMonthButtonBottomMargin;
  for (int k = 1; k <= 4; ++k) {
    QPushButton* button = monthButtons_[static_cast<size_t>(k)];
    button->setGeometry(kMonthButtonLeft[k], top, kMonthButtonWidth[k], kMonthButtonHeight);
    button->setEnabled(false);
  }
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
  Guarded(this, QStringLiteral("Прогноз не составлен."), [&] {
    session_.Name = NameForPage(Edit1->text().toStdString());
    session_.BirthDay = birth.date->day;
    session_.BirthMonth = birth.date->month;
    session_.BirthYear = birth.date->year;

    const BusyCursor busy;
    pdf_->Forget();
    calendar_->Forget();
    for (int k = 1; k <= 4; ++k) {
      QPushButton* button = monthButtons_[static_cast<size_t>(k)];
      button->setEnabled(false);
      button->setText(MonthButtonCaption(k));
    }
    // The run holds the event loop; each finished month's button is
    // repainted at once so the user sees the months come in.
    // One context for the window's life: what it loaded stays for the
    // next run unless the file has changed on disk since.
    if (!context_ || context_->programDir() != session_.MainDir)
      context_ = std::make_unique<ForecastContext>(session_.MainDir);
    else
      context_->Refresh();
    // The buttons open the months of this run from now on, each as soon as
    // it is finished, so a run that fails keeps the ones it finished.
    latest_ = {};
    latest_.request = {kind, session_.Name, session_.Birth(), session_.Current()};
    ForecastResult result = RunForecast(
        *context_, latest_.request,
        [this](int k, const MonthForecast& month) {
          latest_.months.push_back(month);
          QPushButton* button = monthButtons_[static_cast<size_t>(k)];
          button->setEnabled(true);
          button->setText(MonthCaption(month.month.month, month.month.year));
          button->repaint();
        },
        [this] { WaitWhileAnotherForecastRuns(this, session_.MainDir); });
    latest_ = std::move(result);
    const QDate today = clock_();
    pdf_->Keep(latest_, {today.day(), today.month(), today.year()});
    calendar_->Keep(latest_.request, *context_);
    if (KindInfo(kind).showsProgramDir) {
      Label1->setText(QStringLiteral("    MainDir= ") + PathText(session_.MainDir / ""));
      Label1->adjustSize();
    }
    // What packing did beside the archive (an unreadable old archive put
    // aside, not lost; files left out; old entries dropped) is said.
    const QString packing = PackingNotice(latest_.packed, context_->archivePath());
    if (!packing.isEmpty()) NoticeBox::Show(this, packing);
  });
}

void MainWindow::MonthButtonClick(int k) {
  Guarded(this, [&] {
    session_.PageToShow = latest_.months.at(static_cast<size_t>(k - 1)).page;
    Form2->SetPageToShow(session_.PageToShow);
    Form2->exec();
  });
}

void MainWindow::N7Click() { About_Form->exec(); }
void MainWindow::N6Click() { ProblemForm_->exec(); }
void MainWindow::N1Click() {
  Guarded(this, [this] { ShowHelpTopic(kHelpContentsTopic); });
}
void MainWindow::N3Click() { close(); }

void MainWindow::ActivateMenu() {
  // The menu bar watches its window's keys for a lone Alt going down and up.
  QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QCoreApplication::sendEvent(this, &altDown);
  QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &altUp);
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
