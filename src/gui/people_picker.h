#pragma once
// The remembered people at the name field: offered in a list under the
// field as the name is typed, and all of them from a button beside it, whose
// menu also forgets one. Choosing a person hands them to the window, which
// fills its fields.

#include <QObject>

#include <functional>

#include "gui/people.h"

class QCompleter;
class QLineEdit;
class QMenu;
class QStringListModel;
class QToolButton;

namespace meridan {

class PeoplePicker : public QObject {
  Q_OBJECT

 public:
  // The button is made beside the name field, in its parent.
  PeoplePicker(QLineEdit& nameField, People people, std::function<void(const Person&)> chosen);

  QToolButton* Button() const { return button_; }
  People& List() { return people_; }

  // After a forecast: the person goes to the top of the list.
  void Remember(const Person& person);
  void Forget(const Person& person);

 private:
  void Refresh();
  void FillMenu();

  QLineEdit& nameField_;
  People people_;
  std::function<void(const Person&)> chosen_;
  QStringListModel* names_;
  QCompleter* completer_;
  QToolButton* button_;
  QMenu* menu_;
};

}  // namespace meridan
