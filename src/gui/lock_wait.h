#pragma once
// While another forecast (the command-line program's, or a second window's)
// holds the program directory, the window says so and keeps painting: a
// small dialog waits with the user until the other run ends, or until the
// user calls the forecast off.

#include <QString>

#include <filesystem>

class QWidget;

namespace meridan {

// Returns once the lock is free; throws CommandCancelled when the user
// cancels. `then` says what happens when the other run ends.
void WaitWhileAnotherForecastRuns(
    QWidget* parent, const std::filesystem::path& programDir,
    const QString& then = QStringLiteral("Этот начнётся, как только тот закончится."));

}  // namespace meridan
