#include "common/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QResource>

#include <algorithm>

namespace tintavo {

namespace {

// The icon's pixels, drawn from its one SVG at build time (one file per size,
// named for it, premultiplied ARGB). A size is made when it is asked for and
// not kept: the window system keeps its own copy of a window's icon. Drawing
// the SVG, or decoding PNGs, at every start cost more than the rest of the
// icon's work together; inflating the pixels costs little, and kept
// uncompressed they would weigh on the program's resident memory.
class RenderedIconEngine : public QIconEngine
{
public:
    RenderedIconEngine()
    {
        // Listed without a name filter, which would start the regular
        // expression engine for it.
        for (const QString &name : QDir(QStringLiteral(":/icons")).entryList(QDir::Files)) {
            const int side = name.endsWith(u".argb") ? QStringView(name).chopped(5).toInt() : 0;
            if (side > 0)
                m_sides.push_back(side);
        }
        std::sort(m_sides.begin(), m_sides.end());
    }

    QIconEngine *clone() const override { return new RenderedIconEngine(*this); }
    QString key() const override { return QStringLiteral("tintavo-rendered"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_sides)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return m_sides.empty() ? QSize() : QSize(side, side);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int wanted = std::min(size.width(), size.height());
        if (m_sides.empty() || wanted <= 0)
            return {};
        // The nearest drawing at least as large, scaled down where it differs.
        const auto larger = std::lower_bound(m_sides.begin(), m_sides.end(), wanted);
        const int side = larger == m_sides.end() ? m_sides.back() : *larger;
        const QByteArray pixels =
            QResource(QStringLiteral(":/icons/%1.argb").arg(side)).uncompressedData();
        if (pixels.size() != qsizetype(side) * side * 4)
            return {};
        // A pixmap may share an image of its own format: this one has the
        // bytes copied, as they go with this call.
        QPixmap pixmap =
            QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(pixels.constData()), side,
                                      side, QImage::Format_ARGB32_Premultiplied)
                                   .copy());
        if (side != wanted)
            pixmap = pixmap.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

private:
    std::vector<int> m_sides;
};

} // namespace

void installAppIcon()
{
    // One icon for the application, which every window shows.
    QGuiApplication::setWindowIcon(QIcon(new RenderedIconEngine));
}

} // namespace tintavo
