#include "core/analysis/measurementjson.h"

#include "core/app/formats.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <cmath>

namespace tork {
namespace {

const QSet<QString>& knownFields()
{
    static const QSet<QString> fields{
        "values", "quality", "measuredAt", "highPotential", "notes", "measurementKey", "patientNo",
        "name", "telephone", "isMale", "birthDate", "compensationFactors"};
    return fields;
}

template <std::size_t N>
bool readNumbers(const QJsonObject& object, const QString& field, const QString& itemName,
                 std::array<double, N>* numbers, QString* error)
{
    const QJsonValue value = object.value(field);
    if (!value.isArray() || value.toArray().size() != int(N)) {
        *error = QStringLiteral("\"%1\" must be a list of %2 numbers.").arg(field).arg(N);
        return false;
    }
    const QJsonArray items = value.toArray();
    for (int i = 0; i < int(N); ++i) {
        if (!items[i].isDouble() || !std::isfinite(items[i].toDouble())) {
            *error = QStringLiteral("\"%1\": the entry for %2 is not a number.").arg(field, itemName.arg(i + 1));
            return false;
        }
        (*numbers)[i] = items[i].toDouble();
    }
    return true;
}

// A date-time as ISO text ("2026-12-11T07:30:00", "2026-12-11") or as a day count.
bool readDayCount(const QJsonObject& object, const QString& field, double* days, QString* error)
{
    const QJsonValue value = object.value(field);
    if (value.isUndefined() || value.isNull()) return true;
    if (value.isDouble()) {
        *days = value.toDouble();
        return true;
    }
    if (value.isString()) {
        const QString text = value.toString().trimmed();
        QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
        if (!dateTime.isValid()) {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (date.isValid()) dateTime = QDateTime(date, QTime(0, 0));
        }
        if (dateTime.isValid()) {
            *days = toDayCount(dateTime);
            return true;
        }
    }
    *error = QStringLiteral("\"%1\" must be a date such as \"2026-12-11T07:30:00\" or a day count.").arg(field);
    return false;
}

bool readText(const QJsonObject& object, const QString& field, QString* text, QString* error)
{
    const QJsonValue value = object.value(field);
    if (value.isUndefined() || value.isNull()) return true;
    if (!value.isString()) {
        *error = QStringLiteral("\"%1\" must be a text.").arg(field);
        return false;
    }
    *text = value.toString();
    return true;
}

bool readBool(const QJsonObject& object, const QString& field, bool* flag, QString* error)
{
    const QJsonValue value = object.value(field);
    if (value.isUndefined() || value.isNull()) return true;
    if (!value.isBool()) {
        *error = QStringLiteral("\"%1\" must be true or false.").arg(field);
        return false;
    }
    *flag = value.toBool();
    return true;
}

}  // namespace

std::optional<MeasurementJson> readMeasurementJson(const QByteArray& text, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("The measurement is not valid JSON (%1 at character %2).")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("The measurement must be a JSON object.");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!knownFields().contains(it.key())) {
            *error = QStringLiteral("Unknown field \"%1\" in the measurement.").arg(it.key());
            return std::nullopt;
        }
    }

    MeasurementJson measurement;
    AnalysisRecord& record = measurement.record;
    if (!object.contains("values")) {
        *error = QStringLiteral("\"values\" is missing: give the 24 measured values, ME1 to ME24.");
        return std::nullopt;
    }
    if (!readNumbers(object, "values", "ME%1", &record.values, error)) return std::nullopt;
    for (int me = 1; me <= kPointCount; ++me) {
        if (record.values[me - 1] <= 0) {
            *error = QStringLiteral("The measurement is unfinished: the value of ME%1 is not above 0.").arg(me);
            return std::nullopt;
        }
    }
    if (object.contains("quality") && !readNumbers(object, "quality", "ME%1", &record.quality, error))
        return std::nullopt;
    if (object.contains("compensationFactors")) {
        std::array<double, kMeridianCount> factors{};
        if (!readNumbers(object, "compensationFactors", "meridian %1", &factors, error)) return std::nullopt;
        for (int m = 1; m <= kMeridianCount; ++m) {
            if (factors[m - 1] <= 0) {
                *error = QStringLiteral("\"compensationFactors\": the factor of %1 must be above 0.")
                             .arg(meridianInfo(m).abbreviation);
                return std::nullopt;
            }
        }
        measurement.compensationFactors = factors;
    }
    if (!readDayCount(object, "measuredAt", &record.measuredAt, error)) return std::nullopt;
    if (!readDayCount(object, "birthDate", &record.birthDate, error)) return std::nullopt;
    if (!readBool(object, "highPotential", &record.highPotential, error)) return std::nullopt;
    if (!readBool(object, "isMale", &record.isMale, error)) return std::nullopt;
    if (!readText(object, "notes", &record.notes, error)) return std::nullopt;
    if (!readText(object, "patientNo", &record.patientNo, error)) return std::nullopt;
    if (!readText(object, "name", &record.name, error)) return std::nullopt;
    if (!readText(object, "telephone", &record.telephone, error)) return std::nullopt;
    const QJsonValue key = object.value("measurementKey");
    if (!key.isUndefined() && !key.isNull()) {
        if (!key.isDouble() || key.toDouble() != std::trunc(key.toDouble()) || key.toDouble() < 0 ||
            key.toDouble() > 2147483647.0) {
            *error = QStringLiteral("\"measurementKey\" must be a whole number of 0 or more.");
            return std::nullopt;
        }
        record.measurementKey = key.toInt();
    }
    return measurement;
}

}  // namespace tork
