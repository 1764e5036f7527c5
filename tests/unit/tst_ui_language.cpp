// The language chosen from the locale variables and from --lang, and the
// English translation built into the program.
#include "shell/ui_language.h"

#include "app/translations.h"
#include "monitors/power_texts.h"
#include "shell/tray_text.h"

#include <QHash>
#include <QtTest>

using namespace zk;

class TestUiLanguage : public QObject {
    Q_OBJECT
private slots:
    void fromLocale_data()
    {
        QTest::addColumn<QStringList>("vars");  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        QTest::addColumn<bool>("english");
        QTest::newRow("nothing set") << QStringList{"", "", "", ""} << false;
        QTest::newRow("C.UTF-8") << QStringList{"", "", "", "C.UTF-8"} << false;
        QTest::newRow("POSIX") << QStringList{"", "POSIX", "", "en_US.UTF-8"} << false;
        QTest::newRow("ja_JP") << QStringList{"", "", "", "ja_JP.UTF-8"} << false;
        QTest::newRow("en_US") << QStringList{"", "", "", "en_US.UTF-8"} << true;
        QTest::newRow("other language") << QStringList{"", "", "", "de_DE@euro"} << true;
        QTest::newRow("LC_MESSAGES before LANG") << QStringList{"", "", "en_GB", "ja_JP.UTF-8"} << true;
        QTest::newRow("LC_ALL before LC_MESSAGES") << QStringList{"", "ja_JP.UTF-8", "en_GB", ""} << false;
        QTest::newRow("LANGUAGE first, its first entry") << QStringList{"ja:en", "en_US", "", ""} << false;
        QTest::newRow("LANGUAGE English") << QStringList{"en_US:ja", "ja_JP.UTF-8", "", ""} << true;
    }
    void fromLocale()
    {
        QFETCH(QStringList, vars);
        QFETCH(bool, english);
        const QHash<QString, QString> env{{"LANGUAGE", vars[0]}, {"LC_ALL", vars[1]}, {"LC_MESSAGES", vars[2]},
                                          {"LANG", vars[3]}};
        const UiLanguage got = LanguageFromLocale([&](const char *name) { return env.value(QLatin1String(name)); });
        QCOMPARE(got, english ? UiLanguage::English : UiLanguage::Japanese);
    }
    void fromOption()
    {
        QCOMPARE(LanguageFromOption(QStringLiteral("ja")), std::optional(UiLanguage::Japanese));
        QCOMPARE(LanguageFromOption(QStringLiteral("en")), std::optional(UiLanguage::English));
        for (const char *bad : {"", "EN", "english", "ja_JP", "fr"})
            QVERIFY2(!LanguageFromOption(QLatin1String(bad)), bad);
        QCOMPARE(LanguageCode(UiLanguage::English), QStringLiteral("en"));
        QCOMPARE(LanguageCode(UiLanguage::Japanese), QStringLiteral("ja"));
    }
    // Japanese needs no translation; English is found in the resources.
    void englishTranslationInstalled()
    {
        QVERIFY(InstallTranslations(UiLanguage::Japanese));
        QCOMPARE(PowerLineText(0), QStringLiteral("バッテリ"));
        QVERIFY(InstallTranslations(UiLanguage::English));
        QCOMPARE(PowerLineText(0), QStringLiteral("Battery"));
        QCOMPARE(TrayTimeText(QDateTime(QDate(2026, 3, 4), QTime(7, 5)), QDate(2026, 3, 1)),
                 QStringLiteral("2026-03-04 07:05"));
    }
};

QTEST_GUILESS_MAIN(TestUiLanguage)
#include "tst_ui_language.moc"
