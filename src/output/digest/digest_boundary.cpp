#include "output/digest/digest_boundary.h"

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace meridan {
namespace {

using Kept = std::vector<std::shared_ptr<const void>>;

// The array of the items, kept for the data's life; null for none.
template <typename T>
const T* Keep(Kept& kept, std::vector<T> items) {
  if (items.empty()) return nullptr;
  auto held = std::make_shared<const std::vector<T>>(std::move(items));
  kept.push_back(held);
  return held->data();
}

MeridanText Text(std::string_view text) { return {text.data(), text.size()}; }
MeridanAspectKey Key(const AspectKey& key) { return {key.transitBody, key.aspect, key.natalBody}; }
MeridanDayWindow Window(const DayWindow& w) { return {w.firstNoon, w.lastNoon, w.opens, w.closes}; }

MeridanInfluence Data(Kept& kept, const Influence& influence) {
  MeridanInfluence data{Key(influence.key),          influence.firstNoon,    influence.lastNoon,
                        Keep(kept, influence.exact), influence.exact.size(), nullptr};
  if (const auto& windows = influence.hourWindows) {
    const MeridanDayWindow* sure =
        windows->sure ? Keep(kept, std::vector{Window(*windows->sure)}) : nullptr;
    data.hourWindows = Keep(kept, std::vector{MeridanHourWindows{Window(windows->possible), sure}});
  }
  return data;
}

const MeridanInfluenceText* Data(Kept& kept, const std::vector<InfluenceText>& texts) {
  std::vector<MeridanInfluenceText> data;
  for (const InfluenceText& text : texts)
    data.push_back({Data(kept, text.influence), text.rating, text.accepted});
  return Keep(kept, std::move(data));
}

const MeridanMonthScan* Data(Kept& kept, const MonthScan& scan) {
  std::vector<MeridanDayList> days;
  for (const DayList& day : scan.days) {
    std::vector<MeridanHit> hits;
    for (const TransitHit& hit : day.hits)
      hits.push_back({hit.day, Key(hit.key), hit.rating, Text(hit.text), hit.accepted});
    days.push_back({Keep(kept, std::move(hits)), day.hits.size(), day.hasText, day.ratingSum});
  }
  const size_t dayCount = days.size();
  return Keep(kept, std::vector{MeridanMonthScan{
                        scan.month.year, scan.month.month, scan.length, Keep(kept, std::move(days)),
                        dayCount, scan.firstNoon, Text(scan.lastMatchedText), scan.matched}});
}

MeridanGraph Data(Kept& kept, const DigestGraph& graph) {
  std::vector<MeridanPoint> curve;
  for (const DigestGraph::Point& p : graph.curve) curve.push_back({p.x, p.y});
  std::vector<MeridanStretch> marks;
  for (const auto& [from, to] : graph.marks) marks.push_back({from, to});
  return {graph.width,
          graph.height,
          graph.panelLeft,
          graph.panelTop,
          graph.panelRight,
          graph.panelBottom,
          graph.curveLeft,
          graph.dayWidth,
          graph.zeroLine,
          graph.dayLabelTop,
          graph.captionTop,
          graph.days,
          Keep(kept, std::move(curve)),
          graph.curve.size(),
          Keep(kept, std::move(marks)),
          graph.marks.size(),
          Text(graph.caption)};
}

// The items of a C array; a pointer that is null while the count is not
// is refused.
template <typename T>
std::span<const T> Items(const T* items, size_t count) {
  if (count != 0 && !items) throw std::invalid_argument("the digest's data lacks an array");
  return {items, count};
}

std::string String(const MeridanText& text) {
  const std::span<const char> bytes = Items(text.bytes, text.size);
  return {bytes.begin(), bytes.end()};
}

AspectKey Key(const MeridanAspectKey& key) { return {key.transitBody, key.aspect, key.natalBody}; }
DayWindow Window(const MeridanDayWindow& w) { return {w.firstNoon, w.lastNoon, w.opens, w.closes}; }

Influence Rebuilt(const MeridanInfluence& data) {
  Influence influence{Key(data.key), data.firstNoon, data.lastNoon, {}, std::nullopt};
  for (const double moment : Items(data.exact, data.exactCount)) influence.exact.push_back(moment);
  if (const MeridanHourWindows* windows = data.hourWindows) {
    influence.hourWindows = HourWindows{Window(windows->possible), std::nullopt};
    if (windows->sure) influence.hourWindows->sure = Window(*windows->sure);
  }
  return influence;
}

std::vector<InfluenceText> Rebuilt(const MeridanInfluenceText* texts, size_t count) {
  std::vector<InfluenceText> rebuilt;
  for (const MeridanInfluenceText& text : Items(texts, count))
    rebuilt.push_back({Rebuilt(text.influence), text.rating, text.accepted != 0, nullptr});
  return rebuilt;
}

MonthScan Rebuilt(const MeridanMonthScan& data) {
  MonthScan scan;
  scan.month = {data.year, data.month};
  scan.length = data.length;
  for (const MeridanDayList& day : Items(data.days, data.dayCount)) {
    DayList& list = scan.days.emplace_back();
    for (const MeridanHit& hit : Items(day.hits, day.hitCount))
      list.hits.push_back({hit.day, Key(hit.key), hit.rating, String(hit.text), hit.accepted != 0});
    list.hasText = day.hasText != 0;
    list.ratingSum = day.ratingSum;
  }
  scan.firstNoon = data.firstNoon;
  scan.lastMatchedText = String(data.lastMatchedText);
  scan.matched = data.matched != 0;
  return scan;
}

SeriesStore Rebuilt(const MeridanSeries& data) {
  SeriesStore series;
  if (data.slots != series.RatingSeries.size())
    throw std::invalid_argument("the digest's data holds a series of another length");
  series.SampleCount = data.sampleCount;
  const auto ratings = Items(data.ratingSeries, data.slots);
  const auto marks = Items(data.retrogradeMarks, data.slots);
  std::copy(ratings.begin(), ratings.end(), series.RatingSeries.begin());
  std::copy(marks.begin(), marks.end(), series.RetrogradeMarks.begin());
  return series;
}

DigestGraph Rebuilt(const MeridanGraph& data) {
  DigestGraph graph;
  graph.width = data.width;
  graph.height = data.height;
  graph.panelLeft = data.panelLeft;
  graph.panelTop = data.panelTop;
  graph.panelRight = data.panelRight;
  graph.panelBottom = data.panelBottom;
  graph.curveLeft = data.curveLeft;
  graph.dayWidth = data.dayWidth;
  graph.zeroLine = data.zeroLine;
  graph.dayLabelTop = data.dayLabelTop;
  graph.captionTop = data.captionTop;
  graph.days = data.days;
  for (const MeridanPoint& p : Items(data.curve, data.curveCount))
    graph.curve.push_back({p.x, p.y});
  for (const MeridanStretch& mark : Items(data.marks, data.markCount))
    graph.marks.emplace_back(mark.from, mark.to);
  graph.caption = String(data.caption);
  return graph;
}

ForecastKind Kind(int kind) {
  if (kind < 0 || kind > static_cast<int>(kLastForecastKind))
    throw std::invalid_argument("the digest's data holds a kind there is not");
  return static_cast<ForecastKind>(kind);
}

}  // namespace

DigestData::DigestData(const Digest& digest) {
  std::vector<MeridanDigestMonth> months;
  for (const DigestMonth& month : digest.months) {
    const MeridanSeries* series = nullptr;
    if (month.series)
      series = Keep(kept_,
                    std::vector{MeridanSeries{
                        month.series->SampleCount, month.series->RatingSeries.data(),
                        month.series->RetrogradeMarks.data(), month.series->RatingSeries.size()}});
    months.push_back(
        {month.scan ? Data(kept_, *month.scan) : nullptr, series, Data(kept_, month.graph)});
  }
  std::vector<MeridanInfluence> influences;
  for (const Influence& influence : digest.influences) influences.push_back(Data(kept_, influence));
  std::vector<MeridanStation> stations;
  for (const Station& station : digest.stations)
    stations.push_back({station.moment, station.body, station.retrograde});
  std::vector<MeridanBestWindow> best;
  for (const BestWindow& window : digest.best)
    best.push_back({window.firstNoon, window.lastNoon, window.peakNoon, window.peakSum,
                    window.score, Data(kept_, window.reasons), window.reasons.size(),
                    Data(kept_, window.cautions), window.cautions.size()});
  data_.kind = static_cast<int>(digest.kind);
  data_.name = Text(digest.name.bytes);
  data_.birth = {digest.birth.day, digest.birth.month, digest.birth.year};
  data_.made = {digest.made.day, digest.made.month, digest.made.year};
  data_.monthCount = months.size();
  data_.months = Keep(kept_, std::move(months));
  data_.influenceCount = influences.size();
  data_.influences = Keep(kept_, std::move(influences));
  data_.stationCount = stations.size();
  data_.stations = Keep(kept_, std::move(stations));
  data_.bestCount = best.size();
  data_.best = Keep(kept_, std::move(best));
  data_.clockZone = Text(digest.clock.zone);
  data_.hourUnknown = digest.hourUnknown;
}

ReceivedDigest::ReceivedDigest(const MeridanDigest& data) {
  const auto months = Items(data.months, data.monthCount);
  // Every scan and series first: the months point into the vectors.
  scans_.reserve(months.size());
  series_.reserve(months.size());
  for (const MeridanDigestMonth& month : months) {
    if (month.scan) scans_.push_back(Rebuilt(*month.scan));
    if (month.series) series_.push_back(Rebuilt(*month.series));
  }
  size_t scan = 0, series = 0;
  for (const MeridanDigestMonth& month : months)
    digest_.months.push_back({month.scan ? &scans_[scan++] : nullptr,
                              month.series ? &series_[series++] : nullptr, Rebuilt(month.graph)});
  digest_.kind = Kind(data.kind);
  digest_.name = Cp1251Html{String(data.name)};
  digest_.birth = {data.birth.day, data.birth.month, data.birth.year};
  digest_.made = {data.made.day, data.made.month, data.made.year};
  for (const MeridanInfluence& influence : Items(data.influences, data.influenceCount))
    digest_.influences.push_back(Rebuilt(influence));
  for (const MeridanStation& station : Items(data.stations, data.stationCount))
    digest_.stations.push_back({station.moment, station.body, station.retrograde != 0});
  for (const MeridanBestWindow& window : Items(data.best, data.bestCount))
    digest_.best.push_back({window.firstNoon, window.lastNoon, window.peakNoon, window.peakSum,
                            window.score, Rebuilt(window.reasons, window.reasonCount),
                            Rebuilt(window.cautions, window.cautionCount)});
  digest_.clock.zone = String(data.clockZone);
  digest_.hourUnknown = data.hourUnknown != 0;
}

}  // namespace meridan
