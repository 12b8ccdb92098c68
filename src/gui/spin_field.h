#pragma once
// A numeric spin field that keeps what was typed. The keyboard gives only
// digits, signs and "."; the arrows step by 1 within the limits. Leaving the
// field changes nothing: a number outside the limits, like text that is not
// an integer (empty, a sign alone, "1.5"), stays as typed and is refused
// when a command reads it, where the user is told why. Brought quietly to
// the nearest limit, a year 1899 became a forecast for 1920.

#include <QAbstractSpinBox>

#include <optional>

namespace meridan {

// The text as a 32-bit integer: an optional sign and decimal digits.
std::optional<int> ParseInteger(const QString& text);

class SpinField : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit SpinField(QWidget* parent = nullptr);

  void SetLimits(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }

  // The text becomes the value brought within the limits.
  void SetValue(int value);
  void SetText(const QString& text);

  // The text as an integer; throws std::runtime_error
  // "'<text>' is not a valid integer value" for anything else.
  int IntValue() const;

  // From the text's value (the lower limit when the text is no integer),
  // by steps, within the limits.
  void stepBy(int steps) override;

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  StepEnabled stepEnabled() const override;

 private:
  int Clamped(long long value) const;

  int minimum_ = 0;
  int maximum_ = 100;
};

}  // namespace meridan
