#include "core/device/patientprofile.h"

#include "core/app/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace tork {
namespace {

// The instrument reads up to 4095 counts: about 205 uA at its usual full scale of 4000.
constexpr double kMaxMicroamps = 250;

bool readNumber(const QJsonObject& object, const QString& key, double low, double high, double* value, QString* error)
{
    const QJsonValue v = object.value(key);
    if (v.isUndefined()) return true;  // optional, keeps its default
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < low || v.toDouble() > high) {
        *error = QStringLiteral("\"%1\" must be a number from %2 to %3").arg(key).arg(low).arg(high);
        return false;
    }
    *value = v.toDouble();
    return true;
}

}  // namespace

PatientProfile PatientProfile::even(double microamps, const QString& name)
{
    PatientProfile profile;
    profile.name = name;
    profile.microamps.fill(microamps);
    return profile;
}

std::optional<PatientProfile> parsePatientProfile(const QByteArray& json, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        message = QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        message = QStringLiteral("a profile is a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    PatientProfile profile;
    profile.name = object.value(QStringLiteral("name")).toString().trimmed();
    if (profile.name.isEmpty()) {
        message = QStringLiteral("\"name\" is missing or empty");
        return std::nullopt;
    }
    const QJsonArray currents = object.value(QStringLiteral("microamps")).toArray();
    if (currents.size() != 24) {
        message = QStringLiteral("\"microamps\" must list 24 currents, one per ME number");
        return std::nullopt;
    }
    for (int i = 0; i < 24; ++i) {
        const QJsonValue v = currents.at(i);
        if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < 0 || v.toDouble() > kMaxMicroamps) {
            message = QStringLiteral("current %1 of \"microamps\" must be a number from 0 to %2").arg(i + 1).arg(kMaxMicroamps);
            return std::nullopt;
        }
        profile.microamps[i] = v.toDouble();
    }
    if (!readNumber(object, QStringLiteral("noiseCounts"), 0, 500, &profile.noiseCounts, &message)) return std::nullopt;
    if (!readNumber(object, QStringLiteral("driftCountsPerSecond"), -500, 500, &profile.driftCountsPerSecond, &message))
        return std::nullopt;
    return profile;
}

std::optional<PatientProfile> loadPatientProfile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString message;
    auto profile = parsePatientProfile(file.read(64 * 1024), &message);
    if (!profile && error) *error = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), message);
    return profile;
}

std::vector<PatientProfile> loadPatientProfiles(const QString& folder, QStringList* errors)
{
    std::vector<PatientProfile> profiles;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QString error;
        if (auto profile = loadPatientProfile(dir.filePath(name), &error))
            profiles.push_back(*profile);
        else if (errors)
            errors->append(error);
    }
    return profiles;
}

QString deliveredProfilesPath() { return deliveredDataPath() + QStringLiteral("/profiles"); }

}  // namespace tork
