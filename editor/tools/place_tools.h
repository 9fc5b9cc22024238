#pragma once
// The tools that attach names to hexes: Copy Place Name, and the city captions of the city window.

#include "tools/map_tool.h"

namespace vantor {

// A click on a hex with a place picks it; each later click gives a hex the same place, until a
// Shift click ends the command.
class CopyPlaceNameTool : public MapTool {
    Q_OBJECT
public:
    using MapTool::MapTool;

    void start() override;
    void click(const MapPointer &pointer) override;
    void putDown() override { source_.reset(); }

private:
    std::optional<int> source_;
};

// Each click captions the hex with the chosen city, or clears it, as the city window chose.
class CityCaptionTool : public MapTool {
    Q_OBJECT
public:
    enum class Action { None, Caption, Clear };

    CityCaptionTool(MapDocument &document, ToolHost &host, QObject *parent = nullptr);

    void start() override;
    // What the next clicks do, with the city of `row` of the city table.
    void choose(Action action, int row);
    Action action() const { return action_; }
    void click(const MapPointer &pointer) override;
    // Forgets the chosen action.
    void putDown() override;

signals:
    void actionChanged();

private:
    ToolHost &host_;
    Action action_ = Action::None;
    int row_ = 0;
};

} // namespace vantor
