#pragma once
// The options dialog against a private store and a fake NumLock, with its
// pickers and questions answered by the test: either through the dialog's
// chooser seam, or by finding the platform dialog once it is up.

#include "configrecord.h"
#include "configstore.h"
#include "frmoptions.h"
#include "numlock.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class CountingNumLock final : public NumLock
{
public:
    bool on = false;
    int sets = 0;
    bool available() const override { return true; }
    bool isOn() const override { return on; }
    void setOn(bool state) override
    {
        on = state;
        ++sets;
    }
};

// What the seam answers, and what it was offered.
struct ScriptedChoosers
{
    QColor colourAnswer; // invalid: cancel (the initial colour comes back)
    QString fileAnswer;  // empty: cancel
    QList<QColor> coloursOffered;
    QStringList filtersOffered;

    OptionsChoosers seam()
    {
        OptionsChoosers c;
        c.chooseColour = [this](QWidget*, const QColor& initial) {
            coloursOffered.append(initial);
            return colourAnswer.isValid() ? colourAnswer : initial;
        };
        c.chooseFile = [this](QWidget*, const QString& filter, const QString&) {
            filtersOffered.append(filter);
            return fileAnswer;
        };
        c.confirm = [](QWidget*, const QString&, const QString&) { return true; };
        return c;
    }
};

// Every key of the store as "Section/Key=text", sorted.
inline QStringList storeContents()
{
    auto settings = tallivoxSettings();
    QStringList lines;
    for (const QString& key : settings->allKeys())
        lines.append(key + u'=' + settings->value(key).toString());
    lines.sort();
    return lines;
}

inline QString storedText(const QString& key)
{
    return tallivoxSettings()->value(key).toString();
}

// A record unlike a first start in every stored field.
inline ConfigRecord unusualRecord(const QString& folder)
{
    ConfigRecord r = defaultConfig(folder);
    r.TimeColor = 0x102030; r.LEDBack = 0x010203; r.ScoreColor = 0x00ff00; r.PeriodColor = 0x0000ff;
    r.FormBack = 0x202020; r.LEDSelected = 0x808080; r.BorderColor = 0x00ffff; r.HomeColor = 0xff00ff;
    r.VisitorColor = 0xffff00; r.GreenBackColor = 0x00ff00; r.LEDSelectedWidth = 3;
    r.StartStopClockKey = 'G'; r.ResetClockKey = 'H'; r.ResetShotClockKey = 'J'; r.ClockSwitchKey = 'K';
    r.ClearKey = 'L'; r.BuzzerKey = 'M'; r.QScoreH1 = 'N'; r.QScoreH2 = 'O'; r.QScoreH3 = 122; r.QScoreV1 = 123;
    r.QScoreV2 = 186; r.QScoreV3 = 222; r.QPeriod1 = 17; r.NumLockForce = 2;
    r.BuzzerFile = folder + QStringLiteral("/b.wav");
    r.ShotClockFile = folder + QStringLiteral("/h.wav");
    r.BoardPic = folder + QStringLiteral("/logo.png");
    r.PeriodText = QStringLiteral("Quarter");
    r.HomeText = QStringLiteral("Lakers");
    r.VisitorText = QStringLiteral("Celtics");
    r.LEDType = 1; r.UseShotClock = true; r.ShowShotClockScreen = true; r.ShotClockResetTime = 24;
    r.ScoreboardView = 1; r.StartX = 1500; r.StartY = 900; r.Height = 2000;
    return r;
}

struct OptionsFixture
{
    QTemporaryDir programFolder;
    CountingNumLock numLock;
    ScriptedChoosers choosers;

    // An empty store and a record as on a first start.
    void reset()
    {
        auto settings = tallivoxSettings();
        settings->clear();
        settings->sync();
        LoadConfig(Config(), *settings, programFolder.path());
        Config().ResetSizeAndPosition = false;
        numLock = CountingNumLock();
        choosers = ScriptedChoosers();
    }

    std::unique_ptr<frmOptions> open()
    {
        return std::make_unique<frmOptions>(nullptr, choosers.seam(), &numLock);
    }

    // The platform's own dialogs, for the tests that answer them on screen.
    std::unique_ptr<frmOptions> openWithPlatformDialogs()
    {
        return std::make_unique<frmOptions>(nullptr, platformChoosers(), &numLock);
    }
};

// Runs `answer` on the next modal dialog of type T once it is up.
template <typename T>
void answerNextModal(std::function<void(T*)> answer)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool up = dialog && dialog->isVisible();
        if (up || ++*tries > 500) {
            poll->stop();
            poll->deleteLater();
        }
        if (up)
            answer(dialog);
    });
    poll->start();
}

inline void showAndActivate(QWidget* w)
{
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}
