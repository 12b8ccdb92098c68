#include "cli/commands.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/places.h"
#include "cli/arguments.h"
#include "cli/birth_options.h"
#include "cli/program_dir_option.h"
#include "ephemeris/calendar.h"
#include "ephemeris/positions.h"
#include "ephemeris/time_zone.h"
#include "forecast/calendar_file.h"
#include "forecast/digest_file.h"
#include "forecast/findings.h"
#include "forecast/forecast.h"
#include "output/pages/page.h"
#include "texts/best_days.h"
#include "texts/data_check.h"
#include "texts/influence_texts.h"
#include "texts/interpretation.h"
#include "transits/series.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

constexpr const char* kUsage =
    "Usage: meridan <command> [options]\n"
    "\n"
    "Commands:\n"
    "  positions --date DD.MM.YYYY [--dir PROGRAM_DIR]\n"
    "  positions --jd JULIAN_DAY   [--dir PROGRAM_DIR]\n"
    "      geocentric ecliptic longitudes of the Sun and Mercury..Pluto at noon of\n"
    "      the date (or at the Julian day, days since 1900 January 0.5): one line\n"
    "      per body: number, name, degrees with 6 decimals, tab-separated\n"
    "  chart --birth DD.MM.YYYY [BIRTH_TIME] [--dir PROGRAM_DIR]\n"
    "      the natal chart: a line '# DD.MM.YYYY HH:MM UT' with the moment it is\n"
    "      computed at (noon UT of the birth date without a time), then nine\n"
    "      lines as positions prints them\n"
    "  scan --kind trips|service|sale --birth DD.MM.YYYY [BIRTH_TIME] --month MM.YYYY\n"
    "       [--dir PROGRAM_DIR]\n"
    "      one line per aspect found, in scan order: day, transit body, aspect,\n"
    "      natal body, rating, accepted (1 or 0), fragment length; tab-separated\n"
    "  series --kind trips|service|sale --birth DD.MM.YYYY [BIRTH_TIME] --month MM.YYYY\n"
    "         [--dir PROGRAM_DIR]\n"
    "      the sample count, the rating series 1..N+3 and, for sale, the\n"
    "      retrograde marks 1..N, one line each\n"
    "  influences --kind trips|service|sale --birth DD.MM.YYYY [BIRTH_TIME] [--start MM.YYYY]\n"
    "             [--dir PROGRAM_DIR]\n"
    "      one line per influence of the four months from the start month\n"
    "      (default: the current month), by first day: first and last day in\n"
    "      orb (DD.MM.YYYY, past the four months where it reaches beyond them),\n"
    "      the exact moments (DD.MM.YYYY HH:MM UT, comma-separated, empty when\n"
    "      none), transit body, aspect, natal body, rating, accepted; then, for\n"
    "      a birth without a time, the first and the last day on which some\n"
    "      birth hour of that date puts the aspect in orb, and 'sure' when every\n"
    "      birth hour has it on some day or 'maybe' when not ('-' three times\n"
    "      with a time); tab-separated\n"
    "  stations [--start MM.YYYY] [--months N] [--dir PROGRAM_DIR]\n"
    "      one line per station of Mercury, Venus or Mars in the N months\n"
    "      (default 4) from the start month: DD.MM.YYYY HH:MM (UT), body, R (turns\n"
    "      retrograde) or D (turns direct); tab-separated\n"
    "  best --kind trips|service|sale --birth DD.MM.YYYY [BIRTH_TIME] [--start MM.YYYY]\n"
    "       [--months N] [--dir PROGRAM_DIR]\n"
    "      the best windows for the kind's action in the N months (1 to 12,\n"
    "      default 4) from the start month: runs of days with a positive sum of\n"
    "      accepted ratings, none with a text rated -4 or -5 (for sale none\n"
    "      with Mercury retrograde), whose best day sums to 2 or more; the five\n"
    "      with the highest sums, highest first. One line per window: first and\n"
    "      last day (DD.MM.YYYY), score, peak day; tab-separated. After it one\n"
    "      line per reason and caution: a tab, + or -, a tab, then the influence\n"
    "      as influences prints it. No lines when no window qualifies\n"
    "  forecast --kind trips|service|sale --name NAME --birth DD.MM.YYYY [BIRTH_TIME]\n"
    "           [--start MM.YYYY] [--dir PROGRAM_DIR] [--pdf FILE] [--ics FILE]\n"
    "      writes the four monthly pages from the start month (default: the\n"
    "      current month) into PROGRAM_DIR/Output, then Output/Prognoz.zip;\n"
    "      progress on stderr, the page paths on stdout; with --pdf also the\n"
    "      whole forecast as one short PDF in FILE, written last (its path\n"
    "      on stdout after the pages); with --ics a calendar file (iCalendar)\n"
    "      of the strong influences and of Mercury's and Mars's stations, after\n"
    "      the PDF (its path on stdout last)\n"
    "  places NAME [--dir PROGRAM_DIR]\n"
    "      the birth places of that name (case, blanks and hyphens ignored, е and\n"
    "      ё alike), one per line: Russian name, region, IANA time zone, the\n"
    "      zone's UTC offset now (+HH:MM or -HH:MM); tab-separated; exit status 1\n"
    "      when there is none, with the nearest names on stderr\n"
    "  check-data [--dir PROGRAM_DIR]\n"
    "      checks the interpretation files go.dat, servis.dat and sale.dat\n"
    "\n"
    "  --version\n"
    "      the program's version\n"
    "\n"
    "BIRTH_TIME: [--time HH:MM] [--place NAME] [--tz ZONE] [--utc-offset +HH:MM]\n"
    "      the time of birth on the clocks of the birth place, and that place: a\n"
    "      name of the place list (see places), an IANA zone (Europe/Moscow),\n"
    "      which wins over the place's, or the clocks' offset from UTC, which\n"
    "      wins over both. The chart is computed at that moment; a time the\n"
    "      clocks showed twice or never is refused. Without --time the chart is\n"
    "      computed at noon UT of the birth date, and the place tells which\n"
    "      hours that date spans.\n"
    "\n"
    "PROGRAM_DIR holds System/ and Output/. Without --dir: the current directory\n"
    "when it holds System/, else your own, ${XDG_DATA_HOME:-~/.local/share}/\n"
    "meridan-diru, set up from the installed data as the desktop launcher sets\n"
    "it up, and named on the first line of stderr.\n"
    "Exit status: 0 success, 1 runtime error, 2 wrong arguments.\n";

