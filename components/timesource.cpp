#include "timesource.h"

#include <chrono>

qint64 SteadyTimeSource::nowNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

const SteadyTimeSource& SteadyTimeSource::instance()
{
    static const SteadyTimeSource source;
    return source;
}
