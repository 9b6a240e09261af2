#include "app/qVarnixLeakvalveApp.h"

qVarnixLeakvalveApp::qVarnixLeakvalveApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
}
