#pragma once
// A small window that tells the operator what went wrong behind the scenes (a
// save that failed, a settings file kept aside) without stopping anything: it
// is not modal, does not take the keyboard from the score box, and keeps the
// last few messages until it is closed.

#include <QWidget>

class QLabel;

class NoticeWindow : public QWidget
{
    Q_OBJECT

public:
    explicit NoticeWindow(QWidget* parent = nullptr);

    void addMessage(const QString& message);
    QStringList messages() const { return m_messages; }

private:
    QLabel* m_text = nullptr;
    QStringList m_messages;
};
