#include "noticewindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A save retried every few seconds that keeps failing must not grow the window.
constexpr int KeptMessages = 5;
}

NoticeWindow::NoticeWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmNotice"));
    setWindowTitle(QStringLiteral("Tallivox - Notice"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_text = new QLabel(this);
    // Messages name the operator's own files and addresses: shown as they are.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setFixedWidth(420);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void NoticeWindow::addMessage(const QString& message)
{
    m_messages.append(message);
    while (m_messages.size() > KeptMessages)
        m_messages.removeFirst();
    m_text->setText(m_messages.join(QLatin1Char('\n')));
    adjustSize();
}
