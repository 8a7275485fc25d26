// tork-tool device probe [--simulate]

#include "commands.h"

#include "core/app/clock.h"
#include "core/app/formats.h"
#include "core/app/settings.h"
#include "core/device/hidtransport.h"
#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"

#include <QFileInfo>

namespace tork::cli {
namespace {

// Prints what the link read from the instrument it claimed.
void printInstrument(int number, const QString& where, DeviceLink& link, const Settings& settings)
{
    out() << "Instrument " << number << ": " << where << "\n";
    const QString version = link.hardwareVersion();
    out() << "  Hardware version:    " << (version.isEmpty() ? QStringLiteral("(none: the instrument gave no version string)") : version)
          << (link.registerCalibration() ? " (holds its own calibration)" : "") << "\n";
    out() << "  Serial number:       " << (link.serialNumber().isEmpty() ? QStringLiteral("(did not answer)") : link.serialNumber()) << "\n";
    if (link.registerCalibration()) {
        out() << "  Full-scale counts:   normal " << link.fullScaleNormal() << ", high " << link.fullScaleHigh()
              << " (held by the instrument)\n";
    } else {
        out() << "  Full-scale counts:   normal " << settings.intValue(SettingLine::FullScaleNormal) << ", high "
              << settings.intValue(SettingLine::FullScaleHigh) << " (from the settings, lines 1 and 2)\n";
    }
    out() << "  Measurement counter: " << formatThousands(link.measurementCounter(false), 0).trimmed() << "\n";
}

int runDevice(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("device probe [--simulate] [--program-folder DIR]"),
                      QStringLiteral("Lists the connected instruments with their hardware version, serial number, "
                                     "full-scale counts and measurement counter.\nExit status 0 when an instrument "
                                     "answered, 1 when none is connected or none can be used."));
    QCommandLineOption simulate(QStringLiteral("simulate"), QStringLiteral("Probe the simulated instrument instead."));
    cmd.parser().addOption(simulate);
    int code = 0;
    if (!cmd.parse(words, &code)) return code;
    const QStringList pos = cmd.positional();
    if (pos != QStringList{QStringLiteral("probe")}) {
        cmd.printUsageError(QStringLiteral("say probe"));
        return 2;
    }
    Settings settings;
    const QString settingsPath = cmd.programFolder().settingsFilePath();
    if (QFileInfo::exists(settingsPath)) settings.load(settingsPath);

    SystemClock clock;
    if (cmd.parser().isSet(simulate)) {
        SimulatedInstrument instrument(clock);
        DeviceLink link(instrument, clock);
        link.install();
        printInstrument(1, QStringLiteral("simulated instrument"), link, settings);
        out().flush();
        return 0;
    }

    HidTransport lister;
    const QList<InstrumentPath> found = lister.instruments();
    if (found.isEmpty()) {
        out() << "No instrument is connected (no USB HID device with vendor ID C925 and product ID A13F)." << Qt::endl;
        return 1;
    }
    int usable = 0;
    for (int i = 0; i < found.size(); ++i) {
        HidTransport transport;
        transport.setOnlyPath(found[i].path);
        DeviceLink link(transport, clock);
        link.install();
        const QString where = QString::fromLocal8Bit(found[i].path);
        if (!link.isClaimed()) {
            out() << "Instrument " << i + 1 << ": " << where
                  << "\n  cannot be opened: this user may not use it. Install the udev rule 70-tork.rules "
                     "(see README) and plug the instrument in again.\n";
            continue;
        }
        ++usable;
        printInstrument(i + 1, where, link, settings);
    }
    out().flush();
    return usable > 0 ? 0 : 1;
}

const RegisterCommand registration{
    {QStringLiteral("device"), QStringLiteral("list the connected instruments"), runDevice}};

}  // namespace
}  // namespace tork::cli
