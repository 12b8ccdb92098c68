#include "gui/people_picker.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>
#include <QToolButton>

namespace meridan {

PeoplePicker::PeoplePicker(QLineEdit& nameField, People people,
                           std::function<void(const Person&)> chosen)
    : QObject(&nameField),
      nameField_(nameField),
      people_(std::move(people)),
      chosen_(std::move(chosen)),
      names_(new QStringListModel(this)),
      completer_(new QCompleter(names_, this)),
      button_(new QToolButton(nameField.parentWidget())),
      menu_(new QMenu(button_)) {
  // Surname or first name: what was typed may stand anywhere in the name.
  completer_->setCaseSensitivity(Qt::CaseInsensitive);
  completer_->setFilterMode(Qt::MatchContains);
  completer_->popup()->setObjectName(QStringLiteral("PeoplePopup"));
  nameField_.setCompleter(completer_);
  connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& name) {
            if (const std::optional<Person> person = people_.Named(name)) chosen_(*person);
          });

  button_->setObjectName(QStringLiteral("PeopleButton"));
  button_->setArrowType(Qt::DownArrow);
  button_->setPopupMode(QToolButton::InstantPopup);
  button_->setToolTip(QStringLiteral("Люди, для которых уже составлялись прогнозы"));
  button_->setAccessibleName(QStringLiteral("Прежние имена"));
  button_->setMenu(menu_);
  menu_->setObjectName(QStringLiteral("PeopleMenu"));
  connect(menu_, &QMenu::aboutToShow, this, &PeoplePicker::FillMenu);
  Refresh();
}

void PeoplePicker::Remember(const Person& person) {
  people_.Remember(person);
  Refresh();
}

void PeoplePicker::Forget(const Person& person) {
  people_.Forget(person);
  Refresh();
}

void PeoplePicker::Refresh() {
  QStringList names;
  for (const Person& person : people_.List())
    if (!names.contains(person.name, Qt::CaseInsensitive)) names << person.name;
  names_->setStringList(names);
}

void PeoplePicker::FillMenu() {
  menu_->clear();
  if (people_.List().empty()) {
    menu_->addAction(QStringLiteral("Пока никого: имя запоминается, когда прогноз составлен"))
        ->setEnabled(false);
    return;
  }
  QMenu* forget = new QMenu(QStringLiteral("Забыть"), menu_);
  forget->setObjectName(QStringLiteral("ForgetMenu"));
  for (const Person& person : people_.List()) {
    // The captions are the user's own text: an "&" in a name is shown, not
    // taken for a keyboard letter.
    QString caption = person.Caption();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    connect(menu_->addAction(caption), &QAction::triggered, this,
            [this, person] { chosen_(person); });
    connect(forget->addAction(caption), &QAction::triggered, this,
            [this, person] { Forget(person); });
  }
  menu_->addSeparator();
  menu_->addMenu(forget);
}

}  // namespace meridan
