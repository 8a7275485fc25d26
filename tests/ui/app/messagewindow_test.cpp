#include "ui/widgets/messagewindow.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

using namespace tork;

namespace {

// Opens the window, presses the button, and returns once the window has faded and closed.
bool answer(TKaMsag& window, QPushButton* button)
{
    QEventLoop loop;
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    window.open();
    if (button)
        button->click();
    else
        window.close();
    if (window.isVisible()) loop.exec();
    return window.result();
}

}  // namespace

TEST(MessageWindow, KindsTitlesAndButtons)
{
    struct Case { int kind; const char* title; bool question; };
    const Case cases[] = {{1, "Information", true}, {2, "Caution", true}, {3, "Important", true},
                          {4, "Information", false}, {5, "Caution", false}, {6, "Important", false}};
    for (const Case& c : cases) {
        TKaMsag window(c.kind, "text");
        EXPECT_EQ(window.windowTitle(), c.title);
        EXPECT_EQ(window.yesButton()->isVisibleTo(&window), c.question);
        EXPECT_EQ(window.noButton()->isVisibleTo(&window), c.question);
        EXPECT_EQ(window.okButton()->isVisibleTo(&window), !c.question);
        EXPECT_TRUE((c.question ? window.yesButton() : window.okButton())->isDefault());
    }
}

TEST(MessageWindow, Answers)
{
    {
        TKaMsag window(4, "first line\nsecond line");
        EXPECT_EQ(window.text(), "first line\nsecond line");
        EXPECT_TRUE(answer(window, window.okButton()));
    }
    {
        TKaMsag window(1, "Go on?");
        EXPECT_TRUE(answer(window, window.yesButton()));
    }
    {
        TKaMsag window(2, "Go on?");
        EXPECT_FALSE(answer(window, window.noButton()));
    }
    {
        TKaMsag window(1, "Go on?");
        EXPECT_FALSE(answer(window, nullptr));  // closed by its close button
    }
}
