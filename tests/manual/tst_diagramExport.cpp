// The diagram's exports read back by independent readers: every workbook by
// openpyxl (header block, rows, number formats, chart and series ranges), the
// JPG by QImage plus its JFIF density bytes; the dialogs that lead to them.
#include "manual/formCurrentState.h"
#include "manual/qLvCustomPlot.h"

#include "diagramFixtures.h"
#include "fakeClock.h"
#include "testWorkDir.h"

#include <QFileDialog>
#include <QImage>
#include <QJsonArray>
#include <QMessageBox>
#include <QtTest>

#include <limits>

namespace {

QJsonObject chartOf(const QJsonObject &book)
{
    const QJsonArray charts = book.value("charts").toArray();
    return charts.isEmpty() ? QJsonObject() : charts.first().toObject();
}

QString cellText(const QJsonObject &book, const QString &strCell)
{
    return book.value("cells").toObject().value(strCell).toVariant().toString();
}

double cellNumber(const QJsonObject &book, const QString &strCell)
{
    return book.value("cells").toObject().value(strCell).toDouble(-12345.0);
}

bool hasCell(const QJsonObject &book, const QString &strCell)
{
    return book.value("cells").toObject().contains(strCell);
}

QStringList seriesField(const QJsonObject &chart, const char *pszField)
{
    QStringList values;
    for (const QJsonValue &series : chart.value("series").toArray())
        values << series.toObject().value(pszField).toVariant().toString();
    return values;
}

} // namespace

class tst_diagramExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openThenCloseWorkbook();
    void dataOnlyWorkbook();
    void mixedCurveTypes();
    void noPoints();
    void oddNames_data();
    void oddNames();
    void valuesWithoutNumber();
    void exportDialogNames_data();
    void exportDialogNames();
    void exportWithoutTeachIn();
    void exportFailureIsReported();
    void printJpg();
    void printDialog();
    void printFailureIsReported();

private:
    QJsonObject exportAndRead(lvTeachIn &teachIn, const QString &strFile = QString());

    testWorkDir *pWorkDir = nullptr;
    fakeClock *pClock = nullptr;
    formCurrentState *pDiagram = nullptr;
};

void tst_diagramExport::initTestCase()
{
    QProcess probe;
    probe.start(pythonProgram(), {"-c", "import openpyxl"});
    QVERIFY2(probe.waitForFinished(60000) && probe.exitCode() == 0,
             "python3-openpyxl is needed to read the workbooks back");
}

