// valve-demo-world <working directory>
// Lays out the demo world of ./run.sh below the working directory and in the
// settings store (XDG_CONFIG_HOME chooses the store): the demo plant's leak
// detector as a sensor, a teach-in of the plant, the settings that use them,
// a script that records a teach-in and a log that ended with a shutdown. Only
// what is absent is written.
#include "demoWorld.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args.at(1).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: valve-demo-world <working directory>\n");
        return 2;
    }
    const demoWorld::layoutResult result = demoWorld::layOut(args.at(1));
    for (const QString &strItem : result.laidOut)
        std::printf("laid out %s\n", qPrintable(strItem));
    if (!result.kept.isEmpty())
        std::printf("kept %d files and keys that were already there\n", int(result.kept.size()));
    if (!result.bOk) {
        std::fprintf(stderr, "valve-demo-world: %s\n", qPrintable(result.strError));
        return 1;
    }
    return 0;
}
