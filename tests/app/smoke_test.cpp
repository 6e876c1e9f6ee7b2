#include <QApplication>

#include <gtest/gtest.h>

TEST(AppSmoke, ApplicationRunsOffscreen) { EXPECT_NE(QApplication::instance(), nullptr); }
