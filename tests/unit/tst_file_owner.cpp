// A settings file rewritten by root keeps its user as owner.
#include "platform/linux/file_owner.h"
#include "settings/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class TestFileOwner : public QObject {
    Q_OBJECT

private slots:
    void missingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("none"));
        QVERIFY(!zk::OwnerOf(path).valid);
        QVERIFY(zk::RestoreOwner(path, zk::OwnerOf(path)));
        QVERIFY(!zk::RestoreOwner(path, zk::FileOwner{true, 0, 0}));
    }

    void rewrittenFileKeepsOwner()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to give a file to another user");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Conf.txt"));
        QVERIFY(zk::SaveSettings(path, zk::AppState(), QStringLiteral("/d")));
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        const zk::FileOwner before = zk::OwnerOf(path);
        QVERIFY(before.valid);
        QCOMPARE(before.uid, 65534u);

        QVERIFY(zk::SaveSettings(path, zk::AppState(), QStringLiteral("/d")));
        QCOMPARE(zk::OwnerOf(path).uid, 0u);  // the rename made it root's
        QVERIFY(zk::RestoreOwner(path, before));
        const zk::FileOwner after = zk::OwnerOf(path);
        QCOMPARE(after.uid, 65534u);
        QCOMPARE(after.gid, 65534u);
    }
};

QTEST_GUILESS_MAIN(TestFileOwner)
#include "tst_file_owner.moc"
