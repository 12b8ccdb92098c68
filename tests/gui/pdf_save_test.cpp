// Saving a forecast as a PDF from the main window's menu and from the
// viewer: enabled only after a run that came to its end, the suggested name,
// cancelling, and a file that cannot be written.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <memory>
#include <optional>

#include "base/month_names.h"
#include "gui/forecast_save.h"
#include "gui/main_window.h"
#include "gui/save_dialog.h"
#include "gui/viewer.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class PdfSaveTest : public GuiTest {
 protected:
  PdfSaveTest() {
    // The user's home is the program directory, with a documents folder.
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME"}) {
      saved.emplace_back(variable, qEnvironmentVariableIsSet(variable)
                                       ? std::optional(qgetenv(variable))
                                       : std::nullopt);
      qputenv(variable, QByteArray::fromStdString(dir.root().string()));
    }
    fs::create_directory(dir.root() / "Documents");
    previous = SetSaveDialog([this](QWidget* parent, const QString& suggested) {
      asked << suggested;
      parents << parent;
      return answer;
    });
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([] { return QDate(2026, 11, 12); });
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
  }
  ~PdfSaveTest() override {
    SetSaveDialog(previous);
    for (const auto& [variable, value] : saved)
      value ? qputenv(variable, *value) : qunsetenv(variable);
  }

  template <class T = QPushButton>
  T* Find(const QString& name) const {
    return Child<T>(window.get(), name);
  }
  QAction* Save() const { return Find<QAction>(u"SavePdf"_s); }
  QPushButton* ViewerButton() const { return Find(u"SavePdfButton"_s); }
  QString Path(const std::string& name) const {
    return QString::fromStdString((dir.root() / name).string());
  }

  CurrentProgramDir dir;
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
  std::unique_ptr<MainWindow> window;
  SaveDialogFn previous;
  QString answer;
  QStringList asked;
  QList<QWidget*> parents;
};

TEST_F(PdfSaveTest, MenuAndViewerSaveTheFinishedForecastUnderTheNameGiven) {
  EXPECT_FALSE(Save()->isEnabled());
  EXPECT_FALSE(ViewerButton()->isEnabled());
  Find<QLineEdit>(u"Edit1"_s)->setText(u"Иван Петров"_s);
  QTest::mouseClick(Find(u"Button18"_s), Qt::LeftButton);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_TRUE(Save()->isEnabled());
  EXPECT_TRUE(ViewerButton()->isEnabled());

  answer = Path("из меню");  // without an extension: ".pdf" is added
  Save()->trigger();
  const QString name = u"Прогноз, поездки — Иван Петров, ноябрь 2026 – февраль 2027.pdf"_s;
  EXPECT_EQ(asked, QStringList{Path("Documents/") + name});
  EXPECT_EQ(ReadFile(dir.root() / "из меню.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(window->statusBar()->currentMessage(),
            u"Прогноз сохранён в PDF: "_s + Path("из меню.pdf"));

  answer = Path("из окна.pdf");
  Viewer* viewer = window->ViewerForm();
  WhenModalShows([&] {
    QTest::mouseClick(viewer->findChild<QPushButton*>(u"SavePdfButton"_s), Qt::LeftButton);
    viewer->BitBtn2Click();
  });
  QTest::mouseClick(Find(u"Button1"_s), Qt::LeftButton);
  EXPECT_EQ(parents.value(1), viewer) << "the dialog opens over the viewer";
  EXPECT_TRUE(fs::is_regular_file(dir.root() / "из окна.pdf"));

  answer.clear();                        // cancelled: nothing written, nothing said
  fs::remove(dir.root() / "Documents");  // a home without one: the home itself
  Save()->trigger();
  EXPECT_EQ(asked.value(2), Path(name.toStdString()));
  answer = Path("нет/такой папки.pdf");
  Save()->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith(u"PDF не сохранён. Не удалось записать файл «"_s))
      << errors[0].toStdString();
  EXPECT_EQ(asked.size(), 4);
}

TEST_F(PdfSaveTest, RunThatFailsLeavesNothingToSave) {
  QTest::mouseClick(Find(u"Button18"_s), Qt::LeftButton);
  ASSERT_TRUE(Save()->isEnabled());
  // December's page cannot be written over a directory of its name.
  const fs::path december = dir.output() / MonthFileName(12, 2026, ".html");
  fs::remove(december);
  fs::create_directory(december);
  QTest::mouseClick(Find(u"Button7"_s), Qt::LeftButton);
  EXPECT_EQ(errors.size(), 1);
  EXPECT_FALSE(Save()->isEnabled());
  EXPECT_FALSE(ViewerButton()->isEnabled());
}

}  // namespace
}  // namespace meridan::testing
