#include "ImageList.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The pictures are compiled into the window library, which is static: its resources must be
// registered by hand before the first use.
static void registerPictures() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(done);
}

QIcon ImageList::fromSvg(const QString& resource) {
    registerPictures();
    QSvgRenderer renderer(resource);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    const QSize natural = renderer.defaultSize();
    for (int scale : {1, 2, 3}) {
        const QSize size = natural.width() <= 16 ? natural * scale : QSize(16, 16) * scale;
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        renderer.render(&p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

ImageList::ImageList(const QString& prefix, int count) {
    for (int i = 0; i < count; ++i)
        m_icons.push_back(
            fromSvg(QStringLiteral(":/icons/%1%2.svg").arg(prefix).arg(i, 2, 10, QChar(u'0'))));
}

QIcon ImageList::icon(int index) const {
    return index >= 0 && index < count() ? m_icons[size_t(index)] : QIcon();
}
