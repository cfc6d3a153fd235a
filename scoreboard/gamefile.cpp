#include "gamefile.h"

#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// A game takes a few hundred bytes; anything much larger is not ours.
constexpr qint64 MaxGameFileBytes = 64 * 1024;

// Long enough for an evening of games; a game from the day before is not one
// the operator means to resume.
constexpr qint64 LastGameOfferedMs = 12 * 60 * 60 * 1000;

std::optional<GameState> readGame(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (info.isFile() && info.size() <= MaxGameFileBytes && file.open(QIODevice::ReadOnly))
        return gameStateFromJson(file.read(MaxGameFileBytes));
    return std::nullopt;
}
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
    if (!QFileInfo::exists(m_path))
        return std::nullopt;
    const std::optional<GameState> state = readGame(m_path);
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

QString GameFile::lastGamePath() const
{
    return QFileInfo(m_path).dir().filePath(QStringLiteral("last-game.json"));
}

std::optional<GameState> GameFile::lastGame(const QDateTime& now) const
{
    const QFileInfo kept(lastGamePath());
    if (QFileInfo::exists(m_path) || kept.lastModified().msecsTo(now) >= LastGameOfferedMs)
        return std::nullopt;
    return readGame(kept.filePath());
}

void GameFile::save(const GameState& state)
{
    QByteArray json = toJson(state);
    {
        std::lock_guard lock(m_mutex);
        if (m_retired)
            return;
        m_pending = std::move(json);
    }
    m_wake.notify_one();
}

void GameFile::retire(const GameState& last)
{
    {
        std::lock_guard lock(m_mutex);
        m_retired = true;
        m_pending.reset();
    }
    // Waits for a write under way, which would otherwise put the file back.
    std::lock_guard writing(m_writeMutex);
    const QString kept = lastGamePath();
    QDir().mkpath(QFileInfo(kept).absolutePath());
    const QByteArray json = toJson(last);
    if (const WriteProblem problem = replaceWholeFile(kept, json)) {
        if (m_reportFailure)
            m_reportFailure(QStringLiteral("The last game was not kept in %1: %2.").arg(kept, *problem));
        // Then the game file brings the game back at the next start, as after a
        // crash; it is given the very last state where it can take it.
        replaceWholeFile(m_path, json);
        return;
    }
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
        // Taken before the queue is let go, so that retire() finds the write.
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
