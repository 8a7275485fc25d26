#include "ui/records/recordscontext.h"

#include <QDialog>

namespace tork {

int RecordsContext::run(QDialog& dialog) const { return runDialog ? runDialog(dialog) : dialog.exec(); }

void takeCurrentValues(const RecordsContext& context, const std::array<double, kPointCount>& values,
                       const std::array<double, kPointCount>& quality)
{
    CurrentMeasurement& measurement = *context.measurement;
    ProgramState& state = *context.state;
    measurement.values = values;
    measurement.quality = quality;
    for (int me = 1; me <= kPointCount; ++me)
        measurement.compensated[me - 1] = values[me - 1] * state.tables.compensationFactor(meridianOfPoint(me));
    measurement.hasData = measurement.anyValue();
    state.chartChoices.fill(1);
}

}  // namespace tork
