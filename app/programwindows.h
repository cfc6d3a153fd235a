#pragma once
// The one owner of the program's windows: it creates each window on first use,
// hands out references, and deletes a window when it is unloaded, so that every
// window exists at most once and none is a global.

#include <QObject>
#include <QPointer>


class TimeSource;
#include "frmscoreboard.h"

class ProgramWindows : public QObject
{
    Q_OBJECT

public:
    explicit ProgramWindows(const TimeSource& time, QObject* parent = nullptr);
    ~ProgramWindows() override;

    // Loads the score box (its load runs on first use) and shows it.
    void showScoreboard();
    frmScoreboard* scoreboard() const { return m_scoreboard; }

private:
    frmScoreboard& scoreboardWindow();
    void endProcess();

    const TimeSource& m_time;
    QPointer<frmScoreboard> m_scoreboard;
};
