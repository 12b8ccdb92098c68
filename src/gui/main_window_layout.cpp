// The main window's controls where the form places them: the name and birth
// fields, the three commands, the four month buttons and the status line,
// over the background picture.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QToolButton>

#include "gui/fonts.h"
#include "gui/kind_words.h"
#include "gui/main_window.h"
#include "gui/main_window_parts.h"
#include "gui/people_picker.h"
#include "gui/place_completion.h"
#include "gui/spin_field.h"

namespace meridan {
namespace {

const QColor kFieldColour(181, 173, 197);

// Month buttons: left edges, widths and height; their top edge keeps this
// margin to the bottom of the client area.
constexpr int kMonthButtonLeft[] = {0, 20, 160, 300, 440};
constexpr int kMonthButtonWidth[] = {0, 121, 122, 122, 122};
constexpr int kMonthButtonHeight = 26;
constexpr int kMonthButtonBottomMargin = 9;

// The picture's light panel: its left edge and width, and where the time
// and place carry it on, from just above its lower edge to below them.
constexpr int kPanelLeft = 6;
constexpr int kPanelWidth = 528;
constexpr int kPanelJoin = 100;
constexpr int kPanelBottom = 168;

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QFont ControlFont() { return ArialFont(15, true); }

QPalette FieldPalette(QPalette palette) {
  palette.setColor(QPalette::Base, kFieldColour);
  palette.setColor(QPalette::Text, Qt::black);
  return palette;
}

// The name, as long as the page's heading takes it. A name goes into the
// heading as it is: control characters (C0, DEL, C1) are not taken, typed
// or pasted.
QLineEdit* NameField(QWidget* client, const QPalette& windowPalette) {
  auto* field = Named(new QLineEdit(client), "Edit1");
  field->setGeometry(16, 33, 244, 28);
  field->setMaxLength(static_cast<int>(kMaxNameLength));
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[^\\x{0}-\\x{1f}\\x{7f}-\\x{9f}]*")), field));
  field->setFont(ControlFont());
  field->setPalette(FieldPalette(windowPalette));
  return field;
}

}  // namespace

void MainWindow::BuildClient() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  Image1 = Named(new QLabel(client), "Image1");
  Image1->setGeometry(0, 0, kClientWidth, kClientHeight);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Decoration: no name for a screen reader to read out, only what it is.
  Image1->setAccessibleName(QString());
  Image1->setAccessibleDescription(QStringLiteral("Фоновая картинка (украшение)"));

  BuildNameAndBirth(client);
  BuildBirthHour(client);
  BuildCommands(client);
  BuildStartMonth(client);
  BuildMonthButtons(client);
  BuildStatusLine(client);
  Image1->lower();
  SetTabOrder();
}

void MainWindow::BuildNameAndBirth(QWidget* client) {
  struct Caption {
    const char* name;
    const char* text;
    int left, top;
  };
  const Caption captions[] = {{"Label2", "Имя (фамилия)", 19, 11},
                              {"Label3", "День", 284, 11},
                              {"Label4", "Месяц", 344, 11},
                              {"Label5", "Год  рождения", 409, 11}};
  QLabel* labels[std::size(captions)];
  for (size_t k = 0; k < std::size(captions); ++k) {
    auto* label = Named(new QLabel(QString::fromUtf8(captions[k].text), client), captions[k].name);
    label->setFont(ControlFont());
    label->move(captions[k].left, captions[k].top);
    label->adjustSize();
    labels[k] = label;
  }

  Edit1 = NameField(client, palette());

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
    field->setFont(ControlFont());
    field->setPalette(FieldPalette(palette()));
    *spin.field = field;
  }
  // Each field is named by its caption, for the keyboard and for screen
  // readers; the year's caption also covers the day and month ("Год
  // рождения"), which are named in full.
  const struct {
    QLabel* label;
    QWidget* field;
    const char* name;
  } named[] = {{labels[0], Edit1, "Имя (фамилия)"},
               {labels[1], SpinEdit1, "День рождения"},
               {labels[2], SpinEdit2, "Месяц рождения"},
               {labels[3], SpinEdit3, "Год рождения"}};
  for (const auto& each : named) {
    each.label->setBuddy(each.field);
    each.field->setAccessibleName(QString::fromUtf8(each.name));
  }

  // The people remembered, in the gap between the name and the day.
  people_ =
      new PeoplePicker(*Edit1, People(), [this](const Person& person) { ShowPerson(person); });
  people_->Button()->setGeometry(261, 33, 20, 28);
}