void tst_diagramExport::init()
{
    pWorkDir = new testWorkDir;
    QVERIFY(pWorkDir->isValid());
    pClock = new fakeClock(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
    pDiagram = new formCurrentState;
    pDiagram->resize(646, 262);
    pDiagram->show();
    QVERIFY(QTest::qWaitForWindowExposed(pDiagram));
}

void tst_diagramExport::cleanup()
{
    delete pDiagram;
    pDiagram = nullptr;
    delete pClock;
    pClock = nullptr;
    delete pWorkDir;
    pWorkDir = nullptr;
}

QJsonObject tst_diagramExport::exportAndRead(lvTeachIn &teachIn, const QString &strFile)
{
    const QString strPath = strFile.isEmpty() ? pWorkDir->filePath("export.xlsx") : strFile;
    pDiagram->setTeachIn(&teachIn);
    if (!pDiagram->exportDiagramTo(strPath))
        return QJsonObject();
    QString strError;
    const QJsonObject book = readWorkbook(strPath, &strError);
    if (book.isEmpty())
        qWarning("openpyxl: %s", qPrintable(strError));
    return book;
}

void tst_diagramExport::openThenCloseWorkbook()
{
    // 10 open and 12 close points: rows 14-35, open 14-23, close 24-35.
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "teach 1";
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 10, 12);

    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    QCOMPARE(book.value("sheets").toArray().first().toString(), QString("teach 1"));
    QCOMPARE(book.value("maxRow").toInt(), 35);

    const struct
    {
        const char *pszCell;
        const char *pszText;
    } header[] = {{"A1", "Measurement Protocol"}, {"A4", "Date"},         {"A5", "Made by"},   {"B5", "pi"},
                  {"A6", "Valve Nr."},            {"B6", "vvv"},          {"A7", "Spring Type"}, {"B7", "sss"},
                  {"A8", "Valve Type"},           {"B8", "ttt"},          {"A9", "Annotation"},  {"B9", "-"},
                  {"A10", "Sensor"},              {"B10", "test sensor"}, {"A11", "Formula"},    {"B11", "val1*2"},
                  {"A13", "Time"},                {"B13", "Val1"},        {"C13", "Val2"},       {"D13", "Leakrate"},
                  {"E13", "Position"},            {"F13", "Setpoint"},    {"G13", "Sensitivity"}, {"H13", "Curve Type"}};
    for (const auto &cell : header)
        QCOMPARE(cellText(book, cell.pszCell), QString(cell.pszText));
    QCOMPARE(book.value("cells").toObject().value("B4").toObject().value("date").toString(),
             QString("2026-03-14 00:00:00"));
    QCOMPARE(book.value("formats").toObject().value("B4").toString(), QString("dd.mm.yyyy"));

    for (int i = 0; i < 22; ++i) {
        const lvTeachInData &pt = teachIn.vecTeachInData.at(i);
        const QString strRow = QString::number(14 + i);
        QCOMPARE(cellNumber(book, "A" + strRow), pt.dblTime);
        QCOMPARE(cellNumber(book, "B" + strRow), pt.dblCh1);
        QCOMPARE(cellNumber(book, "C" + strRow), pt.dblCh2);
        QCOMPARE(cellNumber(book, "D" + strRow), pt.dblData);
        QCOMPARE(book.value("formats").toObject().value("D" + strRow).toString(), QString("0.00E+00"));
        QCOMPARE(cellNumber(book, "E" + strRow), double(pt.nSteps));
        QCOMPARE(cellNumber(book, "F" + strRow), 0.0);
        QCOMPARE(cellNumber(book, "G" + strRow), pt.dblSens);
        QCOMPARE(cellText(book, "H" + strRow), QString(i < 10 ? "Open Curve" : "Close Curve"));
    }

    const QJsonObject chart = chartOf(book);
    QCOMPARE(chart.value("type").toString(), QString("ScatterChart"));
    QCOMPARE(chart.value("title").toString(), QString("teach 1"));
    QCOMPARE(chart.value("xTitle").toString(), QString("Position"));
    QCOMPARE(chart.value("yTitle").toString(), QString("Leakrate"));
    QVERIFY(chart.value("yLogBase").isNull());
    QCOMPARE(chart.value("anchorRow").toInt(), 13);
    QCOMPARE(chart.value("anchorCol").toInt(), 9);
    QCOMPARE(seriesField(chart, "x"), QStringList({"'teach 1'!$E$14:$E$23", "'teach 1'!$E$24:$E$35"}));
    QCOMPARE(seriesField(chart, "y"), QStringList({"'teach 1'!$D$14:$D$23", "'teach 1'!$D$24:$D$35"}));
    QCOMPARE(seriesField(chart, "name"), QStringList({"Open Curve", "Close Curve"}));
    QCOMPARE(seriesField(chart, "colour"), QStringList({"00FF00", "FF0000"}));
    QCOMPARE(seriesField(chart, "width"), QStringList({"12700", "12700"})); // 1 pt
    QCOMPARE(seriesField(chart, "dash"), QStringList({"solid", "solid"}));
}

void tst_diagramExport::dataOnlyWorkbook()
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "hold";
    setTeachInSensor(teachIn, "Leakrate", true);
    for (int i = 0; i < 5; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000 * i, 1e-6 * (i + 1), i * 0.5, 0.0, 3e-6));

    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(cellNumber(book, QString("F%1").arg(14 + i)), 3e-6);
        QCOMPARE(cellText(book, QString("H%1").arg(14 + i)), QString("Data Curve"));
    }
    const QJsonObject chart = chartOf(book);
    QCOMPARE(chart.value("xTitle").toString(), QString("Time"));
    QCOMPARE(chart.value("yLogBase").toDouble(), 10.0);
    QCOMPARE(chart.value("yNumFmt").toString(), QString("0.00E+00"));
    QCOMPARE(seriesField(chart, "x"), QStringList({"'hold'!$A$14:$A$18", "'hold'!$A$14:$A$18"}));
    QCOMPARE(seriesField(chart, "y"), QStringList({"'hold'!$D$14:$D$18", "'hold'!$F$14:$F$18"}));
    QCOMPARE(seriesField(chart, "name"), QStringList({"Data Curve", "Setpoint Curve"}));
    QCOMPARE(seriesField(chart, "colour"), QStringList({"FF0000", "0000FF"}));
}

