#pragma once
// The options dialog in the soak run: each opening builds the real dialog over
// the score box, makes random edits through its controls as an operator would
// (mouse on labels, buttons, arrows and boxes, keys into the capture box and the
// text boxes), answers its pickers and questions from the run's generator, and
// closes it with OK, Cancel, Escape or the close box.
//
// Alongside, a model keeps what each edit should have done. After every edit
// the controls must show the model, and once the dialog has closed the record
// must hold exactly the model (OK) or what it held before (anything else).

#include "configrecord.h"
#include "configstore.h"
#include "frmoptions.h"
#include "keybindings.h"
#include "optionslogic.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpontaneKeyEvent>
#include <QStringList>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <map>

namespace soakoptions {

// The keys the dialog lets the operator bind: every key it has a name for.
inline const QList<int>& bindableKeys()
{
    static const QList<int> keys = [] {
        QList<int> k{vk::Backspace, vk::Control,   vk::Pause,     vk::PageUp,      vk::PageDown,     vk::End,
                     vk::Home,      vk::Insert,    vk::Delete,    vk::Multiply,    vk::Divide,       vk::F11,
                     vk::F12,       vk::Semicolon, vk::Comma,     vk::Slash,       vk::Backquote,    vk::OpenBracket,
                     vk::Backslash, vk::CloseBracket, vk::Quote};
        for (int c = vk::A; c <= vk::Z; ++c)
            k << c;
        for (int c = vk::F1 + 2; c <= vk::F1 + 8; ++c)
            k << c;
        return k;
    }();
    return keys;
}

// Keys the dialog has no name for: the capture box keeps waiting after them.
inline constexpr int UnnamedKeys[] = {'0', '5', '9', vk::Numpad0, vk::Numpad9, vk::Enter, vk::Space, vk::Left, vk::Up,
                                      vk::Right, vk::Down, vk::F1, vk::F2, vk::F1 + 9, vk::Shift, vk::Alt, vk::Add,
                                      vk::Subtract, vk::Decimal, vk::Plus, vk::Minus, vk::Period};

// The thirteen bindings, in the dialog's label order.
using KeyField = qint16 ConfigRecord::*;
inline constexpr KeyField KeyFields[] = {
    &ConfigRecord::StartStopClockKey, &ConfigRecord::ResetClockKey, &ConfigRecord::ResetShotClockKey,
    &ConfigRecord::ClockSwitchKey,    &ConfigRecord::ClearKey,      &ConfigRecord::BuzzerKey,
    &ConfigRecord::QScoreH1,          &ConfigRecord::QScoreH2,      &ConfigRecord::QScoreH3,
    &ConfigRecord::QScoreV1,          &ConfigRecord::QScoreV2,      &ConfigRecord::QScoreV3,
    &ConfigRecord::QPeriod1};
static_assert(std::size(KeyFields) == KeyLabelFields.size());

// Names an operator might type, and some that test the store's escaping.
inline const QStringList& texts()
{
    static const QStringList t{
        QStringLiteral("Home"), QStringLiteral("Visitor"), QStringLiteral("Period"), QString(), QStringLiteral("A"),
        QStringLiteral("Eagles"), QStringLiteral("Los Ángeles Ñandúes"), QStringLiteral("Team ✓ 北京"),
        QStringLiteral("  padded  "), QStringLiteral("A, B"), QStringLiteral("semi;colon"), QStringLiteral("hash #1"),
        QStringLiteral("x=y"), QStringLiteral("\"quoted\""), QStringLiteral("back\\slash"), QStringLiteral("@Variant(x)"),
        QStringLiteral("[Views]"), QStringLiteral("Ελλάς 🏀 Ünïcödé"),
        QStringLiteral("A very long team name that goes on and on and on, 60 chars"),
        QStringLiteral("Long ").repeated(50)};
    return t;
}

// What the pickers can hand back: good files, junk that exists, names of files
// that do not exist, a folder, and nothing (the picker cancelled).
struct FileChoice
{
    const char* name;
    bool good; // a file the dialog must take
};
inline constexpr FileChoice SoundChoices[] = {{"buzzer.wav", true},  {"horn.wav", true},     {"short.wav", true},
                                              {"sons d'été/klaxon ü.wav", true}, {"garbage.wav", true},
                                              {"missing.wav", false}, {"sons d'été", false}, {"", false}};
// A picture must also decode.
inline constexpr FileChoice PictureChoices[] = {{"logo.bmp", true},     {"tall.jpg", true},     {"garbage.bmp", false},
                                                {"missing.gif", false}, {"sons d'été", false}, {"", false}};

inline bool writeProgramFiles(const QString& path)
{
    const QDir folder(path);
    QImage wide(40, 30, QImage::Format_RGB32);
    wide.fill(Qt::darkCyan);
    QImage tall(10, 80, QImage::Format_RGB32);
    tall.fill(Qt::magenta);
    bool ok = writeTestWave(folder.filePath(QStringLiteral("buzzer.wav")))
              && writeTestWave(folder.filePath(QStringLiteral("horn.wav")), 300)
              && writeTestWave(folder.filePath(QStringLiteral("short.wav")), 10)
              && folder.mkpath(QStringLiteral("sons d'été"))
              && writeTestWave(folder.filePath(QStringLiteral("sons d'été/klaxon ü.wav")))
              && wide.save(folder.filePath(QStringLiteral("logo.bmp"))) && tall.save(folder.filePath(QStringLiteral("tall.jpg")));
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
            return QStringLiteral("options %1 after %2")
                .arg(QLatin1String(ClosingNames[closedBy]),
                     edits.isEmpty() ? QStringLiteral("no edits") : edits.join(u','));
        }
    };

    OptionsDriver(SoakRandom& random, QString programFolder, FakeNumLock& numLock, const KeyOfCode& keyOfCode)
        : m_random(random)
        , m_programFolder(std::move(programFolder))
        , m_numLock(numLock)
        , m_keyOfCode(keyOfCode)
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
        loadModel(opened);
        bool driven = false;
        QTimer::singleShot(0, &dialog, [&] {
            driven = true;
            drive();
            if (dialog.isVisible()) {
                // Whatever went wrong, the test must not wait on a dialog nobody closes.
                if (m_outcome.problem.isEmpty())
                    m_outcome.problem = QStringLiteral("the dialog stayed open after %1")
                                            .arg(QLatin1String(ClosingNames[m_outcome.closedBy]));
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
        const bool ok = m_outcome.closedBy == Ok;
        if (m_outcome.accepted != ok)
            fail(QStringLiteral("%1 ended the dialog as %2")
                     .arg(QLatin1String(ClosingNames[m_outcome.closedBy]),
                          m_outcome.accepted ? QStringLiteral("accepted") : QStringLiteral("rejected")));

        // The record: the edits after OK, else as it was; the reset request stays either way.
        ConfigRecord want = ok ? m_want : opened;
        want.ResetSizeAndPosition = m_resetRequested;
        if (ok && m_resetRequested)
            ApplyPlacementReset(want);
        if (Config() != want)
            fail(QStringLiteral("after %1 the record has %2%3")
                     .arg(QLatin1String(ClosingNames[m_outcome.closedBy]), differences(Config(), want),
                          Config().ResetSizeAndPosition != want.ResetSizeAndPosition ? QStringLiteral(" reset request")
                                                                                     : QString()));
        if (ok && (Config().NumLockForce == 1 || Config().NumLockForce == 2)
            && m_numLock.on != (Config().NumLockForce == 1))
            fail(QStringLiteral("OK left NumLock %1 with policy %2").arg(m_numLock.on).arg(Config().NumLockForce));
        if (!ok) {
            if (m_numLock.on != numLockBefore || m_numLock.changes != numLockChangesBefore)
                fail(QStringLiteral("%1 touched NumLock").arg(QLatin1String(ClosingNames[m_outcome.closedBy])));
            if (storeBytes() != storeBefore)
                fail(QStringLiteral("%1 changed the settings file").arg(QLatin1String(ClosingNames[m_outcome.closedBy])));
        }
        return m_outcome;
    }

private:
    // ---- the model: what the controls should hold

    void loadModel(const ConfigRecord& opened)
    {
        m_want = opened;
        m_want.ResetSizeAndPosition = false;
        m_want.LEDSelectedWidth = qint16(std::clamp<int>(opened.LEDSelectedWidth, LEDSelectedWidthMin, LEDSelectedWidthMax));
        m_widthSpinner = m_want.LEDSelectedWidth;
        m_want.ShotClockResetTime =
            qint16(std::clamp<int>(opened.ShotClockResetTime, ShotClockResetTimeMin, ShotClockResetTimeMax));
        m_want.LEDType = qint16(std::clamp<int>(opened.LEDType, LEDTypeMin, LEDTypeMax));
        m_want.ScoreboardView = opened.ScoreboardView == 0 ? 0 : 1;
        m_greenEnabled = opened.ScoreboardView != 0;
        m_showScreenEnabled = opened.UseShotClock;
        m_waiting = -1;
        m_resetRequested = false;
    }

    // Where the controls and the model part, or nothing.
    QString disagreement() const
    {
        const frmOptions& d = *m_dialog;
        QStringList problems;
        const auto check = [&](bool same, const QString& what) {
            if (!same)
                problems << what;
        };
        const std::pair<ColourBox*, Colour ConfigRecord::*> boxes[] = {
            {d.picTimeC, &ConfigRecord::TimeColor},     {d.picScoreC, &ConfigRecord::ScoreColor},
            {d.picPeriodC, &ConfigRecord::PeriodColor}, {d.picLEDB, &ConfigRecord::LEDBack},
            {d.picBackC, &ConfigRecord::FormBack},      {d.picBorderC, &ConfigRecord::BorderColor},
            {d.picHomeC, &ConfigRecord::HomeColor},     {d.picVisitorC, &ConfigRecord::VisitorColor},
            {d.picLedSelected, &ConfigRecord::LEDSelected}, {d.picGreenBackC, &ConfigRecord::GreenBackColor}};
        for (const auto& [box, field] : boxes)
            check(box->colour() == m_want.*field, QStringLiteral("%1 shows %2, not %3")
                                                      .arg(box->objectName()).arg(box->colour()).arg(m_want.*field));
        check(d.scrLEDSelectedWidth->value() == m_widthSpinner,
              QStringLiteral("the width spinner is at %1, not %2").arg(d.scrLEDSelectedWidth->value()).arg(m_widthSpinner));
        check(d.lblLEDSelectedWidthValue->text() == QString::number(m_want.LEDSelectedWidth),
              QStringLiteral("the width reads %1, not %2").arg(d.lblLEDSelectedWidthValue->text()).arg(m_want.LEDSelectedWidth));
        check(d.vsShotClock->value() == m_want.ShotClockResetTime && d.lblShotClock->text() == QString::number(m_want.ShotClockResetTime),
              QStringLiteral("the shot clock reset is %1 (%2), not %3")
                  .arg(d.vsShotClock->value()).arg(d.lblShotClock->text()).arg(m_want.ShotClockResetTime));
        for (int i = 0; i < int(KeyLabelFields.size()); ++i) {
            auto* label = d.findChild<KeyLabel*>(QLatin1String(KeyLabelFields.at(i).labelName));
            check(d.tagOf(label) == QString::number(m_want.*KeyFields[i]),
                  QStringLiteral("%1 holds %2, not %3").arg(label->objectName(), d.tagOf(label)).arg(m_want.*KeyFields[i]));
        }
        const KeyLabel* active = d.ActiveKeyLabel();
        const QString waiting = m_waiting < 0 ? QStringLiteral("none") : QLatin1String(KeyLabelFields.at(m_waiting).labelName);
        check((active ? active->objectName() : QStringLiteral("none")) == waiting,
              QStringLiteral("%1 waits for a key, not %2").arg(active ? active->objectName() : QStringLiteral("none"), waiting));
        const QRadioButton* numLockOptions[] = {d.optNormal, d.optKeepOn, d.optKeepOff};
        for (int i = 0; i < 3; ++i)
            check(numLockOptions[i]->isChecked() == (m_want.NumLockForce == i),
                  QStringLiteral("%1 is %2 with policy %3").arg(numLockOptions[i]->objectName()).arg(numLockOptions[i]->isChecked()).arg(m_want.NumLockForce));
        check(d.chkUseShotClock->isChecked() == m_want.UseShotClock, QStringLiteral("chkUseShotClock differs"));
        check(d.chkShowShotClockScreen->isChecked() == m_want.ShowShotClockScreen, QStringLiteral("chkShowShotClockScreen differs"));
        check(d.chkShowShotClockScreen->isEnabled() == m_showScreenEnabled, QStringLiteral("chkShowShotClockScreen enabled differs"));
        check(d.otnFloating->isChecked() == (m_want.ScoreboardView == 0) && d.otnGreenBack->isChecked() == (m_want.ScoreboardView == 1),
              QStringLiteral("the view options differ from view %1").arg(m_want.ScoreboardView));
        check(d.cmdGreenScreen->isEnabled() == m_greenEnabled, QStringLiteral("cmdGreenScreen enabled differs"));
        check(d.cmbLedType->currentIndex() == m_want.LEDType,
              QStringLiteral("the display type is %1, not %2").arg(d.cmbLedType->currentIndex()).arg(m_want.LEDType));
        check(d.txtHomeText->text() == m_want.HomeText, QStringLiteral("home name \"%1\", not \"%2\"").arg(d.txtHomeText->text(), m_want.HomeText));
        check(d.txtVisitorText->text() == m_want.VisitorText, QStringLiteral("visitor name \"%1\", not \"%2\"").arg(d.txtVisitorText->text(), m_want.VisitorText));
        check(d.txtPeriodText->text() == m_want.PeriodText, QStringLiteral("period label \"%1\", not \"%2\"").arg(d.txtPeriodText->text(), m_want.PeriodText));
        check(d.NewBuzzerFile == m_want.BuzzerFile, QStringLiteral("buzzer file %1, not %2").arg(d.NewBuzzerFile, m_want.BuzzerFile));
        check(d.NewShotClockFile == m_want.ShotClockFile, QStringLiteral("horn file %1, not %2").arg(d.NewShotClockFile, m_want.ShotClockFile));
        check(d.NewBoardPic == m_want.BoardPic, QStringLiteral("picture %1, not %2").arg(d.NewBoardPic, m_want.BoardPic));
        check(Config().ResetSizeAndPosition == m_resetRequested, QStringLiteral("the reset request differs"));
        return problems.join(QStringLiteral("; "));
    }

    void fail(const QString& problem)
    {
        if (m_outcome.problem.isEmpty())
            m_outcome.problem = problem;
    }

    // ---- the pickers and questions: the answer is set before the click

    OptionsChoosers choosers()
    {
        OptionsChoosers c;
        c.chooseColour = [this](QWidget*, const QColor& initial) {
            ++m_asked;
            return m_colourAnswer.isValid() ? m_colourAnswer : initial;
        };
        c.chooseFile = [this](QWidget*, const QString&, const QString& current) {
            ++m_asked;
            m_currentOffered = current;
            return m_fileAnswer;
        };
        c.confirm = [this](QWidget*, const QString&, const QString&) {
            ++m_asked;
            return m_confirmAnswer;
        };
        return c;
    }

    QString programFile(const char* name) const
    {
        return *name ? QDir(m_programFolder).filePath(QString::fromUtf8(name)) : QString();
    }

    // ---- the operator's hands

    // The tab a control is on comes to the front first, by a click on its tab.
    void showTabOf(QWidget* control)
    {
        QTabWidget* tabs = m_dialog->SSTab1;
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->widget(i)->isAncestorOf(control) || tabs->currentIndex() == i)
                continue;
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(i).center());
            if (tabs->currentIndex() != i)
                fail(QStringLiteral("a click on tab %1 left tab %2 in front").arg(i).arg(tabs->currentIndex()));
        }
    }

    // A left click where the control answers it.
    void click(QWidget* control, QPoint at = QPoint())
    {
        showTabOf(control);
        const bool capturing = QApplication::focusWidget() == m_dialog->txtGetKey;
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
        focusMayHaveLeft(capturing);
    }

    // The capture box losing the focus to another control ends the key wait.
    void focusMayHaveLeft(bool capturing)
    {
        if (capturing && QApplication::focusWidget() != m_dialog->txtGetKey)
            m_waiting = -1;
    }

    static QPoint indicatorOf(QAbstractButton* button)
    {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool radio = qobject_cast<QRadioButton*>(button);
        return button->style()
            ->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button)
            .center();
    }

    // A key as the keyboard gives it: to the open popup, else to the focus.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString())
    {
        QWidget* target = QApplication::activePopupWidget();
        if (target && target->focusWidget())
            target = target->focusWidget();
        if (!target)
            target = m_dialog->focusWidget() ? m_dialog->focusWidget() : m_dialog;
        if (text.isNull())
            QTest::keyClick(target, key, modifiers);
        else
            QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
    }

    // Now and then with Shift held, which turns punctuation into what the key
    // shows above it; the binding is the key's all the same.
    void pressCode(int code)
    {
        static const std::map<Qt::Key, Qt::Key> shifted{
            {Qt::Key_Semicolon, Qt::Key_Colon},     {Qt::Key_Comma, Qt::Key_Less},
            {Qt::Key_Slash, Qt::Key_Question},      {Qt::Key_QuoteLeft, Qt::Key_AsciiTilde},
            {Qt::Key_BracketLeft, Qt::Key_BraceLeft}, {Qt::Key_Backslash, Qt::Key_Bar},
            {Qt::Key_BracketRight, Qt::Key_BraceRight}, {Qt::Key_Apostrophe, Qt::Key_QuoteDbl},
            {Qt::Key_5, Qt::Key_Percent},           {Qt::Key_9, Qt::Key_ParenLeft},
            {Qt::Key_Minus, Qt::Key_Underscore},    {Qt::Key_Period, Qt::Key_Greater}};
        auto [key, modifiers] = m_keyOfCode.at(code);
        if (!modifiers.testFlag(Qt::KeypadModifier) && m_random.chance(0.15)) {
            modifiers |= Qt::ShiftModifier;
            if (const auto found = shifted.find(key); found != shifted.end())
                key = found->second;
        }
        pressKey(key, modifiers);
    }

    // Latin-1 is typed key by key; anything else comes as an input method's text.
    void type(QLineEdit* box, const QString& text)
    {
        for (int i = 0; i < text.size();) {
            if (text.at(i).unicode() < 0x100) {
                const QChar c = text.at(i++);
                const Qt::Key key = c == u' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode());
                pressKey(key, Qt::NoModifier, QString(c));
                continue;
            }
            int end = i;
            while (end < text.size() && text.at(end).unicode() >= 0x100)
                ++end;
            QInputMethodEvent event;
            event.setCommitString(text.mid(i, end - i));
            QCoreApplication::sendEvent(box, &event);
            i = end;
        }
    }

    // ---- the edits

    QString editKey()
    {
        const int index = m_random.uniform(0, int(KeyLabelFields.size()) - 1);
        auto* label = m_dialog->findChild<KeyLabel*>(QLatin1String(KeyLabelFields.at(index).labelName));
        click(label);
        m_waiting = m_waiting == index ? -1 : index;
        if (QApplication::focusWidget() != m_dialog->txtGetKey)
            fail(QStringLiteral("the capture box lost the focus to a click on %1").arg(label->objectName()));
        for (int presses = m_random.uniform(1, 3); presses > 0; --presses) {
            const int kind = m_random.uniform(0, 9);
            if (kind == 9) {
                // Tab takes the focus to the next control, and the wait ends.
                const bool capturing = QApplication::focusWidget() == m_dialog->txtGetKey;
                pressKey(Qt::Key_Tab, m_random.chance(0.3) ? Qt::ShiftModifier : Qt::NoModifier);
                focusMayHaveLeft(capturing);
                return QStringLiteral("key wait left by Tab");
            }
            int code = 0;
            if (kind <= 4) {
                code = m_random.pick(bindableKeys());
            } else if (kind <= 6) {
                code = m_want.*m_random.pick(KeyFields); // in use, maybe by the waiting binding itself
            } else {
                code = m_random.pick(UnnamedKeys);
            }
            pressCode(code);
            if (m_waiting >= 0 && bindableKeys().contains(code)) {
                bool heldByAnother = false;
                for (int i = 0; i < int(std::size(KeyFields)); ++i)
                    heldByAnother = heldByAnother || (i != m_waiting && m_want.*KeyFields[i] == code);
                if (!heldByAnother) {
                    m_want.*KeyFields[m_waiting] = qint16(code);
                    m_waiting = -1;
                }
            }
        }
        return QStringLiteral("key");
    }

    QString editColour()
    {
        frmOptions& d = *m_dialog;
        const std::pair<QPushButton*, Colour ConfigRecord::*> buttons[] = {
            {d.cmdTimeC, &ConfigRecord::TimeColor},     {d.cmdScoreC, &ConfigRecord::ScoreColor},
            {d.cmdPeriodC, &ConfigRecord::PeriodColor}, {d.cmdLEDB, &ConfigRecord::LEDBack},
            {d.cmdBackC, &ConfigRecord::FormBack},      {d.cmdBorderC, &ConfigRecord::BorderColor},
            {d.cmdHomeC, &ConfigRecord::HomeColor},     {d.cmdVisitorC, &ConfigRecord::VisitorColor},
            {d.cmdLedSelected, &ConfigRecord::LEDSelected}, {d.cmdGreenScreen, &ConfigRecord::GreenBackColor}};
        const auto [button, field] = m_random.pick(buttons);
        m_colourAnswer = m_random.chance(0.75) ? QColor::fromRgb(QRgb(m_random.uniform(0, 0xffffff))) : QColor();
        const bool enabled = button != d.cmdGreenScreen || m_greenEnabled;
        const int asked = m_asked;
        click(button);
        if (m_asked != asked + (enabled ? 1 : 0))
            fail(QStringLiteral("%1 asked for a colour %2 times").arg(button->objectName()).arg(m_asked - asked));
        if (enabled && m_colourAnswer.isValid() && m_colourAnswer != toQColor(m_want.*field))
            m_want.*field = fromQColor(m_colourAnswer);
        return m_colourAnswer.isValid() ? QStringLiteral("colour") : QStringLiteral("colour cancelled");
    }

    QString resetColours()
    {
        m_confirmAnswer = m_random.chance(0.5);
        click(m_dialog->cmdResetColors);
        if (!m_confirmAnswer)
            return QStringLiteral("reset colours No");
        // The keying colour stays; the width's value reads the default, its spinner stays.
        const ConfigRecord firstStart = defaultConfig(QString());
        for (auto field : {&ConfigRecord::LEDSelected, &ConfigRecord::TimeColor, &ConfigRecord::LEDBack,
                           &ConfigRecord::ScoreColor, &ConfigRecord::PeriodColor, &ConfigRecord::FormBack,
                           &ConfigRecord::BorderColor, &ConfigRecord::HomeColor, &ConfigRecord::VisitorColor})
            m_want.*field = firstStart.*field;
        m_want.LEDSelectedWidth = firstStart.LEDSelectedWidth;
        return QStringLiteral("reset colours Yes");
    }

    QString editSpinner()
    {
        const bool width = m_random.chance(0.5);
        Spinner* spinner = width ? m_dialog->scrLEDSelectedWidth : m_dialog->vsShotClock;
        const bool up = m_random.chance(0.5);
        QToolButton* arrow = up ? spinner->upButton() : spinner->downButton();
        for (int clicks = m_random.chance(0.2) ? m_random.uniform(5, 40) : m_random.uniform(1, 4); clicks > 0; --clicks) {
            click(arrow);
            // At an end the spinner stays, and so does its value label.
            const int value = width ? m_widthSpinner : m_want.ShotClockResetTime;
            const int next = std::clamp(value + (up ? 1 : -1), spinner->minimum(), spinner->maximum());
            if (next == value)
                continue;
            if (width)
                m_widthSpinner = next;
            (width ? m_want.LEDSelectedWidth : m_want.ShotClockResetTime) = qint16(next);
        }
        return width ? QStringLiteral("width arrows") : QStringLiteral("shot clock arrows");
    }

    QString editCheckBox()
    {
        if (m_random.chance(0.5)) {
            click(m_dialog->chkUseShotClock, indicatorOf(m_dialog->chkUseShotClock));
            m_want.UseShotClock = !m_want.UseShotClock;
            m_showScreenEnabled = m_want.UseShotClock;
            if (!m_want.UseShotClock)
                m_want.ShowShotClockScreen = false;
            return QStringLiteral("use shot clock");
        }
        click(m_dialog->chkShowShotClockScreen, indicatorOf(m_dialog->chkShowShotClockScreen));
        if (m_showScreenEnabled)
            m_want.ShowShotClockScreen = !m_want.ShowShotClockScreen;
        return QStringLiteral("shot clock window");
    }

    QString editOption()
    {
        frmOptions& d = *m_dialog;
        QRadioButton* options[] = {d.optNormal, d.optKeepOn, d.optKeepOff, d.otnFloating, d.otnGreenBack};
        const int i = m_random.uniform(0, 4);
        click(options[i], indicatorOf(options[i]));
        if (i < 3) {
            m_want.NumLockForce = i;
            return QStringLiteral("NumLock option");
        }
        m_want.ScoreboardView = i - 3;
        m_greenEnabled = i == 4;
        return QStringLiteral("view option");
    }

    QString editDisplayType()
    {
        QComboBox* list = m_dialog->cmbLedType;
        const int count = list->count();
        if (m_random.chance(0.3)) {
            // The wheel over the closed list steps it where the style allows.
            showTabOf(list);
            const bool up = m_random.chance(0.5);
            const QPoint at = list->rect().center();
            QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            const bool capturing = QApplication::focusWidget() == m_dialog->txtGetKey;
            QSpontaneKeyEvent::setSpontaneous(&wheel); // as from the mouse: it may take the focus
            QApplication::sendEvent(list, &wheel);
            focusMayHaveLeft(capturing);
            if (list->style()->styleHint(QStyle::SH_ComboBox_AllowWheelScrolling, nullptr, list))
                m_want.LEDType = qint16(std::clamp(m_want.LEDType + (up ? -1 : 1), 0, count - 1));
            return QStringLiteral("display type wheel");
        }
        // A click opens the list; arrows move in it, Return takes, Escape leaves it.
        click(list);
        QCoreApplication::processEvents(); // the list's window comes up before the operator reads it
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) {
            fail(QStringLiteral("a click on the display type opened no list"));
            return QStringLiteral("display type");
        }
        int highlighted = m_want.LEDType;
        for (int steps = m_random.uniform(0, 3); steps > 0; --steps) {
            const bool down = m_random.chance(0.5);
            pressKey(down ? Qt::Key_Down : Qt::Key_Up);
            highlighted = std::clamp(highlighted + (down ? 1 : -1), 0, count - 1);
        }
        if (m_random.chance(0.25)) {
            pressKey(Qt::Key_Escape);
        } else {
            pressKey(Qt::Key_Return);
            m_want.LEDType = qint16(highlighted);
        }
        if (QApplication::activePopupWidget())
            fail(QStringLiteral("the display type list stayed open"));
        return QStringLiteral("display type list");
    }

    QString editText()
    {
        frmOptions& d = *m_dialog;
        const std::pair<QLineEdit*, QString ConfigRecord::*> boxes[] = {
            {d.txtHomeText, &ConfigRecord::HomeText},
            {d.txtVisitorText, &ConfigRecord::VisitorText},
            {d.txtPeriodText, &ConfigRecord::PeriodText}};
        const auto [box, field] = m_random.pick(boxes);
        click(box);
        if (QApplication::focusWidget() != box)
            fail(QStringLiteral("a click on %1 left it without the focus").arg(box->objectName()));
        const QString text = m_random.pick(texts());
        QString& want = m_want.*field;
        switch (m_random.uniform(0, 5)) {
        case 0: // typed over everything
            pressKey(Qt::Key_A, Qt::ControlModifier);
            type(box, text);
            if (!text.isEmpty())
                want = text;
            break;
        case 1:
            pressKey(Qt::Key_End);
            type(box, text);
            want += text;
            break;
        case 2:
            pressKey(Qt::Key_Home);
            type(box, text);
            want.prepend(text);
            break;
        case 3: // emptied
            pressKey(Qt::Key_A, Qt::ControlModifier);
            pressKey(m_random.chance(0.5) ? Qt::Key_Backspace : Qt::Key_Delete);
            want.clear();
            break;
        case 4: { // pasted over everything, with what cannot be typed
            const QString pasted = m_random.chance(0.3) ? QStringLiteral("tab\there") : text;
            QGuiApplication::clipboard()->setText(pasted);
            pressKey(Qt::Key_A, Qt::ControlModifier);
            pressKey(Qt::Key_V, Qt::ControlModifier);
            want = pasted;
            break;
        }
        default:
            break;
        }
        // Enter in a text box presses no button.
        if (m_random.chance(0.3))
            pressKey(m_random.chance(0.5) ? Qt::Key_Return : Qt::Key_Enter);
        return QStringLiteral("text");
    }

    QString editSound()
    {
        const bool buzzer = m_random.chance(0.5);
        QString& want = buzzer ? m_want.BuzzerFile : m_want.ShotClockFile;
        const FileChoice choice = m_random.pick(SoundChoices);
        m_fileAnswer = programFile(choice.name);
        const int asked = m_asked;
        click(buzzer ? m_dialog->cmdBuzzerSound : m_dialog->cmdShotClockSound);
        if (m_asked != asked + 1 || m_currentOffered != want)
            fail(QStringLiteral("the sound picker was asked %1 times, offering \"%2\"").arg(m_asked - asked).arg(m_currentOffered));
        if (choice.good)
            want = m_fileAnswer;
        return QStringLiteral("sound %1").arg(QString::fromUtf8(*choice.name ? choice.name : "cancelled"));
    }

    QString editPicture()
    {
        const FileChoice choice = m_random.pick(PictureChoices);
        m_fileAnswer = programFile(choice.name);
        const int asked = m_asked;
        click(m_dialog->cmdChangeBoardPic);
        if (m_asked != asked + 1 || m_currentOffered != m_want.BoardPic)
            fail(QStringLiteral("the picture picker was asked %1 times, offering \"%2\"").arg(m_asked - asked).arg(m_currentOffered));
        if (choice.good)
            m_want.BoardPic = m_fileAnswer;
        return QStringLiteral("picture %1").arg(QString::fromUtf8(*choice.name ? choice.name : "cancelled"));
    }

    QString clearPicture()
    {
        click(m_dialog->cmdClearBoardPic);
        m_want.BoardPic.clear();
        return QStringLiteral("clear picture");
    }

    QString resetKeys()
    {
        m_confirmAnswer = m_random.chance(0.5);
        click(m_random.chance(0.5) ? m_dialog->cmdResetKeys : m_dialog->Command1);
        if (!m_confirmAnswer)
            return QStringLiteral("reset keys No");
        for (auto field : KeyFields)
            m_want.*field = defaultKeyCode(field);
        m_want.NumLockForce = 0;
        m_want.ShowShotClockScreen = false;
        return QStringLiteral("reset keys Yes");
    }

    QString resetPosition()
    {
        m_confirmAnswer = m_random.chance(0.5);
        click(m_dialog->cmdResetPosition);
        m_resetRequested = m_resetRequested || m_confirmAnswer;
        return m_confirmAnswer ? QStringLiteral("reset position Yes") : QStringLiteral("reset position No");
    }

    QString switchTab()
    {
        QTabBar* bar = m_dialog->SSTab1->tabBar();
        const int i = m_random.uniform(0, bar->count() - 1);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(i).center());
        return QStringLiteral("tab");
    }

    // A score key typed at the score box while the dialog is up: the modal
    // dialog blocks it (a changed score fails the run's own checks).
    QString keyAtTheBox()
    {
        QWindow* box = m_dialog->parentWidget() ? m_dialog->parentWidget()->window()->windowHandle() : nullptr;
        if (!box)
            return QStringLiteral("no box");
        const auto [key, modifiers] = m_keyOfCode.at(Config().*KeyFields[m_random.uniform(6, 12)]);
        QTest::keyClick(box, key, modifiers);
        return QStringLiteral("score key at the box");
    }

    QString randomEdit()
    {
        switch (m_random.uniform(0, 16)) {
        case 16: return keyAtTheBox();
        case 0:
        case 1:
        case 2: return editKey();
        case 3:
        case 4: return editColour();
        case 5: return resetColours();
        case 6: return editSpinner();
        case 7: return editCheckBox();
        case 8: return editOption();
        case 9: return editDisplayType();
        case 10: return editText();
        case 11: return editSound();
        case 12: return m_random.chance(0.7) ? editPicture() : clearPicture();
        case 13: return resetKeys();
        case 14: return resetPosition();
        default: return switchTab();
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
        if (QApplication::focusWidget() != d.cmdOk || d.SSTab1->currentIndex() != 0)
            return fail(QStringLiteral("the dialog opened on tab %1 with the focus on %2")
                            .arg(d.SSTab1->currentIndex())
                            .arg(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()));
        if (const QString wrong = disagreement(); !wrong.isEmpty())
            return fail(QStringLiteral("on opening: ") + wrong);
        for (int edits = m_random.uniform(0, 10); edits > 0; --edits) {
            m_outcome.edits << randomEdit();
            // What the platform reports meanwhile (activation, for one) arrives
            // between the operator's moves.
            QCoreApplication::processEvents();
            if (!m_outcome.problem.isEmpty())
                return;
            if (QApplication::activeWindow() != &d)
                return fail(QStringLiteral("after %1 the active window is %2")
                                .arg(m_outcome.edits.constLast(),
                                     QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className()
                                                                  : "none"));
            if (!d.isVisible())
                return fail(QStringLiteral("%1 closed the dialog").arg(m_outcome.edits.constLast()));
            if (const QString wrong = disagreement(); !wrong.isEmpty())
                return fail(QStringLiteral("after %1: %2").arg(m_outcome.edits.constLast(), wrong));
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

    QByteArray storeBytes() const
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

    ConfigRecord m_want;          // what OK must store
    int m_widthSpinner = 0;       // its value label may read otherwise after Reset Colors
    bool m_showScreenEnabled = false;
    bool m_greenEnabled = false;
    int m_waiting = -1;           // the binding waiting for a key
    bool m_resetRequested = false;

    QColor m_colourAnswer;
    QString m_fileAnswer;
    bool m_confirmAnswer = false;
    QString m_currentOffered;
    int m_asked = 0;
};

} // namespace soakoptions
