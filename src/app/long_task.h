#pragma once
// A long core operation on a worker thread, with a progress window that appears once the
// operation has taken a moment; the calling thread runs a nested event loop meanwhile.

#include <QString>
#include <functional>

#include "progress.h"

class QWidget;

/// How long an operation runs before its progress window appears, in milliseconds.
inline constexpr int kProgressDelayMs = 200;

/// Runs `job` on its own thread and returns once it has ended; exceptions it throws are
/// thrown again here. The progress window is a child of `owner`, titled `title`; "Anuluj" or
/// closing it makes the job's Postep return false from then on.
void runWithProgress(QWidget* owner, const QString& title,
                     const std::function<void(const Postep&)>& job);
