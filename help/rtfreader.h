#pragma once
// Rich text (RTF) into a QTextDocument. Qt reads no RTF, and the help file is the
// only rich text the program meets, so this reader knows the part of RTF that a
// help text uses: groups, paragraphs and their alignment, indents, spacing and
// tab stops, bold, italic, underline, strike-through, font sizes and names,
// colours from the colour table, tabs, line breaks, \'hh and \uN characters
// (with \ucN skipping) and the named punctuation. Tables become tab-separated
// lines; pictures, objects, the document information and every {\*\...} group
// are left out.
//
// The file lies outside the program, so the reader takes any bytes: it reads
// them once from front to back (linear time), bounds the group depth, the
// numbers, the tables and the tab stops, and shows whatever it could read of a
// damaged or truncated file. Bytes that do not start like RTF are shown as plain
// text.

#include <QByteArray>
#include <QString>

#include <atomic>

class QTextDocument;

class RtfReader
{
public:
    enum class Status {
        Complete,  // an RTF document whose outer group closed
        Truncated, // RTF whose outer group never closed: what was read is shown
        PlainText, // not RTF at all: shown as plain text
    };

    // Groups nested deeper than this share the innermost state that was kept.
    static constexpr int MaxGroupDepth = 128;

    // Replaces the document's content with what `data` holds. Reading on a
    // thread of its own, it gives up soon after `stop` is set.
    static Status read(const QByteArray& data, QTextDocument& document, const std::atomic<bool>* stop = nullptr);
};

// A help file larger than this is not read at all: even read on a thread of its
// own and laid out a slice at a time, it would take the help window many seconds
// to open.
constexpr qint64 MaxHelpFileBytes = 4 * 1024 * 1024;

enum class HelpFileLoad {
    Loaded,
    Missing,  // no readable file there
    TooLarge, // over MaxHelpFileBytes
};

// Reads the file at `path` into `document`; anything but Loaded leaves the
// document alone.
HelpFileLoad loadRtfFile(const QString& path, QTextDocument& document, RtfReader::Status* status = nullptr,
                         const std::atomic<bool>* stop = nullptr);
