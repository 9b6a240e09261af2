// valve-controller-sim --family berger|nanotec --link <path> [--position <steps>] [--speed <steps/s>]
//                      [--analog-frame <file>]
// Serves a simulated motor controller on a pseudo-terminal whose slave is
// linked at <path>, prints "ready <slave path>" once it listens and runs until
// it is sent SIGINT or SIGTERM. With --analog-frame it also plays the demo
// plant: every 50 ms the analog card frame of a leak detector behind the
// simulated valve is written to <file> (point VALVE_ANALOG_FRAME_FILE at it).
#include "controllerSim.h"
#include "gaugeFrameWriter.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: valve-controller-sim --family berger|nanotec --link <path> "
                 "[--position <steps>] [--speed <steps/s>] [--analog-frame <file>]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Block the stop signals before any thread starts, so that only sigwait
    // below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString strFamily;
    QString strLink;
    int nPosition = -1;
    int nSpeed = -1;
    QString strFrame;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool bHasValue = i + 1 < args.size();
        if (a == QLatin1String("--family") && bHasValue)
            strFamily = args.at(++i);
        else if (a == QLatin1String("--link") && bHasValue)
            strLink = args.at(++i);
        else if (a == QLatin1String("--position") && bHasValue)
            nPosition = args.at(++i).toInt();
        else if (a == QLatin1String("--speed") && bHasValue)
            nSpeed = args.at(++i).toInt();
        else if (a == QLatin1String("--analog-frame") && bHasValue)
            strFrame = args.at(++i);
        else
            return usage();
    }
    controllerSim::family eFamily;
    if (strFamily == QLatin1String("berger"))
        eFamily = controllerSim::FAMILY_BERGER_LAHR;
    else if (strFamily == QLatin1String("nanotec"))
        eFamily = controllerSim::FAMILY_NANOTEC;
    else
        return usage();
    if (strLink.isEmpty())
        return usage();

    controllerSim sim(eFamily);
    if (nPosition >= 0)
        sim.setPosition(nPosition);
    if (nSpeed > 0)
        sim.setSpeed(nSpeed);
    if (!sim.start(strLink)) {
        std::fprintf(stderr, "valve-controller-sim: cannot open a pseudo-terminal or link %s\n",
                     qPrintable(strLink));
        return 1;
    }
    gaugeFrameWriter plant(sim, strFrame);
    if (!strFrame.isEmpty() && !plant.start()) {
        std::fprintf(stderr, "valve-controller-sim: cannot write the analog frame %s\n", qPrintable(strFrame));
        return 1;
    }
    std::printf("ready %s\n", qPrintable(sim.slavePath()));
    std::fflush(stdout);

    int nSignal = 0;
    sigwait(&stopSignals, &nSignal);
    plant.stop();
    sim.stop();
    return 0;
}
