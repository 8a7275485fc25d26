// tork-tool analyze [FILE] | analyze --stored MKEY, optionally with the recommended protocols

#include "commands.h"

#include "core/analysis/analysisjson.h"
#include "core/analysis/storedmeasurement.h"
#include "core/app/settings.h"
#include "core/protocols/matching.h"
#include "core/records/connection.h"
#include "core/records/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace tork::cli {
namespace {

// The factors the program would use now: those chosen by the settings file of the folder,
// or by the values of a first start when there is none.
std::optional<std::array<double, kMeridianCount>> currentFactors(const ProgramFolder& folder)
{
    Settings settings;
    const QString path = folder.settingsFilePath();
    if (QFileInfo::exists(path)) {
        const SettingsLoadResult loaded = settings.load(path);
        if (!loaded.ok) {
            err() << "tork-tool: " << loaded.message << Qt::endl;
            return std::nullopt;
        }
    }
    MeridianTables tables;
    tables.rebuild(settings.intValue(SettingLine::OrderMode), settings.customOrder(),
                   settings.intValue(SettingLine::FactorMode), settings.customFactors());
    return tables.compensationFactors();
}

struct OutputChoice {
    bool compact = false;
    bool protocols = false;
};

// The protocols recommended for the analysis: the user's from the main database and the
// delivered ones from the system protocol database of the folder. A database the folder does
// not hold gives an empty list and a notice.
std::optional<QJsonObject> recommendations(const AnalysisRecord& record, const AnalysisResult& result, const ProgramFolder& folder)
{
    const MatchInputs inputs = matchInputs(record, result, QDate::currentDate());
    QJsonObject lists;
    for (const auto& [list, file] : {std::pair{"user", kMainDatabaseFile}, std::pair{"system", kSystemProtocolDatabaseFile}}) {
        QJsonArray recommended;
        const QString path = folder.filePath(QString::fromLatin1(file));
        if (!QFileInfo::exists(path)) {
            err() << "tork-tool: " << path << " does not exist; no " << list << " protocols are recommended." << Qt::endl;
        } else {
            Database database;
            if (const QString error = database.open(path, OpenMode::ReadOnly); !error.isEmpty()) {
                err() << "tork-tool: " << error << Qt::endl;
                return std::nullopt;
            }
            QSqlDatabase db = database.db();
            for (const ProtocolHeading& p : recommendProtocols(db, inputs))
                recommended.append(QJsonObject{{"number", p.number}, {"name", p.name}});
        }
        lists[QLatin1String(list)] = recommended;
    }
    return lists;
}

int printAnalysis(const AnalysisRecord& record, const std::array<double, kMeridianCount>& factors, const ProgramFolder& folder,
                  OutputChoice choice)
{
    const AnalysisResult result = computeAnalysis(record, factors);
    QJsonObject analysis = analysisToJson(result, buildAnalysisTexts(result));
    if (choice.protocols) {
        const std::optional<QJsonObject> recommended = recommendations(record, result, folder);
        if (!recommended) return 1;
        analysis[QStringLiteral("recommendedProtocols")] = *recommended;
    }
    const bool compact = choice.compact;
    const QJsonDocument document(analysis);
    out() << document.toJson(compact ? QJsonDocument::Compact : QJsonDocument::Indented);
    if (compact) out() << "\n";
    out().flush();
    return 0;
}

int analyseInput(const QString& file, const ProgramFolder& folder, OutputChoice choice)
{
    QByteArray text;
    if (file.isEmpty() || file == "-") {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            err() << "tork-tool: standard input cannot be read." << Qt::endl;
            return 1;
        }
        text = input.readAll();
    } else {
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly)) {
            err() << "tork-tool: " << file << " cannot be read: " << input.errorString() << Qt::endl;
            return 1;
        }
        text = input.readAll();
    }
    const MeasurementInputParse parsed = parseMeasurementJson(text);
    if (!parsed.input) {
        err() << "tork-tool: " << parsed.error << Qt::endl;
        return 1;
    }
    std::optional<std::array<double, kMeridianCount>> factors = parsed.input->compensationFactors;
    if (!factors) factors = currentFactors(folder);
    if (!factors) return 1;
    return printAnalysis(parsed.input->record, *factors, folder, choice);
}

