// The problem report: Report.txt byte for byte, the path it names, the
// operating system line, the comment rules and a file that cannot be made.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <dirent.h>

#include "app/gui/problem_report.h"
#include "gui_testing.h"
#include "reports/cp1251.h"

namespace meridan::testing {
namespace {

namespace fs = std::filesystem;

const QDateTime kWhen(QDate(2025, 3, 7), QTime(9, 5, 3));

// The entries with names longer than five characters, in the order the
// directory gives them, read without the program's code.
std::string Listing(const fs::path& dir) {
  std::string lines;
  DIR* stream = ::opendir(dir.c_str());
  while (const dirent* entry = ::readdir(stream)) {
    const std::string name = entry->d_name;
    if (Utf8Length(name).value() > 5) lines += W(name) + "\r\n";
  }
  ::closedir(stream);
  return lines;
}

class ProblemReportTest : public GuiTest {
 protected:
  ProblemReportTest() { form.SetClock([] { return kWhen; }); }

  template <class T>
  T* Find(const char* name) const {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void Fill(const QString& name, const QString& email, int system, const QString& comment) {
    Find<QLineEdit>("Edit1")->setText(name);
    Find<QLineEdit>("Edit3")->setText(email);
    if (system > 0)
      Find<QRadioButton>(QStringLiteral("RadioItem%1").arg(system).toLatin1().constData())->setChecked(true);
    Find<QPlainTextEdit>("Memo1")->setPlainText(comment);
  }
  void MakeReport() {
    form.show();
    QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
  }
  std::string Report() const { return ReadFile(dir.root() / "Report.txt"); }
  // The report's lines from the listing on, for the given comment lines.
  std::string Tail(const std::string& commentLines) const {
    return Listing(dir.root()) + "\r\n-----------------\r\n\r\n" + W("MainDir: ") + W(dir.rootText().toStdString()) +
           "\r\n-----------------\r\n\r\n" + W("Комментарий:\r\n") + commentLines + "\r\n" +
           W("--------  Конец файла отчета  --------\r\n");
  }

  CurrentProgramDir dir;
  ProblemReport form;
};

TEST_F(ProblemReportTest, ReportFileByteForByte) {
  WriteFile(dir.root() / "a.dat", "five characters: not listed");
  WriteFile(dir.root() / "ёжик.txt", "eight characters in sixteen bytes: listed");
  WriteFile(dir.root() / ".hidden", "listed too");
  Fill(QStringLiteral("Иван Ёжиков"), QStringLiteral("ivan@example.ru"), 2,
       QStringLiteral("Программа не открывает страницу\nх\nТретья строка\n\nПятая\n6\nСедьмая\nВосьмая"));
  MakeReport();

  const std::string expected =
      W("Дата и время: 07.03.2025 09:05:03\r\n"
        "Имя: Иван Ёжиков\r\n"
        "E-mail: ivan@example.ru\r\n"
        "Операционная система : Windows XP\r\n"
        "-----------------\r\n"
        "\r\n"
        "Каталоги и файлы программы:\r\n") +
      // Lines 2 to 7 of the comment only with two characters or more; the
      // eighth never.
      Tail(W("Программа не открывает страницу\r\nТретья строка\r\nПятая\r\nСедьмая\r\n"));
  EXPECT_EQ(Report(), expected);
  const std::string listing = Listing(dir.root());
  for (const char* name : {"Report.txt", "System", "Output", "ёжик.txt", ".hidden"})
    EXPECT_NE(listing.find(W(name)), std::string::npos) << name;
  EXPECT_EQ(listing.find("a.dat"), std::string::npos);
}

TEST_F(ProblemReportTest, NothingChosenAndNoComment) {
  MakeReport();
  const std::string expected =
      W("Дата и время: 07.03.2025 09:05:03\r\nИмя: \r\nE-mail: \r\nОперационная система не указана\r\n"
        "-----------------\r\n\r\nКаталоги и файлы программы:\r\n") +
      Tail("\r\n");
  EXPECT_EQ(Report(), expected);
}

TEST_F(ProblemReportTest, OperatingSystemLines) {
  const char* const lines[] = {"Windows 2000", "Windows XP", "Windows Vista", "Windows 7", "Windows 8", "Linux"};
  for (int item = 1; item <= 6; ++item) {
    Fill(QString(), QString(), item, QString());
    MakeReport();
    const std::string line = W("Операционная система : ") + lines[item - 1] + "\r\n";
    EXPECT_NE(Report().find(line), std::string::npos) << lines[item - 1];
  }
}

TEST_F(ProblemReportTest, NamesTheRealPathOfTheFile) {
  Fill(QStringLiteral("Иван"), QString(), 6, QStringLiteral("Ошибка"));
  MakeReport();
  const QString path = dir.rootText() + QStringLiteral("Report.txt");
  EXPECT_TRUE(Find<QLabel>("Label9")->text().contains(path)) << Find<QLabel>("Label9")->text().toStdString();
  ASSERT_EQ(messages.notices.size(), 1);
  EXPECT_EQ(messages.notices[0],
            QStringLiteral("  Отчет сформирован и записан в файл ") + path +
                QStringLiteral("   Отправьте этот файл разработчикам на указанный E-mail.   Вы получите ответ и "
                               "рекомендации по восстановлению работы программы.  "));
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(ProblemReportTest, FileThatCannotBeMadeIsReportedAndTheWindowCloses) {
  fs::create_directory(dir.root() / "Report.txt");
  MakeReport();
  ASSERT_EQ(messages.errors.size(), 1);
  EXPECT_EQ(messages.errors[0], QStringLiteral("Cannot create file \"%1Report.txt\". Is a directory").arg(dir.rootText()));
  EXPECT_TRUE(messages.notices.isEmpty());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(ProblemReportTest, FieldsKeepTheirContentsBetweenShowings) {
  Fill(QStringLiteral("Иван"), QStringLiteral("ivan@example.ru"), 4, QStringLiteral("Первая\nВторая"));
  form.show();
  QTest::mouseClick(Find<QPushButton>("BitBtn2"), Qt::LeftButton);
  EXPECT_FALSE(fs::exists(dir.root() / "Report.txt"));
  form.show();
  EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QStringLiteral("Иван"));
  EXPECT_EQ(Find<QLineEdit>("Edit3")->text(), QStringLiteral("ivan@example.ru"));
  EXPECT_TRUE(Find<QRadioButton>("RadioItem4")->isChecked());
  EXPECT_EQ(Find<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Первая\nВторая"));
}

}  // namespace
}  // namespace meridan::testing
