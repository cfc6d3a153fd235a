#pragma once
// The game kept on disk while it is played, so that a crash, a kill or a power
// cut loses nothing: the score box's every change is written to game.json in the
// user's state folder, atomically (a new file beside it, flushed, renamed over
// the old one; see wholefile.h), by a thread of its own, so that a slow disk never holds up the
// clocks. A normal end removes the file; a start that finds one resumes it.

#include "gamestate.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class GameFile
{
public:
    // `reportFailure` hears why a save failed (on the writer's thread) and that a
    // damaged file was set aside (on the thread that takes the leftover game).
    explicit GameFile(QString path, std::function<void(const QString&)> reportFailure = {});
    // Writes what waits, then stops the writer.
    ~GameFile();

    // $XDG_STATE_HOME/Tallivox/game.json, by default ~/.local/state/Tallivox/game.json.
    static QString defaultPath();

    // The game a run that did not end normally left behind. A file that does not
    // hold one whole is renamed to game.json.bad, which `reportFailure` hears,
    // and gives nothing.
    std::optional<GameState> takeLeftover();

    // Queues the state for writing; only the latest waiting state is written.
    void save(const GameState& state);

    // The normal end: waits for a write under way, drops what waits, removes the file.
    void discard();

    QString path() const { return m_path; }

private:
    void writeLoop();
    void write(const QByteArray& json);

    const QString m_path;
    std::function<void(const QString&)> m_reportFailure;
    std::mutex m_mutex;      // guards the queue: held for moments only
    std::mutex m_writeMutex; // held while a write is under way
    std::condition_variable m_wake;
    std::optional<QByteArray> m_pending;
    bool m_stopping = false;
    bool m_discarded = false;
    bool m_lastWriteFailed = false;
    std::thread m_writer;
};
