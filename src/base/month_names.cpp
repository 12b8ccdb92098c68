#include "base/month_names.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "base/cp1251.h"

namespace meridan {
namespace {

struct Names {
  const char* capitalised;
  const char* lower;
  const char* genitive;
  const char* prepositional;
};

constexpr Names kNames[12] = {
    {"Январь", "январь", "января", "январе"},
    {"Февраль", "февраль", "февраля", "феврале"},
    {"Март", "март", "марта", "марте"},
    {"Апрель", "апрель", "апреля", "апреле"},
    {"Май", "май", "мая", "мае"},
    {"Июнь", "июнь", "июня", "июне"},
    {"Июль", "июль", "июля", "июле"},
    {"Август", "август", "августа", "августе"},
    {"Сентябрь", "сентябрь", "сентября", "сентябре"},
    {"Октябрь", "октябрь", "октября", "октябре"},
    {"Ноябрь", "ноябрь", "ноября", "ноябре"},
    {"Декабрь", "декабрь", "декабря", "декабре"},
};

using Table = std::array<std::string, 12>;

Table Convert(const char* Names::*field) {
  Table out;
  for (size_t m = 0; m < out.size(); ++m) out[m] = W(kNames[m].*field);
  return out;
}

const std::string& Pick(const Table& table, int month) {
  if (month < 1 || month > 12)
    throw std::out_of_range("month " + std::to_string(month) + " is not 1..12");
  return table[static_cast<size_t>(month - 1)];
}

}  // namespace

std::string MonthFileName(int month, int year, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "Prog_%02d_%d%s", month, year, extension);
  return name;
}

const std::string& MonthName(int month) {
  static const Table table = Convert(&Names::capitalised);
  return Pick(table, month);
}

const std::string& MonthNameLower(int month) {
  static const Table table = Convert(&Names::lower);
  return Pick(table, month);
}

const std::string& MonthNameGenitive(int month) {
  static const Table table = Convert(&Names::genitive);
  return Pick(table, month);
}

const std::string& MonthNamePrepositional(int month) {
  static const Table table = Convert(&Names::prepositional);
  return Pick(table, month);
}

}  // namespace meridan
