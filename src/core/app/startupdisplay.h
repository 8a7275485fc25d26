#pragma once
// What the start-up steps show while they run: the device status window on screen, a few
// lines of text in the companion tool. The instrument check and the database start-up step
// both report through it.

#include <QString>

namespace tork {

enum class StepLight { Dark, Lit, Done, Failed };

class StartupDisplay {
public:
    virtual ~StartupDisplay() = default;
    // Step lights 1..7.
    virtual void setLight(int n, StepLight state) = 0;
    virtual void setCaption(const QString& caption) = 0;   // first field caption, e.g. "DBT Prog:"
    virtual void setStatusText(const QString& text) = 0;
    virtual void setProgress(int percent) = 0;
    virtual int progress() const = 0;
    // Lets the interface process pending events during long work.
    virtual void processEvents() = 0;
};

}  // namespace tork
