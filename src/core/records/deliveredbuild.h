#pragma once
// Builds the delivered databases from their readable sources at build time: the empty
// template KaSpa_60.mdb, the reference database torkE.mdb (KAMTDB, texts scrambled with key
// index 1) and the system protocol database torkKA.mdb (KAPRO, KAPRDT).
// The source formats are described in data/reference and data/protocols/FORMAT.md.

#include "core/records/protocolstore.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tork {

// The text columns of KAMTDB in table order.
const QStringList& referenceTextColumns();

struct ReferenceSource {
    int key = 0;                      // MKEY, from the file name's two digits
    QString fileName;
    QMap<QString, QString> texts;     // column -> plain text, lines joined with "\r\n"
};

struct ProtocolSource {
    QString fileName;
    ProtocolRecord protocol;
    QString pictureFile;              // empty: no picture
    std::vector<ConditionRecord> conditions;
};

// Each parser returns nullopt and an error naming the file (and the column or line) on bad input.
std::optional<ReferenceSource> parseReferenceSource(const QString& path, QString* error);
std::optional<ProtocolSource> parseProtocolSource(const QString& path, QString* error);

// Each builder writes PATH afresh (through a temporary file, so a failed build leaves no
// half-made database) and returns an error text or empty.
QString buildTemplateDatabase(const QString& path);
// PICTURES holds meridian-NN.png for the keys that have a chart picture; it may be empty or missing.
QString buildReferenceDatabase(const QString& path, const std::vector<ReferenceSource>& entries, const QString& pictures);
QString buildSystemProtocolDatabase(const QString& path, const std::vector<ProtocolSource>& protocols);

}  // namespace tork
