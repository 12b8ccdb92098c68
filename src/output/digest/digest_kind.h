#pragma once
// How the digest names each forecast kind. The digest is our own document
// and spells the kinds in its own words (UTF-8).

#include <string_view>

#include "transits/forecast_kind.h"

namespace meridan {

struct DigestKindWords {
  ForecastKind kind;
  std::string_view title;       // in the digest's title: "Прогноз: поездки — …"
  std::string_view heading;     // before the month
  std::string_view disclaimer;  // the closing words on what its texts are worth
};

inline constexpr DigestKindWords kDigestKindWords[] = {
    {.kind = ForecastKind::Trips,
     .title = "поездки",
     .heading = "Автопрогноз на ",
     .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                   "заменяют правил дорожного движения, внимания в дороге и здравого смысла."},
    {.kind = ForecastKind::Service,
     .title = "автосервис",
     .heading = "Автосервис. Прогноз на ",
     .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                   "заменяют руководства по эксплуатации, сроков обслуживания и совета "
                   "мастера."},
    {.kind = ForecastKind::Sale,
     .title = "покупка-продажа",
     .heading = "Покупка-продажа. Прогноз на ",
     .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                   "заменяют проверки документов и истории машины, осмотра у независимого "
                   "мастера и здравого смысла."},
};
static_assert(CoversEveryKind(kDigestKindWords), "one row per ForecastKind, in the enum's order");

inline const DigestKindWords& DigestWords(ForecastKind kind) {
  return RowOf(kDigestKindWords, kind);
}

}  // namespace meridan
