#include "ui/widgets/messagewindow.h"

#include "ui/widgets/fade.h"
#include "ui/widgets/pictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tork {

TKaMsag::TKaMsag(int kind, const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(messageTitle(kind));
    setModal(true);
    setFixedSize(385, 200);

    auto* icon = new QLabel(this);
    const QStyle::StandardPixmap pixmap = kind == 1 || kind == 4   ? QStyle::SP_MessageBoxInformation
                                          : kind == 2 || kind == 5 ? QStyle::SP_MessageBoxWarning
                                                                   : QStyle::SP_MessageBoxCritical;
    icon->setPixmap(style()->standardIcon(pixmap).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* logo = new QLabel(this);
    logo->setPixmap(programLogo().scaledToHeight(24, Qt::SmoothTransformation));
    logo->setAlignment(Qt::AlignRight | Qt::AlignTop);

    textArea_ = new QPlainTextEdit(this);
    textArea_->setReadOnly(true);
    textArea_->setFrameStyle(QFrame::NoFrame);
    textArea_->setPlainText(text);
    textArea_->setFocusPolicy(Qt::NoFocus);
    textArea_->viewport()->setAutoFillBackground(false);
    QTextOption centred = textArea_->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    textArea_->document()->setDefaultTextOption(centred);

    yesButton_ = new QPushButton(QStringLiteral("YES"), this);
    noButton_ = new QPushButton(QStringLiteral("NO"), this);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    const bool question = isQuestion(kind);
    yesButton_->setVisible(question);
    noButton_->setVisible(question);
    okButton_->setVisible(!question);
    connect(yesButton_, &QPushButton::clicked, this, &TKaMsag::YesButtonClick);
    connect(noButton_, &QPushButton::clicked, this, &TKaMsag::NoButtonClick);
    connect(okButton_, &QPushButton::clicked, this, &TKaMsag::OkButtonClick);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(textArea_, 1);
    top->addWidget(logo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yesButton_);
    buttons->addWidget(noButton_);
    buttons->addWidget(okButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    QPushButton* first = question ? yesButton_ : okButton_;
    first->setDefault(true);
    first->setFocus();
}

QString TKaMsag::text() const { return textArea_->toPlainText(); }

void TKaMsag::YesButtonClick()
{
    result_ = true;
    accept();
}

void TKaMsag::NoButtonClick()
{
    result_ = false;
    reject();
}

void TKaMsag::OkButtonClick()
{
    result_ = true;
    accept();
}

void TKaMsag::done(int r)
{
    fadeOut(this, 300, [this, r] { QDialog::done(r); });
}

bool WindowMessageService::show(int kind, const QString& text)
{
    TKaMsag window(kind, text, QApplication::activeWindow());
    window.exec();
    return window.result();
}

}  // namespace tork