constexpr const char* kTryHelp = "Try 'meridan --help'.\n";

struct Context {
  std::ostream& out;
  std::ostream& err;
};

ForecastKind ParseKind(const std::string& text) {
  for (const ForecastKindInfo& info : kForecastKinds)
    if (info.key == text) return info.kind;
  throw UsageError("--kind wants trips, service or sale, not '" + Shown(text) + "'");
}

void PrintLongitudes(const Context& io, const Longitudes& longitudes) {
  for (const Body body : kComputedBodies) {
    char line[80];
    std::snprintf(line, sizeof line, "%d\t%s\t%.6f\n", static_cast<int>(body), BodyName(body),
                  longitudes[body]);
    io.out << line;
  }
}

// Julian days beyond this lie past any calendar the program converts.
constexpr double kJulianDayLimit = 1e7;

int Positions(const Context& io, const Options& options) {
  const auto date = options.Get("--date");
  const auto jd = options.Get("--jd");
  if (date.has_value() == jd.has_value()) throw UsageError("give either --date or --jd");
  double t;
  if (date) {
    const Date d = ParseDate("--date", *date);
    t = NoonJulianDay(d.day, d.month, d.year);
  } else {
    t = ParseNumber("--jd", *jd, kJulianDayLimit);
  }
  const PlutoTable pluto = PlutoTable::Load(ProgramDirOf(options).data() / kPlutoTableName);
  Longitudes longitudes{};
  SunVector sun;
  for (const Body body : kComputedBodies) longitudes[body] = BodyLongitude(body, t, &pluto, sun);
  PrintLongitudes(io, longitudes);
  return 0;
}

// "DD.MM.YYYY HH:MM" of an instant, to the minute.
std::string MinuteText(double julianDay) {
  const CalendarMinute moment = ToCalendarMinute(julianDay);
  return DateInDigits(moment.date) + ' ' + TimeInDigits({moment.hour, moment.minute});
}

int Chart(const Context& io, const Options& options) {
  const BirthOptions given = ReadBirthOptions(options);
  const Date birth = given.date;
  const BirthHour& hour = given.hour;
  const PlutoTable pluto = PlutoTable::Load(ProgramDirOf(options).data() / kPlutoTableName);
  io.out << "# " << MinuteText(NatalMoment(birth, hour)) << " UT\n";
  PrintLongitudes(io, ComputeNatalChart(birth, hour, pluto));
  return 0;
}

