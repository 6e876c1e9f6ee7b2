// Test entry for the Qt side: one application object for all tests, Qt's Polish texts and
// locale, C locale for the C library's numbers, as in the program.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/polish_locale.h"
#include "app/wirtor.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    installPolishTranslations(app);
    installPolishLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
