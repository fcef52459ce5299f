#pragma once

#include "PeakVector.h"

#include <list>
#include <map>
#include <optional>
#include <set>
#include <utility>

// Remembers peaks computed for one zoom scale (samples per requested peak),
// keyed by (peak index, channel), so that a view asking for the same points
// again reads no file. At most capacity entries; the oldest insertion goes
// first, however often it was found since. A new scale starts afresh.
namespace QMMultiMedia {

class PeakCache
{
public:
    explicit PeakCache(int capacity);

    // The stored peak, or nothing when the scale is not the cache's or the
    // key is not held. A hit does not refresh the entry.
    std::optional<Peak> find(int index, int channel, float scale) const;
    // Stores a peak; a scale other than the cache's (or NaN) first empties the
    // cache and takes the new scale. A key already held gets the new peak and
    // keeps its place in the insertion order.
    void insert(int index, int channel, float scale, const Peak& peak);
    // Drops every entry; the scale stays.
    void clear();

    float scale() const { return m_fScale; }
    int count() const { return int(m_entries.size()); }

private:
    // An ordered set of (index, channel) pairs; the cache uses single pairs.
    using Key = std::set<std::pair<qint32, qint32>>;

    qint32 m_nCapacity;
    float m_fScale = 0.0f;
    std::map<Key, Peak> m_entries;
    std::list<Key> m_insertionOrder;
};

}  // namespace QMMultiMedia
