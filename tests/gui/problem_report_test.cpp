// The problem report: Report.txt byte for byte, the path it names, the
// comment rules and the notice of them, the keyboard, a clean form at every
// showing, a file that cannot be made, and the window's fixed size and place.

#include "gui/problem_report.h"

#include <dirent.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "base/cp1251.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

// The entries with names longer than five characters, in the order the
// directory gives them, read without the program's code.
std::string Listing(const fs::path& dir) {
  std::string lines;
  DIR* stream = ::opendir(dir.c_str());
  while (const dirent* entry = ::readdir(stream))
    if (Utf8Length(entry->d_name).value() > 5) lines += W(entry->d_name) + "\r\n";
  ::closedir(stream);
  return lines;
}

class ProblemReportTest : public GuiTest {
 protected:
  ProblemReportTest() {
    form.SetClock([] { return QDateTime(QDate(2025, 3, 7), QTime(9, 5, 3)); });
  }

  template <class T>
  T* Find(const QString& name) const {
    return Child<T>(&form, name);
  }
  void Fill(const QString& name, const QString& email, const QString& comment,
            const QString& system) {
    form.show();
    Find<QLineEdit>(u"Edit1"_s)->setText(name);
    Find<QLineEdit>(u"Edit3"_s)->setText(email);
    Find<QPlainTextEdit>(u"Memo1"_s)->setPlainText(comment);
    Find<QRadioButton>(system)->setChecked(true);
  }
  void Click(const QString& button) {
    if (!form.isVisible()) form.show();
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
  }
  std::string Report() const { return ReadFile(dir.root() / "Report.txt"); }
  // The report, given its name, e-mail and system lines and its comment's.
  std::string Expected(const char* details, const char* commentLines) const {
    return W(std::string("Дата и время: 07.03.2025 09:05:03\r\n") + details +
             "-----------------\r\n\r\nКаталоги и файлы программы:\r\n") +
           Listing(dir.root()) +
           W("\r\n-----------------\r\n\r\nMainDir: " + dir.rootText().toStdString() +
             "\r\n-----------------\r\n\r\nКомментарий:\r\n" + commentLines +
             "\r\n--------  Конец файла отчета  --------\r\n");
  }

  CurrentProgramDir dir;
  ProblemReport form;
};

TEST_F(ProblemReportTest, ReportFileByteForByte) {
  WriteFile(dir.root() / "a.dat", "five characters: not listed");
  WriteFile(dir.root() / "ёжик.txt", "eight characters in sixteen bytes: listed");
  WriteFile(dir.root() / ".hidden", "listed too");
  Fill(u"Иван Ёжиков"_s, u"ivan@example.ru"_s,
       u"Программа не открывает страницу\nх\nТретья строка\n\nПятая\n6\nСедьмая\nВосьмая"_s,
       u"RadioItem2"_s);
  Click(u"BitBtn1"_s);
  // Lines 2 to 7 of the comment only with two characters or more; the
  // eighth never.
  EXPECT_EQ(
      Report(),
      Expected(
          "Имя: Иван Ёжиков\r\nE-mail: ivan@example.ru\r\nОперационная система : Windows XP\r\n",
          "Программа не открывает страницу\r\nТретья строка\r\nПятая\r\nСедьмая\r\n"));
  const std::string listing = Listing(dir.root());
  for (const char* name : {"Report.txt", "System", "Output", "ёжик.txt", ".hidden"})
    EXPECT_NE(listing.find(W(name)), std::string::npos) << name;
  EXPECT_EQ(listing.find("a.dat"), std::string::npos);
}

TEST_F(ProblemReportTest, NothingChosenAndNoComment) {
  Click(u"BitBtn1"_s);
  EXPECT_EQ(Report(), Expected("Имя: \r\nE-mail: \r\nОперационная система не указана\r\n", "\r\n"));
}

