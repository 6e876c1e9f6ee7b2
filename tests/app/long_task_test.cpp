// The worker thread and the progress window of long operations, on the test platform.
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "app/long_task.h"

namespace {

using namespace std::chrono_literals;

// A job that reports until it is told to stop, for at most `limit`.
bool runsUntilCancelled(const Postep& postep, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (!postep("Rozkład macierzy", -1)) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST(LongTask, ShortJobShowsNoWindow) {
    QWidget owner;
    bool ran = false;
    runWithProgress(&owner, "Obliczenia", [&](const Postep& p) { ran = p("Rozwiązywanie", 0.5); });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty());
}

TEST(LongTask, AnulujInTheWindowStopsTheJob) {
    QWidget owner;
    bool seen = false;
    QTimer::singleShot(kProgressDelayMs + 300, &owner, [&] {
        for (QPushButton* b : owner.findChildren<QPushButton*>())
            if (b->text() == "Anuluj" && b->isVisible()) {
                seen = true;
                b->click();
            }
    });
    bool stopped = false;
    const auto start = std::chrono::steady_clock::now();
    runWithProgress(&owner, "Obliczenia",
                    [&](const Postep& p) { stopped = runsUntilCancelled(p, 10s); });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(LongTask, AnExceptionReachesTheCaller) {
    QWidget owner;
    EXPECT_THROW(
        runWithProgress(&owner, "Obliczenia", [](const Postep&) { throw std::runtime_error("x"); }),
        std::runtime_error);
}

}  // namespace
