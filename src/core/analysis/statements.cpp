#include "core/analysis/statements.h"

#include "core/records/referencetexts.h"

#include <QRegularExpression>
#include <algorithm>

namespace tork {
namespace {

using StateSentences = std::array<QString, 7>;  // values -3..3

const std::array<StateSentences, 4>& signedStateSentences()
{
    static const std::array<StateSentences, 4> sentences{{
        {
            QStringLiteral("Low body energy. Primordial Qi is deficient."),
            QStringLiteral("Body energy and primordial energy are slightly weak."),
            QStringLiteral("Body energy and primordial Qi are marginally deficient, but still normal."),
            QStringLiteral("Body energy and primordial Qi are normal."),
            QStringLiteral("Body energy and primordial Qi are marginally heightened, but still normal."),
            QStringLiteral("Body energy is slightly excessive."),
            QStringLiteral("Body energy is excessive, and full of vigor."),
        },
        {
            QStringLiteral("Qi-Blood is excessive in lower-jiao and psychasthenia is obvious."),
            QStringLiteral("Qi-Blood is deficient in upper-jiao; There is a moderate tendency for psychasthenia."),
            QStringLiteral("Qi-blood is slightly deficient in upper-jiao and spiritual activity is slightly low."),
            QStringLiteral("Qi-Blood is balanced in upper-jiao and lower-jiao, and the spiritual activity is normal."),
            QStringLiteral("Qi-Blood is slightly excessive in upper-jiao; There is a slight mental stress."),
            QStringLiteral("The upper-jiao is excessive while the lower-jiao is deficient, which shows a moderate mental stress."),
            QStringLiteral("Qi-Blood is excessive in upper-jiao and mental stress is obvious."),
        },
        {
            QStringLiteral("Qi-Blood is deficient on the left side and complications of the musculoskeletal system are obvious."),
            QStringLiteral("Qi-Blood is excessive on the right side and musculoskeletal system complications are likely."),
            QStringLiteral("Qi-Blood is slightly excessive on the right side and musculoskeletal system is slightly imbalanced."),
            QStringLiteral("Qi-Blood is balanced and the musculoskeletal system is functioning normally."),
            QStringLiteral("There are slight imbalance and complications in the msculoskeletal system."),
            QStringLiteral("Left side is excessive while right side is deficient and musculoskeletal system is not functioning properly."),
            QStringLiteral("Qi-Blood on the right side is deficient and the musculoskeletal system has obvious complications."),
        },
        {
            QStringLiteral("Yang-Fu(Organs) are greater than Yin-Zang(Viscera); Metabolic function exhibits anomalous increase."),
            QStringLiteral("Yang is greater than Yin and there is an increase in metabolic function."),
            QStringLiteral("Yang is greater than Yin and body metabolism is moderately fast."),
            QStringLiteral("Yin and Yang are balanced and body metabolism is normal."),
            QStringLiteral("Yin is greater than Yang and body metabolism is slightly slow."),
            QStringLiteral("Yin is greater than Yang and metabolic fuction decreases."),
            QStringLiteral("Yin-Zang(Viscera) are greater than Yang-Fu(Organs) and metabolism is markedly deficient."),
        },
    }};
    return sentences;
}

const std::array<QString, 4>& autonomicSentences()
{
    static const std::array<QString, 4> sentences{
        QStringLiteral("Autonomic nervous system is normal."),
        QStringLiteral("Autonomic nervous system is slightly imbalanced."),
        QStringLiteral("Autonomic nervous system is moderately imbalanced."),
        QStringLiteral("Autonomic nervous system is obviously imbalanced."),
    };
    return sentences;
}

constexpr std::array<int, 5> kStateKeys{BodyEnergyKey, MentalStressKey, MusculoskeletalKey, MetabolismKey, AutonomicKey};

bool isStateKey(int key) { return key >= BodyEnergyKey && key <= AutonomicKey; }
bool isMeridianKey(int key) { return key >= 1 && key <= kMeridianCount; }

int leftLevel(const AnalysisResult& r, int meridian) { return r.pointLevel[leftPoint(meridian) - 1]; }
int rightLevel(const AnalysisResult& r, int meridian) { return r.pointLevel[rightPoint(meridian) - 1]; }
bool bothInExcess(const AnalysisResult& r, int m) { return leftLevel(r, m) > 0 && rightLevel(r, m) > 0; }
bool bothInDeficiency(const AnalysisResult& r, int m) { return leftLevel(r, m) < 0 && rightLevel(r, m) < 0; }

// A stored field is added as the lines a text box would show: split at its line breaks,
// a final line break closing the last line rather than opening an empty one.
void addField(QStringList& lines, const QString& field)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList pieces = field.split(lineBreak);
    if (pieces.size() > 1 && pieces.last().isEmpty()) pieces.removeLast();
    lines << pieces;
}

void addBlank(QStringList& lines) { lines << QString(); }

const QString& bodyEnergyWarning()
{
    static const QString text =
        QStringLiteral("Due to low body energy, beware of possible complications in body functions and meridians.");
    return text;
}

}  // namespace

