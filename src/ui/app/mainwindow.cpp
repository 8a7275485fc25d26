#include "ui/app/mainwindow.h"

#include "ui/app/aboutbox.h"
#include "core/app/displaystrings.h"
#include "core/app/launch.h"
#include "core/app/messages.h"
#include "ui/widgets/pictures.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tork {
namespace {

// The centre area: a calm gradient with the meridian wheel drawn faintly.
class CentreArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, QColor(214, 226, 245));
        gradient.setColorAt(1, QColor(160, 185, 228));
        p.fillRect(rect(), gradient);
        const QPointF centre(width() / 2.0, height() / 2.0);
        const double radius = std::min(width(), height()) * 0.35;
        p.setPen(QPen(QColor(255, 255, 255, 140), 2));
        p.drawEllipse(centre, radius, radius);
        p.drawEllipse(centre, radius * 0.55, radius * 0.55);
        QFont font = p.font();
        font.setPointSize(11);
        font.setBold(true);
        p.setFont(font);
        for (int m = 1; m <= 12; ++m) {
            const double angle = (m - 1) * 30.0 - 90.0;
            const double rad = angle * 3.14159265358979 / 180.0;
            const QPointF at(centre.x() + radius * 0.78 * std::cos(rad), centre.y() + radius * 0.78 * std::sin(rad));
            p.setPen(QColor(1, 47, 155, 150));
            p.drawText(QRectF(at.x() - 20, at.y() - 10, 40, 20), Qt::AlignCenter, meridianInfo(m).abbreviation);
        }
    }
};

const QColor kDarkBlue(1, 47, 155);  // $9B2F01

}  // namespace

TKaForm::TKaForm(ProgramState& state, MainWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), state_(state), hooks_(std::move(hooks))
{
    buildLayout();
    buildMenus();
    FormCreate();
}

TKaForm::~TKaForm() = default;

QToolButton* TKaForm::addToolButton(const QString& caption, const QIcon& icon)
{
    auto* button = new QToolButton(toolBar_);
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setFixedSize(78, 52);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A widget in a tool bar is shown and hidden through its action.
    button->setProperty("tork_action", QVariant::fromValue(toolBar_->addWidget(button)));
    return button;
}

void TKaForm::buildLayout()
{
    resize(1000, 682);
    setWindowIcon(programIcon());

    toolBar_ = new QToolBar(QStringLiteral("Functions"), this);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(32, 32));
    addToolBar(Qt::TopToolBarArea, toolBar_);

    QStyle* s = style();
    struct Entry { Function function; const char* caption; QStyle::StandardPixmap icon; };
    const Entry entries[] = {
        {Function::Measure, "  Measure  ", QStyle::SP_MediaPlay},
        {Function::Reference, "Reference", QStyle::SP_FileDialogInfoView},
        {Function::TherapySetup, "Therapy Setup", QStyle::SP_FileDialogDetailedView},
        {Function::Calibrate, "DCS Calibrate", QStyle::SP_BrowserReload},
        {Function::Recall, "Data Recall", QStyle::SP_DialogOpenButton},
        {Function::ImportExport, "Import/Export", QStyle::SP_DriveNetIcon},
    };
    for (const Entry& e : entries) {
        QToolButton* button = addToolButton(QString::fromLatin1(e.caption), s->standardIcon(e.icon));
        functionButtons_[e.function] = button;
        connect(button, &QToolButton::clicked, this, [this, f = e.function] { openFunction(f); });
    }
    for (int n = 1; n <= 6; ++n) {
        QToolButton* button = addToolButton(QString("Fn%1").arg(n), s->standardIcon(QStyle::SP_CommandLink));
        fnButtons_[n - 1] = button;
        connect(button, &QToolButton::clicked, this, [this, n] { FnButtonClick(n); });
    }
    quitButton_ = addToolButton(QStringLiteral("    Quit    "), s->standardIcon(QStyle::SP_DialogCloseButton));
    connect(quitButton_, &QToolButton::clicked, this, &QWidget::close);

    auto* spacer = new QWidget(toolBar_);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar_->addWidget(spacer);
    auto* logo = new QLabel(toolBar_);
    logo->setPixmap(programLogo().scaledToHeight(48, Qt::SmoothTransformation));
    toolBar_->addWidget(logo);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* blueBand = new QWidget(central);
    blueBand->setFixedHeight(8);
    blueBand->setAutoFillBackground(true);
    QPalette bandPalette = blueBand->palette();
    bandPalette.setColor(QPalette::Window, kDarkBlue);
    blueBand->setPalette(bandPalette);
    layout->addWidget(blueBand);

    layout->addWidget(new CentreArea(central), 1);

    auto* bottom = new QWidget(central);
    bottom->setObjectName(QStringLiteral("bottomBand"));
    bottom->setAttribute(Qt::WA_StyledBackground);
    bottom->setStyleSheet(QStringLiteral("QWidget#bottomBand { background: rgb(1, 47, 155); border-top: 3px solid rgb(255, 215, 0); }"
                                         "QLabel { color: white; }"));
    auto* bottomLayout = new QVBoxLayout(bottom);
    QFont bold = font();
    bold.setBold(true);
    versionLine_ = new QLabel(bottom);
    webLink_ = new QLabel(bottom);
    noticeLine_ = new QLabel(bottom);
    for (QLabel* label : {versionLine_, webLink_, noticeLine_}) {
        label->setFont(bold);
        bottomLayout->addWidget(label);
    }
    webLink_->setCursor(Qt::PointingHandCursor);
    webLink_->installEventFilter(this);
    layout->addWidget(bottom);
    setCentralWidget(central);

    userNameLabel_ = new QLabel(this);
    statusBar()->addWidget(userNameLabel_, 1);
}

void TKaForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addTop = [&](const QString& name, Function f) {
        QAction* action = bar->addAction(name);
        connect(action, &QAction::triggered, this, [this, f] { openFunction(f); });
        menuActions_[name] = action;
    };
    addTop(QStringLiteral("Measure"), Function::Measure);
    addTop(QStringLiteral("Recall"), Function::Recall);
    addTop(QStringLiteral("Reference"), Function::Reference);
    QMenu* system = bar->addMenu(QStringLiteral("System"));
    menuActions_[QStringLiteral("System")] = system->menuAction();
    auto addSystem = [&](const QString& name, Function f) {
        QAction* action = system->addAction(name);
        connect(action, &QAction::triggered, this, [this, f] { openFunction(f); });
        menuActions_[name] = action;
    };
    addSystem(QStringLiteral("Therapy setup"), Function::TherapySetup);
    addSystem(QStringLiteral("DCS Calibrate"), Function::Calibrate);
    addSystem(QStringLiteral("Import/Export"), Function::ImportExport);
    addSystem(QStringLiteral("User Setup"), Function::UserSetup);
    system->addSeparator();
    QAction* quit = system->addAction(QStringLiteral("Quit"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    menuActions_[QStringLiteral("Quit")] = quit;
    QAction* about = bar->addAction(QStringLiteral("About"));
    connect(about, &QAction::triggered, this, &TKaForm::AboutClick);
    menuActions_[QStringLiteral("About")] = about;
}

QAction* TKaForm::menuAction(const QString& name) const
{
    auto it = menuActions_.find(name);
    return it == menuActions_.end() ? nullptr : it->second;
}

void TKaForm::setMenusVisible(bool visible)
{
    for (const char* name : {"Measure", "Reference", "System", "About"})
        menuActions_.at(QString::fromLatin1(name))->setVisible(visible);
}

void TKaForm::FormCreate()
{
    const QString shortName = displayString(DisplayString::ShortName);
    setWindowTitle(displayString(DisplayString::ProductName) + QStringLiteral(" KA-240, ") +
                   displayString(DisplayString::LongName));
    versionLine_->setText(shortName + QStringLiteral(" KA-240 Version 6.5.0"));
    webLink_->setText(QStringLiteral("<u>URL: %1</u>").arg(displayString(DisplayString::WebAddress).toHtmlEscaped()));
    noticeLine_->setText(makerNoticeLine());

    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_ = new QSystemTrayIcon(programIcon(), this);
        tray_->show();
    }
    trayHint_ = displayString(DisplayString::CompanyName);
    if (tray_) tray_->setToolTip(trayHint_);

    state_.online = false;

    setToolBarEnabled(false);
    setMenusVisible(false);

    state_.measurementMemo.clear();
    state_.firstActivationPending = true;
    state_.patientSortColumn = 1;
    state_.currentMeasurementKey = 0;
    state_.chartChoices.fill(1);
    state_.highPotential = false;

    if (hooks_.installDeviceLink) hooks_.installDeviceLink();

    const SettingsLoadResult loaded = state_.loadOrCreateSettings();
    if (!loaded.ok) {
        showMessage(MessageKind::ImportantNotice, loaded.message);
        return;
    }
    userNameLabel_->setText(state_.settings.text(SettingLine::UserName1));
    state_.clearCurrentPatient();
}

void TKaForm::FormShow() { applyFnSettings(); }

void TKaForm::applyFnSettings()
{
    const QString flags = state_.settings.text(SettingLine::FnVisibility);
    for (int n = 1; n <= 6; ++n) {
        // Character n "0" (or no character n) hides button n.
        const bool visible = n <= flags.size() && flags.at(n - 1) != u'0';
        fnButtons_[n - 1]->property("tork_action").value<QAction*>()->setVisible(visible);
        fnButtons_[n - 1]->setToolTip(state_.settings.text(SettingLine::FnHint1 + n - 1));
    }
}

