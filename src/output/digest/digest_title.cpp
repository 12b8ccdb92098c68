#include "output/digest/digest_title.h"

#include "base/month_names.h"
#include "output/digest/digest_text.h"

namespace meridan {
namespace {

std::string MonthAndYear(YearMonth month) {
  return Cp1251ToUtf8(MonthNameLower(month.month)) + ' ' + std::to_string(month.year);
}

}  // namespace

std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                        YearMonth last) {
  const std::string plain = HtmlToText(Cp1251ToUtf8(name.bytes));
  std::string title = "Прогноз: " + std::string(KindInfo(kind).digestKind) +
                      (plain.empty() ? "" : " — " + plain) + ", " + MonthAndYear(first);
  if (last != first) title += " – " + MonthAndYear(last);
  return title;
}

std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                           YearMonth last) {
  std::string file = DigestTitle(kind, name, first, last);
  for (char& c : file)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '-';
  return file + ".pdf";
}

}  // namespace meridan
