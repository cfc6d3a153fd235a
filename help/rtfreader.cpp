#include "rtfreader.h"

#include "rtfkeywords.h"
#include "rtfparser.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>

namespace {

QString plainTextOf(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError()) {
        text.clear();
        text.reserve(data.size());
        for (char c : data)
            text.append(QChar(rtf::fromCp1252(static_cast<unsigned char>(c))));
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r')
            c = u'\n';
        else if ((u < 0x20 && u != u'\n' && u != u'\t') || u == 0x7F || u == 0xFDD0 || u == 0xFDD1
                 || u == QChar::ObjectReplacementCharacter || u == 0xFFFE || u == 0xFFFF)
            c = QChar(0xFFFD);
    }
    return text;
}

// Where the RTF starts (after a byte order mark and white space), or -1.
qsizetype rtfStart(const QByteArray& data)
{
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf" ? i : -1;
}

} // namespace

RtfReader::Status RtfReader::read(const QByteArray& data, QTextDocument& document, const std::atomic<bool>* stop)
{
    document.clear();
    const qsizetype start = rtfStart(data);
    if (start < 0) {
        document.setPlainText(plainTextOf(data));
        return Status::PlainText;
    }
    // Reading is no edit to undo, and an undo record of a large file would
    // cost more memory than the text itself.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    rtf::Parser parser(document, stop);
    const Status status = parser.run(data, start);
    document.setUndoRedoEnabled(undo);
    return status;
}

HelpFileLoad loadRtfFile(const QString& path, QTextDocument& document, RtfReader::Status* status,
                         const std::atomic<bool>* stop)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return HelpFileLoad::Missing;
    if (file.size() > MaxHelpFileBytes)
        return HelpFileLoad::TooLarge;
    // Read no more than the limit even from a file that grows while it is read.
    const QByteArray data = file.read(MaxHelpFileBytes);
    const RtfReader::Status s = RtfReader::read(data, document, stop);
    if (status)
        *status = s;
    return HelpFileLoad::Loaded;
}
