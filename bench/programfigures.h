#pragma once
// Figures of the real program as a process: start-up time, CPU and memory.

#include <QString>

struct RunningFigures
{
    bool measured = false;
    QString skippedBecause;
    double cpuPercent = 0;
    double rssMb = 0;
    double peakRssMb = 0;
};

// Milliseconds from starting the process to the first paint of its first
// window, offscreen; the median of `runs` starts. Negative when it never painted.
double startupMs(const QString& program, int runs);

// What the program finds when it starts: its settings file and a game left
// behind by an earlier run (none when empty).
struct ProgramSetup
{
    QByteArray settings;
    QByteArray game;
};

// The program under a private Xvfb with the game clock running for `seconds`.
RunningFigures runningFigures(const QString& program, int seconds, const ProgramSetup& setup = {});
