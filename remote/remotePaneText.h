#ifndef REMOTEPANETEXT_H
#define REMOTEPANETEXT_H

#include <QByteArray>
#include <QString>

// Text of one chunk of remote traffic for a pane: UTF-8, ending at the first
// zero byte (what follows a zero byte is not text the peer meant to show).
QString remotePaneText(const QByteArray &data);

#endif // REMOTEPANETEXT_H
