#include "core/app/messages.h"

#include <cstdio>

namespace tork {
namespace {

// Without a window the message goes to standard error; questions are answered NO,
// so nothing is done on the operator's behalf that he did not confirm.
class ConsoleMessageService final : public MessageService {
public:
    bool show(int kind, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s%s\n", qPrintable(messageTitle(kind)), qPrintable(text),
                     isQuestion(kind) ? " (answered NO)" : "");
        return !isQuestion(kind);
    }
};

ConsoleMessageService& consoleService()
{
    static ConsoleMessageService service;
    return service;
}

MessageService* current = nullptr;

}  // namespace

QString messageTitle(int kind)
{
    switch (kind) {
    case MessageKind::InformationQuestion:
    case MessageKind::InformationNotice: return QStringLiteral("Information");
    case MessageKind::CautionQuestion:
    case MessageKind::CautionNotice: return QStringLiteral("Caution");
    default: return QStringLiteral("Important");
    }
}

bool isQuestion(int kind) { return kind >= 1 && kind <= 3; }

MessageService* installMessageService(MessageService* service)
{
    MessageService* previous = current;
    current = service;
    return previous;
}

MessageService* messageService() { return current ? current : &consoleService(); }

bool showMessage(int kind, const QString& text) { return messageService()->show(kind, text); }

}  // namespace tork
