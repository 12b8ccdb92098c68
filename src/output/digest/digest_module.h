#pragma once
// The boundary of the digest module (meridan-digest.so), in plain C. The
// programs load the module at run time, and each has its own copy of the
// layers' code; how a C++ type lies in memory, and which allocator and
// exception machinery serve it, depend on how each was compiled and linked,
// so no C++ object, exception or allocation crosses, only these structs: strings as bytes and a
// size, arrays as a pointer and a count, all the caller's for the length of the call. The PDF comes
// back through the caller's sink, an error as text in the caller's buffer. Booleans are ints, 0
// or 1. Each struct carries, field for field, the C++ type of output/digest/digest.h it is named
// after, which the module rebuilds from it (an influence's interpretation record, which the digest
// does not read, stays behind).

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MeridanText {
  const char* bytes;  // not NUL-terminated
  size_t size;
} MeridanText;

typedef struct MeridanDate {
  int day, month, year;
} MeridanDate;

typedef struct MeridanAspectKey {
  int transitBody, aspect, natalBody;
} MeridanAspectKey;

typedef struct MeridanHit {
  int day;
  MeridanAspectKey key;
  int rating;
  MeridanText text;
  int accepted;
} MeridanHit;

typedef struct MeridanDayList {
  const MeridanHit* hits;
  size_t hitCount;
  int hasText;
  int ratingSum;
} MeridanDayList;

typedef struct MeridanMonthScan {
  int year, month;
  int length;
  const MeridanDayList* days;
  size_t dayCount;
  double firstNoon;
  MeridanText lastMatchedText;
  int matched;
} MeridanMonthScan;

typedef struct MeridanSeries {
  int sampleCount;
  const int* ratingSeries;     // slots entries
  const int* retrogradeMarks;  // slots entries
  size_t slots;
} MeridanSeries;

typedef struct MeridanPoint {
  double x, y;
} MeridanPoint;

typedef struct MeridanStretch {
  double from, to;
} MeridanStretch;

typedef struct MeridanGraph {
  int width, height;
  int panelLeft, panelTop, panelRight, panelBottom;
  int curveLeft, dayWidth, zeroLine, dayLabelTop, captionTop, days;
  const MeridanPoint* curve;
  size_t curveCount;
  const MeridanStretch* marks;
  size_t markCount;
  MeridanText caption;
} MeridanGraph;

typedef struct MeridanDigestMonth {
  const MeridanMonthScan* scan;  // null when missing, which the render refuses
  const MeridanSeries* series;   // the same
  MeridanGraph graph;
} MeridanDigestMonth;

typedef struct MeridanDayWindow {
  double firstNoon, lastNoon, opens, closes;
} MeridanDayWindow;

typedef struct MeridanHourWindows {
  MeridanDayWindow possible;
  const MeridanDayWindow* sure;  // null when there is none
} MeridanHourWindows;

typedef struct MeridanInfluence {
  MeridanAspectKey key;
  double firstNoon, lastNoon;
  const double* exact;
  size_t exactCount;
  const MeridanHourWindows* hourWindows;  // null when the birth hour is known
} MeridanInfluence;

typedef struct MeridanInfluenceText {
  MeridanInfluence influence;
  int rating;
  int accepted;
} MeridanInfluenceText;

typedef struct MeridanStation {
  double moment;
  int body;
  int retrograde;
} MeridanStation;

typedef struct MeridanBestWindow {
  double firstNoon, lastNoon, peakNoon;
  int peakSum, score;
  const MeridanInfluenceText* reasons;
  size_t reasonCount;
  const MeridanInfluenceText* cautions;
  size_t cautionCount;
} MeridanBestWindow;

typedef struct MeridanDigest {
  int kind;  // ForecastKind's value
  MeridanText name;
  MeridanDate birth, made;
  const MeridanDigestMonth* months;
  size_t monthCount;
  const MeridanInfluence* influences;
  size_t influenceCount;
  const MeridanStation* stations;
  size_t stationCount;
  const MeridanBestWindow* best;
  size_t bestCount;
  MeridanText clockZone;
  int hourUnknown;
} MeridanDigest;

// Takes the PDF's bytes, piece by piece in order; returns 0 to stop the
// render, which then fails, anything else to go on.
typedef int (*MeridanPdfSink)(void* context, const char* bytes, size_t size);

// MeridanRenderDigest: returns 1 once the whole PDF went to the sink, else 0
// with why in error (UTF-8, NUL-terminated, cut to errorSize).
typedef int (*MeridanRenderDigestEntry)(const MeridanDigest* digest, MeridanPdfSink sink,
                                        void* context, char* error, size_t errorSize);
// MeridanDigestBuild: the fingerprint of the build the module comes from
// (kDigestBuild), which the programs compare with their own before they
// hand the module anything.
typedef const char* (*MeridanDigestBuildEntry)(void);

#ifdef __cplusplus
}
#endif
