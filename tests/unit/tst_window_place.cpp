// Where the main window and its browse dialog open.
#include "shell/window_place.h"

#include <QtTest>

using namespace zk;

class TestWindowPlace : public QObject {
    Q_OBJECT
private slots:
    void placeForStored()
    {
        // A 200x100 window; the work area 0,0 1000x800 is the only screen.
        const int t = kTwipsPerPixel;
        const struct {
            int left, top;
            QPoint expected;
        } cases[] = {
            {150 * t, 90 * t, {150, 90}},
            {150 * t + 14, 0, {150, 0}},  // twips round down
            {-1, 90 * t, {399, 349}},     // none stored: centred
            {5000 * t, 0, {399, 349}},    // off every screen
            {850 * t, 700 * t, {850, 700}},  // the centre still on the screen
            {950 * t, 760 * t, {399, 349}},  // the centre off the screen
        };
        const QRect screen(0, 0, 1000, 800);
        const auto onScreen = [&](QPoint p) { return screen.contains(p); };
        for (const auto &c : cases)
            QCOMPARE(PlaceForStored(c.left, c.top, QSize(200, 100), screen, onScreen), c.expected);
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

    void fitInArea()
    {
        // The work area of a 1280x800 screen with a 32 px panel at the top.
        const QRect area(0, 32, 1280, 768);
        QCOMPARE(FitInArea({100, 100}, {600, 500}, area), QRect(100, 100, 600, 500));  // fits where it is
        QCOMPARE(FitInArea({100, 300}, {600, 600}, area), QRect(100, 200, 600, 600));  // grown past the bottom
        QCOMPARE(FitInArea({100, 300}, {600, 929}, area), QRect(100, 32, 600, 768));   // taller than the area
        QCOMPARE(FitInArea({1000, 100}, {600, 500}, area), QRect(680, 100, 600, 500));  // past the right edge
        QCOMPARE(FitInArea({-50, 0}, {600, 500}, area), QRect(0, 32, 600, 500));       // above the panel
        QCOMPARE(FitInArea({10, 40}, {1400, 900}, area), QRect(0, 32, 1280, 768));     // larger both ways
    }

    void browseStartFolder()
    {
        const QStringList existing{"/opt/tools", "/opt/my tools", "/work/bin"};
        const auto start = [&](const char *command) {
            return BrowseStartFolder(QString::fromUtf8(command), QStringLiteral("/last"), QStringLiteral("/work"),
                                     [&](const QString &f) { return existing.contains(f); });
        };
        QCOMPARE(start(""), QStringLiteral("/last"));  // an empty box
        QCOMPARE(start("/opt/tools/run -x"), QStringLiteral("/opt/tools"));
        QCOMPARE(start("\"/opt/my tools/run\" -x"), QStringLiteral("/opt/my tools"));
        QCOMPARE(start("bin/run"), QStringLiteral("/work/bin"));  // relative
        QCOMPARE(start("/gone/run"), QStringLiteral("/last"));   // the folder missing
    }
};

QTEST_APPLESS_MAIN(TestWindowPlace)
#include "tst_window_place.moc"
