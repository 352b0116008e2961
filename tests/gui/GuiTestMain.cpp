// The widget tests need one QApplication for the whole run; screens render offscreen and
// every transition finishes at once unless a test turns animations back on.

#include <QApplication>
#include <gtest/gtest.h>

#include "kit/Animations.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qlgui::Animations::setEnabled(false);
    return RUN_ALL_TESTS();
}
