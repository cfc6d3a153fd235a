#include "programwindows.h"

#include "frmscoreboard.h"

#include <QCoreApplication>

ProgramWindows::ProgramWindows(const TimeSource& time, QObject* parent)
    : QObject(parent)
    , m_time(time)
{
}

ProgramWindows::~ProgramWindows()
{
    delete m_scoreboard;
}

frmScoreboard& ProgramWindows::scoreboardWindow()
{
    if (!m_scoreboard) {
        frmScoreboard::Links links;
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

void ProgramWindows::endProcess()
{
    // Nothing of any window runs after this: the loop ends and main tears down.
    if (m_scoreboard)
        m_scoreboard->hide();
    QCoreApplication::exit(0);
}