void MainWindow::BuildBirthHour(QWidget* client) {
  // The picture's light panel behind the name and date is carried on under
  // the commands for the time and place: the same colour, its lower edge
  // white as the picture draws it.
  auto* panel = Named(new QWidget(client), "BirthPanel");
  panel->setAttribute(Qt::WA_StyledBackground);
  panel->setGeometry(kPanelLeft, kPanelJoin, kPanelWidth, kPanelBottom - kPanelJoin);
  panel->setStyleSheet(
      QStringLiteral("background-color: rgb(223, 221, 228);"
                     "border: 1px solid rgb(252, 252, 252); border-top: none;"
                     "border-bottom-left-radius: 6px;"
                     "border-bottom-right-radius: 6px;"));
  panel->lower();

  const struct {
    QLabel** label;
    QLineEdit** field;
    const char* labelName;
    const char* fieldName;
    const char* caption;
    QRect geometry;
  } fields[] = {
      {&Label6, &Edit2, "Label6", "Edit2", "Время рождения", {16, 131, 96, 28}},
      {&Label7, &Edit3, "Label7", "Edit3", "Место рождения", {172, 131, 301, 28}},
  };
  for (const auto& each : fields) {
    auto* label = Named(new QLabel(QString::fromUtf8(each.caption), client), each.labelName);
    label->setFont(ControlFont());
    label->move(each.geometry.left() + 3, 109);
    label->adjustSize();
    auto* field = Named(new QLineEdit(client), each.fieldName);
    field->setGeometry(each.geometry);
    field->setFont(ControlFont());
    field->setPalette(FieldPalette(palette()));
    field->setAccessibleName(QString::fromUtf8(each.caption));
    label->setBuddy(field);
    *each.label = label;
    *each.field = field;
  }
  Edit2->setPlaceholderText(QStringLiteral("ЧЧ:ММ"));
  Edit2->setToolTip(
      QStringLiteral("Время рождения по часам места рождения, например 14:30; пусто, если час "
                     "неизвестен"));
  Edit2->setAccessibleDescription(Edit2->toolTip());
  Edit2->setMaxLength(16);
  Edit2->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9:+\\x{2212}\\x{2013} UTCutcGMgm-]*")), Edit2));
  Edit3->setToolTip(QStringLiteral("Город или область: подсказки появляются по первым буквам"));
  Edit3->setAccessibleDescription(Edit3->toolTip());
  Edit3->setMaxLength(static_cast<int>(kMaxNameLength));
  placeCompletion_ = new PlaceCompletion(*Edit3);
}

void MainWindow::BuildCommands(QWidget* client) {
  const struct {
    QPushButton** button;
    const char* name;
    ForecastKind kind;
    int left;
  } commands[] = {{&Button18, "Button18", ForecastKind::Trips, 16},
                  {&Button7, "Button7", ForecastKind::Service, 172},
                  {&Button8, "Button8", ForecastKind::Sale, 328}};
  for (const auto& command : commands) {
    const std::string_view caption = WindowWords(command.kind).command;
    auto* button = Named(
        new QPushButton(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                        client),
        command.name);
    button->setGeometry(command.left, 71, 145, 29);
    button->setFont(ControlFont());
    button->setAutoDefault(false);
    *command.button = button;
  }
  connect(Button18, &QPushButton::clicked, this, &MainWindow::Button18Click);
  connect(Button7, &QPushButton::clicked, this, &MainWindow::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &MainWindow::Button8Click);
}

void MainWindow::BuildStartMonth(QWidget* client) {
  // People plan a trip or a purchase ahead: the four months may begin later
  // than the current one, which stays the default.
  // It stands in the commands' row, which it sets: a label over it would
  // run into the birth year's.
  StartBox = Named(new QComboBox(client), "StartBox");
  StartBox->setGeometry(484, 71, 140, 29);
  StartBox->setFont(ControlFont());
  StartBox->setPalette(FieldPalette(palette()));
  StartBox->setToolTip(QStringLiteral("Первый из четырёх месяцев прогноза"));
  StartBox->setAccessibleName(QStringLiteral("Начиная с месяца"));
  // Screen readers on Linux name a list box by its label and read its
  // choice as its name: a label that is not shown gives it the name.
  auto* caption = Named(new QLabel(StartBox->accessibleName(), client), "StartLabel");
  caption->setBuddy(StartBox);
  caption->hide();
}

void MainWindow::BuildMonthButtons(QWidget* client) {
  for (int k = 1; k <= 4; ++k) {
    auto* button = new QPushButton(MonthButtonCaption(k), client);
    button->setObjectName(QStringLiteral("Button%1").arg(k));
    button->setFont(ControlFont());
    button->setAutoDefault(false);
    button->setEnabled(false);
    connect(button, &QPushButton::clicked, this, [this, k] { MonthButtonClick(k); });
    monthButtons_[static_cast<size_t>(k)] = button;
  }
  PlaceMonthButtons();
}

void MainWindow::PlaceMonthButtons() {
  const int top = kClientHeight - kMonthButtonHeight - kMonthButtonBottomMargin;
  for (int k = 1; k <= 4; ++k) {
    QPushButton* button = monthButtons_[static_cast<size_t>(k)];
    button->setGeometry(kMonthButtonLeft[k], top, kMonthButtonWidth[k], kMonthButtonHeight);
    button->setEnabled(false);
  }
}

void MainWindow::BuildStatusLine(QWidget* client) {
  // Label1 sits below the client area, where the window's fixed size hides
  // it.
  Label1 = Named(new QLabel(client), "Label1");
  Label1->setFont(ArialFont(16, true));
  QPalette white = Label1->palette();
  white.setColor(QPalette::WindowText, Qt::white);
  Label1->setPalette(white);
  Label1->move(64, 447);
  // Which forecast the month buttons open, said until the next one begins;
  // what was saved shows over it for a while.
  Shown = Named(new QLabel(this), "Shown");
  statusBar()->addWidget(Shown, 1);
}

void MainWindow::SetTabOrder() {
  QWidget* const order[] = {monthButtons_[1],
                            monthButtons_[2],
                            monthButtons_[3],
                            monthButtons_[4],
                            Edit1,
                            people_->Button(),
                            SpinEdit1,
                            SpinEdit2,
                            SpinEdit3,
                            Edit2,
                            Edit3,
                            Button18,
                            Button7,
                            Button8};
  for (size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
}

}  // namespace meridan
