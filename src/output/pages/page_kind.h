#pragma once
// How a month page shows each forecast kind: its title, heading, legend and
// help file (UTF-8 here; the page converts them).

#include <span>
#include <string_view>

#include "transits/forecast_kind.h"

namespace meridan {

// The legend of the trips page: the red bars only.
inline constexpr std::string_view kLegendRedBars[] = {
    "<h1>Обозначения</h1>",
    "<p>Для наглядности неблагоприятные указания помечены красными черточками. Их длина соответствует силе влияния этого фактора. </p>",
    "<p> <img border=\"0\" src=\"b_red1.gif\"> -1  Очень слабое негативное указание <br>",
    "<p> <img border=\"0\" src=\"b_red2.gif\"> -2  Слабое негативное указание  <br>",
    "<p> <img border=\"0\" src=\"b_red3.gif\"> -3  Негативное указание средней силы  <br>",
    "<p> <img border=\"0\" src=\"b_red4.gif\"> -4  Сильное негативное указание <br>",
    "<p> <img border=\"0\" src=\"b_red5.gif\"> -5  Очень сильное негативное указание </p>",
};

// The legend of the other pages: blue bars on the left, red on the right.
inline constexpr std::string_view kLegendBothBars[] = {
    "<h1>Обозначения</h1>",
    "<p>Для наглядности благоприятные указания помечены синими черточками перед текстом, а неблагоприятные - красными черточками. Их длина соответствует силе влияния этого фактора. </p>",
    "<table border=\"0\" width=\"100%\">",
    "<tr><td>",
    "<p><img border=\"0\" src=\"b_blu1.gif\"> 1  Очень слабое позитивное указание <br>",
    "<img border=\"0\" src=\"b_blu2.gif\"> 2  Слабое позитивное указание  <br>",
    "<img border=\"0\" src=\"b_blu3.gif\"> 3  Позитивное указание средней силы  <br>",
    "<img border=\"0\" src=\"b_blu4.gif\"> 4  Сильное позитивное указание <br>",
    "<img border=\"0\" src=\"b_blu5.gif\"> 5  Очень сильное позитивное указание </p>",
    "</td> <td>",
    " <p> <img border=\"0\" src=\"b_red1.gif\"> -1  Очень слабое негативное указание <br>",
    "<img border=\"0\" src=\"b_red2.gif\"> -2  Слабое негативное указание  <br>",
    "<img border=\"0\" src=\"b_red3.gif\"> -3  Негативное указание средней силы  <br>",
    "<img border=\"0\" src=\"b_red4.gif\"> -4  Сильное негативное указание <br>",
    "<img border=\"0\" src=\"b_red5.gif\"> -5  Очень сильное негативное указание </p>",
    "</td></tr> </table>",
};

struct PageKindWords {
  ForecastKind kind;
  std::string_view pageTitle;                // inside the page's <title>
  std::string_view monthHeading;             // before the month: the page's title
  bool paddedImage;                          // blanks around the src address of the page's graph
  std::span<const std::string_view> legend;  // the page's lines after the day texts
  std::string_view helpFile;                 // in the data directory, copied after the legend
};

inline constexpr PageKindWords kPageKindWords[] = {
    {.kind = ForecastKind::Trips,
     .pageTitle = "Авто-прогноз",
     .monthHeading = "Авто-прогноз на ",
     .paddedImage = false,
     .legend = kLegendRedBars,
     .helpFile = "help_go.dat"},
    {.kind = ForecastKind::Service,
     .pageTitle = "Сервис-прогноз",
     .monthHeading = "Авто-сервис. Прогноз на ",
     .paddedImage = false,
     .legend = kLegendBothBars,
     .helpFile = "help_servis.dat"},
    {.kind = ForecastKind::Sale,
     .pageTitle = "Покупка-продажа. Прогноз",
     .monthHeading = "Покупка-продажа. Прогноз на ",
     .paddedImage = true,
     .legend = kLegendBothBars,
     .helpFile = "help_sale.dat"},
};
static_assert(CoversEveryKind(kPageKindWords), "one row per ForecastKind, in the enum's order");

inline const PageKindWords& PageWords(ForecastKind kind) { return RowOf(kPageKindWords, kind); }

}  // namespace meridan
