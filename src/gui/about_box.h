#pragma once
// The About box: the program's name and version, what it does, where its
// data lives (the program directory, read at every showing) and its licence.

#include <QDialog>

class QLabel;
class QPushButton;

namespace meridan {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  void Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;  // what the program is, and its licence
  QLabel* Label4;  // where its data lives
  QPushButton* Button1;
};

}  // namespace meridan
