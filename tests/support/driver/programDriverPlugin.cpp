// A test fixture loaded into the real program as a Qt generic plugin
// (QT_QPA_GENERIC_PLUGINS=programdriver:<port>): it operates the program's
// widgets the way an operator would (tab bar, combos, fields, buttons) on
// commands from the test over a loopback socket, reads what they show,
// answers the program's message boxes with their default button and reports
// what they said. It reaches the widgets only through their object names, so
// the program needs nothing of its own for it.
//
// Protocol, one line each way: commands "ready", "scope NAME", "tab N",
// "combo NAME N", "text NAME TEXT", "click NAME", "pane NAME", "read NAME",
// "quit"; replies "ok ..." or "err ..."; unsolicited "box TEXT|INFORMATIVE"
// lines for every box answered. Names are looked up below the widget chosen
// with "scope" (the main window until then), because several pages use the
// same object names.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include "modalAnswerer.h"

namespace {

class programDriver : public QObject
{
    Q_OBJECT
public:
    explicit programDriver(quint16 nPort)
    {
        connect(&socket, &QTcpSocket::readyRead, this, &programDriver::onReadyRead);
        // Each box the program shows is reported, then answered with its
        // default button.
        boxes.onOpen = [this](const QString &) { send(QStringLiteral("box ") + oneLine(boxes.texts.last())); };
        socket.connectToHost(QStringLiteral("127.0.0.1"), nPort);
    }

private slots:
    void onReadyRead()
    {
        buffer += socket.readAll();
        int nEnd;
        while ((nEnd = buffer.indexOf('\n')) >= 0) {
            const QString strLine = QString::fromUtf8(buffer.left(nEnd));
            buffer.remove(0, nEnd + 1);
            send(handle(strLine));
        }
    }

private:
    static QString oneLine(const QString &strText)
    {
        return QString::fromLatin1(QUrl::toPercentEncoding(strText, " |:/.,=()"));
    }

    void send(const QString &strLine)
    {
        if (socket.state() == QAbstractSocket::ConnectedState)
            socket.write(strLine.toUtf8() + '\n');
    }

    static QWidget *mainWindow()
    {
        for (QWidget *pTop : QApplication::topLevelWidgets())
            if (pTop->isVisible() && pTop->findChild<QWidget *>(QStringLiteral("tabWidget")))
                return pTop;
        return nullptr;
    }

    QWidget *scopeWidget() const
    {
        QWidget *pWindow = mainWindow();
        if (!pWindow || strScope.isEmpty())
            return pWindow;
        return pWindow->findChild<QWidget *>(strScope);
    }

    template<typename T>
    T *child(const QString &strName) const
    {
        QWidget *pScope = scopeWidget();
        return pScope ? pScope->findChild<T *>(strName) : nullptr;
    }

    // What a widget shows, and whether the operator can use it.
    QString readWidget(const QString &strName) const
    {
        QWidget *pWidget = child<QWidget>(strName);
        if (!pWidget)
            return QStringLiteral("err no ") + strName;
        QString strText;
        if (auto *pLabel = qobject_cast<QLabel *>(pWidget))
            strText = pLabel->text();
        else if (auto *pField = qobject_cast<QLineEdit *>(pWidget))
            strText = pField->text();
        else if (auto *pButton = qobject_cast<QAbstractButton *>(pWidget))
            strText = pButton->text();
        else if (auto *pCombo = qobject_cast<QComboBox *>(pWidget))
            strText = pCombo->currentText();
        return QStringLiteral("ok enabled=%1 ").arg(pWidget->isEnabled() ? 1 : 0) + oneLine(strText);
    }

    QString handle(const QString &strLine)
    {
        const QString strVerb = strLine.section(QLatin1Char(' '), 0, 0);
        const QString strName = strLine.section(QLatin1Char(' '), 1, 1);
        const QString strRest = strLine.section(QLatin1Char(' '), 2);
        if (strVerb == QLatin1String("ready"))
            return QStringLiteral("ok %1").arg(mainWindow() ? 1 : 0);
        if (strVerb == QLatin1String("scope")) {
            strScope = strName;
            return scopeWidget() ? QStringLiteral("ok") : QStringLiteral("err no ") + strName;
        }
        if (strVerb == QLatin1String("read"))
            return readWidget(strName);
        if (strVerb == QLatin1String("tab")) {
            QWidget *pWindow = mainWindow();
            auto *pTabs = pWindow ? pWindow->findChild<QTabWidget *>(QStringLiteral("tabWidget")) : nullptr;
            if (!pTabs)
                return QStringLiteral("err no tabWidget");
            pTabs->setCurrentIndex(strName.toInt());
            return QStringLiteral("ok %1").arg(pTabs->currentIndex());
        }
        if (strVerb == QLatin1String("combo")) {
            auto *pCombo = child<QComboBox>(strName);
            if (!pCombo)
                return QStringLiteral("err no ") + strName;
            pCombo->setCurrentIndex(strRest.toInt());
            return QStringLiteral("ok %1").arg(pCombo->currentIndex());
        }
        if (strVerb == QLatin1String("text")) {
            auto *pField = child<QLineEdit>(strName);
            if (!pField)
                return QStringLiteral("err no ") + strName;
            pField->setText(strRest);
            emit pField->editingFinished();
            return QStringLiteral("ok");
        }
        if (strVerb == QLatin1String("click")) {
            auto *pButton = child<QAbstractButton>(strName);
            if (!pButton)
                return QStringLiteral("err no ") + strName;
            pButton->click();
            return QStringLiteral("ok checked=%1").arg(pButton->isChecked() ? 1 : 0);
        }
        if (strVerb == QLatin1String("pane")) {
            auto *pPane = child<QPlainTextEdit>(strName);
            if (!pPane)
                return QStringLiteral("err no ") + strName;
            return QStringLiteral("ok ") + oneLine(pPane->toPlainText());
        }
        if (strVerb == QLatin1String("quit")) {
            if (QWidget *pWindow = mainWindow())
                QTimer::singleShot(0, pWindow, &QWidget::close);
            return QStringLiteral("ok");
        }
        return QStringLiteral("err unknown ") + strVerb;
    }

    QTcpSocket socket;
    modalAnswerer boxes{QStringList(), true};
    QByteArray buffer;
    QString strScope;
};

} // namespace

class programDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "programDriver.json")
public:
    QObject *create(const QString &strKey, const QString &strSpec) override
    {
        if (strKey.compare(QLatin1String("programdriver"), Qt::CaseInsensitive) != 0)
            return nullptr;
        // The text after "programdriver:" is the test's loopback port.
        const quint16 nPort = quint16(strSpec.toUInt());
        return nPort ? new programDriver(nPort) : nullptr;
    }
};

#include "programDriverPlugin.moc"
