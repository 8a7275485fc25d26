#pragma once
// TAboutBox: product, maker and the instrument's identity.

#include "ui/app/mainwindow.h"

#include <QDialog>

class QLabel;

namespace tork {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const MainWindowHooks& hooks, QWidget* parent = nullptr);

    QString serialLine() const;
    QString hardwareLine() const;
    QString counterLine() const;
    QStringList lines() const;

    void OkButtonClick();
    void WebLinkClick();

protected:
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addLine(const QString& text, bool bold = false);
    QList<QLabel*> lines_;
    QLabel* serial_ = nullptr;
    QLabel* hardware_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* webLink_ = nullptr;
};

// "[ " + the counter with thousands separators in a field of 8 + " ]".
QString measurementCounterText(qint64 counter);

}  // namespace tork
