#include "core/records/deliveredbuild.h"

#include "core/app/scramble.h"
#include "core/protocols/conditioncode.h"
#include "core/records/connection.h"
#include "core/records/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

namespace tork {
namespace {

struct Section {
    QString name;
    int line = 0;
    QStringList lines;
};

// Splits a source file into its "[Name]" sections; lines starting with '#' before the first
// section are comments, and nothing else may stand there.
std::optional<std::vector<Section>> readSections(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("%1: cannot be read: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    static const QRegularExpression header(QStringLiteral("^\\[([A-Za-z0-9]+)\\]$"));
    std::vector<Section> sections;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (const auto match = header.match(line); match.hasMatch()) {
            sections.push_back({match.captured(1), i + 1, {}});
        } else if (!sections.empty()) {
            sections.back().lines << line;
        } else if (!line.trimmed().isEmpty() && !line.startsWith(u'#')) {
            *error = QString("%1:%2: text before the first section").arg(path).arg(i + 1);
            return std::nullopt;
        }
    }
    return sections;
}

QString sectionText(QStringList lines)
{
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty()) lines.removeFirst();
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    return lines.join(QStringLiteral("\r\n"));
}

QStringList numbered(const QString& stem, int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i) list << stem + QString::number(i);
    return list;
}

QString build(const QString& path, const std::function<QString(QSqlDatabase&)>& fill)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString temporary = path + QStringLiteral(".building");
    QFile::remove(temporary);
    QString error;
    {
        Database database;
        error = database.open(temporary, OpenMode::Create);
        if (error.isEmpty()) {
            QSqlDatabase db = database.db();
            error = fill(db);
        }
    }
    if (error.isEmpty()) {
        QFile::remove(path);
        if (!QFile::rename(temporary, path)) error = QString("%1 cannot be written.").arg(path);
    }
    if (!error.isEmpty()) QFile::remove(temporary);
    return error;
}

// "Key = value" lines of a [Protocol] or [Condition] section.
std::optional<QMap<QString, QString>> keyValues(const QString& path, const Section& section, const QStringList& allowed, QString* error)
{
    QMap<QString, QString> values;
    for (int i = 0; i < section.lines.size(); ++i) {
        const QString line = section.lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
        const int eq = line.indexOf(u'=');
        const QString key = line.left(eq).trimmed();
        const int lineNo = section.line + 1 + i;
        if (eq < 0 || !allowed.contains(key)) {
            *error = QString("%1:%2: \"%3\" is not a field of [%4]").arg(path).arg(lineNo).arg(line.trimmed(), section.name);
            return std::nullopt;
        }
        if (values.contains(key)) {
            *error = QString("%1:%2: %3 is given twice").arg(path).arg(lineNo).arg(key);
            return std::nullopt;
        }
        values[key] = line.mid(eq + 1).trimmed();
    }
    return values;
}

bool toNumber(const QString& path, const QString& field, const QString& text, double low, double high, double* value, QString* error)
{
    if (text.isEmpty()) return true;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < low || v > high) {
        *error = QString("%1: %2 must be a number from %3 to %4, not \"%5\"").arg(path, field).arg(low).arg(high).arg(text);
        return false;
    }
    *value = v;
    return true;
}

bool toFlag(const QString& path, const QString& field, const QString& text, bool* value, QString* error)
{
    if (text.isEmpty() || text == "0" || text == "1") {
        *value = text == "1";
        return true;
    }
    *error = QString("%1: %2 must be 0 or 1, not \"%3\"").arg(path, field, text);
    return false;
}

const QStringList& protocolFields()
{
    static const QStringList fields = QStringList{"ProNo", "ProName", "ProScal", "ProFN", "ProPict"} + numbered("ProScrp", 4) +
                                      numbered("ProPrg", 4) + numbered("ProParm", 4);
    return fields;
}

const QStringList& protocolTextSections()
{
    static const QStringList sections = QStringList{"ProData"} + numbered("ProMed", 3) + numbered("ProHel", 5);
    return sections;
}

const QStringList& conditionFields()
{
    static const QStringList fields{"ProSubN", "ProNote", "ProFlg", "ProCond", "ProAnd", "ProEng", "ProAGL", "ProAGH"};
    return fields;
}

