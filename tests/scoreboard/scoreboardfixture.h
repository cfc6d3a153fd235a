#pragma once
// A loaded score box on a stepped clock, with its links counted and no real
// settings, sound or NumLock touched.

#include "configrecord.h"
#include "controls.h"
#include "configstore.h"
#include "frmscoreboard.h"
#include "numlock.h"
#include "timesource.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

class FakeNumLock final : public NumLock
{
public:
    bool on = false;
    int changes = 0;
    bool available() const override { return true; }
    bool isOn() const override { return on; }
    void setOn(bool state) override
    {
        on = state;
        ++changes;
    }
};

struct LinkLog
{
    int helpShown = 0;
    int optionsShown = 0;
    int shotClockShown = 0;
    int shotClockUnloaded = 0;
    int shotClockCopies = 0;
    int lastShotClockCopy = 0;
    int ended = 0;
};

struct ScoreboardFixture
{
    ManualTimeSource time;
    FakeNumLock numLock;
    LinkLog log;
    QTemporaryDir programFolder;

    // Defaults as on a first start; the caller may change the record before loading.
    void resetConfig()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
        settings.clear();
        settings.sync();
        LoadConfig(Config(), settings, programFolder.path());
        log = {};
    }

    std::unique_ptr<frmScoreboard> load()
    {
        frmScoreboard::Links links;
        links.showHelp = [this] { ++log.helpShown; };
        links.showOptionsDialog = [this] { ++log.optionsShown; };
        links.showShotClockWindow = [this] { ++log.shotClockShown; };
        links.unloadShotClockWindow = [this] { ++log.shotClockUnloaded; };
        links.copyShotClockCaption = [this](int caption) {
            ++log.shotClockCopies;
            log.lastShotClockCopy = caption;
        };
        links.endProcess = [this] { ++log.ended; };
        auto box = std::make_unique<frmScoreboard>(time, std::move(links));
        box->setNumLock(numLock);
        box->Form_Load();
        return box;
    }
};

// The score and time block is as high as the box, give or take the pixel that
// scaling the layout rounds away.
inline bool fillsTheBox(const frmScoreboard& box)
{
    return std::abs(box.picScoreTime->height() - box.picScoreBox->height()) <= 1;
}

// A left-button press, move or release on `w` with the pointer at `global`: the
// pressed element gets every event of its gesture, as under the mouse capture.
inline void sendMouse(QWidget* w, QEvent::Type type, QPointF global)
{
    const QPointF local = w->mapFromGlobal(global);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

// Presses on `w`, moves the pointer by `by` and, unless the release is lost, lets go.
inline void drag(QWidget* w, QPointF by, bool release = true)
{
    const QPointF start = w->mapToGlobal(QPointF(3, 3));
    sendMouse(w, QEvent::MouseButtonPress, start);
    sendMouse(w, QEvent::MouseMove, start + by);
    if (release)
        sendMouse(w, QEvent::MouseButtonRelease, start + by);
}
