#pragma once

#include <QList>

#include <sys/types.h>

// The processes of one program: the process started and all its descendants,
// as /proc shows them now; none for a pid of 0 (a QProcess not running).
QList<pid_t> processTree(pid_t root);

// Whether the process exists and has not ended (a zombie has ended).
bool isRunning(pid_t pid);

// Proportional set size of the processes, in bytes: shared pages count once
// in total, split between the processes that share them.
qint64 pssBytes(const QList<pid_t> &processes);

// Processor time the processes' threads and the children they waited for
// have used so far, in milliseconds. Threads that already ended are missed.
double cpuMs(const QList<pid_t> &processes);
