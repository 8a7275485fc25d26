#include "ui/app/fonts.h"
#include "ui/app/mainwindow.h"
#include "core/app/messages.h"
#include "core/app/programstate.h"
#include "ui/widgets/messagewindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvan Ka-240"));
    QApplication::setApplicationVersion(QStringLiteral(TORK_VERSION));
    tork::installProgramFonts();

    tork::WindowMessageService messages;
    tork::installMessageService(&messages);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("T.O.R.K. meridian energy analysis"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption folderOption(QStringLiteral("program-folder"),
                                    QStringLiteral("Folder of the settings, pictures and databases."),
                                    QStringLiteral("DIR"));
    parser.addOption(folderOption);
    parser.process(app);

    tork::ProgramFolder folder(parser.value(folderOption));
    const QString folderError = folder.ensureExists();
    if (!folderError.isEmpty()) {
        tork::showMessage(tork::MessageKind::ImportantNotice, folderError);
        return 1;
    }

    tork::ProgramState state(folder);
    tork::TKaForm window(state);
    window.showMaximized();
    return app.exec();
}
