#pragma once
// Therapy protocols (KAPRO) and their conditions (KAPRDT): the user's own in the main
// database, the delivered ones in the system protocol database (read only, with the further
// advice texts ProMed1..3 and ProHel1..5).

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace tork {

struct ProtocolRecord {
    qint64 key = 0;                          // MKEY; 0 for a protocol not stored yet
    QString number;                          // ProNo
    QString name;                            // ProName
    QString description;                     // ProData
    QByteArray picture;                      // ProPict
    bool pictureActualSize = false;          // ProScal
    bool printFlag = false;                  // PrtFG, carried only
    QString functions;                       // ProFN: "1" per function button in use
    std::array<QString, 4> scripts;          // ProScrp1..4
    std::array<QString, 4> programs;         // ProPrg1..4
    std::array<QString, 4> parameters;       // ProParm1..4
    std::array<QString, 3> medicineTexts;    // ProMed1..3, system protocol database only
    std::array<QString, 5> helpTexts;        // ProHel1..5, system protocol database only
};

struct ConditionRecord {
    qint64 key = 0;             // MKEY
    QString protocolNumber;     // ProNo
    QString name;               // ProSubN
    QString note;               // ProNote
    QString required;           // ProAnd
    QString condition;          // ProCond
    int ageLow = 0;             // ProAGL
    int ageHigh = 0;            // ProAGH
    double energy = 0;          // ProEng
    bool must = false;          // ProFlg
    bool printFlag = false;     // PrtFG, carried only
};

// Number and name of a protocol, enough to list it and find it again.
struct ProtocolHeading {
    qint64 key = 0;  // MKEY
    QString number;  // ProNo
    QString name;    // ProName
};

// Every protocol in the order of the stored index KaProB (by number).
std::vector<ProtocolRecord> loadProtocols(QSqlDatabase& db);
std::vector<ProtocolHeading> loadProtocolHeadings(QSqlDatabase& db);
std::optional<ProtocolRecord> findProtocol(QSqlDatabase& db, const QString& number, Qt::CaseSensitivity cs = Qt::CaseSensitive);
std::optional<ProtocolRecord> protocolByKey(QSqlDatabase& db, qint64 key);
int protocolCount(QSqlDatabase& db);
// A protocol's conditions in table order.
std::vector<ConditionRecord> conditionsOf(QSqlDatabase& db, const QString& protocolNumber);
std::vector<ConditionRecord> loadConditions(QSqlDatabase& db);
int conditionCount(QSqlDatabase& db);

// Each returns an error text or empty; append sets the record's key.
QString appendProtocol(QSqlDatabase& db, ProtocolRecord& record);
QString updateProtocol(QSqlDatabase& db, const ProtocolRecord& record);
// Deletes the protocol and every condition whose number equals its number ignoring letter case.
QString deleteProtocol(QSqlDatabase& db, const ProtocolRecord& record);
QString appendCondition(QSqlDatabase& db, ConditionRecord& record);
QString updateCondition(QSqlDatabase& db, const ConditionRecord& record);
QString deleteCondition(QSqlDatabase& db, qint64 key);

}  // namespace tork
