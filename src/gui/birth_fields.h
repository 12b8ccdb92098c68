#pragma once
// Reading the birth date from the main window's three fields when a
// forecast is asked for. A date that is not there to read (an empty field,
// "20.05"), lies outside a field's limits or does not exist (31 February) is
// refused with a Russian sentence naming the field and what it wants, and
// nothing is computed: the calendar would quietly turn 31.02.1990 into
// 3 March and 1899 into the chart of another year.

#include <QString>

#include <optional>

#include "base/dates.h"

namespace meridan {

class SpinField;

struct BirthReading {
  std::optional<Date> date;
  QString refusal;             // when there is no date: the message
  SpinField* field = nullptr;  // and the field to put right
};

BirthReading ReadBirthDate(SpinField& day, SpinField& month, SpinField& year);

}  // namespace meridan
