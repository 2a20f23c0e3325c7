#pragma once

// Figures the benchmarks read from the programs they run: a process's memory
// from /proc and the N-ACTION round trips the modality simulator prints with
// --latency.

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace vantorel::bench {

// A "kB" field of /proc/<pid>/status ("VmHWM", "VmRSS"); -1 when unreadable.
inline long statusKb(qint64 pid, const QByteArray& field)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ":"))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLong();
    return -1;
}

// User and system CPU seconds of a process so far (/proc/<pid>/stat); -1
// when unreadable.
inline double cpuSeconds(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / ::sysconf(_SC_CLK_TCK);
}

// This process's own CPU seconds so far (std::clock is process CPU time).
inline double ownCpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

inline long peakRssKb(qint64 pid)
{
    return statusKb(pid, "VmHWM");
}

// The N-ACTION round trips in the simulator's output, in milliseconds, sorted.
inline std::vector<double> actionLatenciesMs(const QByteArray& output)
{
    std::vector<double> ms;
    static const QRegularExpression pattern("latency N-ACTION (\\d+)");
    auto it = pattern.globalMatch(QString::fromUtf8(output));
    while (it.hasNext())
        ms.push_back(it.next().captured(1).toDouble() / 1000.0);
    std::sort(ms.begin(), ms.end());
    return ms;
}

}  // namespace vantorel::bench
