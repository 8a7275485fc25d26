#include "core/app/displaystrings.h"
#include "core/app/launch.h"
#include "core/app/scramble.h"
#include "support/scriptedmessages.h"
#include "support/tempfolder.h"
#include "ui/app/aboutbox.h"
#include "ui/app/mainwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSystemTrayIcon>
#include <QToolButton>

using namespace tork;
using tork::test::ScriptedMessages;
using tork::test::TempProgramFolder;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    TempProgramFolder folder;
    ScriptedMessages messages;
    ProgramState state{folder.folder()};
    QStringList commands;
    QList<int> sounds;

    MainWindowHooks recordingHooks()
    {
        MainWindowHooks hooks;
        hooks.sendCommand = [this](const QString& c) { commands << c; };
        hooks.playSound = [this](int n) { sounds << n; };
        return hooks;
    }
};

}  // namespace

TEST_F(MainWindowTest, StartsWithToolBarDisabledMenusHiddenAndStatusFromSettings)
{
    TKaForm window(state, recordingHooks());
    EXPECT_FALSE(window.isToolBarEnabled());
    EXPECT_FALSE(window.toolButton(Function::Measure)->isEnabled());
    EXPECT_FALSE(window.fnButton(1)->isEnabled());
    EXPECT_FALSE(window.quitButton()->isEnabled());
    for (const char* hidden : {"Measure", "Reference", "System", "About"})
        EXPECT_FALSE(window.menuAction(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(window.menuAction("Recall")->isVisible());
    EXPECT_EQ(window.statusText(), displayString(DisplayString::LongName));
    EXPECT_EQ(window.windowTitle(), displayString(1) + " KA-240, " + displayString(12));
    EXPECT_EQ(window.versionLine(), displayString(3) + " KA-240 Version 6.5.0");
    EXPECT_TRUE(QFile::exists(folder.file("KaDefE6c.ini")));  // written at first start
}

TEST_F(MainWindowTest, EveryFunctionIsRefusedWhileOffline)
{
    TKaForm window(state, recordingHooks());
    int opened = 0;
    window.setFunctionWindow(Function::Recall, [&](QWidget*) { ++opened; return nullptr; });
    window.openFunction(Function::Recall);
    window.openFunction(Function::Measure);
    window.FnButtonClick(1);
    window.AboutClick();
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(messages.shown().size(), 4);
    for (const auto& m : messages.shown()) {
        EXPECT_EQ(m.kind, 6);
        EXPECT_EQ(m.text, displayString(3) + " is off-line! Please reconnect the device.");
    }
}

TEST_F(MainWindowTest, OnlineFunctionOpensModallyWithToolBarDisabledMeanwhile)
{
    TKaForm window(state, recordingHooks());
    state.online = true;
    window.setToolBarEnabled(true);
    bool toolBarDuringFunction = true;
    window.setFunctionWindow(Function::Recall, [&](QWidget* parent) {
        toolBarDuringFunction = window.isToolBarEnabled();
        auto* dialog = new QDialog(parent);
        QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        return dialog;
    });
    EXPECT_TRUE(window.toolButton(Function::Recall)->isEnabled());
    EXPECT_FALSE(window.toolButton(Function::Calibrate)->isEnabled());  // no window registered
    window.openFunction(Function::Recall);
    EXPECT_FALSE(toolBarDuringFunction);
    EXPECT_TRUE(window.isToolBarEnabled());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(MainWindowTest, ExitQuestionAnsweredNoKeepsTheWindowOpen)
{
    TKaForm window(state, recordingHooks());
    window.show();
    state.online = true;
    messages.planAnswers({false});
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isToolBarEnabled());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, 2);
    EXPECT_EQ(messages.shown()[0].text, "Are you sure you want to exit " + displayString(3));
    EXPECT_EQ(sounds, QList<int>{2});
    EXPECT_TRUE(commands.isEmpty());
}

TEST_F(MainWindowTest, ExitQuestionAnsweredYesPutsTheInstrumentAtRest)
{
    bool databasesClosed = false;
    MainWindowHooks hooks = recordingHooks();
    hooks.closeDatabases = [&] { databasesClosed = true; };
    TKaForm window(state, hooks);
    window.show();
    state.online = true;
    messages.planAnswers({true});
    EXPECT_TRUE(window.close());
    EXPECT_EQ(commands, QStringList{"X0000"});
    EXPECT_TRUE(databasesClosed);
    EXPECT_FALSE(window.isToolBarEnabled());
}

TEST_F(MainWindowTest, QuittingOfflineClosesWithoutAsking)
{
    TKaForm window(state, recordingHooks());
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(commands.isEmpty());
}

TEST_F(MainWindowTest, FnButtonsFollowTheSettings)
{
    state.settings.setText(SettingLine::FnVisibility, "1010");
    state.settings.setText(SettingLine::FnHint1 + 2, "Anatomy atlas");
    state.settings.setText(SettingLine::FnProgram1 + 2, "");
    state.settings.setText(SettingLine::FnParameters1 + 2, "https://atlas.example");
    ASSERT_EQ(state.saveSettings(), QString());

    TKaForm window(state, recordingHooks());
    window.show();
    QApplication::processEvents();  // the tool bar lays out its changed actions from the event loop
    EXPECT_TRUE(window.fnButton(1)->isVisible());
    EXPECT_FALSE(window.fnButton(2)->isVisible());
    EXPECT_TRUE(window.fnButton(3)->isVisible());
    EXPECT_FALSE(window.fnButton(5)->isVisible());  // no character for Fn5: hidden
    EXPECT_EQ(window.fnButton(3)->toolTip(), "Anatomy atlas");

    QList<LaunchAction> launched;
    LaunchOpener previous = installLaunchOpener([&](const LaunchAction& a) { launched << a; });
    state.online = true;
    window.FnButtonClick(3);
    installLaunchOpener(previous);
    ASSERT_EQ(launched.size(), 1);
    EXPECT_TRUE(launched[0].program.isEmpty());
    EXPECT_EQ(launched[0].target, "https://atlas.example");
}

TEST_F(MainWindowTest, StartupCheckDecidesBetweenReadyAndClosing)
{
    MainWindowHooks hooks = recordingHooks();
    hooks.runStartupCheck = [] { return true; };
    TKaForm ready(state, hooks);
    ready.FormActivate();
    EXPECT_TRUE(state.online);
    EXPECT_TRUE(ready.isToolBarEnabled());
    EXPECT_TRUE(ready.menuAction("System")->isVisible());
    ready.FormActivate();  // acts only the first time
    EXPECT_TRUE(ready.isToolBarEnabled());

    ProgramState otherState{folder.folder()};
    hooks.runStartupCheck = [] { return false; };
    TKaForm failed(otherState, hooks);
    failed.show();
    failed.FormActivate();
    QApplication::processEvents();
    EXPECT_FALSE(failed.isVisible());  // the program ends
}

TEST_F(MainWindowTest, DamagedSettingsFileIsReportedAndTheWindowStillOpens)
{
    QFile file(folder.file("KaDefE6c.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((scramble("3000", 5) + "\r\nZZ\r\n").toLatin1());
    file.close();
    TKaForm window(state, recordingHooks());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, 6);
    EXPECT_TRUE(messages.shown()[0].text.contains("Line 2"));
    EXPECT_EQ(state.settings.intValue(1), 3000);
    EXPECT_TRUE(window.statusText().isEmpty());  // the remaining start-up steps are skipped
}

TEST_F(MainWindowTest, NoticesFallBackToTheStatusBarWithoutATray)
{
    TKaForm window(state, recordingHooks());
    window.setTrayStatus(true);
    EXPECT_EQ(window.trayHint(), displayString(4) + "\r\n" + displayString(3) + " is on-line.");
    window.setTrayStatus(false);
    EXPECT_EQ(window.trayHint(), displayString(4) + "\r\n" + displayString(3) + " is off-line !!");
    window.showNotice(displayString(1) + " Information", displayString(1) + " is off-line.", true);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_TRUE(window.noticeText().contains(" is off-line."));
        window.hideNotice();
        EXPECT_TRUE(window.noticeText().isEmpty());
    }
}

TEST(AboutBox, ShowsTheInstrumentIdentity)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindowHooks hooks;
    hooks.serialNumber = [] { return QStringLiteral("0A1B2C3D4E5F"); };
    hooks.hardwareVersion = [] { return QStringLiteral("TORK6-20051706-A02"); };
    hooks.measurementCounter = [] { return qint64(1234567); };
    TAboutBox box(hooks);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(box.counterLine(), "Measurement Counter:[ 1,234,567 ]");
    EXPECT_EQ(box.serialLine(), "Device SerialNo:0A1B2C3D4E5F");
    EXPECT_EQ(box.hardwareLine(), "Hardware Version:TORK6-20051706-A02");
    EXPECT_TRUE(box.lines().contains("KA-240 Ver: 6.5.0 e"));
    EXPECT_TRUE(box.lines().contains("Service Tel: " + displayString(8)));
    EXPECT_EQ(measurementCounterText(255), "[      255 ]");
}
