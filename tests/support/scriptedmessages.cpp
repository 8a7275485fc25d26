#include "support/scriptedmessages.h"

namespace tork::test {

ScriptedMessages::ScriptedMessages() : previous_(installMessageService(this)) {}

ScriptedMessages::~ScriptedMessages() { installMessageService(previous_); }

void ScriptedMessages::planAnswers(std::initializer_list<bool> answers)
{
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

bool ScriptedMessages::show(int kind, const QString& text)
{
    shown_.append({kind, text});
    if (!isQuestion(kind)) return true;
    if (answers_.empty()) return fallback_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace tork::test
