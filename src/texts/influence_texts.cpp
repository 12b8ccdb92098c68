#include "texts/influence_texts.h"

#include <map>

#include "base/cp1251.h"

namespace meridan {

std::vector<InfluenceText> AttachInfluenceTexts(const std::vector<Influence>& influences,
                                                const InterpretationFile& interpretations) {
  std::vector<InfluenceText> texts;
  texts.reserve(influences.size());
  for (const Influence& influence : influences) {
    const InterpretationFile::Match match = interpretations.Find(influence.key);
    texts.push_back({influence, match.rating, match.printable(), match.record});
  }
  return texts;
}

std::vector<InfluenceText> AttachScannedTexts(const std::vector<Influence>& influences,
                                              std::span<const MonthScan> scans) {
  std::map<AspectKey, const TransitHit*> hits;
  for (const MonthScan& scan : scans)
    for (const DayList& day : scan.days)
      for (const TransitHit& hit : day.hits) hits.emplace(hit.key, &hit);
  std::vector<InfluenceText> texts;
  texts.reserve(influences.size());
  for (const Influence& influence : influences) {
    const auto found = hits.find(influence.key);
    if (found == hits.end())
      texts.push_back({influence, 0, false, nullptr});
    else
      texts.push_back({influence, found->second->rating, found->second->accepted, nullptr});
  }
  return texts;
}

std::string UnknownHourNote(const Influence& influence) {
  if (!influence.hourWindows) return {};
  const HourWindows& windows = *influence.hourWindows;
  if (!windows.sure) return W("может не наступить вовсе: час рождения не указан");
  const double wider = (windows.possible.lastNoon - windows.possible.firstNoon) -
                       (influence.lastNoon - influence.firstNoon);
  if (wider >= 1) return W("даты могут сдвинуться на день-два: час рождения не указан");
  return {};
}

std::string FirstSentence(std::string_view text) {
  size_t end = text.size();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c == '.' || c == '!' || c == '?') && (i + 1 == text.size() || text[i + 1] == ' ')) {
      end = i + 1;
      break;
    }
  }
  std::string sentence(text.substr(0, end));
  while (!sentence.empty() && sentence.back() == ' ') sentence.pop_back();
  return sentence;
}

std::string StationTitle(const Station& station) {
  const char* name = station.body == kMercury ? "Меркурий"
                     : station.body == kVenus ? "Венера"
                     : station.body == kMars  ? "Марс"
                                              : "?";
  return W(name) +
         W(station.retrograde ? " начинает попятное движение" : " возвращается к прямому движению");
}

}  // namespace meridan
