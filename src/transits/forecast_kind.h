#pragma once
// The three forecast kinds. They run the same scan, series rule and page
// layout; this table holds what the transit analysis needs to tell them
// apart. The page pieces of each kind live with the page writer.

#include <string_view>

namespace meridan {

enum class ForecastKind { Trips, Service, Sale };

struct ForecastKindInfo {
  ForecastKind kind;
  std::string_view key;                 // command-line name: trips, service, sale
  std::string_view interpretationFile;  // in the data directory
  double seriesFactor;                  // day value = rating sum x factor
  bool retrogradeMarks;                 // Mercury's retrograde days marked on the graph
  std::string_view monthHeading;        // UTF-8, before the month: the page's title
  // The digest is our own document and spells the kind in its own words.
  std::string_view digestKind;     // UTF-8, in the digest's title: "Прогноз: поездки — …"
  std::string_view digestHeading;  // UTF-8, before the month in the digest
  std::string_view disclaimer;     // UTF-8, the digest's closing words on what its texts are worth
};

inline constexpr ForecastKindInfo kForecastKinds[] = {
    {ForecastKind::Trips, "trips", "go.dat", 2.5, false, "Авто-прогноз на ", "поездки",
     "Автопрогноз на ",
     "Тексты прогноза даны для ориентира и не являются гарантией. Они не заменяют правил "
     "дорожного движения, внимания в дороге и здравого смысла."},
    {ForecastKind::Service, "service", "servis.dat", 2.8, false, "Авто-сервис. Прогноз на ",
     "автосервис", "Автосервис. Прогноз на ",
     "Тексты прогноза даны для ориентира и не являются гарантией. Они не заменяют руководства "
     "по эксплуатации, сроков обслуживания и совета мастера."},
    {ForecastKind::Sale, "sale", "sale.dat", 3.6, true, "Покупка-продажа. Прогноз на ",
     "покупка-продажа", "Покупка-продажа. Прогноз на ",
     "Тексты прогноза даны для ориентира и не являются гарантией. Они не заменяют проверки "
     "документов и истории машины, осмотра у независимого мастера и здравого смысла."},
};

inline const ForecastKindInfo& KindInfo(ForecastKind kind) {
  return kForecastKinds[static_cast<int>(kind)];
}

}  // namespace meridan