void TKaForm::FormActivate()
{
    if (!state_.firstActivationPending) return;
    state_.firstActivationPending = false;
    if (!hooks_.runStartupCheck) return;  // no instrument link: stay open, every function refused
    state_.online = hooks_.runStartupCheck();
    if (state_.online) {
        setToolBarEnabled(true);
        setMenusVisible(true);
    } else {
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TKaForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
    QTimer::singleShot(0, this, &TKaForm::FormActivate);
}

void TKaForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && shown_) FormActivate();
}

bool TKaForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == webLink_ && event->type() == QEvent::MouseButtonRelease) {
        WebLinkClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TKaForm::closeEvent(QCloseEvent* event)
{
    if (state_.online) {
        if (hooks_.playSound) hooks_.playSound(2);
        if (!showMessage(MessageKind::CautionQuestion,
                         QStringLiteral("Are you sure you want to exit ") + displayString(DisplayString::ShortName))) {
            setToolBarEnabled(true);
            event->ignore();
            return;
        }
        if (hooks_.sendCommand) hooks_.sendCommand(QStringLiteral("X0000"));
    }
    if (hooks_.closeDatabases) hooks_.closeDatabases();
    setToolBarEnabled(false);
    if (tray_) tray_->hide();
    event->accept();
}

void TKaForm::setFunctionWindow(Function function, WindowFactory factory)
{
    windows_[function] = std::move(factory);
    setToolBarEnabled(toolBarEnabled_);
}

void TKaForm::setToolBarEnabled(bool enabled)
{
    toolBarEnabled_ = enabled;
    for (auto& [function, button] : functionButtons_) button->setEnabled(enabled && windows_.count(function));
    for (QToolButton* button : fnButtons_) button->setEnabled(enabled);
    quitButton_->setEnabled(enabled);
}

QString TKaForm::offlineMessage()
{
    return displayString(DisplayString::ShortName) + QStringLiteral(" is off-line! Please reconnect the device.");
}

void TKaForm::refuseOffline() { showMessage(MessageKind::ImportantNotice, offlineMessage()); }

void TKaForm::openFunction(Function function)
{
    if (!state_.online) {
        refuseOffline();
        return;
    }
    if (function == Function::About) {
        AboutClick();
        return;
    }
    auto it = windows_.find(function);
    if (it == windows_.end()) return;
    setToolBarEnabled(false);
    QDialog* window = it->second(this);
    if (window) {
        window->exec();
        delete window;
    }
    setToolBarEnabled(true);
    if (function == Function::UserSetup) applyFnSettings();
}

void TKaForm::FnButtonClick(int n)
{
    if (!state_.online) {
        refuseOffline();
        return;
    }
    setToolBarEnabled(false);
    launch(state_.settings.text(SettingLine::FnProgram1 + n - 1), state_.settings.text(SettingLine::FnParameters1 + n - 1));
    setToolBarEnabled(true);
}

void TKaForm::WebLinkClick() { launch(displayString(DisplayString::WebAddress), QString()); }

void TKaForm::AboutClick()
{
    if (!state_.online) {
        refuseOffline();
        return;
    }
    setToolBarEnabled(false);
    TAboutBox box(hooks_, this);
    box.exec();
    setToolBarEnabled(true);
}

QToolButton* TKaForm::toolButton(Function function) const
{
    auto it = functionButtons_.find(function);
    return it == functionButtons_.end() ? nullptr : it->second;
}

QString TKaForm::statusText() const { return userNameLabel_->text(); }

QString TKaForm::noticeText() const { return statusBar()->currentMessage(); }

QString TKaForm::versionLine() const { return versionLine_->text(); }

void TKaForm::setTrayStatus(bool online)
{
    trayHint_ = displayString(DisplayString::CompanyName) + QStringLiteral("\r\n") +
                displayString(DisplayString::ShortName) + (online ? QStringLiteral(" is on-line.") : QStringLiteral(" is off-line !!"));
    if (tray_) {
        QIcon icon = programIcon();
        tray_->setIcon(online ? icon : QIcon(icon.pixmap(64, 64, QIcon::Disabled)));
        tray_->setToolTip(trayHint_);
    }
}

void TKaForm::showNotice(const QString& title, const QString& text, bool error, int msec)
{
    if (tray_ && tray_->isVisible()) {
        tray_->showMessage(title, text, error ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information, msec);
        return;
    }
    statusBar()->showMessage(title + QStringLiteral(": ") + text, msec);
}

void TKaForm::hideNotice()
{
    if (tray_ && tray_->isVisible())
        tray_->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 1);
    statusBar()->clearMessage();
}

}  // namespace tork
