#pragma once
#include <QWidget>
#include <functional>

namespace tork {

// Lowers the window's opacity to nothing over `ms` milliseconds, then calls `done`.
// A second call while a fade runs is ignored.
void fadeOut(QWidget* window, int ms, std::function<void()> done);

}  // namespace tork
