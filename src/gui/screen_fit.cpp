#include "gui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace meridan {

QSize FitToScreen(QSize wanted, const QScreen* screen) {
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return wanted;
  const QSize room = screen->availableGeometry().size() - kFrameAllowance;
  return wanted.boundedTo(room.expandedTo(QSize(1, 1)));
}

void ResizeToScreen(QWidget& window, QSize wanted) {
  window.resize(FitToScreen(wanted, window.screen()).expandedTo(window.minimumSizeHint()));
}

}  // namespace meridan