std::optional<ConditionRecord> parseCondition(const QString& path, const Section& section, const QString& number, QString* error)
{
    const auto values = keyValues(path, section, conditionFields(), error);
    if (!values) return std::nullopt;
    ConditionRecord c;
    c.protocolNumber = number;
    c.name = values->value("ProSubN");
    c.note = values->value("ProNote");
    c.condition = values->value("ProCond");
    c.required = values->value("ProAnd");
    double low = 0, high = 0;
    const QString where = QString("%1 (condition at line %2)").arg(path).arg(section.line);
    if (!toFlag(where, "ProFlg", values->value("ProFlg"), &c.must, error) ||
        !toNumber(where, "ProEng", values->value("ProEng"), 0, 200, &c.energy, error) ||
        !toNumber(where, "ProAGL", values->value("ProAGL"), 0, 100, &low, error) ||
        !toNumber(where, "ProAGH", values->value("ProAGH"), 0, 100, &high, error))
        return std::nullopt;
    c.ageLow = int(low);
    c.ageHigh = int(high);
    // A delivered condition must be one the condition editor could have written and one that
    // can be satisfied; anything else would never, or wrongly, be recommended.
    if (const QString problem = conditionCodeProblem(c.condition, c.required, c.ageLow, c.ageHigh); !problem.isEmpty()) {
        *error = QString("%1: %2").arg(where, problem);
        return std::nullopt;
    }
    return c;
}

}  // namespace

const QStringList& referenceTextColumns()
{
    static const QStringList columns = numbered("DtEA", 5) + numbered("DtPot", 3) + numbered("DtMA", 3) + numbered("DtMH", 5) + numbered("DtML", 5);
    return columns;
}

std::optional<ReferenceSource> parseReferenceSource(const QString& path, QString* error)
{
    ReferenceSource entry;
    entry.fileName = QFileInfo(path).fileName();
    static const QRegularExpression name(QStringLiteral("^(\\d\\d)-.*\\.txt$"));
    const auto match = name.match(entry.fileName);
    entry.key = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (entry.key < 1 || entry.key > 17) {
        *error = QString("%1: the name must start with the key 01 to 17 and a '-'").arg(path);
        return std::nullopt;
    }
    const auto sections = readSections(path, error);
    if (!sections) return std::nullopt;
    for (const Section& s : *sections) {
        if (!referenceTextColumns().contains(s.name)) {
            *error = QString("%1:%2: [%3] is not a text column of KAMTDB").arg(path).arg(s.line).arg(s.name);
            return std::nullopt;
        }
        if (entry.texts.contains(s.name)) {
            *error = QString("%1:%2: [%3] appears twice").arg(path).arg(s.line).arg(s.name);
            return std::nullopt;
        }
        entry.texts[s.name] = sectionText(s.lines);
    }
    for (const QString& column : referenceTextColumns())
        if (!entry.texts.contains(column)) {
            *error = QString("%1: the section [%2] is missing").arg(path, column);
            return std::nullopt;
        }
    return entry;
}

