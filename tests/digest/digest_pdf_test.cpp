// The digest read back as a reader's tools see it (poppler-utils' pdftotext,
// pdfimages and pdffonts): the months on their own pages in order, one graph
// each, every text of a month once with its days, fonts embedded, and a month
// too long for a page carried over between its texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <sstream>

#include "base/cp1251.h"
#include "output/digest/digest.h"
#include "output/digest/digest_boundary.h"
#include "output/digest/digest_text.h"
#include "support/scratch_program_dir.h"
#include "texts/best_days_text.h"
#include "transits/aspects.h"
#include "transits/forecast_kind.h"
#include "transits/natal.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;

// What a command prints; a command that fails fails the test.
std::string Run(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return out;
  }
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << command << ": " << out;
  return out;
}

// Text compared as pdftotext gives it back: without white space, and without
// hyphens, which it drops where a word was broken after one at a line end.
std::string NoSpace(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '-') out += c;
  return out;
}

size_t Count(const std::string& haystack, const std::string& needle) {
  size_t count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1))
    ++count;
  return count;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The PDF as the tools read it.
struct ReadBack {
  std::vector<std::string> pages;  // the text of each page
  std::string info, images, fonts;

  explicit ReadBack(const fs::path& file) {
    const std::string quoted = "'" + file.string() + "'";
    std::string text = Run("pdftotext -enc UTF-8 " + quoted + " -");
    for (size_t at; (at = text.find('\f')) != std::string::npos; text.erase(0, at + 1))
      pages.push_back(text.substr(0, at));
    info = Run("pdfinfo " + quoted);
    images = Run("pdfimages -list " + quoted);
    fonts = Run("pdffonts " + quoted);
  }
  // The page (0-based) each month's heading starts, in the order found.
  std::vector<size_t> HeadingPages(const std::string& prefix) const {
    std::vector<size_t> found;
    for (size_t p = 0; p < pages.size(); ++p)
      for (const std::string& line : Lines(pages[p]))
        if (line.starts_with(prefix) && line.ends_with(" года")) found.push_back(p);
    return found;
  }
};

// The words of a page (0-based) with the top of each, as pdftotext places them.
struct Word {
  std::string text;
  double top;
};
std::vector<Word> Words(const fs::path& file, size_t page) {
  const std::string p = std::to_string(page + 1);
  const std::string html =
      Run("pdftotext -bbox -enc UTF-8 -f " + p + " -l " + p + " '" + file.string() + "' -");
  std::vector<Word> words;
  for (size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
    const size_t yMin = html.find("yMin=\"", at) + 6, open = html.find('>', at) + 1;
    words.push_back(
        {html.substr(open, html.find("</word>", open) - open), std::stod(html.substr(yMin))});
  }
  return words;
}

constexpr YearMonth kStart{2026, 12};
constexpr Date kBirth{20, 5, 1984};
const ReaderClock kClock{"Europe/Moscow"};

class DigestPdf : public ::testing::Test {
 protected:
  // Four months from December 2026, scanned with the table given.
  Digest Make(ForecastKind kind, const InterpretationFile& table) {
    const NatalChart natal =
        ComputeNatalChart(kBirth, PlutoTable::Load(dir.system() / "pluto.sys"));
    Digest digest{kind,
                  {W("Иван Петров")},
                  kBirth,
                  {12, 11, 2026},
                  {},
                  FindInfluences(natal, kStart, 4),
                  FindStations(kStart, 4),
                  {},
                  kClock,
                  false};
    for (size_t k = 0; k < 4; ++k) {
      const YearMonth month = kStart.Plus(static_cast<int>(k));
      scans[k] = AttachTexts(ScanTransits(natal, month), table);
      BuildRatingSeries(scans[k].DaySums(), kind, month, series[k]);
      // The page graph's geometry; the curve a rising line across the month.
      DigestGraph graph{626,
                        205,
                        72,
                        6,
                        574 - 15 * (31 - scans[k].length),
                        147,
                        90,
                        15,
                        92,
                        154,
                        172,
                        scans[k].length,
                        {},
                        {},
                        "Месяц"};
      for (int i = 0; i <= 3 * scans[k].length; ++i)
        graph.curve.push_back({90.0 + 5 * i, 140.0 - i});
      digest.months.push_back({&scans[k], &series[k], graph});
    }
    influences = digest.influences;
    digest.best = FindBestWindows(scans, kind, AttachInfluenceTexts(digest.influences, table));
    return digest;
  }
  // The digest rendered as the module gets it: laid out as C data and
  // rebuilt, so that whatever the crossing lost would show here.
  ReadBack Write(const Digest& digest) {
    const fs::path file = dir.root() / "digest.pdf";
    const DigestData data(digest);
    testing::WriteFile(file, RenderDigest(ReceivedDigest(*data.get()).get()));
    return ReadBack(file);
  }
  std::vector<const MonthScan*> Scans() const {
    return {&scans[0], &scans[1], &scans[2], &scans[3]};
  }
  // The running text of month k's pages, up to the next month or the closing
  // part, without the heads of continued pages and the page numbers.
  std::string MonthPart(const ReadBack& pdf, const std::vector<size_t>& headings, size_t k) const {
    std::string part;
    const size_t end = k + 1 < headings.size() ? headings[k + 1] : pdf.pages.size();
    for (size_t p = headings[k]; p < end; ++p)
      for (const std::string& line : Lines(pdf.pages[p]))
        if (!line.ends_with("(продолжение)") && !line.starts_with("Страница ")) part += line + '\n';
    return part.substr(0, part.find("Как читать прогноз\n"));
  }

