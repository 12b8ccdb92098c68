#include "gui/pdf_save.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "forecast/digest_file.h"
#include "gui/documents_folder.h"
#include "gui/error_box.h"
#include "gui/save_dialog.h"

namespace meridan {

ForecastPdf::ForecastPdf(QWidget* parent)
    : action_(new QAction(QStringLiteral("&Сохранить прогноз в PDF…"), parent)) {
  action_->setObjectName(QStringLiteral("SavePdf"));
  action_->setEnabled(false);
  QObject::connect(action_, &QAction::triggered, parent, [this, parent] { Save(parent); });
}

QPushButton* ForecastPdf::AddViewerButton(QWidget* viewer) {
  // The viewer's strip holds "Напечатать" and " Выйти"; the button goes
  // after them, in their row.
  QWidget* strip = viewer->findChild<QWidget*>(QStringLiteral("Panel1"));
  auto* button = new QPushButton(QStringLiteral("Сохранить в PDF…"), strip ? strip : viewer);
  button->setObjectName(QStringLiteral("SavePdfButton"));
  button->setGeometry(304, 8, 150, 29);
  // The viewer is made no narrower than its row of buttons, the last one
  // whole with the margin the first keeps on the left.
  viewer->setMinimumWidth(std::max(viewer->minimumWidth(), button->geometry().right() + 1 + 16));
  button->setAutoDefault(false);
  button->setEnabled(action_->isEnabled());
  QObject::connect(action_, &QAction::enabledChanged, button, &QPushButton::setEnabled);
  QObject::connect(button, &QPushButton::clicked, viewer, [this, viewer] { Save(viewer); });
  return button;
}

void ForecastPdf::Keep(ForecastResult run, std::shared_ptr<const ForecastFindings> findings,
                       Date made) {
  made_ = made;
  findings_ = std::move(findings);
  action_->setEnabled(!run.months.empty());
  run_ = std::move(run);
}

void ForecastPdf::Forget() {
  run_.reset();
  findings_.reset();
  action_->setEnabled(false);
}

QString ForecastPdf::SuggestedPath() const {
  if (!run_) return {};
  return InDocumentsFolder(QString::fromStdString(ForecastDigestFileName(run_->request)));
}

void ForecastPdf::Save(QWidget* parent) {
  if (!run_ || !findings_ || run_->months.empty()) return;
  QString file = AskWhereToSave(parent, QStringLiteral("Сохранить прогноз в PDF"), SuggestedPath(),
                                QStringLiteral("PDF (*.pdf)"));
  if (file.isEmpty()) return;
  // What is written is a PDF, whatever the name typed says.
  if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) file += QStringLiteral(".pdf");
  Guarded(parent, QStringLiteral("PDF не сохранён."), [&] {
    WriteForecastDigest(*run_, *findings_, made_, file.toStdString());
    if (saved_) saved_(file);
  });
}

}  // namespace meridan
