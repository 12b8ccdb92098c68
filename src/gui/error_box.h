#pragma once
// The one place where the windows show a failure or a notice. A handler
// catches what its work throws and the event loop goes on; tests install a
// recorder here so that no modal box ever waits for them.

#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <utility>

#include "gui/error_text.h"

class QWidget;

namespace meridan {

using MessageHandler = std::function<void(QWidget* parent, const QString& message)>;

class ErrorBox {
 public:
  // details: the engine's own words, behind the box's details button (a
  // handler installed in their place sees only the message).
  static void Show(QWidget* parent, const QString& message, const QString& details = {});
  // The message and details of an error that left a handler's work.
  static void Show(QWidget* parent, const std::exception& error, const QString& task = {});
  // Installs a replacement (an empty one restores the message box) and
  // returns the one it replaces.
  static MessageHandler SetHandler(MessageHandler handler);
};

// A message with one confirmation button; returns when it is confirmed.
class NoticeBox {
 public:
  static void Show(QWidget* parent, const QString& message);
  static MessageHandler SetHandler(MessageHandler handler);
};

// A question with a button for each choice and one to call it off; returns
// the index of the choice taken, or -1. Tests install a handler that
// answers in the user's place.
using ChoiceHandler =
    std::function<int(QWidget* parent, const QString& message, const QStringList& choices)>;
class ChoiceBox {
 public:
  static int Ask(QWidget* parent, const QString& message, const QStringList& choices);
  static ChoiceHandler SetHandler(ChoiceHandler handler);
};

// Thrown when the user called off what a handler was doing: not a failure,
// nothing is shown.
struct CommandCancelled : std::exception {
  const char* what() const noexcept override { return "cancelled by the user"; }
};

// Runs an event handler's work; an exception that leaves it is shown in the
// error box, in Russian after the task that failed ("Прогноз не
// составлен."), and the rest of the work does not run.
template <class Work>
void Guarded(QWidget* parent, const QString& task, Work&& work) {
  try {
    work();
  } catch (const CommandCancelled&) {
  } catch (const std::exception& error) {
    ErrorBox::Show(parent, error, task);
  }
}
template <class Work>
void Guarded(QWidget* parent, Work&& work) {
  Guarded(parent, QString(), std::forward<Work>(work));
}

}  // namespace meridan
