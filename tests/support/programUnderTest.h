#ifndef PROGRAMUNDERTEST_H
#define PROGRAMUNDERTEST_H

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

class testWorkDir;

// The real program, offscreen, in a test's working directory with its
// settings store, and the driver plugin (tests/support/driver) inside it,
// through which the test operates the widgets. The program's motor port
// folder is the working directory's "dev". Always killed at the end.
class programUnderTest
{
public:
    // Generous: the program starts under the sanitizers on a busy machine.
    static constexpr int nStartTimeoutMs = 120000;
    static constexpr int nStepTimeoutMs = 30000;

    ~programUnderTest();

    // Starts the program and waits for its driver to connect; extra holds
    // environment variables of the test's own.
    bool start(const testWorkDir &wd, const QProcessEnvironment &extra = QProcessEnvironment());
    // Waits until the main window is up.
    bool waitReady();

    // One command to the driver; the reply line, or "timeout". Box reports
    // that arrive meanwhile are collected in boxes.
    QString request(const QString &strCommand, int nTimeoutMs = nStepTimeoutMs);
    // The text of a traffic pane.
    QString pane(const QString &strName);
    // What a widget shows (label, field, button or combo), or an empty
    // string when the driver could not read it.
    QString text(const QString &strName);
    // Whether the widget is enabled; false when it cannot be read.
    bool isEnabled(const QString &strName);

    // Closes the window and waits for the program's end.
    bool quit();

    QProcess proc;
    QTcpServer server;
    std::unique_ptr<QTcpSocket> driver;
    // "text|informative text" of every message box the driver answered.
    QStringList boxes;
};

#endif // PROGRAMUNDERTEST_H
