#pragma once
// The selected hexes. A selection is not part of the map: it is never saved, changing it is no step
// of the history and does not mark the map, and it ends when the map is replaced or resized.

#include "document/map_document.h"
#include "model/hex_set.h"

#include <QObject>

namespace vantor {

// How a selecting gesture combines with the selection: the keys held when it begins decide.
enum class SelectionMode { Replace, Add, Subtract };
SelectionMode SelectionModeOf(Qt::KeyboardModifiers modifiers);
HexSet Combined(const HexSet &selection, const HexSet &region, SelectionMode mode);

class MapSelection : public QObject {
    Q_OBJECT
public:
    explicit MapSelection(const MapDocument &document, QObject *parent = nullptr);

    const HexSet &hexes() const { return hexes_; }
    bool isEmpty() const { return hexes_.empty(); }
    // Keeps only the hexes on the map.
    void set(const HexSet &hexes);
    void selectAll();
    void clear() { set({}); }

signals:
    void changed();

private:
    const MapDocument &document_;
    HexSet hexes_;
};

} // namespace vantor
