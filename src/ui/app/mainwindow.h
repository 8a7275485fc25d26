#pragma once
// TKaForm: the main window, hub of every function, owner of the program-wide state.

#include "core/app/programstate.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QSystemTrayIcon;
class QToolBar;
class QToolButton;
class QDialog;

namespace tork {

// The functions opened from the tool bar and the menu.
enum class Function { Measure, Reference, TherapySetup, Calibrate, Recall, ImportExport, UserSetup, About };

using WindowFactory = std::function<QDialog*(QWidget* parent)>;

// What the main window needs of the instrument and the databases; filled by the program's
// start-up wiring. Hooks left empty do nothing.
struct MainWindowHooks {
    std::function<void()> installDeviceLink;     // claims an instrument that is already plugged in
    std::function<bool()> runStartupCheck;       // the device status window; true when on-line
    std::function<void(int)> playSound;          // tone table row
    std::function<void(const QString&)> sendCommand;
    std::function<void()> closeDatabases;
    std::function<QString()> serialNumber;
    std::function<QString()> hardwareVersion;     // read afresh from the instrument
    std::function<qint64()> measurementCounter;   // read without increment
};

class TKaForm : public QMainWindow {
    Q_OBJECT
public:
    TKaForm(ProgramState& state, MainWindowHooks hooks = {}, QWidget* parent = nullptr);
    ~TKaForm() override;

    ProgramState& state() { return state_; }
    MainWindowHooks& hooks() { return hooks_; }

    // Functions whose windows are registered open them; others stay disabled.
    void setFunctionWindow(Function function, WindowFactory factory);

    // Enables or disables all thirteen tool bar buttons together.
    void setToolBarEnabled(bool enabled);
    bool isToolBarEnabled() const { return toolBarEnabled_; }

    // Opens a function's window modally when on-line, else refuses with the off-line message.
    void openFunction(Function function);
    static QString offlineMessage();
    void refuseOffline();

    // Tray icon and notices; without a system tray the notices go to the status bar.
    void setTrayStatus(bool online);
    void showNotice(const QString& title, const QString& text, bool error, int msec = 10000);
    void hideNotice();
    QString trayHint() const { return trayHint_; }

    // Re-applies the Fn visibility flags and hints (start-up and after the user setup).
    void applyFnSettings();

    // Handlers, named after their controls and events.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FnButtonClick(int n);
    void WebLinkClick();
    void AboutClick();

    // For tests and the start-up wiring.
    QToolButton* toolButton(Function function) const;
    QToolButton* fnButton(int n) const { return fnButtons_.at(n - 1); }
    QToolButton* quitButton() const { return quitButton_; }
    QAction* menuAction(const QString& name) const;
    QString statusText() const;   // the "User Name 1" line of the status bar
    QString noticeText() const;   // a notice shown in the status bar when there is no tray
    QString versionLine() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    QToolButton* addToolButton(const QString& caption, const QIcon& icon);
    void setMenusVisible(bool visible);

    ProgramState& state_;
    MainWindowHooks hooks_;
    std::map<Function, WindowFactory> windows_;
    std::map<Function, QToolButton*> functionButtons_;
    std::map<QString, QAction*> menuActions_;
    std::array<QToolButton*, 6> fnButtons_{};
    QToolButton* quitButton_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* versionLine_ = nullptr;
    QLabel* webLink_ = nullptr;
    QLabel* noticeLine_ = nullptr;
    QLabel* userNameLabel_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QString trayHint_;
    bool toolBarEnabled_ = false;
    bool shown_ = false;
};

}  // namespace tork