void tst_diagramExport::mixedCurveTypes()
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "mixed";
    setTeachInSensor(teachIn, "Leakrate", false);
    appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000, 1.0, 0.0, 0.0, 5.0)); // row 14
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 2000, 2.0));                // row 15
    appendTeachInPoint(teachIn, teachInPoint(7, 2500, 2.5));                         // row 16, left empty
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 3000, 3.0));                // row 17
    appendTeachInPoint(teachIn, teachInPoint(CURVE_CLOSE, 2000, 2.0));               // row 18
    appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000, 1.5, 1.0, 0.0, 5.0)); // row 19

    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    for (const char *pszColumn : {"A", "B", "C", "D", "E", "F", "G", "H"})
        QVERIFY2(!hasCell(book, QString(pszColumn) + "16"), pszColumn);
    QCOMPARE(cellNumber(book, "F14"), 5.0);
    QCOMPARE(cellNumber(book, "F15"), 0.0);
    QCOMPARE(cellText(book, "H19"), QString("Data Curve"));

    const QJsonObject chart = chartOf(book);
    QCOMPARE(seriesField(chart, "name"), QStringList({"Open Curve", "Close Curve", "Data Curve", "Setpoint Curve"}));
    QCOMPARE(seriesField(chart, "x"), QStringList({"'mixed'!$E$15:$E$17", "'mixed'!$E$18:$E$19",
                                                   "'mixed'!$A$14:$A$19", "'mixed'!$A$14:$A$19"}));
    QCOMPARE(chart.value("xTitle").toString(), QString("Time")); // the last one set wins
}

void tst_diagramExport::noPoints()
{
    // A fresh store: no name, no points, the default sensor.
    lvTeachIn teachIn;
    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    QCOMPARE(book.value("sheets").toArray().first().toString(), QString("Sheet1"));
    QCOMPARE(cellText(book, "A1"), QString("Measurement Protocol"));
    QCOMPARE(cellText(book, "D13"), QString("not defined"));
    QCOMPARE(book.value("maxRow").toInt(), 13);
    QVERIFY(book.value("charts").toArray().isEmpty());
}

void tst_diagramExport::oddNames_data()
{
    QTest::addColumn<QString>("strName");
    QTest::addColumn<QString>("strSheet");
    QTest::addColumn<QString>("strReference");
    QTest::newRow("forbidden characters") << "a[b]:c*?/d\\e" << "a_b__c___d_e" << "'a_b__c___d_e'!$E$14:$E$15";
    QTest::newRow("apostrophes") << "'Bob's run'" << "Bob's run" << "'Bob''s run'!$E$14:$E$15";
    QTest::newRow("too long") << QString(40, QLatin1Char('n')) << QString(31, QLatin1Char('n'))
                              << QString("'%1'!$E$14:$E$15").arg(QString(31, QLatin1Char('n')));
    QTest::newRow("exclamation mark") << "run!2" << "run!2" << "'run!2'!$E$14:$E$15";
    QTest::newRow("looks like a formula") << "=run" << "=run" << "'=run'!$E$14:$E$15";
    QTest::newRow("umlauts") << QString::fromUtf8("Prüfung") << QString::fromUtf8("Prüfung")
                             << QString::fromUtf8("'Prüfung'!$E$14:$E$15");
}

void tst_diagramExport::oddNames()
{
    QFETCH(QString, strName);
    QFETCH(QString, strSheet);
    QFETCH(QString, strReference);

    lvTeachIn teachIn;
    teachIn.strTeachInFile = strName;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 2, 0);

    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    QCOMPARE(book.value("sheets").toArray().first().toString(), strSheet);
    const QJsonObject chart = chartOf(book);
    QCOMPARE(seriesField(chart, "x"), QStringList(strReference));
    // The chart keeps the teach-in's own name.
    QVERIFY2(chart.value("title").toString().trimmed() == strName, qPrintable(chart.value("title").toString()));
}

void tst_diagramExport::valuesWithoutNumber()
{
    // A zero process value makes the next sensitivity infinite or NaN.
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "zero";
    setTeachInSensor(teachIn, "Leakrate", true);
    const double dblNaN = std::numeric_limits<double>::quiet_NaN();
    const double dblInf = std::numeric_limits<double>::infinity();
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 0, 0.0, 0.0, dblNaN));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 1000, 1e-6, 1.0, dblInf));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 2000, dblNaN, 2.0, -dblInf));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 3000, 2e-6, 3.0, 0.5));

    const QJsonObject book = exportAndRead(teachIn);
    QVERIFY(!book.isEmpty());
    QVERIFY(!hasCell(book, "G14") && !hasCell(book, "G15") && !hasCell(book, "G16"));
    QVERIFY(!hasCell(book, "D16"));
    QCOMPARE(cellNumber(book, "G17"), 0.5);
    QCOMPARE(cellNumber(book, "E16"), 2000.0);
    QCOMPARE(cellText(book, "H16"), QString("Open Curve"));
}

void tst_diagramExport::exportDialogNames_data()
{
    QTest::addColumn<QString>("strTyped");
    QTest::addColumn<QString>("strWritten");
    QTest::newRow("no suffix") << "run" << "run.xlsx";
    QTest::newRow("upper-case suffix") << "run.XLSX" << "run.XLSX.xlsx";
    QTest::newRow("suffix as typed") << "run.xlsx" << "run.xlsx";
}

