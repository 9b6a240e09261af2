// A test fixture loaded into the real program as a Qt generic plugin
// (QT_QPA_GENERIC_PLUGINS=remotetabdriver): it operates the Remote tab the
// way an operator would (combos, fields, the connect button, the tab bar) on
// commands from the test over a loopback socket, answers the program's
// message boxes with their default button and reports what they said. It
// reaches the widgets only through their object names, so the program needs
// nothing of its own for it.
//
// Protocol, one line each way: commands "ready", "tab N", "page NAME",
// "combo NAME N", "text NAME TEXT", "click NAME", "pane NAME", "quit"; replies
// "ok ..." or "err ..."; unsolicited "box TEXT|INFORMATIVE" lines for every
// box answered. "page" chooses the tab page (by object name) whose widgets
// the other commands reach, "widgetRemote" until a test chooses another.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
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

class remoteTabDriver : public QObject
{
    Q_OBJECT
public:
    explicit remoteTabDriver(quint16 nPort)
    {
        connect(&socket, &QTcpSocket::readyRead, this, &remoteTabDriver::onReadyRead);
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
            if (pTop->isVisible() && pTop->findChild<QWidget *>(QStringLiteral("widgetRemote")))
                return pTop;
        return nullptr;
    }

    template<typename T>
    T *remoteChild(const QString &strName) const
    {
        QWidget *pWindow = mainWindow();
        QWidget *pPage = pWindow ? pWindow->findChild<QWidget *>(strPage) : nullptr;
        return pPage ? pPage->findChild<T *>(strName) : nullptr;
    }

    QString handle(const QString &strLine)
    {
        const QString strVerb = strLine.section(QLatin1Char(' '), 0, 0);
        const QString strName = strLine.section(QLatin1Char(' '), 1, 1);
        const QString strRest = strLine.section(QLatin1Char(' '), 2);
        if (strVerb == QLatin1String("ready"))
            return QStringLiteral("ok %1").arg(mainWindow() ? 1 : 0);
        if (strVerb == QLatin1String("tab")) {
            QWidget *pWindow = mainWindow();
            auto *pTabs = pWindow ? pWindow->findChild<QTabWidget *>(QStringLiteral("tabWidget")) : nullptr;
            if (!pTabs)
                return QStringLiteral("err no tabWidget");
            pTabs->setCurrentIndex(strName.toInt());
            return QStringLiteral("ok %1").arg(pTabs->currentIndex());
        }
        if (strVerb == QLatin1String("page")) {
            QWidget *pWindow = mainWindow();
            if (!pWindow || !pWindow->findChild<QWidget *>(strName))
                return QStringLiteral("err no ") + strName;
            strPage = strName;
            return QStringLiteral("ok");
        }
        if (strVerb == QLatin1String("combo")) {
            auto *pCombo = remoteChild<QComboBox>(strName);
            if (!pCombo)
                return QStringLiteral("err no ") + strName;
            pCombo->setCurrentIndex(strRest.toInt());
            return QStringLiteral("ok %1").arg(pCombo->currentIndex());
        }
        if (strVerb == QLatin1String("text")) {
            auto *pField = remoteChild<QLineEdit>(strName);
            if (!pField)
                return QStringLiteral("err no ") + strName;
            pField->setText(strRest);
            emit pField->editingFinished();
            return QStringLiteral("ok");
        }
        if (strVerb == QLatin1String("click")) {
            auto *pButton = remoteChild<QAbstractButton>(strName);
            if (!pButton)
                return QStringLiteral("err no ") + strName;
            pButton->click();
            return QStringLiteral("ok checked=%1").arg(pButton->isChecked() ? 1 : 0);
        }
        if (strVerb == QLatin1String("pane")) {
            auto *pPane = remoteChild<QPlainTextEdit>(strName);
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
    QString strPage = QStringLiteral("widgetRemote");
};

} // namespace

class remoteTabDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "remoteTabDriver.json")
public:
    QObject *create(const QString &strKey, const QString &strSpec) override
    {
        if (strKey.compare(QLatin1String("remotetabdriver"), Qt::CaseInsensitive) != 0)
            return nullptr;
        // The spec after "remotetabdriver:" is the test's loopback port.
        const quint16 nPort = quint16(strSpec.toUInt());
        return nPort ? new remoteTabDriver(nPort) : nullptr;
    }
};

#include "remoteTabDriverPlugin.moc"
