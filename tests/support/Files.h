#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

// Whole files for tests: what a file holds ("<missing>" when it cannot be read), a file
// written with given bytes (the test fails when it cannot be written), and a path with its
// links resolved, for comparing folders.
inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}
