#pragma once
// The small controls of the options dialog: the key label a binding is shown in,
// the colour box, the two-arrow spinner and the box that catches a key press
// while a binding waits.

#include "colour.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

class QLayout;
class QToolButton;

// The tabs are small: pages and frames keep tight margins and spacing.
void tightenPage(QLayout* layout);
void tightenFrame(QLayout* layout);

// A bordered, centred caption on white that turns pale yellow while it waits for
// a key. Clicking it never takes the focus, so the capture box keeps it.
class KeyLabel : public QLabel
{
    Q_OBJECT
public:
    static constexpr Colour IdleBack = 16777215;   // white
    static constexpr Colour WaitingBack = 8454143; // pale yellow

    explicit KeyLabel(QWidget* parent = nullptr);
    Colour backColor() const { return m_back; }
    void setBackColor(Colour colour);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Colour m_back = IdleBack;
    bool m_pressed = false;
};

// A small box showing the colour being edited as its background.
class ColourBox : public QFrame
{
    Q_OBJECT
public:
    explicit ColourBox(QWidget* parent = nullptr);
    Colour colour() const { return m_colour; }
    void setColour(Colour colour);
    QSize sizeHint() const override { return {36, 21}; }

Q_SIGNALS:
    void colourChanged(Colour colour);

private:
    Colour m_colour = -1;
};

// A value stepped by two arrows: the upper one raises it, the lower one lowers it,
// each by one and never past the range.
class Spinner : public QWidget
{
    Q_OBJECT
public:
    Spinner(int minimum, int maximum, QWidget* parent = nullptr);
    int value() const { return m_value; }
    void setValue(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

Q_SIGNALS:
    void valueChanged(int value);

private:
    int m_min;
    int m_max;
    int m_value;
    QToolButton* m_up;
    QToolButton* m_down;
};

// A one-line box that catches every key while a binding waits. It keeps no text;
// Escape and Tab are left to the dialog (cancel and the next control), and losing
// the focus to another control of the dialog is reported, losing it with the
// whole window is not.
class KeyCaptureBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit KeyCaptureBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void KeyDown(QKeyEvent* event);
    void LostFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};
