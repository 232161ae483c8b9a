#include "picker/monitor_profiles.h"

#include "platform/screen_sampler.h"

#include <cstdio>

namespace tintavo {

void MonitorProfiles::load(ScreenSampler &sampler)
{
    m_monitors = sampler.monitors();
    m_profiles.clear();
    const QList<QByteArray> published = sampler.monitorProfiles();
    for (qsizetype i = 0; i < published.size(); ++i) {
        m_profiles.emplace_back(published[i]);
        if (!published[i].isEmpty() && !m_profiles.back().isValid()) {
            const QByteArray why = m_profiles.back().error().toUtf8();
            std::fprintf(stderr,
                         "Tintavo: 显示器 %d 的色彩配置文件无法使用，取色按屏幕原值 / the colour "
                         "profile of monitor %d cannot be used; picks there give the screen's "
                         "own values: %s\n",
                         int(i + 1), int(i + 1), why.constData());
            std::fflush(stderr);
        }
    }
}

const DisplayProfile *MonitorProfiles::at(QPoint native) const
{
    qsizetype monitor = 0;
    for (qsizetype i = 0; i < m_monitors.size(); ++i) {
        if (m_monitors[i].contains(native))
            monitor = i;
    }
    if (monitor >= qsizetype(m_profiles.size()) || !m_profiles[std::size_t(monitor)].isValid())
        return nullptr;
    return &m_profiles[std::size_t(monitor)];
}

void MonitorProfiles::toSrgb(quint32 *pixels, qsizetype stride, const QRect &area) const
{
    for (qsizetype i = 0; i < m_monitors.size() && i < qsizetype(m_profiles.size()); ++i) {
        const DisplayProfile &profile = m_profiles[std::size_t(i)];
        // Where monitors overlap, the later one is the one picks go by.
        QRect part = m_monitors[i] & area;
        for (qsizetype later = i + 1; later < m_monitors.size(); ++later)
            part = part.intersects(m_monitors[later]) ? QRect() : part;
        if (!profile.isValid() || part.isEmpty())
            continue;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            quint32 *row = pixels + (y - area.top()) * stride;
            profile.toSrgb(row + (part.left() - area.left()), part.width());
        }
    }
}

} // namespace tintavo