std::optional<ProtocolSource> parseProtocolSource(const QString& path, QString* error)
{
    const auto sections = readSections(path, error);
    if (!sections) return std::nullopt;
    ProtocolSource source;
    source.fileName = QFileInfo(path).fileName();
    ProtocolRecord& p = source.protocol;
    QSet<QString> seen;
    bool haveProtocol = false;
    for (const Section& s : *sections) {
        if (s.name == "Condition") {
            if (!haveProtocol) {
                *error = QString("%1:%2: [Condition] before [Protocol]").arg(path).arg(s.line);
                return std::nullopt;
            }
            auto condition = parseCondition(path, s, p.number, error);
            if (!condition) return std::nullopt;
            source.conditions.push_back(*condition);
            continue;
        }
        if (seen.contains(s.name)) {
            *error = QString("%1:%2: [%3] appears twice").arg(path).arg(s.line).arg(s.name);
            return std::nullopt;
        }
        seen.insert(s.name);
        if (s.name == "Protocol") {
            const auto values = keyValues(path, s, protocolFields(), error);
            if (!values) return std::nullopt;
            haveProtocol = true;
            p.number = values->value("ProNo");
            p.name = values->value("ProName");
            p.functions = values->value("ProFN");
            source.pictureFile = values->value("ProPict");
            for (int i = 0; i < 4; ++i) {
                p.scripts[i] = values->value(QStringLiteral("ProScrp%1").arg(i + 1));
                p.programs[i] = values->value(QStringLiteral("ProPrg%1").arg(i + 1));
                p.parameters[i] = values->value(QStringLiteral("ProParm%1").arg(i + 1));
            }
            if (!toFlag(path, "ProScal", values->value("ProScal"), &p.pictureActualSize, error)) return std::nullopt;
            if (p.number.isEmpty()) {
                *error = QString("%1: ProNo is missing").arg(path);
                return std::nullopt;
            }
        } else if (protocolTextSections().contains(s.name)) {
            const QString text = sectionText(s.lines);
            const int index = s.name.right(1).toInt() - 1;
            if (s.name == "ProData") p.description = text;
            else if (s.name.startsWith("ProMed")) p.medicineTexts[index] = text;
            else p.helpTexts[index] = text;
        } else {
            *error = QString("%1:%2: [%3] is not a section of a protocol").arg(path).arg(s.line).arg(s.name);
            return std::nullopt;
        }
    }
    if (!haveProtocol) {
        *error = QString("%1: the section [Protocol] is missing").arg(path);
        return std::nullopt;
    }
    for (ConditionRecord& c : source.conditions) c.protocolNumber = p.number;
    if (!source.pictureFile.isEmpty()) {
        QFile picture(QFileInfo(path).dir().filePath(source.pictureFile));
        if (!picture.open(QIODevice::ReadOnly)) {
            *error = QString("%1: the picture %2 cannot be read").arg(path, picture.fileName());
            return std::nullopt;
        }
        p.picture = picture.readAll();
    }
    return source;
}

QString buildTemplateDatabase(const QString& path)
{
    return build(path, [](QSqlDatabase& db) { return createTables(db, mainDatabaseTables()); });
}

QString buildReferenceDatabase(const QString& path, const std::vector<ReferenceSource>& entries, const QString& pictures)
{
    return build(path, [&](QSqlDatabase& db) -> QString {
        if (QString e = createTables(db, referenceDatabaseTables()); !e.isEmpty()) return e;
        QSet<int> keys;
        QStringList columns{"MKEY"};
        columns += referenceTextColumns();
        columns << "DtGpM";
        QStringList quoted;
        for (const QString& c : columns) quoted << quotedName(c);
        Savepoint work(db);
        for (const ReferenceSource& entry : entries) {
            if (keys.contains(entry.key)) return QString("%1: the key %2 is given by another file too").arg(entry.fileName).arg(entry.key);
            keys.insert(entry.key);
            QVariantList values{entry.key};
            for (const QString& column : referenceTextColumns()) values << scramble(entry.texts.value(column), 1);
            QFile picture(QDir(pictures).filePath(QStringLiteral("meridian-%1.png").arg(entry.key, 2, 10, QChar(u'0'))));
            values << (entry.key <= 12 && picture.open(QIODevice::ReadOnly) ? QVariant(picture.readAll()) : QVariant(QMetaType(QMetaType::QByteArray)));
            if (QString e = execute(db, QString("INSERT INTO KAMTDB (%1) VALUES (%2)").arg(quoted.join(", "), QStringList(values.size(), "?").join(", ")), values);
                !e.isEmpty())
                return QString("%1: %2").arg(entry.fileName, e);
        }
        return work.release();
    });
}

QString buildSystemProtocolDatabase(const QString& path, const std::vector<ProtocolSource>& protocols)
{
    return build(path, [&](QSqlDatabase& db) -> QString {
        if (QString e = createTables(db, systemProtocolDatabaseTables()); !e.isEmpty()) return e;
        Savepoint work(db);
        QSet<QString> numbers;
        for (const ProtocolSource& source : protocols) {
            ProtocolRecord protocol = source.protocol;
            if (numbers.contains(protocol.number.toLower()))
                return QString("%1: the protocol number %2 is taken by another file").arg(source.fileName, protocol.number);
            numbers.insert(protocol.number.toLower());
            if (QString e = appendProtocol(db, protocol); !e.isEmpty()) return QString("%1: %2").arg(source.fileName, e);
            for (ConditionRecord condition : source.conditions)
                if (QString e = appendCondition(db, condition); !e.isEmpty()) return QString("%1: %2").arg(source.fileName, e);
        }
        return work.release();
    });
}

}  // namespace tork
