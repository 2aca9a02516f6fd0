#pragma once

#include "windows/random_source.h"

#include <QList>
#include <QTest>

// The random generator for tests: draws come from a queue that the test fills ahead of
// the start or the click; a draw nobody scripted gives 0, the first tip and no reminder.
// The range of every draw and the number of seedings are recorded.
class ScriptedRandom : public quill::RandomSource
{
public:
    // The value of a coming draw, from 0 to its range less one.
    void answerDraw(int value) { m_answers << value; }
    qsizetype pendingDraws() const { return m_answers.size(); }
    void reset() { *this = {}; }

    void seedFromClock() override { ++seeds; }
    int bounded(int upper) override
    {
        ranges << upper;
        if (m_answers.isEmpty())
            return 0;
        const int value = m_answers.takeFirst();
        if (value < 0 || value >= upper)
            QTest::qFail("A scripted draw lies outside its range", __FILE__, __LINE__);
        return value;
    }

    QList<int> ranges;
    int seeds = 0;

private:
    QList<int> m_answers;
};
