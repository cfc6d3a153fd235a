#include "programwindows.h"

#include "configrecord.h"

#include <QCoreApplication>

ProgramWindows::ProgramWindows(const TimeSource& time, QObject* parent)
    : QObject(parent)
    , m_time(time)
{
}

ProgramWindows::~ProgramWindows()
{
    delete m_scoreboard;
    delete m_shotClock;
    delete m_help;
    delete m_splash;
}

frmScoreboard& ProgramWindows::scoreboardWindow()
{
    if (!m_scoreboard) {
        frmScoreboard::Links links;
        links.showHelp = [this] { showHelp(); };
        links.showOptionsDialog = [this] { showOptionsDialog(m_scoreboard); };
        links.showShotClockWindow = [this] { showShotClockWindow(); };
        links.unloadShotClockWindow = [this] { unloadShotClockWindow(); };
        links.copyShotClockCaption = [this](int caption) { copyShotClockCaption(caption); };
        links.endProcess = [this] { endProcess(); };
        m_scoreboard = new frmScoreboard(m_time, std::move(links));
        m_scoreboard->Form_Load();
    }
    return *m_scoreboard;
}

void ProgramWindows::showScoreboard()
{
    frmScoreboard& box = scoreboardWindow();
    box.show();
    box.raise();
    box.activateWindow();
}

void ProgramWindows::showShotClockWindow()
{
}

void ProgramWindows::unloadShotClockWindow()
{
    delete m_shotClock;
}

void ProgramWindows::copyShotClockCaption(int)
{
}

void ProgramWindows::endProcess()
{
    // Nothing of any window runs after this: the loop ends and main tears down.
    for (QWidget* w : {static_cast<QWidget*>(m_scoreboard), m_shotClock.data(), m_help.data(), m_splash.data()}) {
        if (w)
            w->hide();
    }
    QCoreApplication::exit(0);
}
