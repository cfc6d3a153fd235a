#include "programwindows.h"

#include "frmhelp.h"

#include <QCoreApplication>

// Modeless, one at a time: a second request brings the open window forward
// without reading the file again; closing it unloads it. The window shows once
// it holds the help text, which a large file takes a while to bring; a request
// meanwhile waits for the same window.
void ProgramWindows::showHelp()
{
    if (!m_help) {
        auto* help = new frmHelp(m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder);
        help->setAttribute(Qt::WA_DeleteOnClose);
        m_help = help;
        // Closing help gives the keys back to the window it was opened over.
        connect(help, &QObject::destroyed, this, &ProgramWindows::returnKeyboard);
        connect(help, &frmHelp::loaded, this, &ProgramWindows::showHelp);
        help->load();
    }
    if (!static_cast<frmHelp*>(m_help.data())->isLoaded())
        return;
    if (!m_help->isVisible()) {
        if (const QWidget* box = scoreBoxOnAir())
            placeOffWindow(*m_help, *box);
    }
    if (m_help->isMinimized())
        m_help->setWindowState(m_help->windowState() & ~Qt::WindowMinimized);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void ProgramWindows::returnKeyboard()
{
    QWidget* home = m_scoreboard ? static_cast<QWidget*>(m_scoreboard) : m_splash.data();
    if (home && home->isVisible())
        home->activateWindow();
}
