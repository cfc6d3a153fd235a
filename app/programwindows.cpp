#include "programwindows.h"

#include "configrecord.h"
#include "digitdisplay.h"
#include "frmshotclock.h"

#include <QCoreApplication>

ProgramWindows::ProgramWindows(const TimeSource& time, QObject* parent)
    : QObject(parent)
    , m_time(time)
{
}

ProgramWindows::~ProgramWindows()
{
    if (m_help)
        disconnect(m_help, nullptr, this, nullptr);
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
        links.colourShotClockWindow = [this] { shotClockInstance().applyColours(); };
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

// Loaded on first use, not shown: the score box's updates reach it before it is
// shown. A close request on it ends the program as one on the score box does.
frmShotClock& ProgramWindows::shotClockInstance()
{
    if (!m_shotClock) {
        auto* window = new frmShotClock(
            [this](int keyCode) {
                if (m_scoreboard)
                    m_scoreboard->AllKeyCode(keyCode);
            },
            [this] { endProgram(); });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        m_shotClock = window;
    }
    return *static_cast<frmShotClock*>(m_shotClock.data());
}

void ProgramWindows::showShotClockWindow()
{
    shotClockInstance().show();
}

void ProgramWindows::unloadShotClockWindow()
{
    delete m_shotClock;
}

void ProgramWindows::copyShotClockCaption(int caption)
{
    shotClockInstance().ddShotClock->setCaption(caption);
}

void ProgramWindows::endProgram()
{
    if (m_scoreboard)
        m_scoreboard->EndProgram();
    else
        endProcess();
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
