#pragma once
// The problem-report window: the user's details, operating system and
// comment, written to Report.txt in the program directory. Created hidden
// with the main window and reused; every showing starts with empty fields,
// so a report never carries the last one's details by mistake.

#include <QDateTime>
#include <QDialog>
#include <QString>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace meridan {

class ProblemReport : public QDialog {
  Q_OBJECT

 public:
  explicit ProblemReport(QWidget* parent = nullptr);

  // The clock the report's date comes from; tests fix it.
  void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
  // The program directory as the report names it, ending in "/".
  const QString& ProgramDir() const { return programDir_; }
  QString ReportPath() const { return programDir_ + QStringLiteral("Report.txt"); }

  void FormActivate();
  void BitBtn1Click();
  void BitBtn2Click();

  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The captions of the fields a user fills in.
  struct Captions {
    QLabel* name;
    QLabel* email;
    QLabel* comment;
  };
  void SetUpWindow();
  Captions AddWords();
  void AddDetailFields();
  void AddSystemChoice();
  void AddCommentField();
  void AddButtons();
  void NameFieldsByCaptions(const Captions& captions);
  void SetTabOrder();
  QLabel* AddLabel(const char* name, const QString& caption, int left, int top);
  void ShowCommentLines();

  QLabel* Label9;
  QLineEdit* Edit1;
  QLineEdit* Edit3;
  QGroupBox* RadioGroup1;
  QButtonGroup* systems_;
  QPlainTextEdit* Memo1;
  QLabel* lines_;  // how many of the comment's lines the report keeps
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QString programDir_;
  std::function<QDateTime()> clock_ = &QDateTime::currentDateTime;
};

}  // namespace meridan
