#include "ui/app/fonts.h"
#include "ui/app/mainwindow.h"
#include "ui/device/simulatorpanel.h"
#include "ui/device/statuswindow.h"
#include "core/app/clock.h"
#include "core/app/messages.h"
#include "core/app/programstate.h"
#include "core/device/hidtransport.h"
#include "core/device/link.h"
#include "core/device/patientprofile.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "core/measure/currentmeasurement.h"
#include "core/records/deliveredfiles.h"
#include "core/records/referencetexts.h"
#include "core/records/schema.h"
#include "core/records/startup.h"
#include "ui/analysis/tkaany.h"
#include "ui/measure/tkadec.h"
#include "ui/records/recordswindows.h"
#include "ui/widgets/messagewindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvan Ka-240"));
    QApplication::setApplicationVersion(QStringLiteral(TORK_VERSION));
    tork::installProgramFonts();

    tork::WindowMessageService messages;
    tork::installMessageService(&messages);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("T.O.R.K. meridian energy analysis"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption folderOption(QStringLiteral("program-folder"),
                                    QStringLiteral("Folder of the settings, pictures and databases."),
                                    QStringLiteral("DIR"));
    QCommandLineOption simulateOption(QStringLiteral("simulate"),
                                      QStringLiteral("Work with the simulated instrument and show its panel."));
    parser.addOption(folderOption);
    parser.addOption(simulateOption);
    parser.process(app);

    tork::ProgramFolder folder(parser.value(folderOption));
    const QString folderError = folder.ensureExists();
    if (!folderError.isEmpty()) {
        tork::showMessage(tork::MessageKind::ImportantNotice, folderError);
        return 1;
    }

    // What the installation delivers (templates, reference texts, pictures) and the folder lacks.
    const tork::DeliveredCopyResult delivered = tork::copyMissingDeliveredFiles(folder);
    if (!delivered.ok()) tork::showMessage(tork::MessageKind::CautionNotice, delivered.failures.join(QLatin1Char('\n')));

    tork::SystemClock clock;
    const bool simulate = parser.isSet(simulateOption);
    std::unique_ptr<tork::Transport> transport;
    tork::SimulatedInstrument* simulated = nullptr;
    if (simulate) {
        auto instrument = std::make_unique<tork::SimulatedInstrument>(clock);
        simulated = instrument.get();
        transport = std::move(instrument);
    } else {
        transport = std::make_unique<tork::HidTransport>();
    }
    tork::DeviceLink link(*transport, clock);

    tork::ProgramState state(folder);
    std::unique_ptr<tork::StandingConnections> databases;
    tork::TKaForm* form = nullptr;

    tork::MainWindowHooks hooks;
    hooks.installDeviceLink = [&] { link.install(); };
    hooks.runStartupCheck = [&] {
        tork::TKaStatu check(link, form);
        check.databaseStartup = [&](tork::StartupDisplay& display) {
            // The step reports its failures by taking the program off-line.
            state.online = link.isOnline();
            databases = tork::runDatabaseStartup(state, display);
            if (!databases || !state.online) link.setOnline(false);
        };
        check.exec();
        link.setStartupCheckPending(false);
        return check.online() && link.isOnline();
    };
    hooks.playSound = [&](int n) { link.playSound(n); };
    hooks.sendCommand = [&](const QString& command) { link.sendCommand(command); };
    hooks.closeDatabases = [&] {
        if (databases) databases->close();
    };
    hooks.serialNumber = [&] { return link.serialNumber(); };
    hooks.hardwareVersion = [&] { return link.readHardwareVersion(); };
    hooks.measurementCounter = [&] { return static_cast<qint64>(link.measurementCounter(false)); };

    tork::TKaForm window(state, hooks);
    form = &window;

    // The function windows, opened from the main window and from the measurement window.
    std::unique_ptr<tork::VirtualOperator> virtualOperator;
    tork::CurrentMeasurement measurement;
    std::unique_ptr<tork::ReferenceDatabase> referenceTexts;
    const auto recordsContext = [&] {
        tork::RecordsContext context;
        context.state = &state;
        context.measurement = &measurement;
        if (databases) context.db = databases->main.db();
        context.playSound = [&](int n) { link.playSound(n); };
        return context;
    };
    const auto analysisWindow = [&](QWidget* parent) -> QDialog* {
        if (!referenceTexts)
            referenceTexts = std::make_unique<tork::ReferenceDatabase>(folder.filePath(tork::kReferenceDatabaseFile));
        return new tork::TKaany(recordsContext(), *referenceTexts, parent);
    };
    window.setFunctionWindow(tork::Function::Recall, [&](QWidget* parent) {
        return tork::createRecallWindow(recordsContext(), true, parent);
    });
    window.setFunctionWindow(tork::Function::Measure, [&](QWidget* parent) -> QDialog* {
        tork::TKadec* measure = tork::createMeasurementWindow(state, measurement, link, clock, parent);
        if (virtualOperator) {
            // The virtual operator touches the point the window shows, also after a table click.
            QPointer<tork::TKadec> shown(measure);
            virtualOperator->setShownPoint([shown] { return shown ? shown->run().currentPoint() : 0; });
        }
        measure->setFunctionWindow(tork::MeasureFunction::Analyze, analysisWindow);
        measure->setFunctionWindow(tork::MeasureFunction::Save, [&](QWidget* p) { return tork::createSaveWindow(recordsContext(), p); });
        measure->setFunctionWindow(tork::MeasureFunction::Recall,
                                   [&](QWidget* p) { return tork::createRecallWindow(recordsContext(), false, p); });
        measure->setFunctionWindow(tork::MeasureFunction::Manual,
                                   [&](QWidget* p) { return tork::createManualEntryWindow(recordsContext(), p); });
        return measure;
    });
    // The instrument claimed while the window was being made sets the tray now.
    if (link.isClaimed()) window.setTrayStatus(true);
    QObject::connect(&link, &tork::DeviceLink::onlineChanged, &window, [&](bool online) { state.online = online; });
    QObject::connect(&link, &tork::DeviceLink::trayStatusChanged, &window, &tork::TKaForm::setTrayStatus);
    QObject::connect(&link, &tork::DeviceLink::noticeShown, &window,
                     [&](const QString& title, const QString& text, bool error) { window.showNotice(title, text, error); });
    QObject::connect(&link, &tork::DeviceLink::noticeHidden, &window, &tork::TKaForm::hideNotice);

    tork::SimulatorPanel* panel = nullptr;  // the main window owns it
    if (simulated) {
        tork::VirtualOperator::PointOrder order{};
        for (int p = 1; p <= 24; ++p) order[p - 1] = state.tables.positionPoint(p);
        virtualOperator = std::make_unique<tork::VirtualOperator>(*simulated, clock, order);
        virtualOperator->setEnabled(true);
        QStringList errors;
        auto profiles = tork::loadPatientProfiles(tork::deliveredProfilesPath(), &errors);
        for (const QString& error : errors) qWarning("Patient profile not loaded: %s", qPrintable(error));
        panel = new tork::SimulatorPanel(*simulated, *virtualOperator, std::move(profiles), &window);
    }

    window.showMaximized();
    if (panel) {
        panel->show();
        panel->move(window.geometry().topRight() - QPoint(panel->width() + 40, -120));
    }
    return app.exec();
}
