#pragma once
// The program of ./run.sh's demo world in a test: the store names the
// simulator's port, and the program reads the card frame the plant writes.
#include "demoWorld.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QSettings>
#include <QVariantMap>

// The demo world of ./run.sh in the work folder, with the dev/ folder the
// simulator's port goes in; the reason when it could not be laid out, else an
// empty text.
inline QString layOutDemoWorld(const testWorkDir &wd)
{
    if (!QDir(wd.path()).mkpath(QStringLiteral("dev")))
        return QStringLiteral("no dev folder in the work folder");
    const demoWorld::layoutResult world = demoWorld::layOut(wd.path());
    return world.bOk ? QString() : world.strError;
}

// The controller on dev/ttySIM, with any further keys ("group/key").
inline void storeDemoController(const QVariantMap &extra = {})
{
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.setValue(QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr"));
    s.setValue(QStringLiteral("motor driver/motor port"), QStringLiteral("ttySIM"));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        s.setValue(it.key(), it.value());
    s.sync();
}

// Starts the program on the frame file and waits for its window; the reason
// when it did not come up, else an empty text.
inline QString startDemoProgram(programUnderTest &program, const testWorkDir &wd, const QString &strFrame)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("VALVE_ANALOG_FRAME_FILE"), strFrame);
    if (!program.start(wd, env))
        return QStringLiteral("the program did not start or its driver did not connect");
    if (!program.waitReady())
        return QStringLiteral("the main window did not come up");
    return QString();
}