void tst_diagramExport::exportDialogNames()
{
    QFETCH(QString, strTyped);
    QFETCH(QString, strWritten);

    lvTeachIn teachIn;
    teachIn.strTeachInFile = "named";
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 0);
    pDiagram->setTeachIn(&teachIn);

    QString strCaption, strDirectory;
    int nAcceptMode = -1;
    modalAnswerer answer([&](QWidget *pWidget) {
        auto *pDialog = qobject_cast<QFileDialog *>(pWidget);
        QVERIFY(pDialog);
        strCaption = pDialog->windowTitle();
        strDirectory = pDialog->directory().absolutePath();
        nAcceptMode = pDialog->acceptMode();
        typeAndAccept(pDialog, pWorkDir->filePath("teachIn/" + strTyped));
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    pDiagram->onDiagramExport();

    QCOMPARE(strCaption, QString("Choose Data File"));
    QCOMPARE(strDirectory, QDir(pWorkDir->filePath("teachIn")).absolutePath());
    QCOMPARE(nAcceptMode, int(QFileDialog::AcceptSave));
    const QString strFile = pWorkDir->filePath("teachIn/" + strWritten);
    QVERIFY2(QFile::exists(strFile), qPrintable(strFile));
    QCOMPARE(readWorkbook(strFile).value("sheets").toArray().first().toString(), QString("named"));
}

void tst_diagramExport::exportWithoutTeachIn()
{
    // Nothing to export: no dialog, no file.
    pDiagram->onDiagramExport();
    QVERIFY(QDir(pWorkDir->filePath("teachIn")).entryList(QDir::Files).isEmpty());
}

void tst_diagramExport::exportFailureIsReported()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 0);
    pDiagram->setTeachIn(&teachIn);

    QString strBoxText;
    modalAnswerer answer([&strBoxText](QWidget *pWidget) {
        if (auto *pBox = qobject_cast<QMessageBox *>(pWidget))
            strBoxText = pBox->text();
        pWidget->close();
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Export failed"));
    QVERIFY(!pDiagram->exportDiagramTo(pWorkDir->filePath("missing-folder/run.xlsx")));
    QCOMPARE(strBoxText, QString("Export failed"));
}

void tst_diagramExport::printJpg()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 4, 4);
    pDiagram->setTeachIn(&teachIn);

    // No extension is added: the file carries exactly the typed name.
    const QString strFile = pWorkDir->filePath("teachIn/diagram");
    QVERIFY(pDiagram->printDiagramTo(strFile));
    QVERIFY(QFile::exists(strFile));
    QVERIFY(!QFile::exists(strFile + ".jpg"));

    QImage image;
    QVERIFY(image.load(strFile, "JPG"));
    QCOMPARE(image.size(), pDiagram->plot()->size());

    QFile file(strFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(20);
    QCOMPARE(head.mid(0, 2), QByteArray("\xFF\xD8"));
    QCOMPARE(head.mid(6, 5), QByteArray("JFIF\0", 5));
    QCOMPARE(int(quint8(head.at(13))), 1); // density in dots per inch
    QCOMPARE((quint8(head.at(14)) << 8) | quint8(head.at(15)), 96);
    QCOMPARE((quint8(head.at(16)) << 8) | quint8(head.at(17)), 96);
}

void tst_diagramExport::printDialog()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 2, 2);
    pDiagram->setTeachIn(&teachIn);
    const QString strFile = pWorkDir->filePath("teachIn/picture.jpg");

    QStringList filters;
    modalAnswerer answer([&](QWidget *pWidget) {
        auto *pDialog = qobject_cast<QFileDialog *>(pWidget);
        QVERIFY(pDialog);
        filters = pDialog->nameFilters();
        QVERIFY(pDialog->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(pDialog->testOption(QFileDialog::DontUseNativeDialog));
        typeAndAccept(pDialog, strFile);
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    pDiagram->printDiagramm();
    QCOMPARE(filters, QStringList("*.jpg"));
    QVERIFY(QImage(strFile).size() == pDiagram->plot()->size());

    // Cancelled: nothing is written.
    modalAnswerer answer2([](QWidget *pWidget) { static_cast<QDialog *>(pWidget)->reject(); }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    pDiagram->onDiagramMenuPrint();
    QCOMPARE(QDir(pWorkDir->filePath("teachIn")).entryList(QDir::Files), QStringList("picture.jpg"));
}

void tst_diagramExport::printFailureIsReported()
{
    QString strBoxText;
    modalAnswerer answer([&strBoxText](QWidget *pWidget) {
        if (auto *pBox = qobject_cast<QMessageBox *>(pWidget))
            strBoxText = pBox->text();
        pWidget->close();
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Print failed"));
    QVERIFY(!pDiagram->printDiagramTo(pWorkDir->filePath("missing-folder/diagram.jpg")));
    QCOMPARE(strBoxText, QString("Print failed"));
}

QTEST_MAIN(tst_diagramExport)
#include "tst_diagramExport.moc"
