#pragma once
// What a soak run was doing when it crashed: a fatal signal prints the seed and
// the action under way before the test framework's own crash report, so that
// the crash can be repeated. The handler only reads plain values and writes
// with write(2), as a signal handler must.

#include <csignal>
#include <cstdint>
#include <cstring>

#include <unistd.h>

namespace crashnote {

namespace detail {
inline std::uint64_t seed = 0;
inline volatile std::sig_atomic_t action = -1;
inline const char* volatile actionName = "";
inline constexpr int FatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
inline struct sigaction previous[32];

inline void writeText(const char* text) { [[maybe_unused]] auto n = ::write(STDERR_FILENO, text, std::strlen(text)); }

inline void writeNumber(std::uint64_t n)
{
    char digits[24];
    int i = sizeof digits - 1;
    digits[i] = '\0';
    do {
        digits[--i] = char('0' + n % 10);
        n /= 10;
    } while (n != 0);
    writeText(digits + i);
}

inline void onFatalSignal(int signal, siginfo_t* info, void* context)
{
    writeText("soak: crashed during action ");
    writeNumber(std::uint64_t(action));
    writeText(" (");
    writeText(actionName);
    writeText(") of seed ");
    writeNumber(seed);
    writeText("; TALLIVOX_SOAK_SEED=");
    writeNumber(seed);
    writeText(" repeats the run\n");
    // Then whatever handled the signal before, the test framework's report.
    const struct sigaction& before = previous[signal];
    if ((before.sa_flags & SA_SIGINFO) && before.sa_sigaction)
        before.sa_sigaction(signal, info, context);
    else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN)
        before.sa_handler(signal);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}
} // namespace detail

inline void install()
{
    for (int signal : detail::FatalSignals) {
        struct sigaction handler = {};
        handler.sa_sigaction = detail::onFatalSignal;
        handler.sa_flags = SA_SIGINFO;
        sigemptyset(&handler.sa_mask);
        sigaction(signal, &handler, &detail::previous[signal]);
    }
}

inline void uninstall()
{
    for (int signal : detail::FatalSignals)
        sigaction(signal, &detail::previous[signal], nullptr);
}

inline void setSeed(std::uint64_t seed) { detail::seed = seed; }

// `name` must outlive the run: a string literal.
inline void setAction(int index, const char* name)
{
    detail::action = index;
    detail::actionName = name;
}

} // namespace crashnote
