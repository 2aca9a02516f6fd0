#include "windows/random_source.h"

#include <chrono>

namespace quill {

void ClockRandom::seedFromClock()
{
    if (m_seeded)
        return;
    m_seeded = true;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const auto ticks = static_cast<quint64>(now);
    const quint32 seed[2] = {quint32(ticks), quint32(ticks >> 32)};
    m_generator = QRandomGenerator(seed);
}

int ClockRandom::bounded(int upper)
{
    return int(m_generator.bounded(quint32(upper)));
}

} // namespace quill
