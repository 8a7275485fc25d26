// tork-tool measure --simulate --profile FILE [--channel N] [--high] | measure [--channel N] [--high]

#include "commands.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/app/programstate.h"
#include "core/device/hidtransport.h"
#include "core/device/link.h"
#include "core/device/patientprofile.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "core/measure/measuringrun.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace tork::cli {
namespace {

// Questions of the run on the console. The high-potential question was answered by --high;
// others are read from standard input ("y" or "yes"), and an input that has ended answers no.
class ConsoleQuestions final : public MessageService {
public:
    bool show(int kind, const QString& text) override
    {
        err() << messageTitle(kind) << ": " << text << Qt::endl;
        if (!isQuestion(kind)) return true;
        if (text == MeasuringRun::highPotentialQuestion()) return true;
        err() << "[y/n] " << Qt::flush;
        char line[64] = {};
        if (!std::fgets(line, sizeof line, stdin)) return false;
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        return answer == QLatin1String("y") || answer == QLatin1String("yes");
    }
};

QJsonArray jsonArray(const std::array<double, kPointCount>& values)
{
    QJsonArray array;
    for (double v : values) array.append(v);
    return array;
}

QString locationOf(const MeridianTables& tables, int position)
{
    const bool left = position <= 6 || (position >= 13 && position <= 18);
    const bool foot = tables.positionMeridian(position) > 6;
    return QStringLiteral("%1 %2").arg(left ? "Left" : "Right", foot ? "Foot" : "Hand");
}

// Text guidance for an operator at a real instrument.
void guideOnConsole(MeasuringRun& run, const ProgramState& state, const CurrentMeasurement& measurement)
{
    QObject::connect(&run, &MeasuringRun::pointShown, [&run, &state](int position) {
        const MeridianInfo& info = meridianInfo(state.tables.positionMeridian(position));
        err() << QStringLiteral("Point %1 of 24 (ME%2): %3, %4 of %5, %6")
                     .arg(position)
                     .arg(run.currentPoint())
                     .arg(locationOf(state.tables, position), info.name, info.channelName, info.sourcePoint.simplified())
              << Qt::endl;
    });
    QObject::connect(&run, &MeasuringRun::statusChanged, [](const QString& text) {
        if (!text.isEmpty()) err() << "  " << text << Qt::endl;
    });
    QObject::connect(&run, &MeasuringRun::contactLost, [] { err() << "  Contact lost; the point starts again." << Qt::endl; });
    QObject::connect(&run, &MeasuringRun::pointCompleted, [&measurement](int, int me, Stability) {
        err() << QStringLiteral("  ME%1: %2 uA, quality %3")
                     .arg(me)
                     .arg(formatFixed(measurement.values[me - 1], 5, 1), formatFixed(measurement.quality[me - 1], 5, 1))
              << Qt::endl;
    });
}

void printMeasurement(const CurrentMeasurement& measurement, const ProgramState& state)
{
    QJsonObject json;
    json.insert(QStringLiteral("values"), jsonArray(measurement.values));
    json.insert(QStringLiteral("compensated"), jsonArray(measurement.compensated));
    json.insert(QStringLiteral("quality"), jsonArray(measurement.quality));
    json.insert(QStringLiteral("measuredAt"), state.measurementDateTime);
    json.insert(QStringLiteral("highPotential"), state.highPotential);
    out() << QJsonDocument(json).toJson(QJsonDocument::Indented);
    out().flush();
}

int runMeasure(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("measure [--simulate --profile FILE] [--channel N] [--high] [--program-folder DIR]"),
                      QStringLiteral("Runs one complete automatic measuring run and prints the measurement as JSON.\n"
                                     "With --simulate the simulated instrument and a virtual operator measure the "
                                     "patient profile in virtual time; without it the connected instrument is used "
                                     "and the operator is guided by text."));
    QCommandLineOption simulate(QStringLiteral("simulate"), QStringLiteral("Measure with the simulated instrument."));
    QCommandLineOption profileOption(QStringLiteral("profile"), QStringLiteral("Patient profile (JSON) of the simulated instrument."),
                                     QStringLiteral("FILE"));
    QCommandLineOption channelOption(QStringLiteral("channel"),
                                     QStringLiteral("Measuring channel 0 CPDM, 1 Channel 1, 2 Channel 2, 3 or 4 (default: the settings)."),
                                     QStringLiteral("N"));
    QCommandLineOption high(QStringLiteral("high"), QStringLiteral("Measure at high potential (this confirms it)."));
    cmd.parser().addOptions({simulate, profileOption, channelOption, high});
    int code = 0;
    if (!cmd.parse(words, &code)) return code;
    if (!cmd.positional().isEmpty()) {
        cmd.printUsageError(QStringLiteral("measure takes no further words"));
        return 2;
    }
    const bool simulated = cmd.parser().isSet(simulate);
    if (simulated != cmd.parser().isSet(profileOption)) {
        cmd.printUsageError(simulated ? QStringLiteral("--simulate needs --profile FILE")
                                      : QStringLiteral("--profile is for the simulated instrument; add --simulate"));
        return 2;
    }

