#include "helpload.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>

// What the reader's thread shares with the window's. The document is made,
// read into and deleted on the reader's thread; the window's thread copies from
// it while that thread waits, so that the two never touch it at once.
struct HelpLoad::Reading
{
    std::atomic<bool> stop = false;
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false; // the window's thread is done with the document
    QTextDocument* document = nullptr;
    HelpFileLoad result = HelpFileLoad::Missing;
};

HelpLoad::HelpLoad(QString path, QTextDocument& view, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_view(view)
{
}

HelpLoad::~HelpLoad()
{
    if (m_reading) {
        m_reading->stop = true;
        release();
    }
    if (m_reader.joinable())
        m_reader.join();
}

void HelpLoad::release()
{
    {
        std::lock_guard lock(m_reading->mutex);
        m_reading->done = true;
    }
    m_reading->wake.notify_one();
}

std::optional<HelpFileLoad> HelpLoad::start()
{
    const QFileInfo file(m_path);
    if (!file.isFile())
        return HelpFileLoad::Missing;
    if (file.size() > MaxHelpFileBytes)
        return HelpFileLoad::TooLarge;
    m_reading = std::make_shared<Reading>();
    m_reader = std::thread([this, reading = m_reading, path = m_path] {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        const HelpFileLoad result = loadRtfFile(path, document, nullptr, &reading->stop);
        std::unique_lock lock(reading->mutex);
        if (reading->done)
            return;
        reading->result = result;
        reading->document = &document;
        // This object waits for the thread before it goes, so it is there to
        // take the call; a call still queued when it goes is dropped with it.
        QMetaObject::invokeMethod(this, &HelpLoad::onRead, Qt::QueuedConnection);
        // Freeing a large document takes a while too: it is done here.
        reading->wake.wait(lock, [&] { return reading->done; });
    });
    return std::nullopt;
}

void HelpLoad::onRead()
{
    if (m_reading->result != HelpFileLoad::Loaded) {
        release();
        Q_EMIT finished(m_reading->result);
        return;
    }
    // A read-only view has nothing to undo, and an undo record of the whole
    // text would cost more memory than the text.
    m_view.setUndoRedoEnabled(false);
    m_view.clear();
    m_block = m_reading->document->begin();
    m_fragment = m_block.begin();
    m_position = m_block.position();
    fillSlice();
}

void HelpLoad::fillSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (m_block.isValid() && slice.elapsed() < SliceMs)
        copyPiece();
    if (m_block.isValid()) {
        QTimer::singleShot(0, this, &HelpLoad::fillSlice);
        return;
    }
    release();
    Q_EMIT finished(HelpFileLoad::Loaded);
}

namespace {

// The source document's text between two positions of one paragraph. No cursor
// is put on that document: a cursor works out where it stands on screen, and
// would lay the document out on this thread. A long fragment is read a
// character at a time, so that a piece costs the piece, not the fragment.
QString textBetween(const QTextDocument& source, const QTextFragment& fragment, int from, int to)
{
    constexpr int ReadWholeUpTo = 8192;
    if (fragment.isValid() && fragment.length() <= ReadWholeUpTo)
        return fragment.text().mid(from - fragment.position(), to - from);
    QString text;
    text.reserve(to - from);
    for (int at = from; at < to; ++at)
        text.append(source.characterAt(at));
    return text;
}

} // namespace

// The rest of the current paragraph, or its next MaxPieceChars characters.
void HelpLoad::copyPiece()
{
    const QTextDocument& source = *m_reading->document;
    const int blockEnd = m_block.position() + m_block.length() - 1;
    int pieceEnd = std::min(blockEnd, m_position + MaxPieceChars);
    if (pieceEnd < blockEnd) {
        constexpr int Reach = 200;
        const int from = std::max(m_position, pieceEnd - Reach);
        const qsizetype space = textBetween(source, {}, from, pieceEnd).lastIndexOf(u' ');
        if (space >= 0)
            pieceEnd = from + int(space) + 1;
        else if (source.characterAt(pieceEnd - 1).isHighSurrogate())
            --pieceEnd;
    }

    // A paragraph cut into pieces keeps its spacing above its first piece and
    // below its last, and its first-line indent on the first.
    QTextBlockFormat format = m_block.blockFormat();
    if (m_position > m_block.position()) {
        format.setTopMargin(0);
        format.setTextIndent(0);
    }
    if (pieceEnd < blockEnd)
        format.setBottomMargin(0);

    QTextCursor writer(&m_view);
    writer.movePosition(QTextCursor::End);
    // One layout for the whole piece, when the edit ends.
    writer.beginEditBlock();
    if (m_viewHasBlock) {
        writer.insertBlock(format, m_block.charFormat());
    } else {
        writer.setBlockFormat(format);
        writer.setBlockCharFormat(m_block.charFormat());
        m_viewHasBlock = true;
    }
    for (; !m_fragment.atEnd(); ++m_fragment) {
        const QTextFragment fragment = m_fragment.fragment();
        if (!fragment.isValid())
            continue;
        const int fragmentEnd = fragment.position() + fragment.length();
        const int to = std::min(fragmentEnd, pieceEnd);
        if (to > m_position)
            writer.insertText(textBetween(source, fragment, m_position, to), fragment.charFormat());
        m_position = to;
        if (fragmentEnd > pieceEnd)
            break;
    }
    writer.endEditBlock();

    if (pieceEnd >= blockEnd) {
        m_block = m_block.next();
        if (m_block.isValid()) {
            m_fragment = m_block.begin();
            m_position = m_block.position();
        }
    }
}