  ScratchProgramDir dir;
  std::array<MonthScan, kForecastMonths> scans;
  std::array<SeriesStore, kForecastMonths> series;
  std::vector<Influence> influences;  // of the last digest made
};

TEST_F(DigestPdf, FourMonthsInOrderEachTextOnceWithItsDaysFontsEmbedded) {
  const Digest digest =
      Make(ForecastKind::Sale, InterpretationFile::Load(dir.system() / "sale.dat"));
  const ReadBack pdf = Write(digest);

  EXPECT_NE(pdf.info.find("Title:           Прогноз: покупка-продажа — Иван Петров, декабрь 2026 – "
                          "март 2027\n"),
            std::string::npos)
      << pdf.info;
  EXPECT_NE(pdf.info.find("Author:          Meridan Diru\n"), std::string::npos);
  EXPECT_NE(pdf.info.find("(A4)"), std::string::npos);
  // Tagged as headings, paragraphs, lists and figures, in Russian, with a
  // bookmark for the best days, each month and how to read it.
  EXPECT_NE(pdf.info.find("Tagged:          yes\n"), std::string::npos);
  const std::string bytes = testing::ReadFile(dir.root() / "digest.pdf");
  EXPECT_NE(bytes.find("/Lang (ru-RU)"), std::string::npos);
  for (const char* tag :
       {"/S /Document", "/S /H1", "/S /H2", "/S /P", "/S /L\n", "/S /LI", "/S /Figure"})
    EXPECT_NE(bytes.find(tag), std::string::npos) << tag;
  EXPECT_EQ(Count(bytes, "/Title <"), 7u);  // the document's and six bookmarks'

  const std::vector<size_t> headings = pdf.HeadingPages("Покупка-продажа. Прогноз на ");
  ASSERT_EQ(headings.size(), 4u);
  // The best days come first, each window with its days, best day, and the
  // influences for and against it with their exact days.
  ASSERT_GT(headings[0], 0u);
  EXPECT_EQ(Lines(pdf.pages[0])[0], "Лучшие дни для покупки и продажи машины");
  std::string best;
  for (size_t p = 0; p < headings[0]; ++p) best += NoSpace(pdf.pages[p]);
  ASSERT_FALSE(digest.best.empty());
  size_t at = 0;
  for (const BestWindow& window : digest.best) {
    at = best.find(NoSpace(Cp1251ToUtf8(WindowDays(window))), at);
    ASSERT_NE(at, std::string::npos) << Cp1251ToUtf8(WindowDays(window));
    EXPECT_NE(best.find(NoSpace(Cp1251ToUtf8(DayWithWeekday(window.peakNoon))), at),
              std::string::npos);
    for (const auto* list : {&window.reasons, &window.cautions})
      for (const InfluenceText& text : *list) {
        const AspectKey& key = text.influence.key;
        std::string line = Cp1251ToUtf8(InfluenceTitle(key.transitBody, key.aspect, key.natalBody));
        if (!text.influence.exact.empty()) line += ", " + ExactText(text.influence, kClock);
        EXPECT_NE(best.find(NoSpace(line), at), std::string::npos) << line;
      }
  }
  const char* months[] = {"декабрь 2026", "январь 2027", "февраль 2027", "март 2027"};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(Lines(pdf.pages[headings[k]])[0],
              std::string("Покупка-продажа. Прогноз на ") + months[k] + " года");
    if (k > 0) {
      EXPECT_GT(headings[k], headings[k - 1]);
    }
  }

  // The graphs are lines and text, not pictures; a month's graph has a day
  // number under every second day it has, and no more.
  EXPECT_EQ(Lines(pdf.images).size(), 2u) << pdf.images;
  for (size_t k = 0; k < 4; ++k) {
    std::vector<int> numbers, expected;
    for (int d = 2; d <= scans[k].length; d += 2) expected.push_back(d);
    const std::vector<Word> words = Words(dir.root() / "digest.pdf", headings[k]);
    const auto caption =
        std::find_if(words.begin(), words.end(), [](const Word& w) { return w.text == "Месяц"; });
    ASSERT_NE(caption, words.end());
    for (const Word& w : words)
      if (w.top < caption->top && w.top > caption->top - 20 &&
          w.text.find_first_not_of("0123456789") == std::string::npos)
        numbers.push_back(std::stoi(w.text));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, expected) << k;
  }

  // Every font embedded: the column "emb" is the fifth from the end.
  const std::vector<std::string> fonts = Lines(pdf.fonts);
  ASSERT_GT(fonts.size(), 2u);
  for (size_t i = 2; i < fonts.size(); ++i) {
    std::istringstream row(fonts[i]);
    std::vector<std::string> columns;
    for (std::string column; row >> column;) columns.push_back(column);
    ASSERT_GE(columns.size(), 5u);
    EXPECT_EQ(columns[columns.size() - 5], "yes") << fonts[i];
  }

  const std::vector<const MonthScan*> monthScans = Scans();
  size_t continuing = 0;
  for (size_t k = 0; k < 4; ++k) {
    const std::string part = NoSpace(MonthPart(pdf, headings, k));
    std::set<std::string> accepted;  // the texts the month's page prints
    for (const DayList& day : monthScans[k]->days)
      for (const TransitHit& hit : day.hits)
        if (hit.accepted) accepted.insert(HitText(hit));
    const std::vector<DigestEntry> entries = MonthEntries(monthScans, k);
    ASSERT_EQ(entries.size(), accepted.size()) << k;
    ASSERT_GT(entries.size(), 10u);
    // A text that goes on from the month before stands whole only there;
    // here one line says until when (and, should it come back later in the
    // month, it stands again with those days). The others stand once.
    const MonthTexts texts = SplitMonthTexts(entries, monthScans[k]->month, influences);
    continuing += texts.continuing.size();
    for (const DigestEntry& entry : texts.continuing) {
      const bool recurs = std::any_of(texts.beginning.begin(), texts.beginning.end(),
                                      [&](const DigestEntry& e) { return e.text == entry.text; });
      EXPECT_EQ(Count(part, NoSpace(entry.text)), recurs ? 1u : 0u) << k << ": " << entry.text;
      const DayRun& run = entry.runs.front();
      EXPECT_NE(part.find(NoSpace(", до " + DayText(run.toMonth, run.toDay))), std::string::npos);
    }
    for (const DigestEntry& entry : texts.beginning)
      EXPECT_EQ(Count(part, NoSpace(WindowsText(entry, entry.runs, influences, kClock) + " — " +
                                    entry.text)),
                1u)
          << k << ": " << entry.text;
    for (const DigestEntry& entry : entries) {
      EXPECT_EQ(accepted.count(entry.text), 1u) << entry.text;
      // Within the month, the runs are exactly the days the page prints it.
      for (int d = 1; d <= monthScans[k]->length; ++d) {
        bool printed = false;
        for (const TransitHit& hit : monthScans[k]->days[static_cast<size_t>(d - 1)].hits)
          printed = printed || (hit.accepted && HitText(hit) == entry.text);
        bool inRun = false;
        for (const DayRun& run : entry.runs)
          inRun = inRun || ((run.fromMonth < monthScans[k]->month || run.fromDay <= d) &&
                            (run.toMonth > monthScans[k]->month || d <= run.toDay));
        EXPECT_EQ(inRun, printed) << entry.text << " day " << d;
      }
    }
  }
  EXPECT_GT(continuing, 0u);
  // A carried-over line ends at a word, never right after a stop or a comma.
  for (const std::string& page : pdf.pages)
    for (const char* bad : {".…", ",…", ".,до", "—…"})
      EXPECT_EQ(NoSpace(page).find(NoSpace(bad)), std::string::npos) << bad << "\n" << page;
  // Windows reach past the forecast's start, exact days are named, and the
  // months name Mercury's turns (back on 9 February 2027, forward on 3 March).
  EXPECT_NE(NoSpace(MonthPart(pdf, headings, 0)).find("ноября"), std::string::npos);
  EXPECT_NE(NoSpace(MonthPart(pdf, headings, 0)).find(NoSpace(", точно ")), std::string::npos);
  EXPECT_NE(NoSpace(pdf.pages[headings[2]]).find(NoSpace("Меркурий начинает попятное движение")),
            std::string::npos);
  EXPECT_NE(NoSpace(pdf.pages[headings[3]])
                .find(NoSpace("Меркурий возвращается к прямому движению 3 марта")),
            std::string::npos);
  // Mercury stands still on 9 February 2027 and turns direct on 3 March.
  EXPECT_NE(MonthPart(pdf, headings, 0).find("Ретроградного Меркурия в этом месяце нет."),
            std::string::npos);
  EXPECT_NE(NoSpace(MonthPart(pdf, headings, 2))
                .find(NoSpace("Ретроградный Меркурий (красные отметки на графике): 10 февраля – "
                              "3 марта.")),
            std::string::npos);

  const std::string last = NoSpace(pdf.pages.back());
  EXPECT_NE(last.find(NoSpace("Прогноз составлен 12 ноября 2026 года.")), std::string::npos);
  EXPECT_NE(last.find(NoSpace("не являются гарантией")), std::string::npos);
  EXPECT_EQ(last.find(NoSpace("дорожного движения")), std::string::npos) << "a purchase-sale note";
  for (size_t p = 0; p < pdf.pages.size(); ++p)
    EXPECT_NE(pdf.pages[p].find("Страница " + std::to_string(p + 1) + " из " +
                                std::to_string(pdf.pages.size())),
              std::string::npos)
        << p;
}

