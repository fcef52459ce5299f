#include "PeakCache.h"

namespace QMMultiMedia {

PeakCache::PeakCache(int capacity)
    : m_nCapacity(capacity)
{
}

std::optional<Peak> PeakCache::find(int index, int channel, float scale) const
{
    if (!(scale == m_fScale))
        return std::nullopt;
    const auto it = m_entries.find(Key{{index, channel}});
    if (it == m_entries.end())
        return std::nullopt;
    return it->second;
}

void PeakCache::insert(int index, int channel, float scale, const Peak& peak)
{
    if (!(scale == m_fScale)) {
        m_fScale = scale;
        m_entries.clear();
        m_insertionOrder.clear();
    }
    const Key key{{index, channel}};
    const auto held = m_entries.find(key);
    if (held != m_entries.end()) {
        held->second = peak;
        return;
    }
    if (!m_insertionOrder.empty() && qint64(m_insertionOrder.size()) >= m_nCapacity) {
        m_entries.erase(m_insertionOrder.front());
        m_insertionOrder.pop_front();
    }
    m_entries.emplace(key, peak);
    m_insertionOrder.push_back(key);
}

void PeakCache::clear()
{
    m_entries.clear();
    m_insertionOrder.clear();
}

}  // namespace QMMultiMedia
