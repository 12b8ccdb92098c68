#include "engine/ephemeris/Com_plu_tra.h"

#include <stdexcept>

namespace meridan {

void PlutoPosition(double, const std::filesystem::path&, double&, SunVector&) {
  throw std::logic_error("PlutoPosition: not written yet");
}

}  // namespace meridan