TEST_F(ProblemReportTest, EveryShowingStartsCleanAndMakingNamesTheRealPathOfTheFile) {
  Fill(u"Иван"_s, u"ivan@example.ru"_s, u"Первая\nВторая"_s, u"RadioItem4"_s);
  Click(u"BitBtn2"_s);
  EXPECT_FALSE(fs::exists(dir.root() / "Report.txt"));
  form.show();
  EXPECT_EQ(Find<QLineEdit>(u"Edit1"_s)->text(), u""_s);
  EXPECT_EQ(Find<QPlainTextEdit>(u"Memo1"_s)->toPlainText(), u""_s);
  EXPECT_FALSE(Find<QRadioButton>(u"RadioItem4"_s)->isChecked());

  Click(u"BitBtn1"_s);
  const QString path = dir.rootText() + u"Report.txt"_s;
  EXPECT_TRUE(Find<QLabel>(u"Label9"_s)->text().contains(path))
      << Find<QLabel>(u"Label9"_s)->text().toStdString();
  EXPECT_EQ(
      notices,
      QStringList{"  Отчет сформирован и записан в файл " + path +
                  "   Отправьте этот файл разработчикам на указанный E-mail.   Вы получите ответ и "
                  "рекомендации по восстановлению работы программы.  "});
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ProblemReportTest, FileThatCannotBeMadeIsReportedAndTheWindowCloses) {
  fs::create_directory(dir.root() / "Report.txt");
  Click(u"BitBtn1"_s);
  EXPECT_EQ(errors,
            QStringList{u"Отчет не записан. Не удалось записать файл «%1Report.txt» (на "
                        "этом месте каталог, а не файл). Проверьте, что папка «%2» на "
                        "месте, что у Вас есть права на запись в неё и что на диске есть "
                        "свободное место."_s.arg(dir.rootText(), dir.rootText().chopped(1))});
  EXPECT_TRUE(notices.isEmpty());
  EXPECT_FALSE(form.isVisible());
}

// Tab goes name, e-mail, the system choice (its first item while none is
// chosen), the comment and on out of it; the form says how many of the
// comment's lines the report keeps, and how many it will leave out.
TEST_F(ProblemReportTest, TabReachesEveryFieldAndTheFormSaysWhichCommentLinesAreKept) {
  form.show();
  QApplication::setActiveWindow(&form);
  QStringList order;
  for (int k = 0; k < 5; ++k) {
    order << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order,
            (QStringList{u"Edit1"_s, u"Edit3"_s, u"RadioItem1"_s, u"Memo1"_s, u"BitBtn1"_s}));
  auto* memo = Find<QPlainTextEdit>(u"Memo1"_s);
  EXPECT_FALSE(memo->toPlainText().contains(u'\t'));
  const QLabel* lines = Find<QLabel>(u"LabelLines"_s);
  EXPECT_EQ(lines->text(), u"В отчет войдут первые 7 строк комментария."_s);
  memo->setPlainText(u"1\n2\n3\n4\n5\n6\n7\n8\n9"_s);
  EXPECT_EQ(lines->text(),
            u"В отчет войдут первые 7 строк комментария. Сейчас их 9: последние 2 не войдут."_s);
  EXPECT_LE(lines->geometry().bottom(), Find<QPushButton>(u"BitBtn1"_s)->y());
}

// A long program directory is shortened in the middle, whole in the
// tooltip; the window keeps its size and comes back where it was.
TEST_F(ProblemReportTest, FixedWindowShowsALongPathShortenedAndComesBackInPlace) {
  const fs::path deep = dir.root() / std::string(60, 'a') / "Мои документы" / std::string(60, 'b');
  fs::create_directories(deep);
  QDir::setCurrent(QString::fromStdString(deep.string()));
  form.show();
  const QPoint first = form.pos();
  const QLabel* label = Find<QLabel>(u"Label9"_s);
  const QString path = QString::fromStdString((deep / "Report.txt").string());
  EXPECT_EQ(label->toolTip(), path);
  EXPECT_TRUE(label->text().contains(u"…"_s)) << label->text().toStdString();
  EXPECT_TRUE(label->text().endsWith(u"Report.txt    "_s)) << label->text().toStdString();
  EXPECT_LE(label->geometry().right(), form.width() - label->x());
  EXPECT_EQ(form.minimumSize(), QSize(750, 550));
  EXPECT_EQ(form.maximumSize(), QSize(750, 550));
  form.hide();
  form.show();
  EXPECT_EQ(form.pos(), first);
}

}  // namespace
}  // namespace meridan::testing
