#pragma once
// The people forecasts were made for, remembered per user where the desktop
// keeps programs' settings (~/.config/meridan-diru/people.conf, through
// QSettings), never in the program directory or its archive: the window
// offers them again as a name is typed and from a short list, and forgets
// one when asked.

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "base/dates.h"

class QSettings;

namespace meridan {

// One person as the window's fields hold them. A new field of the window
// is one more member here and one more line in each of WritePerson and
// ReadPerson.
struct Person {
  QString name;  // as typed, without blanks at either end
  Date birth;
  QString time{};   // the birth time field as typed ("14:30", "01:30 +04:00"); empty: unknown
  QString place{};  // the birth place field as typed; may be empty

  // "Иван Петров, 15.06.1980": how the list shows the person.
  QString Caption() const;
  // The same person: the same name and birth date; other fields are what
  // was last typed for them.
  bool SameAs(const Person& other) const { return name == other.name && birth == other.birth; }
};

// The fields of one person in the settings' current group; ReadPerson gives
// nothing for a group that does not hold a whole person (an older or a
// hand-edited file).
void WritePerson(QSettings& settings, const Person& person);
std::optional<Person> ReadPerson(const QSettings& settings);

class People {
 public:
  // How many the list keeps: the most recent ones.
  static constexpr size_t kKept = 20;

  // The user's settings.
  People();
  explicit People(std::unique_ptr<QSettings> settings);
  People(People&&) noexcept;
  People& operator=(People&&) noexcept;
  ~People();

  // The most recent first.
  const std::vector<Person>& List() const { return people_; }
  // The most recent person of that name (the case of letters aside).
  std::optional<Person> Named(const QString& name) const;

  // To the top of the list, replacing the same person; a person without a
  // name is not kept. Written at once.
  void Remember(const Person& person);
  void Forget(const Person& person);

 private:
  void Read();
  void Write();

  std::unique_ptr<QSettings> settings_;
  std::vector<Person> people_;
};

}  // namespace meridan
