#include "map_commands.h"

namespace vantor {

void RunPass(MapDocument &document, const QString &name, WholeMapPass pass, const DefaultTerrainTable &defaultTerrain)
{
    document.edit(name, [&](MapContent &content) { pass(content.map, defaultTerrain); });
}

} // namespace vantor
