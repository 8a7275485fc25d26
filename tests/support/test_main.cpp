// Test entry: makes the application object the layer needs, on the offscreen platform,
// before any test runs (and before test discovery lists the tests).

#include <gtest/gtest.h>

#include <QLocale>
#include <QtGlobal>

#if defined(TORK_TEST_APP_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(TORK_TEST_APP_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