// No texts is no error (a missing interpretation file yields none), but
// a forecast or a query without them should not look like an ordinary
// one.
void TellWhenThereAreNoTexts(const Context& io, const std::optional<NoTexts>& noTexts,
                             const char* consequence) {
  if (noTexts)
    io.err << "meridan: " << Printable(noTexts->file.string())
           << (noTexts->missing ? " does not exist" : " holds no texts") << "; " << consequence
           << std::endl;
}

// What a query command's output is without texts: every aspect is rated 0.
constexpr const char* kEveryRatingIsZero = "every rating is 0";

// The month of a scan or series, read as a forecast of the kind reads it,
// from the tables of the program directory; nothing there is written.
struct MonthQuery {
  ForecastKind kind;
  MonthAnalysis month;
};

MonthQuery QueryMonth(const Context& io, const Options& options) {
  const ForecastKind kind = ParseKind(options.Require("--kind"));
  const BirthOptions birth = ReadBirthOptions(options);
  const YearMonth month = ParseMonth("--month", options.Require("--month"));
  ForecastContext context(ProgramDirOf(options).root);
  TellWhenThereAreNoTexts(io, NoTextsIn(context.interpretations(kind)), kEveryRatingIsZero);
  return {kind, AnalyseMonth(context, kind,
                             ComputeNatalChart(birth.date, birth.hour, context.pluto()), month)};
}

int Scan(const Context& io, const Options& options) {
  const MonthScan scan = QueryMonth(io, options).month.scan;
  for (const DayList& day : scan.days)
    for (const TransitHit& hit : day.hits)
      io.out << hit.day << '\t' << hit.key.transitBody << '\t' << hit.key.aspect << '\t'
             << hit.key.natalBody << '\t' << hit.rating << '\t' << (hit.accepted ? 1 : 0) << '\t'
             << PageLineLength(hit.rating, hit.text) << '\n';
  return 0;
}

int Series(const Context& io, const Options& options) {
  const MonthQuery query = QueryMonth(io, options);
  const SeriesStore& store = query.month.series;
  const int n = store.SampleCount;
  io.out << n << '\n';
  const auto samples = static_cast<size_t>(n);
  for (size_t m = 1; m <= samples + 3; ++m)
    io.out << store.RatingSeries[m] << (m < samples + 3 ? ' ' : '\n');
  if (KindInfo(query.kind).retrogradeMarks)
    for (size_t m = 1; m <= samples; ++m)
      io.out << store.RetrogradeMarks[m] << (m < samples ? ' ' : '\n');
  return 0;
}

// The day of the system clock, read once.
Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

// The start month of a forecast: --start, or the month of the clock.
YearMonth StartMonth(const Options& options) {
  if (const auto text = options.Get("--start")) return ParseMonth("--start", *text);
  return ClockMonth(Today());
}

std::string DayText(double julianDay) { return DateInDigits(DateOf(julianDay)); }

// One influence as the influences command prints it, with its line end.
void PrintInfluence(const Context& io, const InfluenceText& text) {
  const Influence& influence = text.influence;
  io.out << DayText(influence.firstNoon) << '\t' << DayText(influence.lastNoon) << '\t';
  for (size_t i = 0; i < influence.exact.size(); ++i)
    io.out << (i ? "," : "") << MinuteText(influence.exact[i]);
  io.out << '\t' << influence.key.transitBody << '\t' << influence.key.aspect << '\t'
         << influence.key.natalBody << '\t' << text.rating << '\t' << (text.accepted ? 1 : 0);
  // How far the days depend on an unknown birth hour.
  if (const auto& windows = influence.hourWindows)
    io.out << '\t' << DayText(windows->possible.firstNoon) << '\t'
           << DayText(windows->possible.lastNoon) << '\t' << (windows->sure ? "sure" : "maybe");
  else
    io.out << "\t-\t-\t-";
  io.out << '\n';
}

