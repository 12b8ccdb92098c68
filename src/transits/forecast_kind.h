#pragma once
// The three forecast kinds. They run the same scan, series rule and page
// layout; this table holds everything that tells them apart, from the
// interpretation file to the page's legend, and every layer reads it. Texts
// are UTF-8, as written here; the page converts them.

#include <cstddef>
#include <span>
#include <string_view>

namespace meridan {

// A forecast covers the start month and the three after it.
inline constexpr int kForecastMonths = 4;

enum class ForecastKind { Trips, Service, Sale };

// The last kind above; the table is checked against it.
inline constexpr ForecastKind kLastForecastKind = ForecastKind::Sale;

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

struct ForecastKindInfo {
  ForecastKind kind;
  std::string_view key;                 // command-line name: trips, service, sale
  std::string_view command;             // the main window's command button
  std::string_view interpretationFile;  // in the data directory
  std::string_view helpFile;            // in the data directory, copied after the legend
  double seriesFactor;                  // day value = rating sum x factor
  bool retrogradeMarks;                 // Mercury's retrograde days marked on the graph
  bool showsProgramDir;                 // the main window's status line names MainDir afterwards
  std::string_view pageTitle;           // inside the page's <title>
  std::string_view monthHeading;        // before the month: the page's title
  bool paddedImage;                     // blanks around the src address of the page's graph
  std::span<const std::string_view> legend;  // the page's lines after the day texts
  // The digest is our own document and spells the kind in its own words (UTF-8).
  std::string_view digestKind;  // in the digest's title: "Прогноз: поездки — …"
  std::string_view digestHeading;  // before the month in the digest
  std::string_view disclaimer;     // the digest's closing words on what its texts are worth
};

inline constexpr ForecastKindInfo kForecastKinds[] = {
    {
        .kind = ForecastKind::Trips,
        .key = "trips",
        .command = "Поездки",
        .interpretationFile = "go.dat",
        .helpFile = "help_go.dat",
        .seriesFactor = 2.5,
        .retrogradeMarks = false,
        .showsProgramDir = true,
        .pageTitle = "Авто-прогноз",
        .monthHeading = "Авто-прогноз на ",
        .paddedImage = false,
        .legend = kLegendRedBars,
        .digestKind = "поездки",
        .digestHeading = "Автопрогноз на ",
        .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                      "заменяют правил дорожного движения, внимания в дороге и здравого смысла.",
    },
    {
        .kind = ForecastKind::Service,
        .key = "service",
        .command = "Авто-сервис",
        .interpretationFile = "servis.dat",
        .helpFile = "help_servis.dat",
        .seriesFactor = 2.8,
        .retrogradeMarks = false,
        .showsProgramDir = false,
        .pageTitle = "Сервис-прогноз",
        .monthHeading = "Авто-сервис. Прогноз на ",
        .paddedImage = false,
        .legend = kLegendBothBars,
        .digestKind = "автосервис",
        .digestHeading = "Автосервис. Прогноз на ",
        .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                      "заменяют руководства по эксплуатации, сроков обслуживания и совета "
                      "мастера.",
    },
    {
        .kind = ForecastKind::Sale,
        .key = "sale",
        .command = "Покупка-Продажа",
        .interpretationFile = "sale.dat",
        .helpFile = "help_sale.dat",
        .seriesFactor = 3.6,
        .retrogradeMarks = true,
        .showsProgramDir = false,
        .pageTitle = "Покупка-продажа. Прогноз",
        .monthHeading = "Покупка-продажа. Прогноз на ",
        .paddedImage = true,
        .legend = kLegendBothBars,
        .digestKind = "покупка-продажа",
        .digestHeading = "Покупка-продажа. Прогноз на ",
        .disclaimer = "Тексты прогноза даны для ориентира и не являются гарантией. Они не "
                      "заменяют проверки документов и истории машины, осмотра у независимого "
                      "мастера и здравого смысла.",
    },
};

// One row per kind, in the order of the enum, so a kind indexes its row.
static_assert(
    [] {
      if (std::size(kForecastKinds) != static_cast<std::size_t>(kLastForecastKind) + 1)
        return false;
      for (std::size_t i = 0; i < std::size(kForecastKinds); ++i)
        if (static_cast<std::size_t>(kForecastKinds[i].kind) != i) return false;
      return true;
    }(),
    "kForecastKinds needs one row for every ForecastKind, in the enum's order");

inline const ForecastKindInfo& KindInfo(ForecastKind kind) {
  return kForecastKinds[static_cast<int>(kind)];
}

}  // namespace meridan
