#include "platform/analogFrameSource.h"

#include <QAtomicPointer>
#include <QFile>
#include <QString>

namespace {
analogFrameSource defaultSource;
QAtomicPointer<analogFrameSource> currentSource(nullptr);
} // namespace

QByteArray analogFrameSource::readFrame()
{
    QByteArray frame(FRAME_SIZE, '\0');
    const QString strFile = qEnvironmentVariable("VALVE_ANALOG_FRAME_FILE");
    if (strFile.isEmpty())
        return frame;
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return frame;
    const QByteArray data = file.read(FRAME_SIZE);
    if (data.size() == FRAME_SIZE)
        frame = data;
    return frame;
}

analogFrameSource &analogFrameSource::instance()
{
    analogFrameSource *p = currentSource.loadAcquire();
    return p ? *p : defaultSource;
}

void analogFrameSource::setInstance(analogFrameSource *pSource)
{
    currentSource.storeRelease(pSource);
}
