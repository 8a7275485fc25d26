#pragma once
// What every records window works with: the program-wide state, the current measurement,
// the main database, the instrument's tones, and how a child window is run modally.

#include "core/app/programstate.h"
#include "core/measure/currentmeasurement.h"

#include <QSqlDatabase>
#include <functional>

class QDialog;

namespace tork {

struct RecordsContext {
    ProgramState* state = nullptr;
    CurrentMeasurement* measurement = nullptr;
    QSqlDatabase db;                          // the main database's standing connection
    std::function<void(int)> playSound;       // tone table row; may be empty
    // Runs a child window modally and returns its result; tests drive the child instead.
    std::function<int(QDialog&)> runDialog;

    void sound(int signal) const
    {
        if (playSound) playSound(signal);
    }
    int run(QDialog& dialog) const;
};

// The current measurement replaced by stored or entered values: its compensated values follow
// the compensation factors and the analysis returns to its first page and charts.
void takeCurrentValues(const RecordsContext& context, const std::array<double, kPointCount>& values,
                       const std::array<double, kPointCount>& quality);

}  // namespace tork
