#pragma once

#include "rendering.h"
#include "schemes.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#ifndef _WIN32
#include <unistd.h>
#endif

// Test entry point: the program's identity and its way of drawing, and an
// engine that can start as root and keeps its runtime files in a folder of
// its own.
#define VELMORA_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char *argv[])                                                      \
    {                                                                                     \
        QTemporaryDir runtime;                                                            \
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));                    \
        qputenv("XDG_CACHE_HOME", QFile::encodeName(runtime.path() + "/cache"));          \
        qputenv("XDG_DATA_HOME", QFile::encodeName(runtime.path() + "/data"));            \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.path() + "/config"));        \
        velmoraTestSandbox();                                                             \
        velmoraTestSessionBus(runtime.path());                                            \
        const bool software = rendering::chooseBeforeApplication();                                             \
        schemes::registerOwn();                                                           \
        QApplication app(argc, argv);                                                     \
        rendering::keepChoiceFromChildren(software);                                              \
        QApplication::setApplicationName(QStringLiteral("Velmora"));                      \
        QApplication::setApplicationVersion(QStringLiteral("1.0.0"));                     \
        TestClass test;                                                                   \
        return QTest::qExec(&test, argc, argv);                                           \
    }

// As root, a suite's own engine runs without its sandbox, which cannot run as
// root: the choice the program's --no-sandbox makes, made here explicitly.
inline void velmoraTestSandbox()
{
#ifndef _WIN32
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

// Without a session bus, the accessibility bridge would have the bus library
// start one for it: a fork of the whole multi-threaded test process, whose
// child can hang in the sanitizers' allocator before it gets to start
// anything. A suite without a bus is given an address where no bus answers,
// so the bridge finds none at once; the program it starts inherits it.
inline void velmoraTestSessionBus(const QString &runtime)
{
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(runtime) + "/no-session-bus");
}
