#ifndef PCTRANSPORT_H
#define PCTRANSPORT_H

#include <QByteArray>
#include <QObject>

// The line to a remote PC, whatever carries it (the PC serial port or a TCP
// client): bytes in, bytes out, and word of a new PC. Lives in the motor
// thread with the drive.
class pcTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Sends to the PC; nothing happens while no PC is there.
    virtual void write(const QByteArray &data) = 0;
    // Stops serving the PC.
    virtual void close() = 0;

signals:
    // A chunk of bytes as the PC sent it.
    void received(const QByteArray &chunk);
    // Another PC took the line: what the earlier one left is not its.
    void peerChanged();
    // Texts for the PC's traffic pane ("Connection established\n").
    void note(const QByteArray &text);
};

#endif // PCTRANSPORT_H
