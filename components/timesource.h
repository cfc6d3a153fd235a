#pragma once
// One monotonic time source for every timing-dependent routine: the real one reads
// std::chrono::steady_clock, the manual one is stepped by tests and benchmarks.

#include <QtGlobal>

class TimeSource
{
public:
    virtual ~TimeSource() = default;
    virtual qint64 nowNs() const = 0;
};

class SteadyTimeSource final : public TimeSource
{
public:
    qint64 nowNs() const override;
    static const SteadyTimeSource& instance();
};

class ManualTimeSource final : public TimeSource
{
public:
    qint64 nowNs() const override { return m_now; }
    void setNowNs(qint64 ns) { m_now = ns; }
    void advanceNs(qint64 ns) { m_now += ns; }
    void advanceMs(qint64 ms) { m_now += ms * 1000000; }

private:
    qint64 m_now = 0;
};