int Influences(const Context& io, const Options& options) {
  const ForecastKind kind = ParseKind(options.Require("--kind"));
  const BirthOptions given = ReadBirthOptions(options);
  const Date birth = given.date;
  const BirthHour& hour = given.hour;
  const YearMonth start = StartMonth(options);
  const fs::path dataDir = ProgramDirOf(options).data();
  const PlutoTable pluto = PlutoTable::Load(dataDir / kPlutoTableName);
  const InterpretationFile texts =
      InterpretationFile::Load(dataDir / std::string(KindInfo(kind).interpretationFile));
  TellWhenThereAreNoTexts(io, NoTextsIn(texts), kEveryRatingIsZero);
  std::vector<Influence> found =
      FindInfluences(ComputeNatalChart(birth, hour, pluto), start, kForecastMonths);
  if (!hour.moment) AddHourWindows(found, ComputeNatalArcs(birth, hour, pluto));
  const std::vector<InfluenceText> influences = AttachInfluenceTexts(found, texts);
  for (const InfluenceText& text : influences) PrintInfluence(io, text);
  return 0;
}

// --months: a whole number from 1 to most, or `otherwise` when not given.
int MonthCount(const Options& options, int most, int otherwise) {
  const auto text = options.Get("--months");
  if (!text) return otherwise;
  const double value = ParseNumber("--months", *text, most);
  if (value < 1 || value != static_cast<int>(value))
    throw UsageError("--months wants a whole number of months from 1 to " + std::to_string(most) +
                     ", not '" + Shown(*text) + "'");
  return static_cast<int>(value);
}

int Best(const Context& io, const Options& options) {
  const ForecastKind kind = ParseKind(options.Require("--kind"));
  const BirthOptions given = ReadBirthOptions(options);
  const Date birth = given.date;
  const BirthHour& hour = given.hour;
  const YearMonth start = StartMonth(options);
  const int months = MonthCount(options, kMostBestDayMonths, kForecastMonths);
  ForecastContext context(ProgramDirOf(options).root);
  TellWhenThereAreNoTexts(io, NoTextsIn(context.interpretations(kind)), kEveryRatingIsZero);
  std::vector<BestWindow> windows =
      SearchBestWindows(ComputeNatalChart(birth, hour, context.pluto()), start, months, kind,
                        context.interpretations(kind));
  // Reasons and cautions read as influences prints them, hour windows too.
  if (!hour.moment) {
    const NatalArcs arcs = ComputeNatalArcs(birth, hour, context.pluto());
    for (BestWindow& window : windows)
      for (std::vector<InfluenceText>* texts : {&window.reasons, &window.cautions})
        for (InfluenceText& text : *texts)
          text.influence.hourWindows = FindHourWindows(
              text.influence, arcs[static_cast<size_t>(text.influence.key.natalBody)]);
  }
  for (const BestWindow& window : windows) {
    io.out << DayText(window.firstNoon) << '\t' << DayText(window.lastNoon) << '\t' << window.score
           << '\t' << DayText(window.peakNoon) << '\n';
    for (const InfluenceText& text : window.reasons) {
      io.out << "\t+\t";
      PrintInfluence(io, text);
    }
    for (const InfluenceText& text : window.cautions) {
      io.out << "\t-\t";
      PrintInfluence(io, text);
    }
  }
  return 0;
}

// Stations are asked for over at most a century.
constexpr int kMostStationMonths = 1200;

int Stations(const Context& io, const Options& options) {
  const YearMonth start = StartMonth(options);
  int months = kForecastMonths;
  if (const auto text = options.Get("--months")) {
    months = ParseWholeNumber("--months", *text, 1, kMostStationMonths);
  }
  for (const Station& station : FindStations(start, months))
    io.out << MinuteText(station.moment) << '\t' << station.body << '\t'
           << (station.retrograde ? 'R' : 'D') << '\n';
  return 0;
}

void TellWhatPackingDid(const Context& io, const fs::path& archive, const PackReport& packed) {
  for (const fs::path& file : packed.notPacked)
    io.err << "meridan: " << Printable(file.string())
           << " is not a regular file; left out of the archive" << std::endl;
  for (const PackReport::LeftOut& file : packed.leftOut)
    io.err << "meridan: " << Printable(file.path.string())
           << " is left out of the archive: " << Printable(file.why) << std::endl;
  if (packed.replacedLink)
    io.err << "meridan: " << Printable(archive.string())
           << " was a link; the archive replaces it, and what it pointed at is untouched"
           << std::endl;
  for (const PackReport::DroppedEntry& entry : packed.droppedEntries)
    io.err << "meridan: an entry of the old archive was dropped, "
           << Printable(entry.name + ": " + entry.why) << std::endl;
  if (!packed.unreadableNotice.empty())
    io.err << "meridan: " << Printable(packed.unreadableNotice) << std::endl;
}

