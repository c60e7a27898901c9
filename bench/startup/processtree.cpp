#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QMultiHash>

#include <unistd.h>

namespace {
// The fields of /proc/PID/stat from the state on (state is field 0 here);
// empty when the process is gone.
QList<QByteArray> statFields(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    // "pid (command) state ppid ...": the command may hold spaces and brackets.
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

pid_t parentOf(const QString &pid)
{
    return pid_t(statFields(pid).value(1).toInt());
}
}

QList<pid_t> processTree(pid_t root)
{
    if (root <= 0)
        return {}; // not started, or already gone
    QMultiHash<pid_t, pid_t> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toInt(&numeric));
        if (numeric)
            children.insert(parentOf(entry), pid);
    }
    QList<pid_t> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.values(tree[i]);
    return tree;
}

bool isRunning(pid_t pid)
{
    const QByteArray state = statFields(QString::number(pid)).value(0);
    return !state.isEmpty() && state != "Z";
}

qint64 pssBytes(const QList<pid_t> &processes)
{
    qint64 total = 0;
    for (pid_t pid : processes) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:")) {
                total += line.mid(4).trimmed().split(' ').value(0).toLongLong() * 1024;
                break;
            }
        }
    }
    return total;
}

double cpuMs(const QList<pid_t> &processes)
{
    // Each live thread's run time in nanoseconds (the first field of its
    // schedstat), and the ticks of the children the processes waited for.
    double ms = 0;
    for (pid_t pid : processes) {
        const QString task = QStringLiteral("/proc/%1/task").arg(pid);
        const QStringList threads = QDir(task).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &thread : threads) {
            QFile schedstat(task + QLatin1Char('/') + thread + QStringLiteral("/schedstat"));
            if (schedstat.open(QIODevice::ReadOnly))
                ms += schedstat.readAll().split(' ').value(0).toLongLong() / 1e6;
        }
        // cutime and cstime follow the state at 13 and 14.
        const QList<QByteArray> fields = statFields(QString::number(pid));
        ms += (fields.value(13).toLongLong() + fields.value(14).toLongLong()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    }
    return ms;
}
