#pragma once
// The program's reversible text scrambling: hexadecimal text keyed by one of seven key indices
// (5 for the settings file, 7 for the display strings, 1 for the reference texts).

#include <QByteArray>
#include <QString>

namespace tork {

// Scrambles the text's UTF-8 bytes; a fresh random seed is drawn on each call. Empty gives empty.
QString scramble(const QString& text, int keyIndex);
// Reverses scramble. Empty gives empty. The input must be valid (see isScrambledText).
QString unscramble(const QString& hex, int keyIndex);

// Byte-level forms, for callers that keep raw 8-bit codes.
QString scrambleBytes(const QByteArray& bytes, int keyIndex);
QByteArray unscrambleBytes(const QString& hex, int keyIndex);

// An even number of hexadecimal digits (empty counts as valid).
bool isScrambledText(const QString& hex);

}  // namespace tork
