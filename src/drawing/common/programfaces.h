#pragma once

namespace tork {

// Loads the metric-compatible Tahoma faces installed by the set-up into the application once,
// so windows, charts and printed pages measure text alike. Missing faces are skipped.
void loadProgramFaces();

}  // namespace tork
