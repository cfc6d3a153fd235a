// The "Keys" and "Quick Keys" tabs: the nineteen key labels and their editor,
// the NumLock choice and the shot clock settings. A click on a key label starts
// the wait; the capture box, which holds the focus meanwhile, hands each key
// down to KeyChosen; the capture box losing the focus to another control ends
// the wait with the old binding.

#include "frmoptions.h"

#include "numlock.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "virtualkeys.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Where the capture box sits on the "Keys" tab; the box itself belongs to the
// dialog so that it can hold the focus whichever tab is showing. It follows the
// spot whenever the spot or anything between it and the dialog moves.
class CaptureSpot : public QWidget
{
public:
    CaptureSpot(QWidget* parent, QWidget* box)
        : QWidget(parent)
        , m_box(box)
    {
        setFixedSize(box->sizeHint().height() * 2, box->sizeHint().height());
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            watchAncestors();
        if (moves(event))
            follow();
        return QWidget::event(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (moves(event))
            follow();
        return QWidget::eventFilter(watched, event);
    }

private:
    static bool moves(const QEvent* event)
    {
        return event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show;
    }

    void watchAncestors()
    {
        for (QWidget* w = parentWidget(); w && w != m_box->parentWidget(); w = w->parentWidget()) {
            if (!m_watched.contains(w)) {
                w->installEventFilter(this);
                m_watched.append(w);
            }
        }
    }

    void follow()
    {
        if (m_box->parentWidget()->isAncestorOf(this))
            m_box->setGeometry(QRect(mapTo(m_box->parentWidget(), QPoint(0, 0)), size()));
    }

    QWidget* m_box;
    QList<QWidget*> m_watched;
};

} // namespace

QGroupBox* frmOptions::keyFrame(const QString& caption, KeyLabel*& label, const char* name)
{
    auto* frame = new QGroupBox(caption);
    label = new KeyLabel(frame);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(frame);
    tightenFrame(layout);
    layout->addWidget(label);
    return frame;
}