int analyseStored(const QString& keyText, const ProgramFolder& folder, OutputChoice choice)
{
    bool ok = false;
    const qint64 key = keyText.toLongLong(&ok);
    if (!ok) {
        err() << "tork-tool: \"" << keyText << "\" is not a measurement key (MKEY)." << Qt::endl;
        return 2;
    }
    const QString path = folder.filePath(QString::fromLatin1(kMainDatabaseFile));
    Database main;
    if (const QString error = main.open(path, OpenMode::ReadOnly); !error.isEmpty()) {
        err() << "tork-tool: " << error << Qt::endl;
        return 1;
    }
    QSqlDatabase db = main.db();
    const StoredMeasurement stored = loadStoredMeasurement(db, key);
    switch (stored.status) {
    case StoredMeasurement::Status::Missing:
        err() << "tork-tool: there is no measurement with MKEY " << key << " in " << path << "." << Qt::endl;
        return 1;
    case StoredMeasurement::Status::Unfinished: {
        const int me = firstUnfinishedPoint(stored.record);
        err() << "tork-tool: measurement " << key << " is unfinished (ME" << me << " is "
              << stored.record.values[me - 1] << "); it cannot be analysed." << Qt::endl;
        return 1;
    }
    case StoredMeasurement::Status::Loaded: break;
    }
    if (!stored.patientFound)
        err() << "tork-tool: the patient \"" << stored.record.patientNo << "\" of measurement " << key
              << " is not in the database; analysed as a male patient of unknown age." << Qt::endl;
    const std::optional<std::array<double, kMeridianCount>> factors = currentFactors(folder);
    if (!factors) return 1;
    return printAnalysis(stored.record, *factors, folder, choice);
}

int runAnalyze(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("analyze [FILE] [--compact] [--protocols] | analyze --stored MKEY [--compact] [--protocols] "
                                     "[--program-folder DIR]"),
                      QStringLiteral("Analyses one measurement and prints every derived index, the statements and the "
                                     "lists as JSON.\nThe measurement comes as JSON from FILE or standard input: "
                                     "{\"values\":[24 numbers by ME number], \"quality\":[24, optional], "
                                     "\"isMale\":true, \"birthDate\":day count or 0, \"measuredAt\":day count, "
                                     "\"compensationFactors\":[12 by meridian number, optional: the settings' set]}.\n"
                                     "With --stored it is the measurement MKEY of the main database, with its "
                                     "patient's gender and birth date.\nWith --protocols the output also lists the "
                                     "therapy protocols recommended for it (\"recommendedProtocols\": the user's of the "
                                     "main database and the delivered ones of the folder), ages counted to today."));
    const QCommandLineOption stored(QStringLiteral("stored"), QStringLiteral("Analyse the stored measurement MKEY."),
                                    QStringLiteral("MKEY"));
    const QCommandLineOption compact(QStringLiteral("compact"), QStringLiteral("Print the JSON on one line."));
    cmd.parser().addOption(stored);
    const QCommandLineOption protocols(QStringLiteral("protocols"), QStringLiteral("Also list the recommended therapy protocols."));
    cmd.parser().addOption(compact);
    cmd.parser().addOption(protocols);
    int code = 0;
    if (!cmd.parse(words, &code)) return code;
    const QStringList pos = cmd.positional();
    const OutputChoice choice{cmd.parser().isSet(compact), cmd.parser().isSet(protocols)};
    if (cmd.parser().isSet(stored)) {
        if (!pos.isEmpty()) {
            cmd.printUsageError(QStringLiteral("--stored takes no file"));
            return 2;
        }
        return analyseStored(cmd.parser().value(stored), cmd.programFolder(), choice);
    }
    if (pos.size() > 1) {
        cmd.printUsageError(QStringLiteral("give at most one file"));
        return 2;
    }
    return analyseInput(pos.value(0), cmd.programFolder(), choice);
}

const RegisterCommand registration{
    {QStringLiteral("analyze"), QStringLiteral("analyse a measurement given as JSON or stored in the database"), runAnalyze}};

}  // namespace
}  // namespace tork::cli
