#ifndef ANALOGFRAMESOURCE_H
#define ANALOGFRAMESOURCE_H

#include <QByteArray>

// Where the analog input card's 11-byte frame comes from. The panel's card
// access is not part of this program; without a card every frame is zeros.
// When $VALVE_ANALOG_FRAME_FILE names a file, every read takes its first 11
// bytes (missing or short files read as zeros). Tests may install their own
// source.
class analogFrameSource
{
public:
    static constexpr int FRAME_SIZE = 11;

    virtual ~analogFrameSource() = default;
    // Always exactly FRAME_SIZE bytes.
    virtual QByteArray readFrame();

    static analogFrameSource &instance();
    // The caller keeps ownership; nullptr restores the default source.
    static void setInstance(analogFrameSource *pSource);
};

#endif // ANALOGFRAMESOURCE_H
