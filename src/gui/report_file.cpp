#include "gui/report_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/cp1251.h"

namespace meridan {
namespace {

// Entries with names of five characters or fewer are left out of the listing.
constexpr size_t kShortestListedName = 6;
// The comment's lines after the first are kept up to the seventh, and only
// when they hold at least two characters.
constexpr qsizetype kCommentLines = 7;
constexpr qsizetype kShortestCommentLine = 2;

const char* const kRule = "-----------------";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

class ReportWriter {
 public:
  explicit ReportWriter(const std::filesystem::path& path) : path_(path) {
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_)
      throw std::runtime_error("Cannot create file \"" + path.string() + "\". " +
                               std::strerror(errno));
  }

  void Line(const QString& text) { Bytes(Utf8ToCp1251(text.toStdString())); }
  void Line(const char* utf8) { Bytes(Utf8ToCp1251(utf8)); }
  void Bytes(const std::string& cp1251) {
    const std::string line = cp1251 + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
        std::fflush(file_.get()) != 0)
      throw std::runtime_error("Cannot write file \"" + path_.string() + "\". " +
                               std::strerror(errno));
  }

  void Close() {
    if (std::fclose(file_.release()) != 0)
      throw std::runtime_error("Cannot write file \"" + path_.string() + "\". " +
                               std::strerror(errno));
  }

 private:
  std::filesystem::path path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace

QString ReportTimestamp(const QDateTime& when) {
  return when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

void WriteProblemReport(const std::filesystem::path& programDir, const QString& programDirText,
                        const ProblemDetails& details) {
  ReportWriter out(programDir / "Report.txt");
  out.Line("Дата и время: " + ReportTimestamp(details.when));
  out.Line("Имя: " + details.name);
  out.Line("E-mail: " + details.email);
  out.Line(details.system.isEmpty() ? QStringLiteral("Операционная система не указана")
                                    : "Операционная система :" + details.system);
  out.Line(kRule);
  out.Line("");
  out.Line("Каталоги и файлы программы:");
  // In the order the file system gives them, hidden entries included.
  for (const auto& entry : std::filesystem::directory_iterator(programDir)) {
    const std::string name = entry.path().filename().string();
    if (Utf8Length(name).value_or(name.size()) >= kShortestListedName)
      out.Bytes(Utf8ToCp1251(name));
  }
  out.Line("");
  out.Line(kRule);
  out.Line("");
  out.Line("MainDir: " + programDirText);
  out.Line(kRule);
  out.Line("");
  out.Line("Комментарий:");
  out.Line(details.comment.value(0));
  for (qsizetype i = 1; i < kCommentLines && i < details.comment.size(); ++i)
    if (details.comment[i].size() >= kShortestCommentLine) out.Line(details.comment[i]);
  out.Line("");
  out.Line("--------  Конец файла отчета  --------");
  out.Close();
}

}  // namespace meridan
