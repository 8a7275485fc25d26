#include "core/records/referencetexts.h"

#include "core/app/scramble.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace tork {
namespace {

constexpr int kReferenceKeyIndex = 1;

const std::array<QString, kReferenceFieldCount>& columnNames()
{
    static const std::array<QString, kReferenceFieldCount> names{
        QStringLiteral("DtEA1"), QStringLiteral("DtEA2"), QStringLiteral("DtEA3"), QStringLiteral("DtEA4"),
        QStringLiteral("DtEA5"), QStringLiteral("DtPot1"), QStringLiteral("DtPot2"), QStringLiteral("DtPot3"),
        QStringLiteral("DtMA1"), QStringLiteral("DtMA2"), QStringLiteral("DtMA3"), QStringLiteral("DtMH1"),
        QStringLiteral("DtMH2"), QStringLiteral("DtMH3"), QStringLiteral("DtMH4"), QStringLiteral("DtMH5"),
        QStringLiteral("DtML1"), QStringLiteral("DtML2"), QStringLiteral("DtML3"), QStringLiteral("DtML4"),
        QStringLiteral("DtML5")};
    return names;
}

QString unscrambledOrEmpty(const QString& stored)
{
    return isScrambledText(stored) ? unscramble(stored, kReferenceKeyIndex) : QString();
}

}  // namespace

QString referenceColumnName(ReferenceField field) { return columnNames()[int(field)]; }

std::optional<ReferenceEntry> InMemoryReferenceTexts::entry(int key) const
{
    const auto found = entries_.constFind(key);
    if (found == entries_.constEnd()) return std::nullopt;
    return *found;
}

ReferenceDatabase::ReferenceDatabase(const QString& filePath)
{
    // A missing or unreadable file leaves the texts empty, as a missing row does.
    database_.open(filePath, OpenMode::ReadOnly);
}

std::optional<ReferenceEntry> ReferenceDatabase::entry(int key) const
{
    if (!database_.isOpen()) return std::nullopt;
    QSqlQuery query(database_.db());
    const QStringList columns(columnNames().begin(), columnNames().end());
    if (!query.prepare(QStringLiteral("SELECT %1 FROM KAMTDB WHERE MKEY = ?").arg(columns.join(u", "))))
        return std::nullopt;
    query.addBindValue(key);
    if (!query.exec() || !query.next()) return std::nullopt;
    ReferenceEntry result;
    for (int i = 0; i < kReferenceFieldCount; ++i)
        result.fields[i] = unscrambledOrEmpty(query.value(i).toString());
    return result;
}

}  // namespace tork
