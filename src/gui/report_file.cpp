#include "gui/report_file.h"

#include <string>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/temporary_files.h"

namespace meridan {
namespace {

// Entries with names of five characters or fewer are left out of the listing.
constexpr size_t kShortestListedName = 6;
// The comment's lines after the first are kept only when they hold at least
// two characters.
constexpr qsizetype kShortestCommentLine = 2;

const char* const kRule = "-----------------";

// The report's bytes, a line at a time: Windows-1251, CR LF.
class Report {
 public:
  void Line(const QString& text) { Bytes(Utf8ToCp1251(text.toStdString())); }
  void Line(const char* utf8) { Bytes(Utf8ToCp1251(utf8)); }
  void Bytes(const std::string& cp1251) {
    bytes_ += cp1251;
    bytes_ += "\r\n";
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace

QString ReportTimestamp(const QDateTime& when) {
  return when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

void WriteProblemReport(const std::filesystem::path& programDir, const QString& programDirText,
                        const ProblemDetails& details) {
  const std::filesystem::path file = programDir / "Report.txt";
  Report out;
  out.Line("Дата и время: " + ReportTimestamp(details.when));
  out.Line("Имя: " + details.name);
  out.Line("E-mail: " + details.email);
  out.Line(details.system.isEmpty() ? QStringLiteral("Операционная система не указана")
                                    : "Операционная система :" + details.system);
  out.Line(kRule);
  out.Line("");
  out.Line("Каталоги и файлы программы:");
  // In the order the file system gives them, hidden entries included, and
  // Report.txt among them: a first report makes the file (empty) before the
  // listing, as the report's reader expects to see it there. The program's
  // temporary files are not the user's and are left out.
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec)))
    WriteFileAtomically(file, "");
  for (const auto& entry : std::filesystem::directory_iterator(programDir)) {
    const std::string name = entry.path().filename().string();
    if (IsTemporaryFileName(name)) continue;
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
  for (qsizetype i = 1; i < kReportCommentLines && i < details.comment.size(); ++i)
    if (details.comment[i].size() >= kShortestCommentLine) out.Line(details.comment[i]);
  out.Line("");
  out.Line("--------  Конец файла отчета  --------");
  // Whole or not at all, as every file the program writes.
  WriteFileAtomically(file, out.bytes());
}

}  // namespace meridan
