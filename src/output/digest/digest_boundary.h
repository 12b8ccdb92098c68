#pragma once
// A digest and the digest module's C data (output/digest/digest_module.h),
// both ways: the programs lay a digest out as the data they hand the
// module, the module rebuilds the digest from it and renders that.

#include <memory>
#include <vector>

#include "output/digest/digest.h"
#include "output/digest/digest_module.h"
#include "texts/month_scan.h"
#include "transits/series.h"

namespace meridan {

// The module's file name, and its entry points, which the programs find by
// name: MeridanRenderDigestEntry and MeridanDigestBuildEntry.
inline constexpr const char* kDigestModule = "meridan-digest.so";
inline constexpr const char* kRenderDigestEntry = "MeridanRenderDigest";
inline constexpr const char* kDigestBuildEntry = "MeridanDigestBuild";

// A digest as C data. Its strings, and the scans and series its months
// point to, are the digest's own, which must outlive it; the arrays it
// makes are kept here.
class DigestData {
 public:
  explicit DigestData(const Digest& digest);
  DigestData(const DigestData&) = delete;
  DigestData& operator=(const DigestData&) = delete;
  const MeridanDigest* get() const { return &data_; }

 private:
  std::vector<std::shared_ptr<const void>> kept_;
  MeridanDigest data_{};
};

// A digest rebuilt from C data, with the scans and series its months point
// to. Throws std::invalid_argument for data that does not hold together:
// an array's pointer null while its count is not, a series of another
// length than the store's, a kind there is not.
class ReceivedDigest {
 public:
  explicit ReceivedDigest(const MeridanDigest& data);
  ReceivedDigest(const ReceivedDigest&) = delete;
  ReceivedDigest& operator=(const ReceivedDigest&) = delete;
  const Digest& get() const { return digest_; }

 private:
  std::vector<MonthScan> scans_;
  std::vector<SeriesStore> series_;
  Digest digest_;
};

}  // namespace meridan