// The command line speaks English throughout, its progress lines too:
// scripts read its messages, and the Russian interface is the window's.
constexpr const char* kEnglishMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};

// A file option that, where given, must name a file.
std::optional<std::string> FileOption(const Options& options, const std::string& name) {
  std::optional<std::string> file = options.Get(name);
  if (file && file->empty()) throw UsageError(name + " wants a file name");
  return file;
}

void RequireOutputDirectory(const ForecastContext& context) {
  std::error_code ec;
  const fs::file_status output = fs::status(context.dir().output(), ec);
  if (!fs::is_directory(output))
    throw std::runtime_error("the output directory " + context.dir().output().string() +
                             (fs::exists(output) ? " is not a directory" : " does not exist"));
}

// The run, saying on stderr each month as it is done and while another
// forecast keeps it waiting, with each page's path on stdout.
ForecastResult RunWithProgress(const Context& io, ForecastContext& context,
                               const ForecastRequest& request) {
  return RunForecast(
      context, request,
      [&](int, const MonthForecast& done) {
        io.err << kEnglishMonths[done.month.month - 1] << ' ' << done.month.year << ": done"
               << std::endl;
        io.out << done.page.string() << '\n';
      },
      [&] {
        io.err << "meridan: waiting for another forecast in "
               << Printable(context.programDir().string()) << " to finish" << std::endl;
      });
}

// The PDF or the calendar, made or reported on its own: the pages and the
// archive stand whatever becomes of it. Its path on stdout once written;
// false when it was not.
bool WriteBesidePages(const Context& io, const char* what, const std::string& path,
                      const std::function<void()>& write) {
  try {
    write();
    io.out << path << '\n';
    return true;
  } catch (const std::exception& e) {
    io.err << "meridan: the " << what
           << " was not written (the pages and the archive are): " << Printable(e.what()) << '\n';
    return false;
  }
}

int Forecast(const Context& io, const Options& options) {
  const ForecastKind kind = ParseKind(options.Require("--kind"));
  const std::string nameUtf8 = ParseName(options.Require("--name"), kMaxNameLength);
  const BirthOptions birth = ReadBirthOptions(options);
  const Date today = Today();
  const YearMonth start = StartMonth(options);
  const std::optional<std::string> pdf = FileOption(options, "--pdf");
  const std::optional<std::string> ics = FileOption(options, "--ics");

  const ForecastRequest request{kind,       NameForPage(nameUtf8),   birth.date, start, birth.hour,
                                birth.time, NameForPage(birth.place)};
  ForecastContext context(ProgramDirOf(options).root);
  RequireOutputDirectory(context);
  const ForecastResult run = RunWithProgress(io, context, request);
  TellWhatPackingDid(io, context.dir().archive(), run.packed);
  TellWhenThereAreNoTexts(io, run.noTexts, "the forecast has no texts");
  int status = 0;
  if (!run.scratchFailure.empty()) {
    io.err << "meridan: " << Printable(run.scratchFailure)
           << " (the pages and the archive are written)" << std::endl;
    status = 1;
  }
  // What the PDF and the calendar both tell beside the months is read off
  // the run once, by the first of them to be written.
  std::optional<ForecastFindings> findings;
  const auto found = [&]() -> const ForecastFindings& {
    if (!findings) findings = FindingsOf(run, context);
    return *findings;
  };
  if (pdf && !WriteBesidePages(io, "PDF", *pdf, [&] {
        WriteForecastDigest(run, found(), today, *pdf, DigestProcess::kChild);
      }))
    status = 1;
  if (ics && !WriteBesidePages(io, "calendar", *ics, [&] {
        WriteForecastCalendar(run.request, found(), context.programDir(), *ics, std::time(nullptr));
      }))
    status = 1;
  return status;
}

int CheckData(const Context& io, const Options& options) {
  // A query takes no lock and writes nothing, not even the lock file: a
  // forecast never rewrites the interpretation files, and every file it
  // does write (its scratch files, pages, archive) is renamed into place
  // whole, so a reader beside it sees each file old or new, never half.
  // Waiting for a forecast would buy nothing and would need a lock file in
  // a System/ the user may not be able to write.
  return CheckInterpretationData(ProgramDirOf(options).data(), io.out) ? 0 : 1;
}

// places NAME: the places of the list with that name, each with its zone's
// offset at this instant.
constexpr const char* kPlaceOperand = "NAME";

