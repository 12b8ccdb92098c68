#include "gui/error_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

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

ChoiceHandler& ChoiceAnswer() {
  static ChoiceHandler handler;
  return handler;
}

}  // namespace

void ErrorBox::Show(QWidget* parent, const QString& message, const QString& details) {
  if (ErrorHandler()) {
    ErrorHandler()(parent, message);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Meridan Diru"), message, QMessageBox::Ok,
                  parent);
  box.setDetailedText(details);
  box.exec();
}

void ErrorBox::Show(QWidget* parent, const std::exception& error, const QString& task) {
  Show(parent, ErrorMessage(error, task), ErrorDetails(error));
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

int ChoiceBox::Ask(QWidget* parent, const QString& message, const QStringList& choices) {
  if (ChoiceAnswer()) return ChoiceAnswer()(parent, message, choices);
  QMessageBox box(QMessageBox::Question, QStringLiteral("Meridan Diru"), message,
                  QMessageBox::NoButton, parent);
  QList<QAbstractButton*> buttons;
  for (const QString& choice : choices) buttons << box.addButton(choice, QMessageBox::AcceptRole);
  box.setEscapeButton(box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole));
  box.exec();
  return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

ChoiceHandler ChoiceBox::SetHandler(ChoiceHandler handler) {
  return std::exchange(ChoiceAnswer(), std::move(handler));
}

}  // namespace meridan
