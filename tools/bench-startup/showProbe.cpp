// Loaded by QGuiApplication for the argument "-plugin benchshowprobe". Writes
// the CLOCK_MONOTONIC time (ns) at which the first 800 x 479 top-level window
// (not a splash screen) is shown to the file named by BENCH_PROBE_OUT.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QSplashScreen>
#include <QWidget>

#include <time.h>

namespace {

class showProbe : public QObject
{
public:
    bool eventFilter(QObject *pObject, QEvent *pEvent) override
    {
        if (bDone || pEvent->type() != QEvent::Show || !pObject->isWidgetType())
            return false;
        auto *pWidget = static_cast<QWidget *>(pObject);
        if (!pWidget->isWindow() || qobject_cast<QSplashScreen *>(pWidget) || pWidget->size() != QSize(800, 479))
            return false;
        bDone = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const qint64 nNs = qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
        QFile out(QString::fromLocal8Bit(qgetenv("BENCH_PROBE_OUT")));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(QByteArray::number(nNs) + '\n');
        return false;
    }

private:
    bool bDone = false;
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
