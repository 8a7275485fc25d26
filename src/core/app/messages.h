#pragma once
// The one modal message window of the program, reached through a replaceable service so
// that tests answer it from a script and the companion tool answers it on the console.

#include <QString>

namespace tork {

// Kinds 1..3 ask YES or NO, kinds 4..6 inform with OK; titles Information, Caution, Important.
namespace MessageKind {
enum : int {
    InformationQuestion = 1, CautionQuestion = 2, ImportantQuestion = 3,
    InformationNotice = 4, CautionNotice = 5, ImportantNotice = 6,
};
}

QString messageTitle(int kind);
bool isQuestion(int kind);

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the text and returns YES/OK as true, NO or a closed window as false.
    virtual bool show(int kind, const QString& text) = 0;
};

// Installs a service and returns the previous one; nullptr restores the console service.
MessageService* installMessageService(MessageService* service);
MessageService* messageService();

bool showMessage(int kind, const QString& text);

}  // namespace tork
