#pragma once
// A wave clip played straight through PulseAudio, wherever the program is built
// with PulseAudio's client library (sounddevice.h). Qt 6.4 meets the sound server once per process: a server that starts
// after the program, or stops and comes back, is never heard through it again.
// Each play here connects afresh, on a thread of the player's own, so nothing
// waits on the thread that draws the clocks and sound returns as soon as a
// server is there.

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class PulsePlayer : public QObject
{
    Q_OBJECT

public:
    explicit PulsePlayer(QObject* parent = nullptr);
    ~PulsePlayer() override;

    // Whether the program was built with PulseAudio's client library.
    static bool available();

    // Plays the wave file from its start and returns at once; a play under way
    // is cut short.
    void play(const QString& path);
    void stop();
    bool isPlaying() const { return m_playing; }

Q_SIGNALS:
    // A play has ended by itself (not by stop() or a newer play):
    // `reachedServer` is false when no server took the clip.
    void finished(bool reachedServer);

private:
    enum class Outcome { NoServer, Played, Cut };
    void run();
    Outcome playFile(const QString& path);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<QString> m_pending;
    bool m_quitting = false;
    std::atomic<bool> m_cancel = false;
    std::atomic<bool> m_playing = false;
    std::thread m_thread;
};
