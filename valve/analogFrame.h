#ifndef ANALOGFRAME_H
#define ANALOGFRAME_H

#include <QByteArray>

#include <array>

// The 10-bit analog card's frame: byte 0 unused, then five channel counts of
// 16 bits, least significant byte first. 1023 counts are 10 V.

constexpr int analogFrameChannels = 5;
using analogFrameCounts = std::array<int, analogFrameChannels>;

// Counts of channels 1..5; bytes the frame lacks read as 0.
analogFrameCounts decodeAnalogFrame(const QByteArray &frame);

// count x 10 / 1023, not limited.
double analogCountToVolts(int nCount);

#endif // ANALOGFRAME_H
