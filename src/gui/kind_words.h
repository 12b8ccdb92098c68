#pragma once
// How the windows show each forecast kind (UTF-8).

#include <string_view>

#include "transits/forecast_kind.h"

namespace meridan {

struct WindowKindWords {
  ForecastKind kind;
  std::string_view command;  // the main window's command button
  bool showsProgramDir;      // the main window's status line names MainDir afterwards
};

inline constexpr WindowKindWords kWindowKindWords[] = {
    {.kind = ForecastKind::Trips, .command = "Поездки", .showsProgramDir = true},
    {.kind = ForecastKind::Service, .command = "Авто-сервис", .showsProgramDir = false},
    {.kind = ForecastKind::Sale, .command = "Покупка-Продажа", .showsProgramDir = false},
};
static_assert(CoversEveryKind(kWindowKindWords), "one row per ForecastKind, in the enum's order");

inline const WindowKindWords& WindowWords(ForecastKind kind) {
  return RowOf(kWindowKindWords, kind);
}

}  // namespace meridan
