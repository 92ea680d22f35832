// Test entry point: one QApplication for the whole run, with the numeric locale
// that the playback library insists on, the fonts the windows are designed for
// and the Japanese the program's dialogs speak.
#include "desktop/translations.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// Listing the tests runs none of them, so it needs no display (CTest lists
// them on machines that have none).
bool OnlyListsTests(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (OnlyListsTests(argc, argv)) {
        ::testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();
    InstallJapaneseTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
