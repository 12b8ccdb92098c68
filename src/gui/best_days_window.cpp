#include "gui/best_days_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <utility>

#include "base/cp1251.h"
#include "gui/error_box.h"
#include "gui/fonts.h"
#include "gui/screen_fit.h"
#include "texts/best_days.h"
#include "texts/best_days_text.h"

namespace meridan {
namespace {

QString FromCp1251(const std::string& text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

BestDaysWindow::PrintDialogFn& PrintDialog() {
  static BestDaysWindow::PrintDialogFn dialog = [](QPrinter& printer, QWidget* parent) {
    QPrintDialog box(&printer, parent);
    return box.exec() == QDialog::Accepted;
  };
  return dialog;
}

// The periods the window offers, in months.
constexpr int kPeriods[] = {kForecastMonths, 6, kMostBestDayMonths};

QString PeriodCaption(int months) {
  if (months == kForecastMonths) return QStringLiteral("%1 месяца, как прогноз").arg(months);
  return QStringLiteral("%1 месяцев").arg(months);
}

// The list as the window shows it: the same lines as the plain text, the
// days as headings and the words "Почему" and "Что учесть" in bold.
QString ListHtml(ForecastKind kind, YearMonth start, int months,
                 const std::vector<BestWindow>& windows) {
  const auto html = [](const std::string& cp1251) { return FromCp1251(cp1251).toHtmlEscaped(); };
  const std::string all = BestWindowsText(kind, start, months, windows);
  // The period line is the plain text's second line.
  const size_t from = all.find('\n') + 1;
  QString out = QStringLiteral("<p>") + html(all.substr(from, all.find('\n', from) - from)) +
                QStringLiteral("</p>");
  if (windows.empty())
    return out + QStringLiteral("<p>") + html(NoBestWindowsText(kind)) + QStringLiteral("</p>");
  for (size_t i = 0; i < windows.size(); ++i) {
    out += QStringLiteral("<h3>%1. ").arg(i + 1) + html(WindowDays(windows[i])) +
           QStringLiteral("</h3><p>");
    bool first = true;
    for (const std::string& line : WindowLines(windows[i])) {
      if (!first) out += QStringLiteral("<br>");
      first = false;
      const bool label = !line.empty() && line.back() == ':';
      out += label ? QStringLiteral("<b>") + html(line) + QStringLiteral("</b>") : html(line);
    }
    out += QStringLiteral("</p>");
  }
  return out;
}

}  // namespace

BestDaysWindow::PrintDialogFn BestDaysWindow::SetPrintDialog(PrintDialogFn dialog) {
  return std::exchange(PrintDialog(), std::move(dialog));
}

BestDaysWindow::BestDaysWindow(QWidget* parent)
    : QDialog(parent), action_(new QAction(QStringLiteral("&Лучшие дни…"), parent)) {
  setObjectName(QStringLiteral("BestDaysForm"));
  setWindowTitle(QStringLiteral("Лучшие дни"));
  setFont(WindowFont());
  action_->setObjectName(QStringLiteral("BestDays"));
  action_->setEnabled(false);
  connect(action_, &QAction::triggered, this, &BestDaysWindow::Open);

  AddHeading();
  QLabel* periodLabel = AddPeriodChoice();
  AddList();
  QLabel* note = AddNote();
  AddButtons();
  LayOut(periodLabel, note);
  setTabOrder(period_, list_);
  setTabOrder(list_, copy_);
  setTabOrder(copy_, print_);
  setTabOrder(print_, close_);
  ResizeToScreen(*this, {760, 620});
}

// The heading, in bold a quarter larger than the window's text.
void BestDaysWindow::AddHeading() {
  heading_ = new QLabel(this);
  heading_->setObjectName(QStringLiteral("Heading"));
  QFont headingFont = font();
  headingFont.setBold(true);
  if (headingFont.pixelSize() > 0)
    headingFont.setPixelSize(headingFont.pixelSize() * 5 / 4);
  else
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
  heading_->setFont(headingFont);
}

// The periods to choose from, and their caption.
QLabel* BestDaysWindow::AddPeriodChoice() {
  period_ = new QComboBox(this);
  period_->setObjectName(QStringLiteral("Period"));
  for (const int months : kPeriods) period_->addItem(PeriodCaption(months), months);
  auto* periodLabel = new QLabel(QStringLiteral("&Период:"), this);
  periodLabel->setBuddy(period_);
  connect(period_, &QComboBox::activated, this,
          [this](int index) { ShowMonths(period_->itemData(index).toInt()); });
  return periodLabel;
}

// The list, read-only but selectable; tab leaves it.
void BestDaysWindow::AddList() {
  list_ = new QTextBrowser(this);
  list_->setObjectName(QStringLiteral("List"));
  list_->setAccessibleName(QStringLiteral("Лучшие дни"));
  list_->setOpenLinks(false);
  list_->setTabChangesFocus(true);
  list_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// What the windows are and are not, under the list.
QLabel* BestDaysWindow::AddNote() {
  auto* note = new QLabel(
      QStringLiteral("Полосы подобраны по тем же оценкам, что и график прогноза: дни подряд, "
                     "в которые благоприятные указания перевешивают и нет сильных "
                     "неблагоприятных. Это подсказка для чтения прогноза, а не обещание."),
      this);
  note->setObjectName(QStringLiteral("Note"));
  note->setWordWrap(true);
  return note;
}

// Copy, print and close, with the keys for copying and printing.
void BestDaysWindow::AddButtons() {
  copy_ = new QPushButton(QStringLiteral("&Копировать"), this);
  copy_->setObjectName(QStringLiteral("Copy"));
  print_ = new QPushButton(QStringLiteral("П&ечать…"), this);
  print_->setObjectName(QStringLiteral("Print"));
  close_ = new QPushButton(QStringLiteral("&Закрыть"), this);
  close_->setObjectName(QStringLiteral("Close"));
  for (QPushButton* button : {copy_, print_, close_}) button->setAutoDefault(false);
  connect(copy_, &QPushButton::clicked, this, &BestDaysWindow::Copy);
  connect(print_, &QPushButton::clicked, this, &BestDaysWindow::Print);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  // Ctrl+C copies the whole list unless part of it is selected.
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this, [this] {
    if (list_->textCursor().hasSelection())
      list_->copy();
    else
      Copy();
  });
  connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this,
          &BestDaysWindow::Print);
}

// The heading, the period, the list taking what room there is, the note
// and the buttons, top to bottom.
void BestDaysWindow::LayOut(QLabel* periodLabel, QLabel* note) {
  auto* top = new QHBoxLayout;
  top->addWidget(periodLabel);
  top->addWidget(period_);
  top->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy_);
  buttons->addWidget(print_);
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addWidget(note);
  layout->addLayout(buttons);
}

