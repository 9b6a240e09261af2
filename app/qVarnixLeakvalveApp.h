#ifndef QVARNIXLEAKVALVEAPP_H
#define QVARNIXLEAKVALVEAPP_H

#include <QApplication>

// The application object of the valve program. It adds nothing to
// QApplication but its own class name in the object model.
class qVarnixLeakvalveApp : public QApplication
{
    Q_OBJECT

public:
    qVarnixLeakvalveApp(int &argc, char **argv);
};

#endif // QVARNIXLEAKVALVEAPP_H
