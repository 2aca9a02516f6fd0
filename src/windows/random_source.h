#pragma once

#include <QRandomGenerator>

namespace quill {

// The program's one random generator: the startup tip and the update reminder draw
// from it. The program seeds it from the clock; tests script its draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Seeds the generator from the time of day. Only the first call seeds: two seeds
    // taken in one tick would tie every later draw to the first.
    virtual void seedFromClock() = 0;
    // A whole number from 0 to upper - 1, each as likely.
    virtual int bounded(int upper) = 0;
};

class ClockRandom : public RandomSource
{
public:
    void seedFromClock() override;
    int bounded(int upper) override;

private:
    QRandomGenerator m_generator;
    bool m_seeded = false;
};

} // namespace quill
