#include "gui/error_box.h"

#include <QMessageBox>

#include <utility>

namespace meridan {
namespace {

MessageHandler& ErrorHandler() {
  static MessageHandler handler;
  return handler;
}

MessageHandler& NoticeHandler() {
  static MessageHandler handler;
  return handler;
}

}  // namespace

void ErrorBox::Show(QWidget* parent, const QString& message) {
  if (ErrorHandler()) {
    ErrorHandler()(parent, message);
    return;
  }
  QMessageBox::critical(parent, QStringLiteral("Meridan Diru"), message);
}

MessageHandler ErrorBox::SetHandler(MessageHandler handler) {
  return std::exchange(ErrorHandler(), std::move(handler));
}

void NoticeBox::Show(QWidget* parent, const QString& message) {
  if (NoticeHandler()) {
    NoticeHandler()(parent, message);
    return;
  }
  QMessageBox::information(parent, QStringLiteral("Meridan Diru"), message);
}

MessageHandler NoticeBox::SetHandler(MessageHandler handler) {
  return std::exchange(NoticeHandler(), std::move(handler));
}

}  // namespace meridan
