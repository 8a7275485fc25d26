#include "ui/app/aboutbox.h"

#include "core/app/displaystrings.h"
#include "core/app/formats.h"
#include "core/app/launch.h"
#include "ui/widgets/fade.h"
#include "ui/widgets/pictures.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tork {

QString measurementCounterText(qint64 counter)
{
    return QStringLiteral("[ ") + formatThousands(double(counter), 8) + QStringLiteral(" ]");
}

TAboutBox::TAboutBox(const MainWindowHooks& hooks, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* logo = new QLabel(this);
    logo->setPixmap(programLogo());
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    setLayout(layout);

    addLine(displayString(DisplayString::LongName), true);
    addLine(QStringLiteral("KA-240 Ver: 6.5.0 e"));
    addLine(QStringLiteral("For: Windows 7,Windows 10,Windows 11 "));
    addLine(QStringLiteral("International English Version"));
    addLine(displayString(DisplayString::CompanyName), true);
    addLine(makerNoticeLine());
    addLine(QStringLiteral("Service Tel: ") + displayString(DisplayString::Telephone));
    addLine(QStringLiteral("Fax: ") + displayString(DisplayString::Fax));
    webLink_ = addLine(QStringLiteral("URL: ") + displayString(DisplayString::WebAddress));
    webLink_->setCursor(Qt::PointingHandCursor);
    QFont underlined = webLink_->font();
    underlined.setUnderline(true);
    webLink_->setFont(underlined);
    webLink_->installEventFilter(this);
    addLine(QStringLiteral("e-mail: ") + displayString(DisplayString::Email));
    serial_ = addLine(QStringLiteral("Device SerialNo:") + (hooks.serialNumber ? hooks.serialNumber() : QString()));
    hardware_ = addLine(QStringLiteral("Hardware Version:") + (hooks.hardwareVersion ? hooks.hardwareVersion() : QString()));
    counter_ = addLine(QStringLiteral("Measurement Counter:") +
                       measurementCounterText(hooks.measurementCounter ? hooks.measurementCounter() : 0));
    addLine(QStringLiteral("Made in the European Union"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::OkButtonClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
}

QLabel* TAboutBox::addLine(const QString& text, bool bold)
{
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    static_cast<QVBoxLayout*>(layout())->addWidget(label);
    lines_.append(label);
    return label;
}

QString TAboutBox::serialLine() const { return serial_->text(); }
QString TAboutBox::hardwareLine() const { return hardware_->text(); }
QString TAboutBox::counterLine() const { return counter_->text(); }

QStringList TAboutBox::lines() const
{
    QStringList texts;
    for (const QLabel* label : lines_) texts << label->text();
    return texts;
}

void TAboutBox::OkButtonClick() { accept(); }

void TAboutBox::WebLinkClick() { launch(displayString(DisplayString::WebAddress), QString()); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == webLink_ && event->type() == QEvent::MouseButtonRelease) {
        WebLinkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::done(int r)
{
    fadeOut(this, 500, [this, r] { QDialog::done(r); });
}

}  // namespace tork
