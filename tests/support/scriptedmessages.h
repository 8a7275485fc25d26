#pragma once
// Answers the program's message window from a script and records every message shown.

#include "core/app/messages.h"

#include <QList>
#include <QString>
#include <deque>

namespace tork::test {

struct ShownMessage {
    int kind;
    QString text;
};

class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages();   // installs itself
    ~ScriptedMessages() override;  // restores the previous service

    // Answers for the next questions, in order; unplanned questions are answered `fallback`.
    void planAnswers(std::initializer_list<bool> answers);
    void setFallback(bool answer) { fallback_ = answer; }

    bool show(int kind, const QString& text) override;

    const QList<ShownMessage>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    MessageService* previous_;
    std::deque<bool> answers_;
    bool fallback_ = false;
    QList<ShownMessage> shown_;
};

}  // namespace tork::test