int Places(const Context& io, const Options& options) {
  const auto name = options.Get(kPlaceOperand);
  if (!name || name->empty()) throw UsageError("give the place's name: meridan places NAME");
  if (!Utf8Length(*name)) throw UsageError("the place's name is not valid UTF-8 text");
  const PlaceList list = LoadPlaceList(ProgramDirOf(options).data());
  const std::string wanted = Utf8ToCp1251(*name);
  const std::vector<Place> found = FindPlaces(list, wanted);
  if (found.empty()) {
    io.err << "meridan: no place is called '" << Shown(*name) << "'";
    const std::vector<std::string> near = SuggestPlaceNames(list, wanted);
    for (size_t i = 0; i < near.size(); ++i)
      io.err << (i ? ", " : "; the nearest names: ") << Cp1251ToUtf8(near[i]);
    io.err << '\n';
    return 1;
  }
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  const double julianDay = JulianDay(utc.tm_mday, utc.tm_mon + 1, utc.tm_year + 1900, utc.tm_hour,
                                     utc.tm_min, utc.tm_sec);
  int status = 0;
  for (const Place& place : found) {
    const std::optional<int> offset = ZoneOffsetAt(place.zone, julianDay);
    if (!offset) {
      io.err << "meridan: the system's time zone database has no zone " << Printable(place.zone)
             << '\n';
      status = 1;
    }
    io.out << Cp1251ToUtf8(place.name) << '\t' << Cp1251ToUtf8(place.region) << '\t' << place.zone
           << '\t' << (offset ? FormatUtcOffset(*offset) : "?") << '\n';
  }
  return status;
}

struct Command {
  const char* name;
  std::vector<std::string> options;
  int (*run)(const Context&, const Options&);
  // The name of an operand that comes before the options (places NAME);
  // it is handed over among the options under that name.
  const char* operand = nullptr;
  // Whether it reads the program directory (stations computes only).
  bool readsProgramDir = true;
};

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"positions", {"--date", "--jd", "--dir"}, Positions},
      {"chart", WithBirthOptions({"--birth", "--dir"}), Chart},
      {"scan", WithBirthOptions({"--kind", "--birth", "--month", "--dir"}), Scan},
      {"series", WithBirthOptions({"--kind", "--birth", "--month", "--dir"}), Series},
      {"influences", WithBirthOptions({"--kind", "--birth", "--start", "--dir"}), Influences},
      {"stations", {"--start", "--months", "--dir"}, Stations, nullptr, false},
      {"best", WithBirthOptions({"--kind", "--birth", "--start", "--months", "--dir"}), Best},
      {"forecast",
       WithBirthOptions({"--kind", "--name", "--birth", "--start", "--dir", "--pdf", "--ics"}),
       Forecast},
      {"check-data", {"--dir"}, CheckData},
      {"places", {"--dir"}, Places, kPlaceOperand},
  };
  return kCommands;
}

}  // namespace

int RunCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
  const Context io{out, err};
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kUsage;
    return 0;
  }
  if (args[0] == "--version") {
    out << "meridan " MERIDAN_VERSION "\n";
    return 0;
  }
  for (const Command& command : Commands()) {
    if (args[0] != command.name) continue;
    try {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      std::optional<std::string> operand;
      if (command.operand && !rest.empty() && !rest.front().starts_with("--")) {
        operand = rest.front();
        rest.erase(rest.begin());
      }
      Options options = ParseOptions(rest, command.options);
      if (operand) options.values[command.operand] = *operand;
      if (options.help) {
        out << kUsage;
        return 0;
      }
      if (command.readsProgramDir) ChooseProgramDir(options, err);
      const int status = command.run(io, options);
      // Output that could not be written is a failure of its own, reported
      // once, after the command has done all its work.
      out.flush();
      if (!out) {
        err << "meridan: " << command.name
            << ": the output could not be written (was its reader closed?)\n";
        return 1;
      }
      return status;
    } catch (const UsageError& e) {
      err << "meridan " << command.name << ": " << e.what() << '\n' << kTryHelp;
      return 2;
    } catch (const std::exception& e) {
      err << "meridan: " << Printable(e.what()) << '\n';
      return 1;
    }
  }
  err << "meridan: unknown command '" << Shown(args[0]) << "'\n" << kTryHelp;
  return 2;
}

int RunCommandLine(int argc, char** argv) {
  return RunCommandLine(argc, argv, std::cout, std::cerr);
}

}  // namespace meridan
