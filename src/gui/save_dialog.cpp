#include "gui/save_dialog.h"

#include <QFileDialog>

#include <utility>

namespace meridan {
namespace {

// The stand-in of the tests, if any.
SaveDialogFn& StandIn() {
  static SaveDialogFn standIn;
  return standIn;
}

}  // namespace

SaveDialogFn SetSaveDialog(SaveDialogFn dialog) {
  return std::exchange(StandIn(), std::move(dialog));
}

QString AskWhereToSave(QWidget* parent, const QString& title, const QString& suggested,
                       const QString& filter) {
  if (StandIn()) return StandIn()(parent, suggested);
  return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

}  // namespace meridan
