#include "ui/device/statuswindow.h"

#include "core/app/clock.h"
#include "core/device/link.h"
#include "ui/widgets/fade.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tork {

namespace {

const QColor kRed(255, 0, 0);      // $0000FF
const QColor kGreen(0, 255, 0);    // $00FF00
const QColor kYellow(255, 255, 0); // $00FFFF
const QColor kDark(60, 60, 60);

const QString kModelName = QStringLiteral("Ka-240");
const QString kNone = QStringLiteral("None!");

}  // namespace

// Seven LED segments: lit ones in the colour of the outcome, the newest one blinking while
// the check runs.
class LedRow final : public QWidget {
public:
    explicit LedRow(QWidget* parent) : QWidget(parent), blink_(new QTimer(this))
    {
        setFixedSize(7 * 26, 18);
        states_.fill(StepLight::Dark);
        blink_->setInterval(250);
        connect(blink_, &QTimer::timeout, this, [this] {
            blinkOn_ = !blinkOn_;
            update();
        });
    }
    void setLitColour(const QColor& colour)
    {
        lit_ = colour;
        update();
    }
    void setState(int n, StepLight state)
    {
        if (n < 1 || n > 7) return;
        states_[n - 1] = state;
        update();
    }
    void setBlinking(bool on)
    {
        blinkOn_ = true;
        on ? blink_->start() : blink_->stop();
        update();
    }
    bool isBlinking() const { return blink_->isActive(); }
    QColor colour(int n) const
    {
        switch (states_.at(n - 1)) {
        case StepLight::Dark: return kDark;
        case StepLight::Lit: return lit_;
        case StepLight::Done: return kGreen;
        case StepLight::Failed: return kRed;
        }
        return kDark;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        int newest = 0;
        for (int n = 1; n <= 7; ++n)
            if (states_[n - 1] != StepLight::Dark) newest = n;
        for (int n = 1; n <= 7; ++n) {
            QColor c = colour(n);
            if (n == newest && !blinkOn_) c = c.darker(250);
            p.fillRect(QRect((n - 1) * 26, 2, 22, 14), c);
            p.setPen(Qt::black);
            p.drawRect(QRect((n - 1) * 26, 2, 22, 14));
        }
    }

private:
    std::array<StepLight, 7> states_{};
    QColor lit_ = kGreen;
    QTimer* blink_;
    bool blinkOn_ = true;
};

TKaStatu::TKaStatu(DeviceLink& link, QWidget* parent) : QDialog(parent), link_(link)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(503, 271);
    setObjectName(QStringLiteral("TKaStatu"));
    setStyleSheet(QStringLiteral("QDialog#TKaStatu { background: rgb(214, 226, 245); border: 2px solid rgb(1, 47, 155); }"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    leds_ = new LedRow(this);
    caption_ = new QLabel(QStringLiteral("Device Mdl:"), this);
    model_ = new QLineEdit(this);
    serial_ = new QLineEdit(this);
    version_ = new QLineEdit(this);
    for (QLineEdit* field : {model_, serial_, version_}) field->setReadOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("USB Status:"), this), 0, 0);
    grid->addWidget(leds_, 0, 1);
    grid->addWidget(caption_, 1, 0);
    grid->addWidget(model_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Serial Num:"), this), 2, 0);
    grid->addWidget(serial_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hardware Ver:"), this), 3, 0);
    grid->addWidget(version_, 3, 1);
    ledDisplay_ = new QLabel(kModelName, this);
    ledDisplay_->setAlignment(Qt::AlignCenter);
    ledDisplay_->setMinimumWidth(150);
    ledDisplay_->setStyleSheet(QStringLiteral("background: black; color: rgb(0, 255, 0); font: bold 26px monospace; padding: 6px;"));
    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addWidget(ledDisplay_);
    layout->addLayout(top);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid gray; background: white; height: 14px; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 rgb(0, 160, 0), stop:1 rgb(200, 255, 200)); }"));
    layout->addWidget(progress_);

    auto* bottom = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setWordWrap(true);
    exit_ = new QPushButton(QStringLiteral("Exit"), this);
    exit_->hide();
    connect(exit_, &QPushButton::clicked, this, &TKaStatu::ExitClick);
    bottom->addWidget(status_, 1);
    bottom->addWidget(exit_);
    layout->addLayout(bottom);
}

TKaStatu::~TKaStatu() = default;

void TKaStatu::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
    if (!activated_) QTimer::singleShot(0, this, &TKaStatu::FormActivate);
}

void TKaStatu::setLight(int n, StepLight state) { leds_->setState(n, state); }
void TKaStatu::setCaption(const QString& caption) { caption_->setText(caption); }
void TKaStatu::setStatusText(const QString& text) { status_->setText(text); }
void TKaStatu::setProgress(int percent) { progress_->setValue(std::clamp(percent, 0, 100)); }
int TKaStatu::progress() const { return progress_->value(); }
void TKaStatu::processEvents() { link_.clock().processEvents(); }

