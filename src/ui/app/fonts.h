#pragma once
#include <QString>

namespace tork {

// Loads the metric-compatible Tahoma face into the application and makes Tahoma 8 the
// program font; Times New Roman resolves to Liberation Serif through fontconfig.
// Returns the family the program font resolved to.
QString installProgramFonts();

}  // namespace tork
