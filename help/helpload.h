#pragma once
// The help file brought into the help window's text view without stopping the
// clocks. A help file of a few megabytes takes seconds to read and seconds more
// to lay out; done on the thread that draws the clocks, they stood still for
// all of it. So a thread of its own reads the file and turns it into a document
// of its own; the view's document is then filled from that one a piece at a
// time, with the event loop running between slices of a few milliseconds (each
// piece's layout included). The view's layout is QTextEdit's own; laying out a
// whole document for it elsewhere would be undone by the view, which lays its
// document out afresh when it is handed one.
//
// Nothing but text and block formats is copied: that is all the rich text
// reader writes.

#include "rtfreader.h"

#include <QObject>
#include <QTextBlock>

#include <memory>
#include <optional>
#include <thread>

class QTextDocument;

class HelpLoad : public QObject
{
    Q_OBJECT

public:
    // How long one slice of filling holds the event loop at most, beyond the
    // piece it is on; and the longest piece of a paragraph laid out at once. A
    // longer paragraph is laid out as several pieces, joined without spacing,
    // that break at a space where there is one near.
    static constexpr int SliceMs = 4;
    static constexpr int MaxPieceChars = 2000;

    // Fills `view` (emptied first) from the file at `path`.
    HelpLoad(QString path, QTextDocument& view, QObject* parent = nullptr);
    // Stops the reader, which gives up within moments, and waits for it.
    ~HelpLoad() override;

    // A file that is not there, or too large to read, is known at once: that
    // result is given back and nothing more happens. Otherwise the file is read
    // in the background and finished() comes once the view holds all of it.
    std::optional<HelpFileLoad> start();

Q_SIGNALS:
    void finished(HelpFileLoad result);

private:
    struct Reading;
    void onRead();
    void release();
    void fillSlice();
    void copyPiece();

    const QString m_path;
    QTextDocument& m_view;
    std::shared_ptr<Reading> m_reading;
    std::thread m_reader;
    // Where the filling stands in the read document.
    QTextBlock m_block;
    QTextBlock::iterator m_fragment;
    int m_position = 0;
    bool m_viewHasBlock = false;
};