    ProgramState state(cmd.programFolder());
    if (QFileInfo::exists(state.folder.settingsFilePath())) {
        const SettingsLoadResult loaded = state.settings.load(state.folder.settingsFilePath());
        if (!loaded.ok) {
            err() << "tork-tool: " << loaded.message << Qt::endl;
            return 1;
        }
    }
    state.rebuildTables();
    if (cmd.parser().isSet(channelOption)) {
        bool ok = false;
        const int channel = cmd.parser().value(channelOption).toInt(&ok);
        if (!ok || channel < 0 || channel > 4) {
            err() << "tork-tool: \"" << cmd.parser().value(channelOption) << "\" is not a channel (0 to 4)." << Qt::endl;
            return 2;
        }
        state.settings.setInt(SettingLine::MeasuringChannel, channel);
    }
    // One complete automatic run, whatever method the settings chose for the window.
    state.settings.setInt(SettingLine::MeasuringMethod, 1);
    state.highPotential = cmd.parser().isSet(high);

    ConsoleQuestions questions;
    MessageService* previous = installMessageService(&questions);
    CurrentMeasurement measurement;
    int status = 0;
    if (simulated) {
        QString error;
        const std::optional<PatientProfile> profile = loadPatientProfile(cmd.parser().value(profileOption), &error);
        if (!profile) {
            err() << "tork-tool: " << error << Qt::endl;
            installMessageService(previous);
            return 1;
        }
        VirtualClock clock;
        SimulatedInstrument instrument(clock);
        instrument.setProfile(*profile);
        DeviceLink link(instrument, clock);
        link.install();
        MeasuringRun run(state, measurement, link, clock);
        const QDateTime startedAt = QDateTime::currentDateTime();
        run.setDayCountSource([&] { return toDayCount(startedAt.addMSecs(qint64(clock.elapsedTotal()))); });
        VirtualOperator hands(instrument, clock, VirtualOperator::PointOrder{});
        hands.setShownPoint([&run] { return run.currentPoint(); });
        hands.setEnabled(true);
        run.start();
    } else {
        SystemClock clock;
        HidTransport transport;
        DeviceLink link(transport, clock);
        link.setStartupCheckPending(false);
        link.install();
        if (!link.isOnline()) {
            err() << "tork-tool: no instrument is connected (or it cannot be opened); check the USB cable, "
                     "the power and the permission on its hidraw device."
                  << Qt::endl;
            installMessageService(previous);
            return 1;
        }
        QObject::connect(&link, &DeviceLink::noticeShown, [](const QString&, const QString& text, bool) {
            err() << text << Qt::endl;
        });
        MeasuringRun run(state, measurement, link, clock);
        guideOnConsole(run, state, measurement);
        run.start();
    }
    installMessageService(previous);
    if (!measurement.allValues()) {
        err() << "tork-tool: the run ended before all 24 points were measured." << Qt::endl;
        status = 1;
    }
    if (measurement.hasData) printMeasurement(measurement, state);
    return status;
}

const RegisterCommand registration{
    {QStringLiteral("measure"), QStringLiteral("run one measuring run (simulated or with the instrument)"), runMeasure}};

}  // namespace
}  // namespace tork::cli
