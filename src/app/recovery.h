#pragma once
// The window's recovery copy: written in idle moments while the project has unsaved changes,
// removed once it is saved or gone and at a normal end; and, at start, the offer to restore
// a copy a program that did not end normally has left.

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "model/recovery.h"

class _OKNO_;

class KopiaOdzysku : public QObject {
  public:
    using Zegar = std::function<recovery::Schedule::Clock::time_point()>;
    /// Copies of `okno`'s model go to directory `dir`; `zegar` tells the time (tests).
    KopiaOdzysku(_OKNO_& okno, const std::string& dir, Zegar zegar = {});

    /// One look at the project: what the timer does every second.
    void sprawdz();
    const recovery::Copy& kopia() const { return copy_; }

  private:
    _OKNO_& okno_;
    recovery::Copy copy_;
    recovery::Schedule schedule_;
    Zegar zegar_;
    QTimer timer_;
};

/// Offers the newest copy left in `dir` by a program that did not end normally: "Znaleziono
/// niezapisany model z … — przywrócić?" Tak restores it into `okno` as an unsaved project,
/// Nie discards it, Anuluj keeps it for a later start. True when a model was restored.
bool zaproponujOdzysk(_OKNO_& okno, const std::string& dir);
