#pragma once
// Save Area To ASCII Map and Paste from ASCII Map: the clicks that name the area, then the file.

#include "tools/map_tool.h"

namespace vantor {

// Upper left, lower right, then the file; after a failure the next click ends the command.
class SaveAreaTool : public MapTool {
    Q_OBJECT
public:
    SaveAreaTool(MapDocument &document, ToolHost &host, QObject *parent = nullptr);

    void start() override;
    void click(const MapPointer &pointer) override;
    void putDown() override;

private:
    enum class Step { UpperLeft, LowerRight, Failed };
    void fail(const QString &prompt);

    ToolHost &host_;
    Step step_ = Step::UpperLeft;
    HexCoord upperLeft_;
};

// The upper-left hex, then the file; after a cancelled file the next click ends the command.
class PasteAreaTool : public MapTool {
    Q_OBJECT
public:
    PasteAreaTool(MapDocument &document, ToolHost &host, QObject *parent = nullptr);

    void start() override;
    void click(const MapPointer &pointer) override;
    void putDown() override { failed_ = false; }

private:
    ToolHost &host_;
    bool failed_ = false;
};

} // namespace vantor
