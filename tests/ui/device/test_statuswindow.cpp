#include "ui/device/statuswindow.h"
#include "ui/device/simulatorpanel.h"
#include "ui/app/mainwindow.h"
#include "core/app/clock.h"
#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "support/scriptedmessages.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace tork {
namespace {

const QStringList kLampTest = {"C007F", "F00FF", "A00FF", "A0000", "B00FF", "B0000", "I00FF", "X0000"};

// Processes events until the condition holds; the limit only stops a broken test.
bool processUntil(const std::function<bool()>& done)
{
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class StatusWindowTest : public ::testing::Test {
protected:
    void start() { link.install(); sim.clearRecords(); }
    VirtualClock clock;
    SimulatedInstrument sim{clock};
    DeviceLink link{sim, clock};
    test::ScriptedMessages messages;
};

TEST_F(StatusWindowTest, OnLineRunsLampTestAndDatabaseStepThenFades)
{
    start();
    TKaStatu window(link);
    int databaseRuns = 0;
    window.databaseStartup = [&](StartupDisplay& display) {
        ++databaseRuns;
        EXPECT_EQ(display.progress(), 100);
        display.setCaption(QStringLiteral("DBT Prog:"));
        display.setLight(3, StepLight::Done);
        display.setStatusText(QStringLiteral("Opening the databases"));
        EXPECT_EQ(sim.commands(), kLampTest);  // the instrument is at rest before the step
    };
    int result = -1;
    QObject::connect(&window, &QDialog::finished, [&](int r) { result = r; });
    window.show();
    const auto start = clock.tick();
    window.FormActivate();
    // The check lasts its 1500 ms; the lamp exchanges fall within them, "X0000" comes after.
    EXPECT_GE(clock.elapsedSince(start), 1500u);
    EXPECT_LE(clock.elapsedSince(start), 1500u + 10u + 8u * SimulatedInstrument::kDefaultLatencyMs);

    EXPECT_EQ(databaseRuns, 1);
    EXPECT_EQ(window.modelText(), QStringLiteral("Ka-240"));
    EXPECT_EQ(window.serialText(), QStringLiteral("200517060042"));
    EXPECT_EQ(window.versionText(), QStringLiteral("TORK6-20051706-A02"));
    EXPECT_EQ(window.ledDisplayText(), QStringLiteral("Ka-240"));
    EXPECT_EQ(window.captionText(), QStringLiteral("DBT Prog:"));
    EXPECT_EQ(window.statusText(), QStringLiteral("Opening the databases"));
    EXPECT_EQ(window.progress(), 100);
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(window.lightColour(n), QColor(0, 255, 0)) << n;
    EXPECT_FALSE(window.isExitVisible());
    EXPECT_EQ(sim.commands(), kLampTest);
    EXPECT_EQ(sim.lampLevel(u'I'), 0);  // "X0000" put the lamps at rest

    ASSERT_TRUE(processUntil([&] { return result != -1; }));
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(window.online());
    EXPECT_TRUE(link.isOnline());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(StatusWindowTest, FailedChecksShowTheirMessageAndExit)
{
    const struct {
        const char* name;
        bool plugged;
        QString version;
        QString model, serial, versionShown, status;
        QColor lights;
    } cases[] = {
        {"no instrument", false, QStringLiteral("x"), "None!", "None!", "None!",
         "Cannot find T.O.R.K. Please check your USB interface cable and power status.", QColor(255, 0, 0)},
        {"no version", true, QString(), "Ka-240", "200517060042", "USB Status Error!",
         QStringLiteral("USB connection error") + QChar(0xFF01) + "Please check your USB interface cable.", QColor(255, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        SimulatedInstrument sim(clock);
        DeviceLink link(sim, clock);
        sim.setHardwareVersion(c.version);
        if (!c.plugged) sim.unplug();
        link.install();
        sim.clearRecords();

        TKaStatu window(link);
        bool databaseRan = false;
        window.databaseStartup = [&](StartupDisplay&) { databaseRan = true; };
        int result = -1;
        QObject::connect(&window, &QDialog::finished, [&](int r) { result = r; });
        window.show();
        window.FormActivate();
        EXPECT_EQ(window.modelText(), c.model);
        EXPECT_EQ(window.serialText(), c.serial);
        EXPECT_EQ(window.versionText(), c.versionShown);
        EXPECT_EQ(window.statusText(), c.status);
        EXPECT_EQ(window.lightColour(1), c.lights);
        EXPECT_EQ(window.lightColour(7), c.lights);
        EXPECT_TRUE(window.isExitVisible());
        EXPECT_FALSE(databaseRan);
        EXPECT_TRUE(sim.commands().isEmpty());  // no lamp test, no "X0000"
        EXPECT_EQ(result, -1);                  // waits for Exit

        window.exitButton()->click();
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(window.online());
        EXPECT_FALSE(link.isOnline());
    }
}

TEST_F(StatusWindowTest, CloseDuringTheCheckWaitsForItsEnd)
{
    sim.setHardwareVersion(QString());
    start();
    TKaStatu window(link);
    int result = -1;
    QObject::connect(&window, &QDialog::finished, [&](int r) { result = r; });
    window.show();
    bool checkingWhenClosed = false;
    clock.callAfter(400, &window, [&] {
        checkingWhenClosed = window.isChecking();
        window.close();
        EXPECT_EQ(result, -1);
        EXPECT_TRUE(window.isVisible());
    });
    window.FormActivate();
    EXPECT_TRUE(checkingWhenClosed);
    EXPECT_EQ(window.progress(), 100);  // the check ran to its end
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(link.isOnline());
}

TEST_F(StatusWindowTest, WindowDeletedWhileAnExchangeWaits)
{
    start();
    sim.setLatency(40);
    QPointer<TKaStatu> window = new TKaStatu(link);
    window->show();
    // Deleted from an event handler that runs while the first lamp command waits for its reply.
    clock.callAfter(20, nullptr, [&] {
        ASSERT_TRUE(link.isExchanging());
        delete window.data();
    });
    window->FormActivate();
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(link.isExchanging());
    EXPECT_TRUE(link.sendCommand(QStringLiteral("X0000")));
}

TEST_F(StatusWindowTest, DatabaseFailureEndsOffLine)
{
    start();
    TKaStatu window(link);
    window.databaseStartup = [&](StartupDisplay&) { link.setOnline(false); };
    int result = -1;
    QObject::connect(&window, &QDialog::finished, [&](int r) { result = r; });
    window.show();
    window.FormActivate();
    ASSERT_TRUE(processUntil([&] { return result != -1; }));
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(window.online());
}

// The main window enables its functions after an on-line check and ends after an off-line one.
TEST_F(StatusWindowTest, MainWindowFollowsTheOutcome)
{
    for (const bool plugged : {true, false}) {
        SCOPED_TRACE(plugged ? "on-line" : "off-line");
        test::TempProgramFolder folder;
        ProgramState state(folder.folder());
        VirtualClock clock;
        SimulatedInstrument sim(clock);
        if (!plugged) sim.unplug();
        DeviceLink link(sim, clock);
        TKaForm* form = nullptr;
        MainWindowHooks hooks;
        hooks.installDeviceLink = [&] { link.install(); };
        hooks.runStartupCheck = [&] {
            TKaStatu check(link, form);
            // Off-line the window waits for Exit; a close request given during the check stands for it.
            clock.callAfter(100, &check, [&] { if (!plugged) check.close(); });
            check.exec();
            link.setStartupCheckPending(false);
            return check.online() && link.isOnline();
        };
        TKaForm window(state, hooks);
        form = &window;
        window.show();
        window.FormActivate();
        EXPECT_EQ(state.online, plugged);
        EXPECT_EQ(window.isToolBarEnabled(), plugged);
        if (!plugged) {
            ASSERT_TRUE(processUntil([&] { return !window.isVisible(); }));  // the program ends
        }
    }
}

TEST_F(StatusWindowTest, SimulatorPanelDrivesTheInstrument)
{
    start();
    link.setStartupCheckPending(false);
    VirtualOperator op(sim, clock, {});
    std::vector<PatientProfile> profiles{PatientProfile::even(40, "Forty"), PatientProfile::even(90, "Ninety")};
    QWidget home;
    SimulatorPanel panel(sim, op, profiles, &home);
    EXPECT_EQ(panel.profileBox()->count(), 2);
    EXPECT_EQ(sim.profile().name, QStringLiteral("Forty"));
    panel.profileBox()->setCurrentIndex(1);
    EXPECT_EQ(sim.profile().name, QStringLiteral("Ninety"));

    panel.pointBox()->setValue(14);
    panel.TouchPointClick();
    EXPECT_EQ(sim.touchedPoint(), 14);
    EXPECT_TRUE(panel.stateText().contains(QStringLiteral("on ME14"))) << panel.stateText().toStdString();
    EXPECT_NEAR(link.readCurrent(), 90 * 20, 30);
    panel.LiftClick();
    EXPECT_EQ(sim.contact(), ProbeContact::InAir);

    panel.FaultToggle(true);
    EXPECT_EQ(link.readCurrent(), 1);
    panel.FaultToggle(false);

    panel.PlugClick();
    EXPECT_FALSE(link.isOnline());
    EXPECT_EQ(panel.plugButton()->text(), QStringLiteral("Plug in"));
    panel.PlugClick();
    EXPECT_TRUE(link.isOnline());

    panel.KindChange(1);
    EXPECT_FALSE(link.registerCalibration());
    EXPECT_TRUE(link.isOnline());

    panel.operatorBox()->setChecked(true);
    EXPECT_TRUE(op.isEnabled());

    // A modal window opens: the panel becomes its child so that it stays usable, and returns after.
    home.show();
    panel.show();
    QDialog modal(&home);
    modal.setModal(true);
    modal.show();
    EXPECT_EQ(panel.parentWidget(), &modal);
    EXPECT_TRUE(panel.isVisible());
    modal.hide();
    EXPECT_EQ(panel.parentWidget(), &home);
    EXPECT_TRUE(panel.isVisible());
}

}  // namespace
}  // namespace tork
