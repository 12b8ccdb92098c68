#pragma once
// The influences and stations of a forecast with their words: each
// influence with the text, rating and acceptance its aspect has in the
// kind's interpretation file (the same for every day of its window, as the
// scan gives them day by day), and the Russian name of a station.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "texts/interpretation.h"
#include "texts/month_scan.h"
#include "transits/influences.h"

namespace meridan {

struct InfluenceText {
  Influence influence;
  int rating = 0;
  bool accepted = false;  // its text is long enough to print
  // The matched record, in the file the texts were taken from; null when
  // none matched.
  const InterpretationRecord* record = nullptr;
};

// Looks each influence up in the table, keeping their order.
std::vector<InfluenceText> AttachInfluenceTexts(const std::vector<Influence>& influences,
                                                const InterpretationFile& interpretations);

// The same, read off the hits of scans made with the same file, for a run
// that has its scans but no longer its file: an influence takes the rating
// and acceptance of its aspect's hits; one whose aspect none of them holds
// gets none. No record is attached.
std::vector<InfluenceText> AttachScannedTexts(const std::vector<Influence>& influences,
                                              std::span<const MonthScan> scans);

// What a birth hour that is not known does to an influence's days
// (Windows-1251): "может не наступить вовсе: час рождения не указан" when
// some hour of the birth date keeps it away, "даты могут сдвинуться на
// день-два: час рождения не указан" when its possible days run at least a
// day wider than its own; else, and for a known hour, empty.
std::string UnknownHourNote(const Influence& influence);

// The text's first sentence, from its first line (Windows-1251).
std::string FirstSentence(std::string_view text);

// "Меркурий начинает попятное движение", "Марс возвращается к прямому движению"
// (Windows-1251).
std::string StationTitle(const Station& station);

}  // namespace meridan
