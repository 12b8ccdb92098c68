// Packing a forecast's output directory: the first run, which compresses
// everything, and the two update runs a user meets (after a new forecast,
// with its files read back or handed in, and with nothing changed).
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "output/archive/archive.h"

namespace {

namespace fs = std::filesystem;

// Four pages of about 30 KB, four graph images of about 40 KB (random bytes:
// deflate gains nothing on JPEG data either) and the eleven bar pictures.
class ForecastOutput {
 public:
  ForecastOutput()
      : dir_(fs::temp_directory_path() / ("meridan-bench-archive-" + std::to_string(::getpid()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::mt19937 random(1);
    for (int month = 5; month <= 8; ++month) {
      const std::string stem = "Prog_0" + std::to_string(month) + "_2025";
      const std::string page = Page(month), graph = Noise(40 * 1024, random);
      Write(stem + ".html", page);
      Write(stem + ".jpeg", graph);
      forecast_.push_back(stem + ".html");
      forecast_.push_back(stem + ".jpeg");
      written_.push_back(page);
      written_.push_back(graph);
    }
    Write("b_button.jpg", Noise(2000, random));
    for (const char* colour : {"blu", "red"})
      for (int strength = 1; strength <= 5; ++strength)
        Write(std::string("b_") + colour + std::to_string(strength) + ".gif",
              "GIF89a" + Noise(80, random));
  }
  ~ForecastOutput() { fs::remove_all(dir_); }

  const fs::path& dir() const { return dir_; }
  fs::path archive() const { return dir_ / "Prognoz.zip"; }

  // The pages and images as the forecast that wrote them still holds them.
  std::vector<meridan::WrittenFile> Written() const {
    std::vector<meridan::WrittenFile> files;
    for (size_t i = 0; i < forecast_.size(); ++i) files.push_back({forecast_[i], written_[i]});
    return files;
  }

  // A new forecast rewrites its pages and images; each call makes them two
  // seconds newer than the last, so their entries are replaced.
  void NewForecast() {
    stamp_ += std::chrono::seconds(2);
    for (const std::string& name : forecast_) fs::last_write_time(dir_ / name, stamp_);
  }

 private:
  static std::string Page(int month) {
    static const char* const kLines[] = {
        "a calm day for a long drive, the roads are kind to you",
        "check the brakes before leaving; haste brings small troubles",
        "good for short trips in town, avoid overtaking at dusk",
    };
    std::string page =
        "<html><head><title>Prog " + std::to_string(month) + "</title></head><body>\r\n";
    for (int line = 0; page.size() < 30 * 1024; ++line)
      page += "<p><img src=\"b_blu" + std::to_string(line % 5 + 1) + ".gif\"> " +
              std::to_string(line % 31 + 1) + ": " + kLines[line % 3] + "</p>\r\n";
    return page + "</body></html>\r\n";
  }

  static std::string Noise(size_t size, std::mt19937& random) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  fs::path dir_;
  std::vector<std::string> forecast_;
  std::vector<std::string> written_;  // their bytes, as forecast_ names them
  fs::file_time_type stamp_ = fs::file_time_type::clock::now();
};

void BM_PackOutputFirstRun(benchmark::State& state) {
  ForecastOutput output;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(output.archive());
    state.ResumeTiming();
    meridan::PackOutput(output.dir(), output.archive());
  }
  state.counters["archive_bytes"] = static_cast<double>(fs::file_size(output.archive()));
}
BENCHMARK(BM_PackOutputFirstRun)->Unit(benchmark::kMillisecond);

// Eight entries replaced, eleven copied as they are.
void BM_PackOutputAfterNewForecast(benchmark::State& state) {
  ForecastOutput output;
  meridan::PackOutput(output.dir(), output.archive());
  for (auto _ : state) {
    state.PauseTiming();
    output.NewForecast();
    state.ResumeTiming();
    meridan::PackOutput(output.dir(), output.archive());
  }
}
BENCHMARK(BM_PackOutputAfterNewForecast)->Unit(benchmark::kMillisecond);

// The same as a forecast packs: its own eight files from the bytes in hand.
void BM_PackOutputAfterNewForecastFromWrittenBytes(benchmark::State& state) {
  ForecastOutput output;
  const std::vector<meridan::WrittenFile> written = output.Written();
  meridan::PackOutput(output.dir(), output.archive());
  for (auto _ : state) {
    state.PauseTiming();
    output.NewForecast();
    state.ResumeTiming();
    meridan::PackOutput(output.dir(), output.archive(), written);
  }
}
BENCHMARK(BM_PackOutputAfterNewForecastFromWrittenBytes)->Unit(benchmark::kMillisecond);

// Every entry up to date: the archive is read and left as it is.
void BM_PackOutputNothingChanged(benchmark::State& state) {
  ForecastOutput output;
  meridan::PackOutput(output.dir(), output.archive());
  for (auto _ : state) meridan::PackOutput(output.dir(), output.archive());
}
BENCHMARK(BM_PackOutputNothingChanged)->Unit(benchmark::kMillisecond);

}  // namespace
