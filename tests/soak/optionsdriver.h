#pragma once
// The options dialog in the soak run: each opening builds the real dialog over
// the score box, makes random edits through its controls as an operator would
// (mouse on labels, buttons, arrows and boxes, keys into the capture box and the
// text boxes), answers its pickers and questions from the run's generator, and
// closes it with OK, Cancel, Escape or the close box.
//
// What each control does is for the dialog's own tests. Here the dialog must
// survive the edits and close; anything but OK must leave the record and the
// settings file as they were, and after OK the run's store check (storemodel.h)
// holds the file to the record now in force.

#include "configstore.h"
#include "frmoptions.h"
#include "optionswidgets.h"
#include "scoreboardfixture.h"
#include "soakrandom.h"
#include "storemodel.h"
#include "testwave.h"
#include "virtualkeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <map>

namespace soakoptions {

// Names an operator might type, and some that test the store's escaping.
inline const QStringList Texts{
    QStringLiteral("Home"), QStringLiteral("Visitor"), QString(), QStringLiteral("Los Ángeles Ñandúes"),
    QStringLiteral("Team ✓ 北京"), QStringLiteral("  padded  "), QStringLiteral("A, B"), QStringLiteral("semi;colon"),
    QStringLiteral("hash #1"), QStringLiteral("x=y"), QStringLiteral("\"quoted\""), QStringLiteral("back\\slash"),
    QStringLiteral("@Variant(x)"), QStringLiteral("[Views]"), QStringLiteral("Ελλάς 🏀 Ünïcödé"),
    QStringLiteral("Long ").repeated(50)};

// What the file pickers hand back: sounds, pictures, junk that exists, a name
// that does not, a folder, and nothing (cancelled). The dialog sorts them out.
inline constexpr const char* FileChoices[] = {"buzzer.wav", "sons d'été/klaxon ü.wav", "garbage.wav", "logo.bmp",
                                              "garbage.bmp", "missing.wav", "sons d'été", ""};

inline bool writeProgramFiles(const QString& path)
{
    const QDir folder(path);
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkCyan);
    bool ok = writeTestWave(folder.filePath(QStringLiteral("buzzer.wav"))) && folder.mkpath(QStringLiteral("sons d'été"))
              && writeTestWave(folder.filePath(QStringLiteral("sons d'été/klaxon ü.wav")))
              && logo.save(folder.filePath(QStringLiteral("logo.bmp")));
    for (const char* junk : {"garbage.wav", "garbage.bmp"}) {
        QFile file(folder.filePath(QString::fromLatin1(junk)));
        ok = ok && file.open(QIODevice::WriteOnly) && file.write(QByteArray(333, '\x5a')) == 333;
    }
    return ok;
}

using KeyOfCode = std::map<int, std::pair<Qt::Key, Qt::KeyboardModifiers>>;

class OptionsDriver
{
public:
    enum Closing { Ok, Cancel, Escape, CloseBox };
    static constexpr const char* ClosingNames[] = {"OK", "Cancel", "Escape", "close box"};

    struct Outcome
    {
        bool accepted = false;
        Closing closedBy = Cancel;
        QStringList edits;
        QString problem; // empty when the dialog did all it should
        QString description() const
        {
            return QStringLiteral("options %1 after %2").arg(QLatin1String(ClosingNames[closedBy]), edits.join(u','));
        }
    };

    OptionsDriver(SoakRandom& random, QString programFolder, FakeNumLock& numLock, const KeyOfCode& keyOfCode)
        : m_random(random), m_programFolder(std::move(programFolder)), m_numLock(numLock), m_keyOfCode(keyOfCode)
    {
    }

    // One opening over `parent`, as the program's options link makes it: modal,
    // so it is driven from inside its own event loop.
    Outcome run(QWidget* parent)
    {
        const ConfigRecord opened = Config();
        const QByteArray storeBefore = storeBytes();
        const bool numLockBefore = m_numLock.on;
        const int numLockChangesBefore = m_numLock.changes;

        frmOptions dialog(parent, choosers(), &m_numLock);
        m_dialog = &dialog;
        bool driven = false;
        QTimer::singleShot(0, &dialog, [&] {
            driven = true;
            drive();
            if (dialog.isVisible()) {
                // The test must not wait on a dialog nobody closes.
                fail(QStringLiteral("the dialog stayed open after %1").arg(QLatin1String(ClosingNames[m_outcome.closedBy])));
                dialog.reject();
            }
        });
        const int result = dialog.exec();
        m_dialog = nullptr;
        if (!driven)
            fail(QStringLiteral("the dialog closed before it could be driven"));
        if (!m_outcome.problem.isEmpty())
            return m_outcome;

        m_outcome.accepted = result == QDialog::Accepted;
        const QLatin1String how(ClosingNames[m_outcome.closedBy]);
        if (m_outcome.accepted != (m_outcome.closedBy == Ok))
            fail(QStringLiteral("%1 ended the dialog as %2").arg(how, m_outcome.accepted ? "accepted" : "rejected"));
        if (m_outcome.accepted) {
            const int policy = Config().NumLockForce;
            if ((policy == 1 || policy == 2) && m_numLock.on != (policy == 1))
                fail(QStringLiteral("OK left NumLock %1 with policy %2").arg(m_numLock.on).arg(policy));
            return m_outcome;
        }
        // The dialog clears the reset request on opening and sets it on Yes, whatever the closing.
        ConfigRecord now = Config();
        now.ResetSizeAndPosition = opened.ResetSizeAndPosition;
        if (now != opened)
            fail(QStringLiteral("%1 changed the record: %2").arg(how, differences(now, opened)));
        if (m_numLock.on != numLockBefore || m_numLock.changes != numLockChangesBefore)
            fail(QStringLiteral("%1 touched NumLock").arg(how));
        if (storeBytes() != storeBefore)
            fail(QStringLiteral("%1 changed the settings file").arg(how));
        return m_outcome;
    }

private:
    void fail(const QString& problem)
    {
        if (m_outcome.problem.isEmpty())
            m_outcome.problem = problem;
    }

