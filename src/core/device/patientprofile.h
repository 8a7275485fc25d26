#pragma once
// Virtual patients of the simulated instrument: 24 point currents by ME number, the noise
// of the reading and its slow drift while the probe rests on a point.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace tork {

struct PatientProfile {
    QString name;
    std::array<double, 24> microamps{};  // by ME number 1..24
    double noiseCounts = 0;              // standard deviation of the reading noise
    double driftCountsPerSecond = 0;     // change of the reading while the probe rests

    // Every point at the same current, no noise or drift.
    static PatientProfile even(double microamps, const QString& name = QStringLiteral("Even"));
};

// Reads a profile from its JSON text; on failure returns nothing and a message naming the fault.
std::optional<PatientProfile> parsePatientProfile(const QByteArray& json, QString* error);
std::optional<PatientProfile> loadPatientProfile(const QString& path, QString* error);
// Every *.json profile in the folder, by file name; files that do not read are listed in `errors`.
std::vector<PatientProfile> loadPatientProfiles(const QString& folder, QStringList* errors = nullptr);
// The folder of the delivered demo profiles.
QString deliveredProfilesPath();

}  // namespace tork
