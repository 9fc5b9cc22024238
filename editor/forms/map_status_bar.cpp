#include "map_status_bar.h"

#include "model/terrain_tables.h"
#include "tools/place_names.h"

#include <QEvent>
#include <QLabel>

#include <cmath>

using namespace vantor;

MapStatusBar::MapStatusBar(const MapDocument &document, QWidget &map, QWidget *parent)
    : QStatusBar(parent)
    , document_(document)
    , map_(&map)
    , hexLabel_(addLabel("HexStatus"))
    , zoomLabel_(addLabel("ZoomStatus"))
    , toolLabel_(addLabel("ToolStatus"))
    , selectionLabel_(addLabel("SelectionStatus"))
{
    setObjectName(QStringLiteral("MapStatusBar1"));
    map.installEventFilter(this);
    connect(&document_, &MapDocument::hexesChanged, this, &MapStatusBar::describeHex);
    connect(&document_, &MapDocument::mapReset, this, &MapStatusBar::describeHex);
    connect(&document_, &MapDocument::tablesChanged, this, &MapStatusBar::describeHex);
    describeHex();
}

QLabel *MapStatusBar::addLabel(const char *name)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    label->hide();
    addPermanentWidget(label);
    return label;
}

// An empty label is hidden, so that no empty box stands in the bar.
void MapStatusBar::setText(QLabel &label, const QString &text)
{
    label.setText(text);
    label.setVisible(!text.isEmpty());
}

void MapStatusBar::showHex(std::optional<HexCoord> hex)
{
    hex_ = hex;
    describeHex();
}

// "12,7  set 3 tile 41  Hills, Wewak": what the hover label names, with the tile.
void MapStatusBar::describeHex()
{
    const MapStore &map = document_.map();
    if (!hex_ || !IsOnMap(map, hex_->x, hex_->y)) {
        setText(*hexLabel_, QStringLiteral("off map"));
        return;
    }
    const auto [x, y] = *hex_;
    QString text = QStringLiteral("%1,%2  set %3 tile %4  %5")
                       .arg(x)
                       .arg(y)
                       .arg(map.at(TileSet, x, y))
                       .arg(map.at(TileIndex, x, y))
                       .arg(QString::fromLatin1(TerrainName(map.at(Terrain, x, y))));
    for (const QString &name : HexNames(map, document_.tables(), *hex_))
        text += QStringLiteral(", ") + name;
    setText(*hexLabel_, text);
}

void MapStatusBar::showZoom(double zoom) { setText(*zoomLabel_, QStringLiteral("%1 %").arg(std::lround(zoom * 100))); }

void MapStatusBar::showTool(const QString &name, int brushSize)
{
    setText(*toolLabel_, brushSize > 0 ? QStringLiteral("%1 %2").arg(name).arg(brushSize) : name);
}

void MapStatusBar::showSelection(int hexCount)
{
    setText(*selectionLabel_, hexCount == 0 ? QString()
                              : hexCount == 1 ? QStringLiteral("Selection: 1 hex")
                                              : QStringLiteral("Selection: %1 hexes").arg(hexCount));
}

bool MapStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == map_ && event->type() == QEvent::Leave)
        showHex(std::nullopt);
    return QStatusBar::eventFilter(watched, event);
}
