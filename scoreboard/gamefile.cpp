#include "gamefile.h"

#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// A game takes a few hundred bytes; anything much larger is not ours.
constexpr qint64 MaxGameFileBytes = 64 * 1024;
} // namespace

GameFile::GameFile(QString path, std::function<void(const QString&)> reportFailure)
    : m_path(std::move(path))
    , m_reportFailure(std::move(reportFailure))
    , m_writer([this] { writeLoop(); })
{
}

GameFile::~GameFile()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_writer.join();
}

QString GameFile::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Tallivox/game.json");
}

std::optional<GameState> GameFile::takeLeftover()
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return std::nullopt;
    QFile file(m_path);
    std::optional<GameState> state;
    if (info.isFile() && info.size() <= MaxGameFileBytes && file.open(QIODevice::ReadOnly))
        state = gameStateFromJson(file.read(MaxGameFileBytes));
    file.close();
    if (!state) {
        // The operator expected the last game back and gets a fresh one: say why.
        const QString aside = m_path + QStringLiteral(".bad");
        QFile::remove(aside);
        const QString said = QFile::rename(m_path, aside)
                                 ? QStringLiteral("The saved game could not be read; it was kept as %1.")
                                       .arg(QFileInfo(aside).fileName())
                                 : QStringLiteral("The saved game could not be read, nor moved aside from %1.").arg(m_path);
        if (m_reportFailure)
            m_reportFailure(said);
    }
    return state;
}

void GameFile::save(const GameState& state)
{
    QByteArray json = toJson(state);
    {
        std::lock_guard lock(m_mutex);
        if (m_discarded)
            return;
        m_pending = std::move(json);
    }
    m_wake.notify_one();
}

void GameFile::discard()
{
    {
        std::lock_guard lock(m_mutex);
        m_discarded = true;
        m_pending.reset();
    }
    // Waits for a write under way, which would otherwise put the file back.
    std::lock_guard writing(m_writeMutex);
    QFile::remove(m_path);
}

void GameFile::writeLoop()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_stopping || m_pending; });
        // What waits is written before the writer stops.
        if (!m_pending)
            return;
        const QByteArray json = std::move(*m_pending);
        m_pending.reset();
        // Taken before the queue is let go, so that discard() finds the write.
        std::lock_guard writing(m_writeMutex);
        lock.unlock();
        write(json);
    }
}

void GameFile::write(const QByteArray& json)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const WriteProblem problem = replaceWholeFile(m_path, json);
    // Said once when saves start failing, not every second while they go on failing.
    if (problem && !m_lastWriteFailed && m_reportFailure)
        m_reportFailure(QStringLiteral("The game was not saved to %1: %2.").arg(m_path, *problem));
    m_lastWriteFailed = problem.has_value();
}
