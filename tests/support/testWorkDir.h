#ifndef TESTWORKDIR_H
#define TESTWORKDIR_H

#include <QString>
#include <QTemporaryDir>

// A fresh working directory with the folders the program expects (log/,
// teachIn/, sensor/, scripts/, icon/, languages/, help/) and a settings store
// of its own. The process's current directory is moved into it for the life of
// the object and put back afterwards.
class testWorkDir
{
public:
    testWorkDir();
    ~testWorkDir();
    testWorkDir(const testWorkDir &) = delete;
    testWorkDir &operator=(const testWorkDir &) = delete;

    bool isValid() const { return tmp.isValid(); }
    QString path() const { return tmp.path(); }
    QString filePath(const QString &strRelative) const { return tmp.filePath(strRelative); }
    QString configPath() const { return tmp.filePath(QStringLiteral("config")); }
    // Writes a file below the working directory, creating its folder.
    bool writeFile(const QString &strRelative, const QByteArray &data) const;
    QByteArray readFile(const QString &strRelative) const;

private:
    QTemporaryDir tmp;
    QString strPreviousDir;
    QByteArray oldXdg;
};

#endif // TESTWORKDIR_H
