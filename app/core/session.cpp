#include "app/core/session.h"

#include <cstdio>

namespace meridan {

std::string MonthFileName(int month, int year, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "Prog_%02d_%d%s", month, year, extension);
  return name;
}

}  // namespace meridan