QString stateStatement(int stateKey, int value)
{
    if (stateKey == AutonomicKey) return autonomicSentences()[std::clamp(value, 0, 3)];
    return signedStateSentences()[stateKey - BodyEnergyKey][std::clamp(value, -3, 3) + 3];
}

QString stateEntryText(int stateKey)
{
    static const std::array<QString, 5> texts{
        QStringLiteral("State of body energy"), QStringLiteral("State of mental stress"),
        QStringLiteral("Musculoskeletal system"), QStringLiteral("Metabolism of the body"),
        QStringLiteral("Function of autonomic nerve")};
    return texts[stateKey - BodyEnergyKey];
}

QString atypicalEntryText(int meridian)
{
    return QStringLiteral("[%1 Atypical]").arg(meridianInfo(meridian).name);
}

bool isAtypicalBothSides(const AnalysisResult& result, int meridian)
{
    return leftLevel(result, meridian) != 0 && rightLevel(result, meridian) != 0;
}

bool isAtypicalSameSign(const AnalysisResult& result, int meridian)
{
    return bothInExcess(result, meridian) || bothInDeficiency(result, meridian);
}

AnalysisTexts buildAnalysisTexts(const AnalysisResult& result)
{
    AnalysisTexts texts;
    for (int i = 0; i < int(kStateKeys.size()); ++i) {
        const int key = kStateKeys[i];
        texts.statements[i] = stateStatement(key, result.stateValue(key));
        texts.analysisList.append({stateEntryText(key), key});
    }
    for (int m = 1; m <= kMeridianCount; ++m) {
        if (isAtypicalBothSides(result, m)) {
            texts.analysisList.append({atypicalEntryText(m), m});
            texts.dietaryList.append({atypicalEntryText(m), m});
        }
        if (isAtypicalSameSign(result, m)) texts.protocolsList.append({atypicalEntryText(m), m});
    }
    return texts;
}

Explanation composeExplanation(ListKind kind, int key, const AnalysisResult& result, const ReferenceTexts& texts)
{
    Explanation explanation;
    const bool stateEntry = kind == ListKind::Analysis && isStateKey(key);
    if (!stateEntry && !isMeridianKey(key)) return explanation;
    const std::optional<ReferenceEntry> entry = texts.entry(key);
    if (!entry) return explanation;
    auto add = [&](ReferenceField field) { addField(explanation.lines, entry->text(field)); };
    QStringList& lines = explanation.lines;

    if (stateEntry) {
        const int state = result.stateValue(key);
        add(ReferenceField::DtMA1);
        addBlank(lines);
        if (state == 0) {
            add(ReferenceField::DtMA2);
        } else if (state > 0) {
            add(ReferenceField::DtMH1);
        } else {
            add(ReferenceField::DtML1);
            if (key == BodyEnergyKey && state == -3) {
                addBlank(lines);
                lines << bodyEnergyWarning();
            }
        }
        return explanation;
    }

    const bool excess = bothInExcess(result, key);
    const bool deficiency = bothInDeficiency(result, key);
    switch (kind) {
    case ListKind::Analysis:
        lines << atypicalEntryText(key);
        addBlank(lines);
        add(ReferenceField::DtMA2);
        addBlank(lines);
        add(ReferenceField::DtMA1);
        addBlank(lines);
        if (excess) {
            add(ReferenceField::DtMH1);
            addField(explanation.ryodorakuLines, entry->text(ReferenceField::DtMH5));
        } else if (deficiency) {
            add(ReferenceField::DtML1);
            addField(explanation.ryodorakuLines, entry->text(ReferenceField::DtML5));
        }
        break;
    case ListKind::Dietary:
        add(ReferenceField::DtMA3);
        addBlank(lines);
        if (excess) add(ReferenceField::DtMH4);
        else if (deficiency) add(ReferenceField::DtML4);
        break;
    case ListKind::Protocols:
        if (excess) {
            add(ReferenceField::DtMH3);
            addBlank(lines);
            add(ReferenceField::DtMH2);
        } else if (deficiency) {
            add(ReferenceField::DtML3);
            addBlank(lines);
            add(ReferenceField::DtML2);
        }
        break;
    }
    return explanation;
}

}  // namespace tork
