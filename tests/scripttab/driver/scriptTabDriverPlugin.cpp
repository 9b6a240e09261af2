// A test fixture loaded into the real program as a Qt generic plugin
// (QT_QPA_GENERIC_PLUGINS=scripttabdriver:<port>): it operates the Script
// tab the way an operator's finger would (taps and holds on the cells of its
// two tables, the tab bar) on commands from the test over a loopback socket,
// answers the program's message boxes and reports what they said. It reaches
// the widgets only through their object names and the tables' models.
//
// Protocol, one line each way: commands "ready", "tab N", "plan BUTTON",
// "tap TABLE ROW COLUMN", "hold TABLE ROW COLUMN MS", "cells TABLE COLUMN",
// "enabled TABLE", "quit"; replies "ok ..." or "err ..."; unsolicited
// "box TEXT|INFORMATIVE" lines for every box answered. A box takes the
// button of the next "plan" text, its default button otherwise.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {

class scriptTabDriver : public QObject
{
    Q_OBJECT
public:
    explicit scriptTabDriver(quint16 nPort)
    {
        connect(&socket, &QTcpSocket::readyRead, this, &scriptTabDriver::onReadyRead);
        connect(&boxTimer, &QTimer::timeout, this, &scriptTabDriver::answerBoxes);
        boxTimer.start(50);
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
            // From the event loop: a command may open a box, whose own loop
            // must be free to answer it.
            QTimer::singleShot(0, this, [this, strLine] { handle(strLine); });
        }
    }

    void answerBoxes()
    {
        auto *pBox = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!pBox || !pBox->isVisible())
            return;
        if (pBox != pAnswered) {
            pAnswered = pBox;
            send(QStringLiteral("box ") + oneLine(pBox->text() + QLatin1Char('|') + pBox->informativeText()));
            strButton = plan.isEmpty() ? QString() : plan.takeFirst();
        }
        QAbstractButton *pButton = pBox->defaultButton();
        for (QAbstractButton *pCandidate : pBox->buttons()) {
            if (!strButton.isEmpty() && pCandidate->text() == strButton)
                pButton = pCandidate;
        }
        if (pButton)
            pButton->click();
        else
            pBox->reject();
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
            if (pTop->isVisible() && pTop->findChild<QWidget *>(QStringLiteral("widgetScript")))
                return pTop;
        return nullptr;
    }

    static QAbstractItemView *table(const QString &strName)
    {
        QWidget *pWindow = mainWindow();
        QWidget *pScript = pWindow ? pWindow->findChild<QWidget *>(QStringLiteral("widgetScript")) : nullptr;
        return pScript ? pScript->findChild<QAbstractItemView *>(strName) : nullptr;
    }

    static void mouse(QAbstractItemView *pView, QEvent::Type type, const QPoint &pt)
    {
        QMouseEvent event(type, pt, pView->viewport()->mapToGlobal(pt), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pView->viewport(), &event);
    }

    void handle(const QString &strLine)
    {
        const QStringList parts = strLine.split(QLatin1Char(' '));
        const QString strVerb = parts.value(0);
        if (strVerb == QLatin1String("ready"))
            return send(QStringLiteral("ok %1").arg(mainWindow() ? 1 : 0));
        if (strVerb == QLatin1String("tab")) {
            QWidget *pWindow = mainWindow();
            auto *pTabs = pWindow ? pWindow->findChild<QTabWidget *>(QStringLiteral("tabWidget")) : nullptr;
            if (!pTabs)
                return send(QStringLiteral("err no tabWidget"));
            pTabs->setCurrentIndex(parts.value(1).toInt());
            return send(QStringLiteral("ok %1").arg(pTabs->currentIndex()));
        }
        if (strVerb == QLatin1String("plan")) {
            plan << strLine.section(QLatin1Char(' '), 1);
            return send(QStringLiteral("ok"));
        }
        if (strVerb == QLatin1String("quit")) {
            if (QWidget *pWindow = mainWindow())
                QTimer::singleShot(0, pWindow, &QWidget::close);
            return send(QStringLiteral("ok"));
        }
        QAbstractItemView *pView = table(parts.value(1));
        if (!pView)
            return send(QStringLiteral("err no ") + parts.value(1));
        if (strVerb == QLatin1String("enabled"))
            return send(QStringLiteral("ok %1").arg(pView->isEnabled() ? 1 : 0));
        if (strVerb == QLatin1String("cells")) {
            QStringList cells;
            const QAbstractItemModel *pModel = pView->model();
            for (int r = 0; r < pModel->rowCount(); ++r)
                cells << pModel->index(r, parts.value(2).toInt()).data().toString();
            return send(QStringLiteral("ok ") + oneLine(cells.join(QLatin1Char('|'))));
        }
        if (strVerb == QLatin1String("tap") || strVerb == QLatin1String("hold")) {
            const QModelIndex index = pView->model()->index(parts.value(2).toInt(), parts.value(3).toInt());
            if (!index.isValid())
                return send(QStringLiteral("err no cell"));
            pView->scrollTo(index);
            const QPoint pt = pView->visualRect(index).center();
            mouse(pView, QEvent::MouseButtonPress, pt);
            const int nHoldMs = strVerb == QLatin1String("hold") ? parts.value(4).toInt() : 0;
            QPointer<QAbstractItemView> pGuard(pView);
            QTimer::singleShot(nHoldMs, this, [this, pGuard, pt] {
                // The reply follows once whatever the release started (a
                // question included) is over.
                if (pGuard)
                    mouse(pGuard, QEvent::MouseButtonRelease, pt);
                send(QStringLiteral("ok"));
            });
            return;
        }
        send(QStringLiteral("err unknown ") + strVerb);
    }

    QTcpSocket socket;
    QTimer boxTimer;
    QByteArray buffer;
    QStringList plan;
    QString strButton;
    QPointer<QMessageBox> pAnswered;
};

} // namespace

class scriptTabDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "scriptTabDriver.json")
public:
    QObject *create(const QString &strKey, const QString &strSpec) override
    {
        if (strKey.compare(QLatin1String("scripttabdriver"), Qt::CaseInsensitive) != 0)
            return nullptr;
        const quint16 nPort = quint16(strSpec.toUInt());
        return nPort ? new scriptTabDriver(nPort) : nullptr;
    }
};

#include "scriptTabDriverPlugin.moc"
