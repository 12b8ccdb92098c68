#include "gui/spin_field.h"

#include <QLineEdit>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace meridan {

std::optional<int> ParseInteger(const QString& text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {}

void SpinField::SetLimits(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
}

void SpinField::SetValue(int value) { SetText(QString::number(Clamped(value))); }

void SpinField::SetText(const QString& text) { lineEdit()->setText(text); }

int SpinField::IntValue() const {
  const QString typed = text();
  if (const auto value = ParseInteger(typed)) return *value;
  throw std::runtime_error("'" + typed.toStdString() + "' is not a valid integer value");
}

void SpinField::stepBy(int steps) {
  const long long from = ParseInteger(text()).value_or(minimum_);
  SetValue(Clamped(from + steps));
  lineEdit()->selectAll();
}

QValidator::State SpinField::validate(QString& input, int&) const {
  for (const QChar c : input) {
    const char16_t u = c.unicode();
    if (!((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.'))
      return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

int SpinField::Clamped(long long value) const {
  return static_cast<int>(std::clamp<long long>(value, minimum_, maximum_));
}

}  // namespace meridan
