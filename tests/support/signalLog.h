#ifndef SIGNALLOG_H
#define SIGNALLOG_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// Every emission of the signals it follows, in the order emitted, one entry
// each, written as the signal with its arguments: "connectRemoteUSB(2)",
// "onPlusContPressed(true,2)", "disconnectRemoteUSB()". Booleans read
// true/false, numbers as %1 writes them, byte arrays in hex.
class signalLog : public QObject
{
public:
    template <typename Sender, typename... Args>
    void follow(Sender *pSender, void (Sender::*signal)(Args...), const char *pszName)
    {
        const QString strName = QString::fromLatin1(pszName);
        connect(pSender, signal, this, [this, strName](Args... args) {
            entries << strName + QLatin1Char('(') + QStringList{text(args)...}.join(QLatin1Char(',')) + QLatin1Char(')');
        });
    }

    QStringList entries;
    QString joined() const { return entries.join(QLatin1Char(' ')); }
    // The entries so far; the log starts empty again.
    QStringList take()
    {
        QStringList taken = entries;
        entries.clear();
        return taken;
    }

private:
    static QString text(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString text(int n) { return QString::number(n); }
    static QString text(double d) { return QStringLiteral("%1").arg(d); }
    static QString text(const QString &s) { return s; }
    static QString text(const QByteArray &data) { return QString::fromLatin1(data.toHex()); }
};

#endif // SIGNALLOG_H
