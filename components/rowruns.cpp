#include "rowruns.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cwchar>

RowRuns::RowRuns(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    m_size = image.size();
    m_rowStarts.reserve(image.height() + 1);
    for (int y = 0; y < image.height(); ++y) {
        m_rowStarts.push_back(qsizetype(m_runs.size()));
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (x > 0 && row[x] == m_runs.back().colour)
                m_runs.back().end = x + 1;
            else
                m_runs.push_back({x + 1, row[x]});
        }
    }
    m_rowStarts.push_back(qsizetype(m_runs.size()));
}

void RowRuns::writeRow(int y, int x0, int x1, quint32* dest) const
{
    const auto first = m_runs.begin() + m_rowStarts[y];
    const auto last = m_runs.begin() + m_rowStarts[y + 1];
    auto run = std::upper_bound(first, last, x0, [](int x, const Run& r) { return x < r.end; });
    for (int x = x0; x < x1 && run != last; ++run) {
        const int to = std::min(run->end, x1);
        fillPixels(dest, run->colour, to - x);
        dest += to - x;
        x = to;
    }
}

void fillPixels(quint32* dest, quint32 colour, qsizetype n)
{
    // The C library's wide fill is vectorised for every processor it runs on;
    // short runs (the antialiased rims) are cheaper written one by one.
    if constexpr (sizeof(wchar_t) == sizeof(quint32)) {
        if (n >= 16) {
            std::wmemset(reinterpret_cast<wchar_t*>(dest), wchar_t(colour), size_t(n));
            return;
        }
    }
    std::fill_n(dest, n, colour);
}

std::optional<PixelTarget> pixelTarget(QPainter& painter, const QRegion& paintRegion)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(engine->paintDevice());
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
        && format != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    const QTransform transform = painter.deviceTransform();
    if (image->devicePixelRatio() != 1 || transform.type() > QTransform::TxTranslate
        || transform.dx() != std::round(transform.dx()) || transform.dy() != std::round(transform.dy())
        || painter.hasClipping() || painter.opacity() != 1
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    const QPoint offset(int(transform.dx()), int(transform.dy()));
    QRegion region = paintRegion.translated(offset) & image->rect();
    if (!engine->systemClip().isEmpty())
        region &= engine->systemClip();
    return PixelTarget{image, offset, region};
}
