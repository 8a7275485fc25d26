#pragma once
// The interpretive texts of an analysis: the five state statements, the lists of atypical
// meridians, and the explanation of a list entry composed from the reference texts.

#include "core/analysis/analysis.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace tork {

class ReferenceTexts;

// An entry of the analysis, dietary or protocols list; key is the MKEY of its reference texts.
struct ListEntry {
    QString text;
    int key = 0;
    bool operator==(const ListEntry&) const = default;
};

enum class ListKind { Analysis, Dietary, Protocols };

struct AnalysisTexts {
    // Body energy, mental stress, musculoskeletal system, metabolism, autonomic nerves.
    std::array<QString, 5> statements;
    QList<ListEntry> analysisList;   // the five states (keys 13..17), then meridians atypical on both sides
    QList<ListEntry> dietaryList;    // meridians atypical on both sides
    QList<ListEntry> protocolsList;  // meridians with both sides in excess or both in deficiency
};

// Statement sentence of a state (key 13..17) at the given value.
QString stateStatement(int stateKey, int value);
// "State of body energy" .. "Function of autonomic nerve" for keys 13..17.
QString stateEntryText(int stateKey);
// "[Lung Meridian Atypical]" .. "[Stomach Meridian Atypical]" for meridians 1..12.
QString atypicalEntryText(int meridian);

// Both points of the meridian off level 0 (in either direction).
bool isAtypicalBothSides(const AnalysisResult& result, int meridian);
// Both points above level 0, or both below.
bool isAtypicalSameSign(const AnalysisResult& result, int meridian);

AnalysisTexts buildAnalysisTexts(const AnalysisResult& result);

struct Explanation {
    QStringList lines;
    QStringList ryodorakuLines;  // filled for meridian entries of the analysis list only
    bool operator==(const Explanation&) const = default;
};

// Lines of the explanation of one list entry. A key without reference texts gives an empty
// explanation.
Explanation composeExplanation(ListKind kind, int key, const AnalysisResult& result, const ReferenceTexts& texts);

}  // namespace tork
