// Test entry for the Qt side: one application object for all tests, Qt's Polish texts,
// C locale for numbers.
#include <QApplication>
#include <clocale>

#include <gtest/gtest.h>

#include "app/wirtor.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    installPolishTranslations(app);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
