#pragma once
// The plain controls a window is built from, each a class of its own so that the
// layout code can tell them apart by class name: a picture box holds other
// controls, a label shows a caption, an image shows a picture stretched to its
// size, a shape is a filled rectangle.

#include <QLabel>
#include <QPixmap>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;

// A picture box takes the keyboard focus when clicked and reports its keys and
// mouse gestures to whoever hosts it.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setBackColor(const QColor& colour);

Q_SIGNALS:
    void KeyDown(QKeyEvent* event);
    void KeyUp(QKeyEvent* event);
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(const QString& caption, QWidget* parent = nullptr);
    void setForeColor(const QColor& colour);

    // A caption that fits its label's width draws whole: in the largest font, no
    // larger than the label's own, in which it fits. Off: the text is cut.
    void setFitsWidth(bool fits);
    // A caption wider than its label draws whole in a font a little smaller, or
    // else ends in "…" within the label, rather than being cut at its edge (team
    // names, which widen the box only as far as the screen allows).
    void setElides(bool elides);
    // The font and the text as drawn.
    QFont shownFont() const;
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_fitsWidth = false;
    bool m_elides = false;
};

class Image : public QWidget
{
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr);
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretch = true;
};

class Shape : public QWidget
{
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor& colour);
    // The shape is drawn without a border; its width is kept so it scales with the box.
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width) { m_borderWidth = width; }
    QColor borderColor() const { return m_border; }
    void setBorderColor(const QColor& colour) { m_border = colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill = Qt::black;
    int m_borderWidth = 1;
    QColor m_border = Qt::black;
};