// Without a birth time the texts whose days hang on the hour say so, and
// the closing part says how to make them exact; exact moments are on the
// reader's clock. With a time none of it shows.
TEST_F(DigestPdf, AnUnknownBirthHourIsToldWhereItMovesTheDays) {
  const auto table = InterpretationFile::Load(dir.system() / "go.dat");
  Digest digest = Make(ForecastKind::Trips, table);
  const std::string known = NoSpace([&] {
    std::string all;
    for (const std::string& page : Write(digest).pages) all += page;
    return all;
  }());
  EXPECT_EQ(known.find(NoSpace("час рождения не указан")), std::string::npos);
  EXPECT_EQ(known.find("UT"), std::string::npos);
  EXPECT_NE(known.find(NoSpace(" по Москве")), std::string::npos);

  AddHourWindows(digest.influences, ComputeNatalArcs(kBirth, BirthHour{},
                                                     PlutoTable::Load(dir.system() / "pluto.sys")));
  // This birth has no influence that some hour keeps away: make every
  // fifth one so.
  for (size_t i = 0; i < digest.influences.size(); i += 5)
    digest.influences[i].hourWindows->sure.reset();
  digest.hourUnknown = true;
  influences = digest.influences;
  const ReadBack pdf = Write(digest);
  const std::vector<size_t> headings = pdf.HeadingPages("Автопрогноз на ");
  ASSERT_EQ(headings.size(), 4u);
  size_t maybe = 0, moved = 0;
  for (size_t k = 0; k < 4; ++k) {
    const std::string part = NoSpace(MonthPart(pdf, headings, k));
    const MonthTexts texts = SplitMonthTexts(MonthEntries(Scans(), k), scans[k].month, influences);
    for (const DigestEntry& entry : texts.beginning) {
      const std::string note = HourNoteText(entry, entry.runs, influences);
      const std::string days = WindowsText(entry, entry.runs, influences, kClock);
      EXPECT_EQ(
          Count(part, NoSpace(days + (note.empty() ? "" : " (" + note + ")") + " — " + entry.text)),
          1u)
          << days << " " << note;
      maybe += note.starts_with("может не наступить");
      moved += note.starts_with("даты могут сдвинуться");
    }
  }
  EXPECT_GT(maybe, 0u);
  EXPECT_GT(moved, 0u);
  EXPECT_NE(NoSpace(pdf.pages.back())
                .find(NoSpace("Чтобы даты стали точными, укажите время и место рождения")),
            std::string::npos);
}

