#include "optionswidgets.h"

#include "qcolour.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

void paintBackground(QWidget* w, Colour colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, toQColor(colour));
    w->setPalette(p);
}

} // namespace

void tightenPage(QLayout* layout)
{
    layout->setContentsMargins(4, 6, 4, 6);
    layout->setSpacing(4);
}

void tightenFrame(QLayout* layout)
{
    layout->setContentsMargins(6, 3, 6, 5);
    layout->setSpacing(4);
}

KeyLabel::KeyLabel(QWidget* parent)
    : QLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(fontMetrics().height() + 6);
    // The caption is drawn on white or pale yellow whatever the theme says.
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    paintBackground(this, m_back);
}

void KeyLabel::setBackColor(Colour colour)
{
    if (colour == m_back)
        return;
    m_back = colour;
    paintBackground(this, colour);
}

void KeyLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and a release over the label.
void KeyLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

ColourBox::ColourBox(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    setColour(0);
}

void ColourBox::setColour(Colour colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    paintBackground(this, colour);
    setAccessibleDescription(toQColor(colour).name());
    Q_EMIT colourChanged(colour);
}

Spinner::Spinner(int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , m_min(minimum)
    , m_max(std::max(minimum, maximum))
    , m_value(minimum)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(17, 12);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    m_up->setObjectName(QStringLiteral("up"));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { setValue(m_value + 1); });
    connect(m_down, &QToolButton::clicked, this, [this] { setValue(m_value - 1); });
    setFixedSize(17, 24);
}

void Spinner::setValue(int value)
{
    value = std::clamp(value, m_min, m_max);
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(value);
}

KeyCaptureBox::KeyCaptureBox(QWidget* parent)
    : QLineEdit(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void KeyCaptureBox::keyPressEvent(QKeyEvent* event)
{
    // Escape belongs to the dialog's Cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    event->accept();
    clear();
    Q_EMIT KeyDown(event);
}

void KeyCaptureBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Switching to another program, or a menu popping up, leaves the wait on.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    Q_EMIT LostFocus();
}

void KeyCaptureBox::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
}
