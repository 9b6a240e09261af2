// Loaded by QGuiApplication for the argument "-plugin benchshowprobe". Writes
// to the file named by BENCH_PROBE_OUT two CLOCK_MONOTONIC times (ns), one a
// line: when the first 800 x 479 top-level window (not a splash screen) is
// shown, and when its first frame has been painted (the turn of the event
// loop after its first paint event). With BENCH_PROBE_EXIT=shown or =painted
// the process ends at once at that point, so a profiler run (callgrind, perf)
// covers exactly the start-up.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QSplashScreen>
#include <QTimer>
#include <QWidget>

#include <stdio.h>
#include <time.h>
#include <unistd.h>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class showProbe : public QObject
{
public:
    bool eventFilter(QObject *pObject, QEvent *pEvent) override
    {
        const QEvent::Type type = pEvent->type();
        if ((type != QEvent::Show && type != QEvent::Paint) || !pObject->isWidgetType())
            return false;
        auto *pWidget = static_cast<QWidget *>(pObject);
        if (type == QEvent::Show && nShownNs == 0 && isMainWindow(pWidget)) {
            nShownNs = monotonicNs();
            pWindow = pWidget;
            write(QByteArray::number(nShownNs) + '\n');
            endIf("shown");
        } else if (type == QEvent::Paint && pWidget == pWindow && !bPaintSeen) {
            bPaintSeen = true;
            // The children paint after the window itself; the frame is done
            // when the event loop turns again.
            QTimer::singleShot(0, this, [this] {
                write(QByteArray::number(nShownNs) + '\n' + QByteArray::number(monotonicNs()) + '\n');
                endIf("painted");
            });
        }
        return false;
    }

private:
    static bool isMainWindow(QWidget *pWidget)
    {
        return pWidget->isWindow() && !qobject_cast<QSplashScreen *>(pWidget) && pWidget->size() == QSize(800, 479);
    }

    static void write(const QByteArray &text)
    {
        QFile out(QString::fromLocal8Bit(qgetenv("BENCH_PROBE_OUT")));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(text);
    }

    static void endIf(const char *pszPoint)
    {
        if (qgetenv("BENCH_PROBE_EXIT") == pszPoint) {
            fflush(nullptr);
            _exit(0);
        }
    }

    qint64 nShownNs = 0;
    QWidget *pWindow = nullptr;
    bool bPaintSeen = false;
};

} // namespace

class showProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "showProbe.json")

public:
    QObject *create(const QString &, const QString &) override
    {
        auto *pProbe = new showProbe;
        QCoreApplication::instance()->installEventFilter(pProbe);
        return pProbe;
    }
};

#include "showProbe.moc"
