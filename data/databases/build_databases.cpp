// Build-time program: makes KaSpa_60.mdb, torkE.mdb and torkKA.mdb from the readable
// sources in data/reference and data/protocols.
//
//   tork-build-databases --reference DIR --protocols DIR [--pictures DIR] --output DIR

#include "core/records/deliveredbuild.h"
#include "core/records/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace tork;

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "tork-build-databases: %s\n", qPrintable(message));
    return 1;
}

QStringList sourceFiles(const QString& dir)
{
    QStringList files;
    const QDir folder(dir);
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) files << folder.filePath(name);
    return files;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the delivered databases from their sources."));
    parser.addHelpOption();
    const QCommandLineOption reference(QStringLiteral("reference"), QStringLiteral("Folder of the reference texts NN-name.txt."), QStringLiteral("DIR"));
    const QCommandLineOption protocols(QStringLiteral("protocols"), QStringLiteral("Folder of the delivered protocols *.txt."), QStringLiteral("DIR"));
    const QCommandLineOption pictures(QStringLiteral("pictures"), QStringLiteral("Folder of the meridian charts meridian-NN.png."), QStringLiteral("DIR"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Folder the databases are written to."), QStringLiteral("DIR"));
    parser.addOptions({reference, protocols, pictures, output});
    parser.process(app);
    if (!parser.isSet(reference) || !parser.isSet(protocols) || !parser.isSet(output))
        return fail(QStringLiteral("--reference, --protocols and --output are required"));

    std::vector<ReferenceSource> entries;
    for (const QString& file : sourceFiles(parser.value(reference))) {
        QString error;
        auto entry = parseReferenceSource(file, &error);
        if (!entry) return fail(error);
        entries.push_back(*entry);
    }
    std::vector<ProtocolSource> delivered;
    for (const QString& file : sourceFiles(parser.value(protocols))) {
        QString error;
        auto protocol = parseProtocolSource(file, &error);
        if (!protocol) return fail(error);
        delivered.push_back(*protocol);
    }

    const QDir out(parser.value(output));
    if (QString e = buildTemplateDatabase(out.filePath(kTemplateDatabaseFile)); !e.isEmpty()) return fail(e);
    if (QString e = buildReferenceDatabase(out.filePath(kReferenceDatabaseFile), entries, parser.value(pictures)); !e.isEmpty()) return fail(e);
    if (QString e = buildSystemProtocolDatabase(out.filePath(kSystemProtocolDatabaseFile), delivered); !e.isEmpty()) return fail(e);
    std::printf("tork-build-databases: %zu reference entries, %zu protocols\n", entries.size(), delivered.size());
    return 0;
}
