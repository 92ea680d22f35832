// Test entry point: one QApplication for the whole run, with the numeric locale
// that the playback library insists on and the fonts the windows are designed for.
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "platform/fonts.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
