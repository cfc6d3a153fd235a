// The rich text reader on arbitrary bytes: whatever the help file holds, reading
// it must end, quickly, without a crash, and leave a document that Qt can walk.

#include "rtfreader.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Text documents want a GUI application for their fonts; no screen is needed.
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    QTextDocument doc;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const RtfReader::Status status = RtfReader::read(bytes, doc);

    // Nothing the reader puts in may break the document's own structure.
    int characters = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == 0xFDD0 || u == 0xFDD1 || u == QChar::ParagraphSeparator)
                std::abort();
        }
        characters += int(text.size()) + 1;
    }
    if (characters != doc.characterCount())
        std::abort();
    // Every byte gives at most a few characters.
    if (status != RtfReader::Status::PlainText && qsizetype(characters) > 4 * qsizetype(size) + 1)
        std::abort();
    return 0;
}
