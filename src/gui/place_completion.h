#pragma once
// The place field's completion: as the user types, the places of the list
// whose names begin with what was typed, folded as the list compares names
// (case aside, ё as е, hyphens and blanks left out), so "санкт п" offers
// «Санкт-Петербург» and "орел" «Орёл». A name that several places share is
// offered with its region, which the reading of the field understands.

#include <QObject>

#include <memory>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace meridan {

struct PlaceList;

class PlaceCompletion : public QObject {
  Q_OBJECT

 public:
  explicit PlaceCompletion(QLineEdit& field);
  ~PlaceCompletion() override;

  // The list to offer from; none (a list that could not be read) offers
  // nothing and the field takes any text.
  void SetList(std::shared_ptr<const PlaceList> list);
  QCompleter* Completer() const { return completer_; }

 private:
  void Offer(const QString& typed);

  QLineEdit& field_;
  std::shared_ptr<const PlaceList> list_;
  QStringListModel* offered_;
  QCompleter* completer_;
};

}  // namespace meridan
