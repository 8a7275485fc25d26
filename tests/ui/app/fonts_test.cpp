#include "ui/app/fonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontInfo>

// Screens and printed pages are laid out for Tahoma and Times New Roman; both must resolve
// to metric-compatible faces installed by the set-up step.
TEST(Fonts, ProgramFacesResolveToMetricCompatibleFonts)
{
    EXPECT_EQ(tork::installProgramFonts(), "Tahoma");
    EXPECT_EQ(QApplication::font().pointSize(), 8);
    QFont times(QStringLiteral("Times New Roman"), 12);
    const QString family = QFontInfo(times).family();
    EXPECT_TRUE(family == "Liberation Serif" || family == "Times New Roman") << family.toStdString();
}
