#pragma once
// The fonts the windows are drawn with, by pixel height as the forms give
// them. "Arial" resolves to a metric-compatible face through fontconfig.

#include <QFont>

namespace meridan {

inline QFont ArialFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The plain window font of the main window, About box and problem report.
inline QFont WindowFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

}  // namespace meridan
