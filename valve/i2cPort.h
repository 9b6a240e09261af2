#ifndef I2CPORT_H
#define I2CPORT_H

#include <QObject>

// Place of the panel's I2C access; it has no operations of its own yet.
class i2cPort : public QObject
{
    Q_OBJECT

public:
    explicit i2cPort(QObject *parent = nullptr);
};

#endif // I2CPORT_H
