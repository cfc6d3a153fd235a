#pragma once
// The game kept on disk while it is played, so that a crash, a kill or a power
// cut loses nothing: the score box's every change is written to game.json in the
// user's state folder, atomically (a new file beside it, flushed, renamed over
// the old one; see wholefile.h), by a thread of its own, so that a slow disk never holds up the
// clocks. A start that finds the file resumes it. A normal end keeps the game
// as last-game.json beside it and removes the file, so that the next start is
// a fresh game unless the operator asks for the last one back.

#include "gamestate.h"

#include <QDateTime>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class GameFile
{
public:
    // `reportFailure` hears why a save failed (on the writer's thread), that a
    // damaged file was set aside (on the thread that takes the leftover game)
    // and why the last game could not be kept (on the thread that retires it).
    explicit GameFile(QString path, std::function<void(const QString&)> reportFailure = {});
    // Writes what waits, then stops the writer.
    ~GameFile();

    // $XDG_STATE_HOME/Tallivox/game.json, by default ~/.local/state/Tallivox/game.json.
    static QString defaultPath();

    // The game a run that did not end normally left behind. A file that does not
    // hold one whole is renamed to game.json.bad, which `reportFailure` hears,
    // and gives nothing.
    std::optional<GameState> takeLeftover();

    // The game the last normal end kept, offered for resuming while it is less
    // than 12 hours old (by its file's time). Nothing while a game a crash left
    // waits: that one comes back by itself. A kept game that is not whole is
    // simply not offered.
    std::optional<GameState> lastGame(const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // Queues the state for writing; only the latest waiting state is written.
    void save(const GameState& state);

    // The normal end: waits for a write under way, drops what waits, keeps
    // `last` whole as last-game.json and removes the file. When `last` cannot be
    // kept, `reportFailure` hears why, and the file keeps it for the next start.
    void retire(const GameState& last);

    QString path() const { return m_path; }
    QString lastGamePath() const;

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
    bool m_retired = false;
    bool m_lastWriteFailed = false;
    std::thread m_writer;
};
