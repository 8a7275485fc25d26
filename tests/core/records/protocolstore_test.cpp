// The user's protocols and their conditions in the main database.

#include "recordsfixture.h"
#include "support/tempfolder.h"

#include "core/records/protocolstore.h"

using namespace tork;
using namespace tork::test;

TEST(RecordsProtocols, StoreReadAndDeleteWithConditionsOfAnyLetterCase)
{
    TempProgramFolder folder;
    ASSERT_EQ(buildTemplateDatabase(folder.file("tork6.mdb")), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Shared), QString());
    QSqlDatabase db = database.db();

    for (const char* number : {"P2", "P1"}) {
        ProtocolRecord p;
        p.number = number;
        p.name = QStringLiteral("Name %1").arg(number);
        p.picture = QByteArray("\x89PNG\0data", 9);
        p.functions = "1010";
        p.programs[2] = "/usr/bin/true";
        ASSERT_EQ(appendProtocol(db, p), QString());
    }
    for (const char* number : {"P1", "p1", "P2"}) {
        ConditionRecord c;
        c.protocolNumber = number;
        c.name = "cond";
        c.condition = QString(24, '0');
        c.ageLow = 10;
        c.ageHigh = 90;
        c.energy = 42.5;
        c.must = true;
        ASSERT_EQ(appendCondition(db, c), QString());
    }
    const auto protocols = loadProtocols(db);
    ASSERT_EQ(protocols.size(), 2u);
    EXPECT_EQ(protocols[0].number, "P1");   // by number
    EXPECT_EQ(protocols[0].picture, QByteArray("\x89PNG\0data", 9));
    EXPECT_EQ(protocols[0].programs[2], "/usr/bin/true");
    EXPECT_TRUE(findProtocol(db, "p2", Qt::CaseInsensitive));
    EXPECT_FALSE(findProtocol(db, "p2"));
    const auto conditions = conditionsOf(db, "P1");
    ASSERT_EQ(conditions.size(), 1u);
    EXPECT_EQ(conditions[0].energy, 42.5);
    EXPECT_EQ(conditions[0].ageHigh, 90);

    ProtocolRecord changed = protocols[0];
    changed.name = QString(25, 'n');
    EXPECT_TRUE(updateProtocol(db, changed).contains("ProName"));
    changed.name = "Renamed";
    ASSERT_EQ(updateProtocol(db, changed), QString());
    EXPECT_EQ(protocolByKey(db, changed.key)->name, "Renamed");

    ASSERT_EQ(deleteProtocol(db, protocols[0]), QString());
    EXPECT_EQ(protocolCount(db), 1);
    const auto left = loadConditions(db);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].protocolNumber, "P2");
}
