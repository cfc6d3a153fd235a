#pragma once
// The one seeded generator a soak run draws every choice from, so that a run
// repeats exactly from its seed, and the run's knobs from the environment.

#include <QtGlobal>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <random>

class SoakRandom
{
public:
    explicit SoakRandom(std::uint64_t seed = 0) : m_engine(seed) {}
    void seed(std::uint64_t seed) { m_engine.seed(seed); }

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_engine); }

    template <typename List>
    auto pick(const List& list) -> decltype(*std::begin(list))
    {
        return *(std::begin(list) + uniform(0, int(std::size(list)) - 1));
    }
    template <typename T>
    T pick(std::initializer_list<T> list)
    {
        return *(list.begin() + uniform(0, int(list.size()) - 1));
    }

private:
    std::mt19937_64 m_engine;
};

// The seed named by the environment variable, or a fresh one.
inline std::uint64_t soakSeed(const char* variable)
{
    bool ok = false;
    const qulonglong seed = qEnvironmentVariable(variable).toULongLong(&ok);
    return ok ? seed : std::random_device{}();
}

// A positive count named by the environment variable, or the fallback.
inline int soakCount(const char* variable, int fallback)
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue(variable, &ok);
    return ok && count > 0 ? count : fallback;
}
