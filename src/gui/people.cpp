#include "gui/people.h"

#include <QDate>
#include <QSettings>

#include <algorithm>

#include "base/date_text.h"
#include "ephemeris/birth_date.h"

namespace meridan {
namespace {

constexpr char kArray[] = "people";

}  // namespace

QString Person::Caption() const {
  return name + QStringLiteral(", ") + QString::fromStdString(DateInDigits(birth));
}

void WritePerson(QSettings& settings, const Person& person) {
  settings.setValue(QStringLiteral("name"), person.name);
  settings.setValue(
      QStringLiteral("birth"),
      QDate(person.birth.year, person.birth.month, person.birth.day).toString(Qt::ISODate));
  settings.setValue(QStringLiteral("time"), person.time);
  settings.setValue(QStringLiteral("place"), person.place);
}

std::optional<Person> ReadPerson(const QSettings& settings) {
  Person person;
  person.name = settings.value(QStringLiteral("name")).toString().trimmed();
  const QDate birth =
      QDate::fromString(settings.value(QStringLiteral("birth")).toString(), Qt::ISODate);
  person.birth = {birth.day(), birth.month(), birth.year()};
  // Older files hold neither: the hour unknown, no place.
  person.time = settings.value(QStringLiteral("time")).toString().trimmed();
  person.place = settings.value(QStringLiteral("place")).toString().trimmed();
  if (person.name.isEmpty() || !birth.isValid() ||
      CheckBirthDate(person.birth) != BirthDateFault::None)
    return std::nullopt;
  return person;
}

People::People()
    : People(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         QStringLiteral("meridan-diru"),
                                         QStringLiteral("people"))) {}

People::People(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) { Read(); }

People::People(People&&) noexcept = default;
People& People::operator=(People&&) noexcept = default;
People::~People() = default;

void People::Read() {
  // Another window of the program may have written since.
  settings_->sync();
  people_.clear();
  const int count = settings_->beginReadArray(QString::fromLatin1(kArray));
  for (int k = 0; k < count && people_.size() < kKept; ++k) {
    settings_->setArrayIndex(k);
    if (const std::optional<Person> person = ReadPerson(*settings_)) people_.push_back(*person);
  }
  settings_->endArray();
}

std::optional<Person> People::Named(const QString& name) const {
  const QString wanted = name.trimmed();
  for (const Person& person : people_)
    if (person.name.compare(wanted, Qt::CaseInsensitive) == 0) return person;
  return std::nullopt;
}

void People::Remember(const Person& person) {
  Person kept = person;
  kept.name = kept.name.trimmed();
  if (kept.name.isEmpty()) return;
  Read();
  std::erase_if(people_, [&](const Person& p) { return p.SameAs(kept); });
  people_.insert(people_.begin(), kept);
  if (people_.size() > kKept) people_.resize(kKept);
  Write();
}

void People::Forget(const Person& person) {
  Read();
  if (std::erase_if(people_, [&](const Person& p) { return p.SameAs(person); }) > 0) Write();
}

void People::Write() {
  settings_->remove(QString::fromLatin1(kArray));
  settings_->beginWriteArray(QString::fromLatin1(kArray), static_cast<int>(people_.size()));
  for (size_t k = 0; k < people_.size(); ++k) {
    settings_->setArrayIndex(static_cast<int>(k));
    WritePerson(*settings_, people_[k]);
  }
  settings_->endArray();
  settings_->sync();
}

}  // namespace meridan
