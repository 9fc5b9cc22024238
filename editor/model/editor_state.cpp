#include "editor_state.h"

namespace vantor {

MapStore Map;
EditorState Editor;

} // namespace vantor
