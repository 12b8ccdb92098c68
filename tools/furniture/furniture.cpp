#include "tools/furniture/furniture.h"

#include "base/files.h"
#include "output/graph/bmp.h"
#include "output/graph/jpeg.h"
#include "tools/furniture/gif.h"
#include "tools/furniture/month_template.h"
#include "tools/furniture/page_images.h"
#include "tools/furniture/window_background.h"

namespace meridan::furniture {

std::string BarFileName(bool favourable, int strength) {
  return std::string(favourable ? "b_blu" : "b_red") + std::to_string(strength) + ".gif";
}

std::vector<std::filesystem::path> WriteFurniture(const std::filesystem::path& dataDir) {
  const std::filesystem::path system = dataDir / "System", output = dataDir / "Output";
  std::filesystem::create_directories(system);
  std::filesystem::create_directories(output);

  std::vector<std::filesystem::path> written;
  written.push_back(system / "month.bmp");
  WriteBmp(MonthTemplate(), written.back());
  written.push_back(system / "diru2.bmp");
  WriteBmp(WindowBackground(), written.back());
  written.push_back(output / "b_button.jpg");
  WriteFileAtomically(written.back(), EncodeJpeg(NavigationButton(), kButtonJpegQuality));
  for (bool favourable : {true, false}) {
    for (int strength = 1; strength <= kStrongest; ++strength) {
      written.push_back(output / BarFileName(favourable, strength));
      WriteFileAtomically(written.back(), EncodeGif(RatingBar(favourable, strength)));
    }
  }
  return written;
}

}  // namespace meridan::furniture
