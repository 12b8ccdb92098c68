#pragma once
// The About box: the program's name and version.

#include <QDialog>

class QLabel;
class QPushButton;

namespace meridan {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  void Button1Click();

 private:
  QLabel* Label1;
  QLabel* Label2;
  QPushButton* Button1;
};

}  // namespace meridan