    // The pickers and questions answer from the run's generator: a colour or
    // cancel, a file or cancel, Yes or No.
    OptionsChoosers choosers()
    {
        OptionsChoosers c;
        c.chooseColour = [this](QWidget*, const QColor& initial) {
            return m_random.chance(0.75) ? QColor::fromRgb(QRgb(m_random.uniform(0, 0xffffff))) : initial;
        };
        c.chooseFile = [this](QWidget*, const QString&, const QString&) {
            const char* name = m_random.pick(FileChoices);
            return *name ? QDir(m_programFolder).filePath(QString::fromUtf8(name)) : QString();
        };
        c.confirm = [this](QWidget*, const QString&, const QString&) { return m_random.chance(0.5); };
        return c;
    }

    // ---- the operator's hands

    // A left click where the control answers it, its tab brought to the front first.
    void click(QWidget* control, QPoint at = QPoint())
    {
        QTabWidget* tabs = m_dialog->SSTab1;
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(control) && tabs->currentIndex() != i)
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(i).center());
        }
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
    }

    // Check boxes and option buttons answer on their indicator, at their left.
    void clickIndicator(QAbstractButton* button) { click(button, QPoint(6, button->height() / 2)); }

    // A key as the keyboard gives it: to the open popup, else to the focus.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::activePopupWidget();
        if (target && target->focusWidget())
            target = target->focusWidget();
        if (!target)
            target = m_dialog->focusWidget() ? m_dialog->focusWidget() : m_dialog;
        QTest::keyClick(target, key, modifiers);
    }

    // Latin-1 is typed key by key; anything else comes as an input method's text.
    static void type(QLineEdit* box, const QString& text)
    {
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() < 0x100) {
                QTest::sendKeyEvent(QTest::Click, box, c == u' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode()), c, {});
                continue;
            }
            QInputMethodEvent event;
            event.setCommitString(text.mid(i, c.isHighSurrogate() ? 2 : 1));
            QCoreApplication::sendEvent(box, &event);
            i += c.isHighSurrogate() ? 1 : 0;
        }
    }

    // ---- the edits

    // A key label, then keys into the capture box: any key the keyboard has,
    // named or not, one in use, or Tab away.
    QString editKey()
    {
        const auto randomLabel = [&] {
            return m_dialog->findChild<KeyLabel*>(QLatin1String(m_random.pick(KeyLabelFields).labelName));
        };
        click(randomLabel());
        for (int presses = m_random.uniform(1, 3); presses > 0; --presses) {
            const int kind = m_random.uniform(0, 9);
            if (kind == 9) {
                pressKey(Qt::Key_Tab, m_random.chance(0.3) ? Qt::ShiftModifier : Qt::NoModifier);
                return QStringLiteral("key wait left by Tab");
            }
            auto key = std::next(m_keyOfCode.begin(), m_random.uniform(0, int(m_keyOfCode.size()) - 1));
            if (kind <= 2)
                key = m_keyOfCode.find(m_dialog->tagOf(randomLabel()).toInt());
            // Escape would close the dialog, NumLock would touch the light.
            if (key != m_keyOfCode.end() && key->first != vk::Escape && key->first != vk::NumLock)
                pressKey(key->second.first, key->second.second);
        }
        return QStringLiteral("key");
    }

    QString editDisplayType()
    {
        // A click opens the list; arrows move in it, Return takes, Escape leaves it.
        click(m_dialog->cmbLedType);
        QCoreApplication::processEvents();
        for (int steps = m_random.uniform(0, 3); steps > 0; --steps)
            pressKey(m_random.chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
        pressKey(m_random.chance(0.25) ? Qt::Key_Escape : Qt::Key_Return);
        if (QApplication::activePopupWidget())
            fail(QStringLiteral("the display type list stayed open"));
        return QStringLiteral("display type list");
    }

    QString editText()
    {
        QLineEdit* box = m_random.pick({m_dialog->txtHomeText, m_dialog->txtVisitorText, m_dialog->txtPeriodText});
        click(box);
        const QString text = m_random.pick(Texts);
        switch (m_random.uniform(0, 4)) {
        case 0: pressKey(Qt::Key_A, Qt::ControlModifier); type(box, text); break;
        case 1: pressKey(Qt::Key_End); type(box, text); break;
        case 2: pressKey(Qt::Key_Home); type(box, text); break;
        case 3:
            pressKey(Qt::Key_A, Qt::ControlModifier);
            pressKey(m_random.chance(0.5) ? Qt::Key_Backspace : Qt::Key_Delete);
            break;
        default: // pasted, with what cannot be typed
            QGuiApplication::clipboard()->setText(m_random.chance(0.3) ? QStringLiteral("tab\there") : text);
            pressKey(Qt::Key_A, Qt::ControlModifier);
            pressKey(Qt::Key_V, Qt::ControlModifier);
            break;
        }
        // Enter in a text box presses no button.
        if (m_random.chance(0.3))
            pressKey(m_random.chance(0.5) ? Qt::Key_Return : Qt::Key_Enter);
        return QStringLiteral("text");
    }

    QString randomEdit()
    {
        frmOptions& d = *m_dialog;
        switch (m_random.uniform(0, 15)) {
        case 0:
        case 1:
        case 2: return editKey();
        case 3:
        case 4:
            click(m_random.pick({d.cmdTimeC, d.cmdScoreC, d.cmdPeriodC, d.cmdLEDB, d.cmdBackC, d.cmdBorderC, d.cmdHomeC,
                                 d.cmdVisitorC, d.cmdLedSelected, d.cmdGreenScreen}));
            return QStringLiteral("colour");
        case 5: {
            Spinner* spinner = m_random.pick({d.scrLEDSelectedWidth, d.vsShotClock});
            QToolButton* arrow = m_random.chance(0.5) ? spinner->upButton() : spinner->downButton();
            for (int clicks = m_random.chance(0.2) ? m_random.uniform(5, 40) : m_random.uniform(1, 4); clicks > 0; --clicks)
                click(arrow);
            return QStringLiteral("spinner arrows");
        }
        case 6: clickIndicator(m_random.pick({d.chkUseShotClock, d.chkShowShotClockScreen})); return QStringLiteral("check box");
        case 7:
            clickIndicator(m_random.pick({d.optNormal, d.optKeepOn, d.optKeepOff, d.otnFloating, d.otnGreenBack}));
            return QStringLiteral("option");
        case 8: return editDisplayType();
        case 9:
        case 10: return editText();
        case 11: click(m_random.pick({d.cmdBuzzerSound, d.cmdShotClockSound, d.cmdChangeBoardPic})); return QStringLiteral("file");
        case 12: click(d.cmdClearBoardPic); return QStringLiteral("clear picture");
        case 13:
        case 14:
            click(m_random.pick({d.cmdResetColors, d.cmdResetKeys, d.Command1, d.cmdResetPosition}));
            return QStringLiteral("reset");
        default: {
            QTabBar* bar = d.SSTab1->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(m_random.uniform(0, bar->count() - 1)).center());
            return QStringLiteral("tab");
        }
        }
    }

    void drive()
    {
        frmOptions& d = *m_dialog;
        // Shown and made active by the platform before the operator can reach it.
        for (int i = 0; i < 10 && QApplication::activeWindow() != &d; ++i)
            QCoreApplication::processEvents();
        if (QApplication::activeWindow() != &d)
            return fail(QStringLiteral("the dialog did not become the active window"));
        for (int edits = m_random.uniform(0, 10); edits > 0; --edits) {
            m_outcome.edits << randomEdit();
            // What the platform reports meanwhile arrives between the operator's moves.
            QCoreApplication::processEvents();
            if (!m_outcome.problem.isEmpty())
                return;
            if (!d.isVisible() || QApplication::activeWindow() != &d)
                return fail(QStringLiteral("after %1 the dialog is no longer the active window").arg(m_outcome.edits.constLast()));
        }
        const int roll = m_random.uniform(0, 99);
        m_outcome.closedBy = roll < 50 ? Ok : roll < 70 ? Cancel : roll < 85 ? Escape : CloseBox;
        switch (m_outcome.closedBy) {
        case Ok: click(d.cmdOk); break;
        case Cancel: click(d.cmdCancel); break;
        case Escape: pressKey(Qt::Key_Escape); break;
        case CloseBox: {
            QCloseEvent close;
            QCoreApplication::sendEvent(d.windowHandle(), &close);
            break;
        }
        }
    }

    static QByteArray storeBytes()
    {
        QFile file(tallivoxSettings()->fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    SoakRandom& m_random;
    QString m_programFolder;
    FakeNumLock& m_numLock;
    const KeyOfCode& m_keyOfCode;
    frmOptions* m_dialog = nullptr;
    Outcome m_outcome;
};

} // namespace soakoptions
