#include "gui/place_completion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

#include "base/cp1251.h"
#include "base/places.h"

namespace meridan {
namespace {

// How many places the list under the field offers at once.
constexpr std::size_t kOffered = 12;

QString Utf8(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

}  // namespace

PlaceCompletion::PlaceCompletion(QLineEdit& field)
    : QObject(&field),
      field_(field),
      offered_(new QStringListModel(this)),
      completer_(new QCompleter(offered_, this)) {
  // The list is chosen here, by the list's own folding; the completer only
  // shows it.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(static_cast<int>(kOffered));
  completer_->popup()->setObjectName(QStringLiteral("PlacePopup"));
  completer_->popup()->setFont(field_.font());
  field_.setCompleter(completer_);
  connect(&field_, &QLineEdit::textEdited, this, &PlaceCompletion::Offer);
}

PlaceCompletion::~PlaceCompletion() = default;

void PlaceCompletion::SetList(std::shared_ptr<const PlaceList> list) { list_ = std::move(list); }

void PlaceCompletion::Offer(const QString& typed) {
  QStringList captions;
  if (list_ && !typed.trimmed().isEmpty()) {
    for (const Place& place :
         PlacesStartingWith(*list_, Utf8ToCp1251(typed.toStdString()), kOffered)) {
      QString caption = Utf8(place.name);
      if (FindPlaces(*list_, place.name).size() > 1)
        caption += QStringLiteral(" (") + Utf8(place.region) + QLatin1Char(')');
      if (!captions.contains(caption)) captions << caption;
    }
  }
  offered_->setStringList(captions);
  if (captions.isEmpty() || (captions.size() == 1 && captions.front() == typed))
    completer_->popup()->hide();
  else
    completer_->complete();
}

}  // namespace meridan