QWidget* frmOptions::createKeysTab()
{
    auto* page = new QWidget;
    m_keysPage = page;
    auto* grid = new QGridLayout(page);
    tightenPage(grid);

    grid->addWidget(keyFrame(QStringLiteral("Start/Stop clock:"), lblKeyStartStopClock, "lblKeyStartStopClock"), 0, 0);
    grid->addWidget(keyFrame(QStringLiteral("Reset clock:"), lblKeyResetClock, "lblKeyResetClock"), 0, 1);
    grid->addWidget(keyFrame(QStringLiteral("Reset shot clock:"), lblKeyResetShotClock, "lblKeyResetShotClock"), 1, 0);
    grid->addWidget(keyFrame(QStringLiteral("Reset shot clock short:"), lblKeyResetShotClockShort, "lblKeyResetShotClockShort"), 1, 1);
    grid->addWidget(keyFrame(QStringLiteral("Game/Clock switch:"), lblKeyClockSwitch, "lblKeyClockSwitch"), 2, 0);
    grid->addWidget(keyFrame(QStringLiteral("Clear Number:"), lblKeyClear, "lblKeyClear"), 2, 1);
    grid->addWidget(keyFrame(QStringLiteral("Buzzer:"), lblKeyBuzzer, "lblKeyBuzzer"), 3, 0);

    auto* numLockFrame = new QGroupBox(QStringLiteral("Numlock Options:"));
    optNormal = new QRadioButton(QStringLiteral("Normal Mode"), numLockFrame);
    optNormal->setObjectName(QStringLiteral("optNormal"));
    optKeepOn = new QRadioButton(QStringLiteral("Keep Numlock On"), numLockFrame);
    optKeepOn->setObjectName(QStringLiteral("optKeepOn"));
    optKeepOff = new QRadioButton(QStringLiteral("Keep Numlock Off"), numLockFrame);
    optKeepOff->setObjectName(QStringLiteral("optKeepOff"));
    auto* numLockLayout = new QVBoxLayout(numLockFrame);
    tightenFrame(numLockLayout);
    for (QRadioButton* option : {optNormal, optKeepOn, optKeepOff})
        numLockLayout->addWidget(option);
    grid->addWidget(numLockFrame, 0, 2, 2, 1);

    auto* shotClockFrame = new QGroupBox(QStringLiteral("Reset Shot Clock to:"));
    vsShotClock = new Spinner(ShotClockResetTimeMin, ShotClockResetTimeMax, shotClockFrame);
    vsShotClock->setObjectName(QStringLiteral("vsShotClock"));
    lblShotClock = new QLabel(shotClockFrame);
    lblShotClock->setObjectName(QStringLiteral("lblShotClock"));
    lblShotClock->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblShotClock->setMinimumWidth(lblShotClock->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    auto* shotClockLayout = new QHBoxLayout(shotClockFrame);
    tightenFrame(shotClockLayout);
    shotClockLayout->addWidget(vsShotClock);
    shotClockLayout->addWidget(lblShotClock);
    shotClockLayout->addWidget(new QLabel(QStringLiteral("Seconds"), shotClockFrame));
    shotClockLayout->addStretch();
    grid->addWidget(shotClockFrame, 2, 2);

    chkUseShotClock = new QCheckBox(QStringLiteral("Use shot clock"));
    chkUseShotClock->setObjectName(QStringLiteral("chkUseShotClock"));
    chkShowShotClockScreen = new QCheckBox(QStringLiteral("Show separate shot clock window."));
    chkShowShotClockScreen->setObjectName(QStringLiteral("chkShowShotClockScreen"));
    grid->addWidget(chkUseShotClock, 4, 0, 1, 2);
    grid->addWidget(chkShowShotClockScreen, 5, 0, 1, 2);

    cmdResetKeys = new QPushButton(QStringLiteral("Reset Keys"));
    cmdResetKeys->setObjectName(QStringLiteral("cmdResetKeys"));
    grid->addWidget(cmdResetKeys, 4, 2);

    txtGetKey = new KeyCaptureBox(this);
    txtGetKey->setObjectName(QStringLiteral("txtGetKey"));
    txtGetKey->setAccessibleName(QStringLiteral("Key capture"));
    grid->addWidget(new CaptureSpot(page, txtGetKey), 5, 2, Qt::AlignRight);
    grid->setRowStretch(6, 1);

    connect(chkUseShotClock, &QCheckBox::clicked, this, &frmOptions::chkUseShotClock_Click);
    connect(vsShotClock, &Spinner::valueChanged, this, &frmOptions::vsShotClock_Change);
    connect(cmdResetKeys, &QPushButton::clicked, this, &frmOptions::cmdResetKeys_Click);
    connect(txtGetKey, &KeyCaptureBox::KeyDown, this, &frmOptions::txtGetKey_KeyDown);
    connect(txtGetKey, &KeyCaptureBox::LostFocus, this, &frmOptions::txtGetKey_LostFocus);
    return page;
}

QWidget* frmOptions::createQuickKeysTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    tightenPage(grid);
    grid->addWidget(keyFrame(QStringLiteral("Home Score +1"), lblKeyHS1, "lblKeyHS1"), 0, 0);
    grid->addWidget(keyFrame(QStringLiteral("Home Score +2:"), lblKeyHS2, "lblKeyHS2"), 1, 0);
    grid->addWidget(keyFrame(QStringLiteral("Home Score +3"), lblKeyHS3, "lblKeyHS3"), 2, 0);
    grid->addWidget(keyFrame(QStringLiteral("Visitor Score +1"), lblKeyVS1, "lblKeyVS1"), 0, 1);
    grid->addWidget(keyFrame(QStringLiteral("Visitor Score +2"), lblKeyVS2, "lblKeyVS2"), 1, 1);
    grid->addWidget(keyFrame(QStringLiteral("Visitor Score +3"), lblKeyVS3, "lblKeyVS3"), 2, 1);
    grid->addWidget(keyFrame(QStringLiteral("Home Foul +1"), lblKeyHomeFoul, "lblKeyHomeFoul"), 3, 0);
    grid->addWidget(keyFrame(QStringLiteral("Visitor Foul +1"), lblKeyVisitorFoul, "lblKeyVisitorFoul"), 3, 1);
    grid->addWidget(keyFrame(QStringLiteral("Home Timeout"), lblKeyHomeTimeout, "lblKeyHomeTimeout"), 4, 0);
    grid->addWidget(keyFrame(QStringLiteral("Visitor Timeout"), lblKeyVisitorTimeout, "lblKeyVisitorTimeout"), 4, 1);
    grid->addWidget(keyFrame(QStringLiteral("Period +1"), lblKeyPeriod1, "lblKeyPeriod1"), 5, 0);
    grid->addWidget(keyFrame(QStringLiteral("Possession"), lblKeyPossession, "lblKeyPossession"), 5, 1);

    Command1 = new QPushButton(QStringLiteral("Reset Keys"));
    Command1->setObjectName(QStringLiteral("Command1"));
    grid->addWidget(Command1, 6, 1, Qt::AlignBottom | Qt::AlignRight);
    grid->setRowStretch(7, 1);

    connect(Command1, &QPushButton::clicked, this, &frmOptions::cmdResetKeys_Click);
    connectKeyLabels();
    return page;
}

