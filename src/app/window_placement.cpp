// Placing windows on the screen.
#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace app {

namespace {

QRect FreeArea(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

void FitOnScreen(QWidget& window) {
    const QRect area = FreeArea(window);
    if (area.isEmpty()) return;
    const int frameWidth = window.frameGeometry().width() - window.width();
    const int frameHeight = window.frameGeometry().height() - window.height();
    window.resize(std::min(window.width(), area.width() - frameWidth),
                  std::min(window.height(), area.height() - frameHeight));
}

void PlaceBeside(QWidget& window, const QWidget& owner) {
    const QRect area = FreeArea(owner);
    if (area.isEmpty()) return;
    FitOnScreen(window);
    const QRect next = owner.frameGeometry();
    // A window not shown yet has no frame of its own; the owner's is the best guess.
    const int width = window.width() + next.width() - owner.width();
    const int height = window.height() + next.height() - owner.height();
    int x = next.right() + 1;
    if (x + width > area.right() + 1) x = next.left() - width;
    if (x < area.left()) x = area.right() + 1 - width;
    const int y = std::clamp(next.top(), area.top(), area.bottom() + 1 - height);
    window.move(std::max(x, area.left()), std::max(y, area.top()));
}

}  // namespace app
