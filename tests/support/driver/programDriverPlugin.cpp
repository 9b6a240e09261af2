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
// "plan BUTTON", "tap TABLE ROW COLUMN", "hold TABLE ROW COLUMN MS",
// "cells TABLE COLUMN", "enabled TABLE", "startup", "quit"; replies "ok ..." or
// "err ..."; unsolicited "box TEXT|INFORMATIVE" lines for every box answered.
// A box takes the button of the next "plan" text, its default button
// otherwise. "tap" and "hold" reply once the release (and whatever it
// started, a question included) is over. Names are looked up below the widget chosen
// with "scope" (the main window until then), because several pages use the
// same object names. "startup" tells, in order, how the splash and the main
// window came and went while the program started.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPointer>
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QSplashScreen>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWindow>

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
        // Created with the application object, before the program shows
        // anything.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *pObject, QEvent *pEvent) override
    {
        const QEvent::Type type = pEvent->type();
        if ((type != QEvent::Show && type != QEvent::Hide) || !pObject->isWidgetType() || startup.size() >= 8)
            return false;
        auto *pWidget = static_cast<QWidget *>(pObject);
        if (!pWidget->isWindow())
            return false;
        const bool bShow = type == QEvent::Show;
        if (auto *pSplash = qobject_cast<QSplashScreen *>(pWidget)) {
            startup << QStringLiteral("splash %1 %2x%3")
                           .arg(bShow ? QStringLiteral("shown") : QStringLiteral("hidden"))
                           .arg(pSplash->pixmap().width())
                           .arg(pSplash->pixmap().height());
        } else if (bShow && pWidget->findChild<QWidget *>(QStringLiteral("tabWidget"))) {
            // What the window system was given when the window was created.
            const QWindow *pNative = pWidget->windowHandle();
            QString strSplash;
            for (QWidget *pTop : QApplication::topLevelWidgets())
                if (auto *pSplash = qobject_cast<QSplashScreen *>(pTop))
                    strSplash = pSplash->isVisible() ? pSplash->message() : QStringLiteral("(closed)");
            startup << QStringLiteral("window shown %1,%2 %3x%4 min %5x%6 max %7x%8 frameless %9 native %10 "
                                      "splash %11")
                           .arg(pWidget->x())
                           .arg(pWidget->y())
                           .arg(pWidget->width())
                           .arg(pWidget->height())
                           .arg(pWidget->minimumWidth())
                           .arg(pWidget->minimumHeight())
                           .arg(pWidget->maximumWidth())
                           .arg(pWidget->maximumHeight())
                           .arg(pWidget->windowFlags().testFlag(Qt::FramelessWindowHint) ? 1 : 0)
                           .arg(pNative && pNative->flags().testFlag(Qt::FramelessWindowHint) ? 1 : 0)
                           .arg(strSplash);
        }
        return false;
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
            QTimer::singleShot(0, this, [this, strLine] {
                const QString strReply = handle(strLine);
                if (!strReply.isNull())
                    send(strReply);
            });
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
        if (strVerb == QLatin1String("plan")) {
            boxes.answerNext(strLine.section(QLatin1Char(' '), 1));
            return QStringLiteral("ok");
        }
        if (strVerb == QLatin1String("enabled") || strVerb == QLatin1String("cells") || strVerb == QLatin1String("tap")
            || strVerb == QLatin1String("hold"))
            return tableCommand(strLine.split(QLatin1Char(' ')));
        if (strVerb == QLatin1String("startup"))
            return QStringLiteral("ok ") + oneLine(startup.join(QLatin1Char('|')));
        if (strVerb == QLatin1String("quit")) {
            if (QWidget *pWindow = mainWindow())
                QTimer::singleShot(0, pWindow, &QWidget::close);
            return QStringLiteral("ok");
        }
        return QStringLiteral("err unknown ") + strVerb;
    }

    static void mouse(QAbstractItemView *pView, QEvent::Type type, const QPoint &pt)
    {
        QMouseEvent event(type, pt, pView->viewport()->mapToGlobal(pt), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pView->viewport(), &event);
    }

    // The touch tables: a finger's tap or hold on a cell, a column's cells,
    // whether the table takes input. A null reply is sent later.
    QString tableCommand(const QStringList &parts)
    {
        const QString strVerb = parts.value(0);
        auto *pView = child<QAbstractItemView>(parts.value(1));
        if (!pView)
            return QStringLiteral("err no ") + parts.value(1);
        if (strVerb == QLatin1String("enabled"))
            return QStringLiteral("ok %1").arg(pView->isEnabled() ? 1 : 0);
        if (strVerb == QLatin1String("cells")) {
            QStringList cells;
            const QAbstractItemModel *pModel = pView->model();
            for (int r = 0; r < pModel->rowCount(); ++r)
                cells << pModel->index(r, parts.value(2).toInt()).data().toString();
            return QStringLiteral("ok ") + oneLine(cells.join(QLatin1Char('|')));
        }
        const QModelIndex index = pView->model()->index(parts.value(2).toInt(), parts.value(3).toInt());
        if (!index.isValid())
            return QStringLiteral("err no cell");
        pView->scrollTo(index);
        const QPoint pt = pView->visualRect(index).center();
        mouse(pView, QEvent::MouseButtonPress, pt);
        const int nHoldMs = strVerb == QLatin1String("hold") ? parts.value(4).toInt() : 0;
        QPointer<QAbstractItemView> pGuard(pView);
        QTimer::singleShot(nHoldMs, this, [this, pGuard, pt] {
            if (pGuard)
                mouse(pGuard, QEvent::MouseButtonRelease, pt);
            send(QStringLiteral("ok"));
        });
        return QString();
    }

    QTcpSocket socket;
    modalAnswerer boxes{QStringList(), true};
    QByteArray buffer;
    QString strScope;
    QStringList startup;
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