void frmOptions::connectKeyLabels()
{
    for (KeyLabel* label : keyLabels())
        connect(label, &KeyLabel::clicked, this, [this, label] { ChooseKey(label); });
}

// The capture box is shown on the "Keys" tab and hidden behind the others, yet
// stays visible to the focus.
void frmOptions::placeKeyCaptureBox()
{
    const auto follow = [this](int index) {
        if (index == SSTab1->indexOf(m_keysPage))
            txtGetKey->raise();
        else
            txtGetKey->lower();
    };
    connect(SSTab1, &QTabWidget::currentChanged, this, follow);
    follow(SSTab1->currentIndex());
}

std::array<KeyLabel*, 19> frmOptions::keyLabels() const
{
    // The order of KeyLabelFields.
    return {lblKeyStartStopClock, lblKeyResetClock, lblKeyResetShotClock, lblKeyClockSwitch, lblKeyClear,
            lblKeyBuzzer, lblKeyHS1, lblKeyHS2, lblKeyHS3, lblKeyVS1, lblKeyVS2, lblKeyVS3, lblKeyPeriod1,
            lblKeyHomeFoul, lblKeyVisitorFoul, lblKeyHomeTimeout, lblKeyVisitorTimeout, lblKeyPossession,
            lblKeyResetShotClockShort};
}

int frmOptions::indexOfLabel(const KeyLabel* label) const
{
    return label ? m_keys.indexOf(label->objectName()) : KeyBindings::None;
}

KeyLabel* frmOptions::ActiveKeyLabel() const
{
    const int active = m_keys.active();
    return active == KeyBindings::None ? nullptr : keyLabels().at(active);
}

void frmOptions::showKeyLabels()
{
    const auto labels = keyLabels();
    for (int i = 0; i < m_keys.count(); ++i) {
        labels.at(i)->setText(m_keys.caption(i));
        labels.at(i)->setBackColor(m_keys.isWaiting(i) ? KeyLabel::WaitingBack : KeyLabel::IdleBack);
    }
}

void frmOptions::SetKeyTextFromTags()
{
    m_keys.SetKeyTextFromTags();
    showKeyLabels();
}

void frmOptions::ChooseKey(KeyLabel* ReturnKeyTo)
{
    if (m_keys.ChooseKey(indexOfLabel(ReturnKeyTo)))
        txtGetKey->setFocus(Qt::OtherFocusReason);
    showKeyLabels();
}

void frmOptions::KeyChosen(int KeyCode)
{
    m_keys.KeyChosen(KeyCode);
    showKeyLabels();
}

void frmOptions::txtGetKey_KeyDown(QKeyEvent* event)
{
    txtGetKey->clear();
    KeyChosen(virtualKeyCode(*event));
}

void frmOptions::txtGetKey_LostFocus()
{
    KeyChosen(KeyBindings::CancelWait);
}

void frmOptions::cmdResetKeys_Click()
{
    if (!m_choosers.confirm(this, optionstext::ResetKeysTitle, optionstext::ResetKeysQuestion))
        return;
    m_keys.resetCommandKeys();
    optNormal->setChecked(true);
    chkShowShotClockScreen->setChecked(false);
    m_keys.resetQuickKeys();
    SetKeyTextFromTags();
}

void frmOptions::loadNumLockOption(qint32 numLockForce)
{
    // Any other stored policy selects none, and OK then keeps it.
    switch (numLockForce) {
    case 0: optNormal->setChecked(true); break;
    case 1: optKeepOn->setChecked(true); break;
    case 2: optKeepOff->setChecked(true); break;
    default: break;
    }
}

void frmOptions::storeNumLockOption()
{
    ConfigRecord& config = Config();
    if (optNormal->isChecked()) {
        config.NumLockForce = 0;
    } else if (optKeepOn->isChecked()) {
        config.NumLockForce = 1;
        SetNumLock(*m_numLock, true);
    } else if (optKeepOff->isChecked()) {
        config.NumLockForce = 2;
        SetNumLock(*m_numLock, false);
    }
}

void frmOptions::chkUseShotClock_Click()
{
    const bool used = chkUseShotClock->isChecked();
    chkShowShotClockScreen->setEnabled(used);
    if (!used)
        chkShowShotClockScreen->setChecked(false);
}

void frmOptions::vsShotClock_Change()
{
    lblShotClock->setText(QString::number(vsShotClock->value()));
    spnShotClockReset->setValue(vsShotClock->value());
}