void TKaStatu::FormActivate()
{
    if (activated_) return;
    activated_ = true;
    checking_ = true;
    QPointer<TKaStatu> self(this);
    Clock& clock = link_.clock();

    setWindowOpacity(1.0);
    model_->clear();
    serial_->clear();
    version_->clear();
    leds_->setBlinking(true);

    QString message;
    QString model = kModelName;
    QString serial;
    QString version;
    const bool found = link_.isClaimed();
    if (found) {
        version = link_.readHardwareVersion();
        serial = link_.serialNumber();
        if (version.isEmpty()) {
            version = QStringLiteral("USB Status Error!");
            message = QStringLiteral("USB connection error") + QChar(0xFF01) + QStringLiteral("Please check your USB interface cable.");
        }
    } else {
        message = QStringLiteral("Cannot find T.O.R.K. Please check your USB interface cable and power status.");
        model = serial = version = kNone;
    }
    online_ = found && message.isEmpty();
    link_.setOnline(online_);
    leds_->setLitColour(!found ? kRed : online_ ? kGreen : kYellow);

    setProgress(0);
    setLight(1, StepLight::Lit);
    const std::uint32_t start = clock.tick();
    bool fieldsShown = false;
    std::array<bool, 3> lampStage{};
    static constexpr int kLightThresholds[6] = {13, 26, 40, 53, 66, 80};
    for (;;) {
        const std::uint32_t elapsed = clock.elapsedSince(start);
        if (elapsed >= static_cast<std::uint32_t>(kCheckMs)) break;
        const int percent = static_cast<int>(elapsed / 15);
        setProgress(percent);
        if (percent >= 27 && !fieldsShown) {
            fieldsShown = true;
            model_->setText(model);
            serial_->setText(serial);
            version_->setText(version);
        }
        for (int i = 0; i < 6; ++i)
            if (percent > kLightThresholds[i]) setLight(i + 2, StepLight::Lit);
        if (online_) {
            QStringList lamps;
            if (!lampStage[0] && percent < 34) {
                lampStage[0] = true;
                lamps = {QStringLiteral("C007F"), QStringLiteral("F00FF"), QStringLiteral("A00FF")};
            } else if (!lampStage[1] && percent > 33 && percent < 67) {
                lampStage[1] = true;
                lamps = {QStringLiteral("A0000"), QStringLiteral("B00FF")};
            } else if (!lampStage[2] && percent > 66) {
                lampStage[2] = true;
                lamps = {QStringLiteral("B0000"), QStringLiteral("I00FF")};
            }
            for (const QString& lamp : lamps) {
                link_.sendCommand(lamp);
                if (!self) return;  // the window was deleted while the exchange waited
            }
        }
        clock.sleep(10);
        if (!self) return;
    }
    if (!fieldsShown) {
        model_->setText(model);
        serial_->setText(serial);
        version_->setText(version);
    }
    for (int n = 2; n <= 7; ++n) setLight(n, StepLight::Lit);

    if (online_) {
        link_.sendCommand(QStringLiteral("X0000"));
        if (!self) return;
    }
    setProgress(100);
    setStatusText(QStringLiteral("Done."));

    if (online_) {
        if (databaseStartup) {
            databaseStartup(*this);
            if (!self) return;
            // A database step that failed has told the operator why; the program cannot run.
            online_ = link_.isOnline();
        }
        checking_ = false;
        leds_->setBlinking(false);
        progress_->setEnabled(false);
        fadeOut(this, kFadeMs, [this] { finish(online_ ? QDialog::Accepted : QDialog::Rejected); });
        return;
    }
    setStatusText(message);
    exit_->show();
    checking_ = false;
    leds_->setBlinking(false);
    if (closeRequested_) ExitClick();
}

void TKaStatu::ExitClick()
{
    online_ = false;
    link_.setOnline(false);
    progress_->setEnabled(false);
    finish(QDialog::Rejected);
}

void TKaStatu::finish(int result)
{
    leds_->setBlinking(false);
    done(result);
}

void TKaStatu::closeEvent(QCloseEvent* event)
{
    // The check runs inside this window's handler: a close while it runs takes effect when it ends.
    if (checking_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TKaStatu::reject()
{
    if (checking_) {
        closeRequested_ = true;
        return;
    }
    if (online_) return;  // closing by fade once the database step is done
    ExitClick();
}

QString TKaStatu::modelText() const { return model_->text(); }
QString TKaStatu::serialText() const { return serial_->text(); }
QString TKaStatu::versionText() const { return version_->text(); }
QString TKaStatu::captionText() const { return caption_->text(); }
QString TKaStatu::statusText() const { return status_->text(); }
QString TKaStatu::ledDisplayText() const { return ledDisplay_->text(); }
QColor TKaStatu::lightColour(int n) const { return leds_->colour(n); }
bool TKaStatu::isExitVisible() const { return !exit_->isHidden(); }

}  // namespace tork
