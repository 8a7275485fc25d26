#pragma once
// TKaStatu: the device status window the main window shows once at start-up. It checks the
// instrument, runs the lamp test, then the database start-up step, and decides whether the
// program may run (on-line) or must end.

#include "core/app/startupdisplay.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tork {

class DeviceLink;
class LedRow;

class TKaStatu final : public QDialog, public StartupDisplay {
    Q_OBJECT
public:
    static constexpr int kCheckMs = 1500;
    static constexpr int kFadeMs = 400;

    TKaStatu(DeviceLink& link, QWidget* parent = nullptr);
    ~TKaStatu() override;

    // Run at step 7 while on-line; empty runs nothing.
    std::function<void(StartupDisplay&)> databaseStartup;

    bool online() const { return online_; }
    bool isChecking() const { return checking_; }

    // StartupDisplay
    void setLight(int n, StepLight state) override;
    void setCaption(const QString& caption) override;
    void setStatusText(const QString& text) override;
    void setProgress(int percent) override;
    int progress() const override;
    void processEvents() override;

    // Handlers
    void FormActivate();
    void ExitClick();

    // What the window shows, for tests.
    QString modelText() const;
    QString serialText() const;
    QString versionText() const;
    QString captionText() const;
    QString statusText() const;
    QString ledDisplayText() const;
    QColor lightColour(int n) const;
    bool isExitVisible() const;
    QPushButton* exitButton() const { return exit_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void finish(int result);

    DeviceLink& link_;
    LedRow* leds_;
    QLabel* caption_;
    QLineEdit* model_;
    QLineEdit* serial_;
    QLineEdit* version_;
    QLabel* ledDisplay_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* exit_;
    bool activated_ = false;
    bool checking_ = false;
    bool online_ = false;
    bool closeRequested_ = false;
};

}  // namespace tork
