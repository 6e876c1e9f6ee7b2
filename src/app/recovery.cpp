#include "app/recovery.h"

#include <QApplication>
#include <QDateTime>

#include "app/okno.h"

KopiaOdzysku::KopiaOdzysku(_OKNO_& okno, const std::string& dir, Zegar zegar)
    : QObject(&okno), okno_(okno), copy_(dir), zegar_(std::move(zegar)) {
    if (!zegar_) zegar_ = [] { return recovery::Schedule::Clock::now(); };
    if (!copy_.valid()) return;  // no state directory: the program runs without copies
    connect(&timer_, &QTimer::timeout, this, [this] { sprawdz(); });
    timer_.start(1000);
}

void KopiaOdzysku::sprawdz() {
    const auto now = zegar_();
    schedule_.observe(okno_.historia().state(), okno_.zmieniony(), now);
    if (schedule_.stale()) {
        if (copy_.written()) copy_.remove();
        return;
    }
    // The user waits on nothing: no computation, no dialog or box, no drag.
    const bool busy = okno_.zajety() || QApplication::activeModalWidget() != nullptr ||
                      QApplication::activePopupWidget() != nullptr ||
                      QApplication::mouseButtons() != Qt::NoButton;
    if (schedule_.due(busy, now) && copy_.write(okno_.m)) schedule_.written(now);
}

bool zaproponujOdzysk(_OKNO_& okno, const std::string& dir) {
    std::vector<recovery::Orphan> found = recovery::orphans(dir);
    if (found.empty()) return false;
    recovery::Orphan& newest = found.front();
    const QString when = QDateTime::fromSecsSinceEpoch(newest.mtime).toString("d.MM.yyyy H:mm");
    const std::string question =
        "Znaleziono niezapisany model z " + when.toStdString() + " — przywrócić?";
    switch (okno.ui.message(question, "WIRTOR", Buttons::YesNoCancel, Icon::Question)) {
        case Answer::Yes: {
            const bool restored = okno.przywroc(newest.path);
            // Restored, the project's own copy takes over; unreadable, it is of no use.
            newest.discard();
            return restored;
        }
        case Answer::No:
            newest.discard();
            return false;
        default:
            return false;  // kept: its lock goes with `found`
    }
}
