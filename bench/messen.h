#pragma once

// What every benchmark times with: the median and the fastest of several
// runs after one warm-up, the processor time of this process, and one run
// of the report tool as a whole process.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <sys/resource.h>
#include <sys/time.h>

#include <algorithm>
#include <vector>

namespace bench {

struct Zeiten
{
    double median = 0;
    double bester = 0;
    double prozessor = 0; // median processor time of this process, all threads, in ms
};

inline double millisekunden(const timeval &t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Processor time (user and system) of this process, in ms.
inline double eigeneZeit()
{
    rusage nutzung{};
    getrusage(RUSAGE_SELF, &nutzung);
    return millisekunden(nutzung.ru_utime) + millisekunden(nutzung.ru_stime);
}

// Processor time (user and system) of the finished child processes, in ms.
inline double kinderzeit()
{
    rusage nutzung{};
    getrusage(RUSAGE_CHILDREN, &nutzung);
    return millisekunden(nutzung.ru_utime) + millisekunden(nutzung.ru_stime);
}

inline double median(std::vector<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() / 2];
}

// Runs arbeit once to warm up caches, fonts and the dynamic loader, then
// laeufe times, each timed.
template <typename F> Zeiten messen(int laeufe, F &&arbeit)
{
    std::vector<double> ms;
    std::vector<double> cpu;
    ms.reserve(static_cast<size_t>(laeufe));
    cpu.reserve(static_cast<size_t>(laeufe));
    arbeit();
    for (int i = 0; i < laeufe; ++i) {
        const double vorher = eigeneZeit();
        QElapsedTimer uhr;
        uhr.start();
        arbeit();
        ms.push_back(static_cast<double>(uhr.nsecsElapsed()) / 1e6);
        cpu.push_back(eigeneZeit() - vorher);
    }
    const double bester = *std::min_element(ms.begin(), ms.end());
    return {median(ms), bester, median(cpu)};
}

// One run of the report tool beside the benchmark with its output thrown
// away; false when it failed. cpu, when given, collects the processor time
// it took: on a busy machine the wall time of a long run grows with the
// load, that of a short one hardly.
inline bool werkzeug(const QStringList &argumente, std::vector<double> *cpu = nullptr)
{
    QProcess prozess;
    prozess.setStandardOutputFile(QProcess::nullDevice());
    const double vorher = kinderzeit();
    prozess.start(QCoreApplication::applicationDirPath() + QStringLiteral("/varolinaten-bericht"),
                  argumente);
    const bool gelaufen = prozess.waitForFinished(60000) &&
                          prozess.exitStatus() == QProcess::NormalExit && prozess.exitCode() == 0;
    if (cpu)
        cpu->push_back(kinderzeit() - vorher);
    return gelaufen;
}

} // namespace bench
