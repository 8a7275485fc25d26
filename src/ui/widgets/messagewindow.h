#pragma once
// TKaMsag: the modal message window behind showMessage.

#include "core/app/messages.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tork {

class TKaMsag : public QDialog {
    Q_OBJECT
public:
    TKaMsag(int kind, const QString& text, QWidget* parent = nullptr);

    bool result() const { return result_; }
    QString text() const;
    QPushButton* yesButton() const { return yesButton_; }
    QPushButton* noButton() const { return noButton_; }
    QPushButton* okButton() const { return okButton_; }

    void YesButtonClick();
    void NoButtonClick();
    void OkButtonClick();

protected:
    void done(int r) override;

private:
    bool result_ = false;
    QPlainTextEdit* textArea_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
    QPushButton* okButton_;
};

// The program's message service: each message opens a TKaMsag over the active window.
class WindowMessageService final : public MessageService {
public:
    bool show(int kind, const QString& text) override;
};

}  // namespace tork
