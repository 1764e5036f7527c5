// Where the main window and its browse dialog open.
#include "shell/window_place.h"

#include <QtTest>

using namespace zk;

class TestWindowPlace : public QObject {
    Q_OBJECT
private slots:
    void placeForStored_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("expected");
        // A 200x100 window; the work area 0,0 1000x800 is the only screen.
        QTest::newRow("stored") << 150 * kTwipsPerPixel << 90 * kTwipsPerPixel << QPoint(150, 90);
        QTest::newRow("twips round down") << 150 * kTwipsPerPixel + 14 << 0 << QPoint(150, 0);
        QTest::newRow("none stored") << -1 << 90 * kTwipsPerPixel << QPoint(399, 349);
        QTest::newRow("off every screen") << 5000 * kTwipsPerPixel << 0 << QPoint(399, 349);
        QTest::newRow("centre still on screen") << 850 * kTwipsPerPixel << 700 * kTwipsPerPixel << QPoint(850, 700);
        QTest::newRow("centre off screen") << 950 * kTwipsPerPixel << 760 * kTwipsPerPixel << QPoint(399, 349);
    }
    void placeForStored()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(QPoint, expected);
        const QRect screen(0, 0, 1000, 800);
        QCOMPARE(PlaceForStored(left, top, QSize(200, 100), screen, [&](QPoint p) { return screen.contains(p); }),
                 expected);
    }

    void formsStayOnTheScreen()
    {
        // A second screen to the right of the first: its own edges count.
        const QRect screen(1000, 0, 800, 600);
        QCOMPARE(PlaceAtPointer(QPoint(1100, 100), QSize(300, 200), screen), QPoint(1100, 100));
        QCOMPARE(PlaceAtPointer(QPoint(1700, 550), QSize(300, 200), screen), QPoint(1500, 400));
        QCOMPARE(PlaceAtPointer(QPoint(1100, 100), QSize(900, 700), screen), QPoint(1000, 0));

        // The list under its box, or above it where it would pass the bottom.
        const QRect box(1100, 300, 200, 20);
        QCOMPARE(PlaceUnderBox(box, QSize(200, 280), screen), QPoint(1100, 320));
        QCOMPARE(PlaceUnderBox(box, QSize(200, 281), screen), QPoint(1100, 19));
        QCOMPARE(PlaceUnderBox(QRect(1700, 300, 200, 20), QSize(200, 100), screen), QPoint(1600, 320));
    }

    void fitInArea_data()
    {
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QRect>("expected");
        // The work area of a 1280x800 screen with a 32 px panel at the top.
        QTest::newRow("fits where it is") << QPoint(100, 100) << QSize(600, 500) << QRect(100, 100, 600, 500);
        QTest::newRow("grown past the bottom moves up") << QPoint(100, 300) << QSize(600, 600) << QRect(100, 200, 600, 600);
        QTest::newRow("taller than the area") << QPoint(100, 300) << QSize(600, 929) << QRect(100, 32, 600, 768);
        QTest::newRow("past the right edge") << QPoint(1000, 100) << QSize(600, 500) << QRect(680, 100, 600, 500);
        QTest::newRow("above the panel") << QPoint(-50, 0) << QSize(600, 500) << QRect(0, 32, 600, 500);
        QTest::newRow("larger both ways") << QPoint(10, 40) << QSize(1400, 900) << QRect(0, 32, 1280, 768);
    }
    void fitInArea()
    {
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, wanted);
        QFETCH(QRect, expected);
        QCOMPARE(FitInArea(topLeft, wanted, QRect(0, 32, 1280, 768)), expected);
    }

    void browseStartFolder_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty box") << QString() << "/last";
        QTest::newRow("absolute") << "/opt/tools/run -x" << "/opt/tools";
        QTest::newRow("quoted with blanks") << "\"/opt/my tools/run\" -x" << "/opt/my tools";
        QTest::newRow("relative") << "bin/run" << "/work/bin";
        QTest::newRow("folder missing") << "/gone/run" << "/last";
    }
    void browseStartFolder()
    {
        QFETCH(QString, command);
        QFETCH(QString, expected);
        const QStringList existing{"/opt/tools", "/opt/my tools", "/work/bin"};
        QCOMPARE(BrowseStartFolder(command, QStringLiteral("/last"), QStringLiteral("/work"),
                                   [&](const QString &f) { return existing.contains(f); }),
                 expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowPlace)
#include "tst_window_place.moc"