void BestDaysWindow::Keep(ForecastRequest request, ForecastContext& context) {
  request_ = std::move(request);
  context_ = &context;
  action_->setEnabled(true);
}

void BestDaysWindow::Forget() {
  request_.reset();
  context_ = nullptr;
  action_->setEnabled(false);
  hide();
}

void BestDaysWindow::Open() {
  if (!request_ || !context_) return;
  period_->setCurrentIndex(0);
  ShowMonths(kForecastMonths);
  if (!isVisible()) {
    show();
  }
  raise();
  activateWindow();
  list_->setFocus();
}

void BestDaysWindow::ShowMonths(int months) {
  if (!request_ || !context_) return;
  Guarded(this, QStringLiteral("Лучшие дни не подобраны."), [&] {
    const ForecastRequest& request = *request_;
    const std::vector<BestWindow> windows = SearchBestWindows(
        ComputeNatalChart(request.birth, request.hour, context_->pluto()), request.start, months,
        request.kind, context_->interpretations(request.kind));
    heading_->setText(FromCp1251(BestDaysHeading(request.kind)));
    setWindowTitle(FromCp1251(BestDaysHeading(request.kind)));
    text_ = FromCp1251(BestWindowsText(request.kind, request.start, months, windows));
    list_->setHtml(ListHtml(request.kind, request.start, months, windows));
    const int index = period_->findData(months);
    if (index >= 0) period_->setCurrentIndex(index);
  });
}

void BestDaysWindow::Copy() const { QApplication::clipboard()->setText(text_); }

void BestDaysWindow::Print() {
  QPrinter printer;
  if (!PrintDialog()(printer, this)) return;
  list_->print(&printer);
}

}  // namespace meridan
