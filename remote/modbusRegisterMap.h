#ifndef MODBUSREGISTERMAP_H
#define MODBUSREGISTERMAP_H

#include <QModbusDataUnitMap>
#include <QtGlobal>

// The register layout the valve offers to a Modbus master, and the two ways a
// position crosses it: what the server publishes and what a master writes.
namespace modbusMap {

constexpr int nServerAddress = 1;

constexpr int nCoilCount = 8;
constexpr int nDiscreteInputCount = 2;
constexpr int nHoldingRegisterCount = 7;

enum coil {
    COIL_STOP = 0,
    COIL_PLUS = 1,
    COIL_MINUS = 2,
    COIL_PLUS_NORMAL = 3,
    COIL_MINUS_NORMAL = 4,
    COIL_PLUS_FAST = 5,
    COIL_MINUS_FAST = 6,
    COIL_FEEDBACK_LOOP = 7
};

enum discreteInput {
    DI_RUNNING = 0,
    DI_REACHED = 1
};

enum holdingRegister {
    HR_POSITION_LOW = 0,
    HR_POSITION_HIGH = 1,
    HR_INPUT1 = 2,
    HR_INPUT2 = 3,
    HR_INPUT3 = 4,
    HR_FEEDBACK1 = 5,
    HR_FEEDBACK2 = 6
};

// Coils 0-7, discrete inputs 0-1 and holding registers 0-6, all zero. No
// input registers: a master asking for them gets "illegal data address".
QModbusDataUnitMap registerMap();

struct positionWords {
    quint16 nLow = 0;
    quint16 nHigh = 0;
};

// The server publishes bits 0-15 and 16-23 of the position (1000000 ppm reads
// 16960 / 15; the "no position yet" value -1 reads 65535 / 255).
positionWords publishedPosition(int nPosition);

// A master writes the full 32 bits, high word first in value; a high word of
// 32768 or more gives a negative position that the drive refuses.
qint32 writtenPosition(quint16 nLow, quint16 nHigh);

// An analog input value as held in a 16-bit register (low 16 bits).
quint16 publishedInput(int nValue);

} // namespace modbusMap

#endif // MODBUSREGISTERMAP_H
