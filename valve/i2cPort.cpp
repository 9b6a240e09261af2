#include "valve/i2cPort.h"

i2cPort::i2cPort(QObject *parent)
    : QObject(parent)
{
}
