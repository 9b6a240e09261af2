#ifndef DIAGRAMFIXTURES_H
#define DIAGRAMFIXTURES_H

#include "valve/lvTeachIn.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QProcess>
#include "modalAnswerer.h"

#include <QFileDialog>
#include <QLineEdit>

#include <QTimer>
#include <QWidget>

#include <functional>

// Small builders and helpers shared by the diagram and manual-tab tests.

inline lvTeachInData teachInPoint(int nCurveType, int nSteps, double dblData, double dblTime = 0.0,
                                  double dblSens = 0.0, double dblSetpoint = 0.0)
{
    lvTeachInData pt;
    pt.nCurveType = nCurveType;
    pt.nSteps = nSteps;
    pt.dblData = dblData;
    pt.dblTime = dblTime;
    pt.dblSens = dblSens;
    pt.dblSetpoint = dblSetpoint;
    pt.dblCh1 = dblData * 2.0;
    pt.dblCh2 = dblData * 3.0;
    return pt;
}

inline void widenRange(double dblValue, double &dblMin, double &dblMax)
{
    if (dblValue < dblMin)
        dblMin = dblValue;
    if (dblValue > dblMax)
        dblMax = dblValue;
}

// Appends a point and widens the ranges, under the teach-in's lock, as the
// script executor records one.
inline void appendTeachInPoint(lvTeachIn &teachIn, const lvTeachInData &pt)
{
    teachIn.withLock([&pt](lvTeachIn &t) {
        t.vecTeachInData.append(pt);
        widenRange(pt.nSteps, t.dblMinSteps, t.dblMaxSteps);
        widenRange(pt.dblData, t.dblMinData, t.dblMaxData);
        widenRange(pt.dblTime, t.dblMinTime, t.dblMaxTime);
        widenRange(pt.dblSens, t.dblMinSens, t.dblMaxSens);
        if (pt.nCurveType == CURVE_DATA)
            widenRange(pt.dblSetpoint, t.dblMinSetpoint, t.dblMaxSetpoint);
    });
}

inline void setTeachInSensor(lvTeachIn &teachIn, const QString &strDataName, bool bExponential)
{
    teachIn.sensor.strName = QStringLiteral("test sensor");
    teachIn.sensor.strFormula = QStringLiteral("val1*2");
    teachIn.sensor.strDataName = strDataName;
    teachIn.sensor.strUnit = QStringLiteral("mbar*l/sec");
    teachIn.sensor.bExponential = bExponential;
    teachIn.sensor.strInputMask = QStringLiteral("0.00E+00");
}

// nOpen open points rising from 1.0, then nClose close points falling back.
inline void fillOpenClose(lvTeachIn &teachIn, int nOpen, int nClose)
{
    for (int i = 0; i < nOpen; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 100000 * i, 1.0 + i, i, 0.01 * (i + 1)));
    for (int i = 0; i < nClose; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_CLOSE, 100000 * (nClose - 1 - i), 1.0 + nClose - 1 - i,
                                                 nOpen + i, 0.02 * (i + 1)));
}

// Answers a file dialog as an operator does: types the name into the dialog's
// name field and accepts. selectFile() alone does not reach a field that
// already has the focus, and the dialog then stays open.
inline void typeAndAccept(QFileDialog *pDialog, const QString &strPath)
{
    pDialog->selectFile(strPath);
    if (auto *pEdit = pDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        pEdit->setText(strPath);
    QMetaObject::invokeMethod(pDialog, "accept");
}

// The Debian interpreter, which has python3-openpyxl (a python3 earlier in
// PATH may not).
inline QString pythonProgram()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

// Reads a workbook back with openpyxl; an empty object when it cannot.
inline QJsonObject readWorkbook(const QString &strFile, QString *pstrError = nullptr)
{
    QProcess process;
    process.start(pythonProgram(), {QStringLiteral(MANUAL_TEST_SOURCE_DIR "/workbook_summary.py"), strFile});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        if (pstrError)
            *pstrError = QString::fromUtf8(process.readAllStandardError());
        process.kill();
        process.waitForFinished(5000);
        return QJsonObject();
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

#endif // DIAGRAMFIXTURES_H
