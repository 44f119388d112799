#include "qt/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

// The Qt shell's tests need an application object (offscreen unless told otherwise).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    soramado::registerFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
