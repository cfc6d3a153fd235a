#include "programwindows.h"

#include "frmhelp.h"

#include <QCoreApplication>

// Modeless, one at a time: a second request brings the open window forward
// without reading the file again; closing it unloads it.
void ProgramWindows::showHelp()
{
    if (!m_help) {
        auto* help = new frmHelp(QCoreApplication::applicationDirPath());
        help->setAttribute(Qt::WA_DeleteOnClose);
        help->Form_Load();
        if (const QWidget* box = scoreBoxOnAir())
            placeOffWindow(*help, *box);
        m_help = help;
        // Closing help gives the keys back to the window it was opened over.
        connect(help, &QObject::destroyed, this, &ProgramWindows::returnKeyboard);
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
