#pragma once
// The reference and advice texts of table KAMTDB, looked up by MKEY (1..12 the meridians,
// 13..17 the five states) and returned unscrambled.

#include "core/records/connection.h"

#include <QHash>
#include <QString>
#include <array>
#include <optional>

namespace tork {

// The text columns of KAMTDB, in table order.
enum class ReferenceField : int {
    DtEA1, DtEA2, DtEA3, DtEA4, DtEA5,
    DtPot1, DtPot2, DtPot3,
    DtMA1, DtMA2, DtMA3,
    DtMH1, DtMH2, DtMH3, DtMH4, DtMH5,
    DtML1, DtML2, DtML3, DtML4, DtML5,
};
constexpr int kReferenceFieldCount = 21;

// Column name of a field ("DtEA1" ...).
QString referenceColumnName(ReferenceField field);

// The unscrambled texts of one row.
struct ReferenceEntry {
    std::array<QString, kReferenceFieldCount> fields;
    const QString& text(ReferenceField field) const { return fields[int(field)]; }
    void setText(ReferenceField field, const QString& text) { fields[int(field)] = text; }
};

class ReferenceTexts {
public:
    virtual ~ReferenceTexts() = default;
    // The row with this MKEY, or nothing when there is none.
    virtual std::optional<ReferenceEntry> entry(int key) const = 0;
};

// Texts held in memory (already unscrambled).
class InMemoryReferenceTexts : public ReferenceTexts {
public:
    void insert(int key, const ReferenceEntry& entry) { entries_.insert(key, entry); }
    std::optional<ReferenceEntry> entry(int key) const override;

private:
    QHash<int, ReferenceEntry> entries_;
};

// KAMTDB of a reference database file, opened read only. A missing file or table reads as
// having no rows; a stored text that is not valid scrambled text reads as empty.
class ReferenceDatabase : public ReferenceTexts {
public:
    explicit ReferenceDatabase(const QString& filePath);

    bool isOpen() const { return database_.isOpen(); }
    std::optional<ReferenceEntry> entry(int key) const override;

private:
    Database database_;
};

}  // namespace tork
