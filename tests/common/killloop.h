#pragma once
// A writer killed at random moments in the middle of saving, and a check of the
// file each kill leaves behind. The test program is its own writer: started with
// killloop::WriterArgument, killloop::runWriterIfAsked() at the top of its main()
// saves instead of running its tests.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>

namespace killloop {

inline constexpr char WriterArgument[] = "--kill-loop-writer";

// Saves to `path` for the n-th time: what the writer does over and over.
using Writer = std::function<void(const QString& path, int n)>;
// What is wrong with the file at `path`, or an empty string when it is whole.
using Checker = std::function<QString(const QString& path)>;

// In main(), first: when the program was started as the writer, saves to the file
// named on its command line until it is killed; otherwise returns at once.
inline void runWriterIfAsked(int argc, char** argv, const Writer& save)
{
    if (argc < 4 || qstrcmp(argv[1], WriterArgument) != 0)
        return;
    const QString path = QString::fromLocal8Bit(argv[2]);
    int n = QByteArray(argv[3]).toInt();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;)
        save(path, n++);
}

// Starts the writer on `path` `kills` times, kills it at a random moment up to
// `spreadUs` microseconds after it is ready, and hands a copy of the file it left
// to `check`. The same seed kills at the same moments. Gives the first fault found.
inline QString killWhileSaving(const QString& path, const Checker& check, int kills = 40, int spreadUs = 20000,
                               quint32 seed = 20261207)
{
    QRandomGenerator random(seed);
    QTemporaryDir copies;
    for (int kill = 0; kill < kills; ++kill) {
        const QString where = QStringLiteral("kill %1 of %2: ").arg(kill).arg(kills);
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QCoreApplication::applicationFilePath(), {WriterArgument, path, QString::number(kill)});
        if (!writer.waitForReadyRead(10000))
            return where + QStringLiteral("the writer did not start");
        QThread::usleep(random.bounded(spreadUs));
        if (writer.state() != QProcess::Running)
            return where + QStringLiteral("the writer ended on its own");
        writer.kill();
        writer.waitForFinished(10000);
        // Under a name no reader in this process has seen, so that nothing cached stands in for the file.
        const QString copy = copies.filePath(QString::number(kill));
        QFile::copy(path, copy);
        if (const QString fault = check(copy); !fault.isEmpty())
            return where + fault;
    }
    return {};
}

} // namespace killloop