// A file whose every record is a long text (and one text longer than a page)
// makes the months run over several pages each; Mars's texts are too
// short to print.
std::string LongTextsFile(int giantTransit, int giantAspect, int giantNatal) {
  std::string file;
  for (const int t : kTransitBodies)
    for (const int a : kAspectAngles)
      for (const int n : kComputedBodies) {
        char header[32];
        std::snprintf(header, sizeof header, "* %03d %03d %03d %03d\r\n", t, a, n,
                      (t + n) % 2 ? 4 : 102);
        std::string text = "Сочетание " + std::to_string(t) + "-" + std::to_string(a) + "-" +
                           std::to_string(n) + ":";
        const bool giant = t == giantTransit && a == giantAspect && n == giantNatal;
        const int words = giant ? 900 : t == 5 ? 1 : 60;
        for (int w = 1; w <= words; ++w) text += " слово" + std::to_string(w);
        file += header + W(text) + "@\r\n";
      }
  return file;
}

TEST_F(DigestPdf, MonthLongerThanAPageBreaksBetweenTextsAndSplitsOnlyATextLongerThanAPage) {
  // The first hit of December is the text made longer than a page.
  const auto plain = InterpretationFile::Parse("long.dat", LongTextsFile(0, 0, 0));
  Make(ForecastKind::Trips, plain);
  const TransitHit first = [&] {
    for (const DayList& day : scans[0].days)
      if (!day.hits.empty()) return day.hits.front();
    return TransitHit{};
  }();
  const auto table = InterpretationFile::Parse(
      "long.dat", LongTextsFile(first.key.transitBody, first.key.aspect, first.key.natalBody));
  // Without a best window, the first page says so plainly.
  Digest digest = Make(ForecastKind::Trips, table);
  digest.best.clear();
  const ReadBack pdf = Write(digest);
  EXPECT_NE(
      NoSpace(pdf.pages[0]).find(NoSpace(Cp1251ToUtf8(NoBestWindowsText(ForecastKind::Trips)))),
      std::string::npos)
      << pdf.pages[0];

  const std::vector<size_t> headings = pdf.HeadingPages("Автопрогноз на ");
  ASSERT_EQ(headings.size(), 4u);
  ASSERT_GE(headings[1] - headings[0], 3u) << "December fills several pages";
  // Its pages are filled alike: the last holds no fewer lines than half the one before.
  EXPECT_GE(2 * Lines(pdf.pages[headings[1] - 1]).size(), Lines(pdf.pages[headings[1] - 2]).size());
  for (size_t p = headings[0] + 1; p < headings[1]; ++p)
    EXPECT_EQ(Lines(pdf.pages[p])[0],
              "Автопрогноз на декабрь 2026 года, Иван Петров (продолжение)");
  // No month goes on after a page left 40 % empty: the body of every page
  // but its last reaches past 60 % of the page's body.
  for (size_t k = 0; k < 3; ++k)
    for (size_t p = headings[k]; p + 1 < headings[k + 1]; ++p) {
      double lowest = 0;
      for (const Word& word : Words(dir.root() / "digest.pdf", p))
        if (word.top < 800) lowest = std::max(lowest, word.top);
      EXPECT_GT(lowest, 36 + 0.6 * (841.89 - 46 - 36) - 14) << "page " << p + 1;
    }

  const std::string part = NoSpace(MonthPart(pdf, headings, 0));
  const std::vector<DigestEntry> entries = MonthEntries(Scans(), 0);
  ASSERT_GT(entries.front().text.size(), 9000u) << "the first text is the long one";
  EXPECT_EQ(part.find(NoSpace("Сочетание 5-")), std::string::npos) << "too short to print";
  for (const DigestEntry& entry : entries) {
    const std::string text =
        NoSpace(WindowsText(entry, entry.runs, influences, kClock) + " — " + entry.text);
    EXPECT_EQ(Count(part, text), 1u) << entry.text.substr(0, 40);
    if (&entry == &entries.front()) continue;
    size_t pagesHoldingIt = 0;
    for (size_t p = headings[0]; p < headings[1]; ++p)
      pagesHoldingIt += Count(NoSpace(pdf.pages[p]), text);
    EXPECT_EQ(pagesHoldingIt, 1u) << "whole on one page: " << entry.text.substr(0, 40);
  }
}

}  // namespace
}  // namespace meridan
