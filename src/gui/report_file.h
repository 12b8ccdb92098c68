#pragma once
// Report.txt: what a user sends the developers when the program misbehaves.
// Windows-1251 with CR LF line ends, like every text file of the program.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace meridan {

struct ProblemDetails {
  QDateTime when;
  QString name;
  QString email;
  QString system;       // the chosen operating system as captioned, empty for none
  QStringList comment;  // the comment's lines
};

// The comment's lines the report keeps: the first, and the next ones up to
// this many in all.
inline constexpr qsizetype kReportCommentLines = 7;

// Writes programDir/Report.txt whole, listing the program directory with the
// file in it (a first report makes an empty one before the listing, so the
// listing names itself). The program directory is written as given. Throws
// std::runtime_error naming the file when it cannot be written; an earlier
// report then stays as it was.
void WriteProblemReport(const std::filesystem::path& programDir, const QString& programDirText,
                        const ProblemDetails& details);

// The date and time as the report writes them: "dd.MM.yyyy HH:mm:ss".
QString ReportTimestamp(const QDateTime& when);

}  // namespace meridan
