#include "texts/influence_texts.h"

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
