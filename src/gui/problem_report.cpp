#include "gui/problem_report.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/report_file.h"

namespace meridan {
namespace {

const QColor kWindowColour(217, 234, 217);
const QColor kFieldColour(255, 253, 225);
const QColor kGrey(128, 128, 128);

// The systems a user can name, as the report line quotes them after ":".
const char* const kSystems[] = {" Windows 2000", " Windows XP", " Windows Vista",
                                " Windows 7",    " Windows 8",  " Linux"};

QString ReportPathCaption(const QString& path) {
  return QStringLiteral("Программа сформирует отчет и разместит его в файле ") + path +
         QStringLiteral("    ");
}

QString DoneMessage(const QString& path) {
  return QStringLiteral("  Отчет сформирован и записан в файл ") + path +
         QStringLiteral(
             "   Отправьте этот файл разработчикам на указанный E-mail.   "
             "Вы получите ответ и рекомендации по восстановлению работы программы.  ");
}

}  // namespace

ProblemReport::ProblemReport(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  SetUpWindow();
  const Captions captions = AddWords();
  AddDetailFields();
  AddSystemChoice();
  AddCommentField();
  AddButtons();
  NameFieldsByCaptions(captions);
  SetTabOrder();
  connect(BitBtn1, &QPushButton::clicked, this, &ProblemReport::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &ProblemReport::BitBtn2Click);
}

void ProblemReport::SetUpWindow() {
  setObjectName(QStringLiteral("ProblemForm"));
  setWindowTitle(QStringLiteral("Возможные проблемы и их решение"));
  setFont(WindowFont());
  QPalette windowPalette = palette();
  windowPalette.setColor(QPalette::Window, kWindowColour);
  windowPalette.setColor(QPalette::Base, kFieldColour);
  setPalette(windowPalette);
  setAutoFillBackground(true);
  // A fixed size, like the other dialogs: shrunk, it hid its buttons.
  setFixedSize(750, 550);
}

// What to fill in and where the report goes, then the captions of the
// fields.
ProblemReport::Captions ProblemReport::AddWords() {
  AddLabel("LabelIntro1",
           QStringLiteral("Если у Вас есть замечания по работе программы, пожалуйста, "
                          "заполните ВСЕ поля ниже:"),
           33, 39);
  AddLabel("LabelIntro2",
           QStringLiteral("напишите Ваше имя, E-mail и комментарий или вопрос, "
                          "а также"),
           33, 57);
  AddLabel("Label7",
           QStringLiteral("укажите Вашу операционную систему. Затем щелкните на кнопке "
                          "\"Сформировать отчет\".  "),
           33, 75);
  Label9 = AddLabel("Label9", ReportPathCaption(QStringLiteral("Report.txt")), 33, 93);
  QLabel* label10 =
      AddLabel("Label10",
               QStringLiteral(
                   "Отправьте этот файл Report.txt разработчикам на E-mail указанный при покупке "),
               33, 111);
  label10->setFont(ArialFont(15, true));
  QPalette greyText = label10->palette();
  greyText.setColor(QPalette::WindowText, kGrey);
  label10->setPalette(greyText);
  label10->adjustSize();
  AddLabel("Label11",
           QStringLiteral("Вы получите ответ и рекомендации по восстановлению работы программы. "),
           33, 129);
  return {AddLabel("Label4", QStringLiteral("Ваше имя"), 34, 175),
          AddLabel("Label5", QStringLiteral("Ваш E-mail"), 34, 210),
          AddLabel("Label2", QStringLiteral("Ваш комментарий, вопрос:  "), 33, 287)};
}

void ProblemReport::AddDetailFields() {
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(119, 172, 200, 25);
  Edit3 = new QLineEdit(this);
  Edit3->setObjectName(QStringLiteral("Edit3"));
  Edit3->setGeometry(119, 206, 200, 25);
}

// A radio button for each system, in a box of its own.
void ProblemReport::AddSystemChoice() {
  RadioGroup1 = new QGroupBox(QStringLiteral(" Операционная система "), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(352, 170, 179, 120);
  systems_ = new QButtonGroup(this);
  constexpr int kItemTop = 18;
  constexpr int kItemStep = 16;
  int item = 0;
  for (const char* system : kSystems) {
    auto* button = new QRadioButton(QString::fromUtf8(system), RadioGroup1);
    button->setObjectName(QStringLiteral("RadioItem%1").arg(item + 1));
    button->setAccessibleName(button->text().trimmed());
    button->setGeometry(8, kItemTop + kItemStep * item, 165, kItemStep);
    systems_->addButton(button, item + 1);
    ++item;
  }
}

// The comment, in grey bold, with the line under it that says how much of
// it the report keeps.
void ProblemReport::AddCommentField() {
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(33, 305, 500, 118);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  QFont memoFont = WindowFont();
  memoFont.setBold(true);
  Memo1->setFont(memoFont);
  QPalette memoPalette = Memo1->palette();
  memoPalette.setColor(QPalette::Text, kGrey);
  Memo1->setPalette(memoPalette);
  // Tab goes on to the buttons; a tab character has no place in a report.
  Memo1->setTabChangesFocus(true);
  lines_ = AddLabel("LabelLines", {}, 33, 427);
  connect(Memo1, &QPlainTextEdit::textChanged, this, &ProblemReport::ShowCommentLines);
  ShowCommentLines();
}

void ProblemReport::AddButtons() {
  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                            QStringLiteral("  Сформировать отчет"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(34, 452, 195, 30);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("Закрыть"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(260, 452, 114, 30);
  BitBtn2->setAutoDefault(false);
}

// Screen readers hear each field by its caption, without the blanks and
// the colon the form puts around some of them.
void ProblemReport::NameFieldsByCaptions(const Captions& captions) {
  const struct {
    QLabel* label;
    QWidget* field;
  } captioned[] = {{captions.name, Edit1}, {captions.email, Edit3}, {captions.comment, Memo1}};
  for (const auto& each : captioned) {
    each.label->setBuddy(each.field);
    each.field->setAccessibleName(each.label->text().trimmed().remove(QLatin1Char(':')));
  }
  RadioGroup1->setAccessibleName(RadioGroup1->title().trimmed());
  BitBtn1->setAccessibleName(BitBtn1->text().trimmed());
}

// Tab reaches the system choice on its first item while none is chosen
// (the arrows then move along the items), on the chosen one after.
void ProblemReport::SetTabOrder() {
  setTabOrder(Edit1, Edit3);
  QWidget* previous = Edit3;
  for (QAbstractButton* choice : systems_->buttons()) {
    setTabOrder(previous, choice);
    previous = choice;
  }
  setTabOrder(previous, Memo1);
  setTabOrder(Memo1, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);
}

QLabel* ProblemReport::AddLabel(const char* name, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(ArialFont(15, false));
  label->move(left, top);
  label->adjustSize();
  return label;
}

void ProblemReport::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void ProblemReport::setVisible(bool visible) {
  // Centred on the screen at every showing: left to itself, the window came
  // back lower by its title bar's height each time it was shown again.
  if (visible && !isVisible()) {
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen != nullptr) {
      QRect frame(QPoint(), size());
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::setVisible(visible);
}

void ProblemReport::ShowCommentLines() {
  const qsizetype lines = Memo1->toPlainText().split(QLatin1Char('\n')).size();
  QString text =
      QStringLiteral("В отчет войдут первые %1 строк комментария.").arg(kReportCommentLines);
  if (lines > kReportCommentLines)
    text += QStringLiteral(" Сейчас их %1: последние %2 не войдут.")
                .arg(lines)
                .arg(lines - kReportCommentLines);
  lines_->setText(text);
  lines_->adjustSize();
}

void ProblemReport::FormActivate() {
  Edit1->clear();
  Edit3->clear();
  if (QAbstractButton* chosen = systems_->checkedButton()) {
    systems_->setExclusive(false);
    chosen->setChecked(false);
    systems_->setExclusive(true);
  }
  Memo1->clear();
  Edit1->setFocus();
  programDir_ = QDir::currentPath() + QLatin1Char('/');
  // A long program directory is shortened in the middle to fit the window;
  // the label's tooltip has it whole.
  const QString path = ReportPath();
  const QFontMetrics metrics(Label9->font());
  const int room = width() - 2 * Label9->x() - metrics.horizontalAdvance(ReportPathCaption({}));
  Label9->setText(ReportPathCaption(metrics.elidedText(path, Qt::ElideMiddle, room)));
  Label9->setToolTip(path);
  Label9->adjustSize();
}

void ProblemReport::BitBtn1Click() {
  try {
    ProblemDetails details;
    details.when = clock_();
    details.name = Edit1->text();
    details.email = Edit3->text();
    if (const QAbstractButton* chosen = systems_->checkedButton()) details.system = chosen->text();
    details.comment = Memo1->toPlainText().split(QLatin1Char('\n'));
    WriteProblemReport(programDir_.toStdString(), programDir_, details);
    NoticeBox::Show(this, DoneMessage(ReportPath()));
  } catch (const std::exception& error) {
    ErrorBox::Show(this, error, QStringLiteral("Отчет не записан."));
  }
  accept();
}

void ProblemReport::BitBtn2Click() { reject(); }

}  // namespace meridan
