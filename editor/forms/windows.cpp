#include "windows.h"

#include "Map.h"

#include <QScreen>

void CentreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

VantorWindows::VantorWindows()
    : mapForm_(std::make_unique<TMapForm>(document_, settings_))
{
}

VantorWindows::~VantorWindows() = default;
