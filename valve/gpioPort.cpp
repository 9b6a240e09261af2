#include "valve/gpioPort.h"

#include "platform/gpioRoot.h"

#include <fstream>
#include <utility>

namespace {

std::string rootPath(const char *pszFile)
{
    return gpioRoot().toStdString() + "/" + pszFile;
}

void writeText(const std::string &strPath, const std::string &strText)
{
    std::ofstream file(strPath);
    file << strText;
}

} // namespace

gpioPort::gpioPort()
    : strPin("4")
{
}

gpioPort::gpioPort(std::string strPinNumber)
    : strPin(std::move(strPinNumber))
{
}

std::string gpioPort::pinPath(const char *pszFile) const
{
    return gpioRoot().toStdString() + "/gpio" + strPin + "/" + pszFile;
}

int gpioPort::exportPin()
{
    writeText(rootPath("export"), strPin);
    return 0;
}

int gpioPort::unexportPin()
{
    writeText(rootPath("unexport"), strPin);
    return 0;
}

int gpioPort::setDirection(std::string strDirection)
{
    writeText(pinPath("direction"), strDirection);
    return 0;
}

int gpioPort::setValue(std::string strValue)
{
    writeText(pinPath("value"), strValue);
    return 0;
}

int gpioPort::getValue(std::string &strValue)
{
    std::ifstream file(pinPath("value"));
    file >> strValue;
    strValue = strValue == "0" ? "0" : "1";
    return 0;
}

std::string gpioPort::getPinNumber()
{
    return strPin;
}
