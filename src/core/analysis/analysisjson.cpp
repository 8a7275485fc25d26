#include "core/analysis/analysisjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>

namespace tork {
namespace {

template <typename T, std::size_t N>
QJsonArray toArray(const std::array<T, N>& values)
{
    QJsonArray array;
    for (const T& v : values) array.append(v);
    return array;
}

template <typename T, std::size_t Rows, std::size_t Columns>
QJsonArray toArray(const std::array<std::array<T, Columns>, Rows>& table)
{
    QJsonArray array;
    for (const auto& row : table) array.append(toArray(row));
    return array;
}

QJsonArray toArray(const QList<ListEntry>& list)
{
    QJsonArray array;
    for (const ListEntry& entry : list) array.append(QJsonObject{{"text", entry.text}, {"key", entry.key}});
    return array;
}

// Reads an array of exactly N finite numbers; returns an error text or empty.
template <std::size_t N>
QString readNumbers(const QJsonObject& object, const QString& key, std::array<double, N>& out)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray()) return QString("\"%1\" must be an array of %2 numbers.").arg(key).arg(N);
    const QJsonArray array = value.toArray();
    if (array.size() != qsizetype(N))
        return QString("\"%1\" holds %2 entries; it must hold %3 numbers.").arg(key).arg(array.size()).arg(N);
    for (std::size_t i = 0; i < N; ++i) {
        const QJsonValue item = array.at(qsizetype(i));
        if (!item.isDouble() || !std::isfinite(item.toDouble()))
            return QString("\"%1\" entry %2 is not a number.").arg(key).arg(i + 1);
        out[i] = item.toDouble();
    }
    return {};
}

QString readNumber(const QJsonObject& object, const QString& key, double& out)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) return QString("\"%1\" is missing.").arg(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble())) return QString("\"%1\" must be a number.").arg(key);
    out = value.toDouble();
    return {};
}

MeasurementInputParse failure(const QString& error) { return {std::nullopt, error}; }

}  // namespace

int firstUnfinishedPoint(const AnalysisRecord& record)
{
    for (int me = 1; me <= kPointCount; ++me)
        if (!(record.values[me - 1] > 0)) return me;
    return 0;
}

MeasurementInputParse parseMeasurementJson(const QByteArray& text)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failure(QString("The input is not valid JSON: %1 at character %2.").arg(parseError.errorString()).arg(parseError.offset));
    if (!document.isObject()) return failure(QStringLiteral("The input must be one JSON object describing a measurement."));
    const QJsonObject object = document.object();

    MeasurementInput input;
    AnalysisRecord& record = input.record;
    if (!object.contains("values")) return failure(QStringLiteral("\"values\" is missing."));
    if (QString e = readNumbers(object, "values", record.values); !e.isEmpty()) return failure(e);
    if (object.contains("quality"))
        if (QString e = readNumbers(object, "quality", record.quality); !e.isEmpty()) return failure(e);

    const QJsonValue isMale = object.value("isMale");
    if (isMale.isUndefined()) return failure(QStringLiteral("\"isMale\" is missing."));
    if (!isMale.isBool()) return failure(QStringLiteral("\"isMale\" must be true or false."));
    record.isMale = isMale.toBool();
    if (QString e = readNumber(object, "birthDate", record.birthDate); !e.isEmpty()) return failure(e);
    if (QString e = readNumber(object, "measuredAt", record.measuredAt); !e.isEmpty()) return failure(e);

    if (object.contains("compensationFactors")) {
        std::array<double, kMeridianCount> factors{};
        if (QString e = readNumbers(object, "compensationFactors", factors); !e.isEmpty()) return failure(e);
        input.compensationFactors = factors;
    }

    if (const int me = firstUnfinishedPoint(record))
        return failure(QString("The measurement is unfinished: ME%1 is %2, and every value must be above 0.")
                           .arg(me)
                           .arg(record.values[me - 1]));
    return {input, {}};
}

QJsonObject analysisToJson(const AnalysisResult& r, const AnalysisTexts& texts)
{
    QJsonObject o;
    o["energyAverage"] = r.energyAverage;
    o["qualityAverage"] = r.qualityAverage;
    o["compensated"] = toArray(r.compensated);
    o["deviation"] = toArray(r.deviation);
    o["thresholdScale"] = r.thresholdScale;
    o["Te"] = r.thresholds.excess;
    o["Th"] = r.thresholds.highExcess;
    o["Td"] = r.thresholds.deficiency;
    o["Tl"] = r.thresholds.highDeficiency;
    o["Tf1"] = r.thresholds.difference1;
    o["Tf2"] = r.thresholds.difference2;
    o["pointLevel"] = toArray(r.pointLevel);
    o["tripleMean"] = toArray(r.tripleMean);
    o["yinMean"] = r.yinMean;
    o["yangMean"] = r.yangMean;
    o["upperMean"] = r.upperMean;
    o["lowerMean"] = r.lowerMean;
    o["leftMean"] = r.leftMean;
    o["rightMean"] = r.rightMean;
    o["tripleMin"] = r.tripleMin;
    o["tripleMax"] = r.tripleMax;
    o["pairMean"] = toArray(r.pairMean);
    o["pairLevel"] = toArray(r.pairLevel);
    o["coupleLevel"] = toArray(r.coupleLevel);
    o["meridianLevel"] = toArray(r.meridianLevel);
    o["sideLevel"] = toArray(r.sideLevel);
    o["elementTable"] = toArray(r.elementTable);
    o["elementLevel"] = toArray(r.elementLevel);
    o["bodyEnergyState"] = r.bodyEnergyState;
    o["mentalState"] = r.mentalState;
    o["musculoskeletalState"] = r.musculoskeletalState;
    o["metabolismState"] = r.metabolismState;
    o["autonomicState"] = r.autonomicState;
    o["integratedIndex"] = r.integratedIndex;
    o["pointScore"] = toArray(r.pointScore);
    o["meridiansIndex"] = r.meridiansIndex;
    o["energyLow"] = r.energyLow;

    QJsonArray statements;
    for (const QString& s : texts.statements) statements.append(s);
    o["statements"] = statements;
    o["analysisList"] = toArray(texts.analysisList);
    o["dietaryList"] = toArray(texts.dietaryList);
    o["protocolsList"] = toArray(texts.protocolsList);
    return o;
}

}  // namespace tork
