#include "valve/analogFrame.h"

analogFrameCounts decodeAnalogFrame(const QByteArray &frame)
{
    const auto byteAt = [&frame](int nIndex) -> int {
        return nIndex < frame.size() ? int(quint8(frame.at(nIndex))) : 0;
    };
    analogFrameCounts counts{};
    for (int nChannel = 0; nChannel < analogFrameChannels; ++nChannel) {
        const int nLow = 1 + 2 * nChannel;
        counts[nChannel] = byteAt(nLow) | (byteAt(nLow + 1) << 8);
    }
    return counts;
}

double analogCountToVolts(int nCount)
{
    return nCount * 10.0 / 1023;
}
