// The phrase search over a made-up desktop: the specification's words and
// quotes, the title filter, the excerpt around a found child text, input
// values of web documents, and which windows are searched at all.
#include "monitors/phrase_match.h"

#include <QtTest>

using namespace zk;

namespace {

struct FakeWindow {
    QString title;
    QList<ChildText> children;
    bool whole = true;  // false: more on show than a look reads
};

class FakeDesktop final : public WindowTextSource {
public:
    explicit FakeDesktop(QList<FakeWindow> windows) : m_windows(std::move(windows)) {}
    QStringList searched;  // titles whose children were read

    QList<TopWindow> topWindows() override
    {
        QList<TopWindow> out;
        for (qsizetype i = 0; i < m_windows.size(); ++i)
            out.append(TopWindow{int(i), m_windows[i].title});
        return out;
    }
    bool visitChildren(int id, bool includeBrowser, const std::function<bool(const ChildText &)> &visit) override
    {
        searched.append(m_windows[id].title);
        for (const ChildText &c : m_windows[id].children) {
            if (!includeBrowser && !c.inputValues.isEmpty())
                continue;  // a web document is read only with the box
            if (visit(c))
                break;
        }
        return m_windows[id].whole;
    }

private:
    QList<FakeWindow> m_windows;
};

const QString kLetters = QStringLiteral("abcdefghijklmnopqrstu");
const QString kSp = QStringLiteral("\u3000");

ChildText Text(const QString &t) { return ChildText{t, {}}; }

}  // namespace

class TestPhraseMatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitQuoted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("removeQuotes");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("plain words") << "a b c" << true << QStringList{"a", "b", "c"};
        QTest::newRow("quoted blank") << "\"a b\" c" << true << QStringList{"a b", "c"};
        QTest::newRow("doubled quote inside quotes") << "\"say \"\"hi\"\"\" t" << true << QStringList{"say \"hi\"", "t"};
        QTest::newRow("empty quotes make an empty word") << "a \"\" b" << true << QStringList{"a", "", "b"};
        QTest::newRow("quotes kept") << "\"a b\" c" << false << QStringList{"\"a b\"", "c"};
        QTest::newRow("full-width space does not split") << QStringLiteral("完了　しました") << true
                                                           << QStringList{QStringLiteral("完了　しました")};
        QTest::newRow("unclosed quote") << "\"a b" << true << QStringList{"a b"};
    }
    void splitQuoted()
    {
        QFETCH(QString, text);
        QFETCH(bool, removeQuotes);
        QFETCH(QStringList, parts);
        QCOMPARE(SplitQuoted(text, u' ', removeQuotes), parts);
    }

    void phraseSpec()
    {
        QCOMPARE(PhraseSpec(QStringLiteral("error\r\nBuild log")), QStringLiteral("error Build log"));
        QCOMPARE(PhraseSpec(QStringLiteral("  a   b  \r\n")), QStringLiteral("a b"));  // runs of blanks
        QCOMPARE(PhraseSpec(QStringLiteral("a　　 b")), QStringLiteral("a　b"));  // a full-width run keeps its first
    }

    void findPhrase_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<bool>("browser");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("searched");

        const QString sp = kSp;
        QTest::newRow("title match, children not read") << "Backup" << false << true << "Backup finished" << "Backup" << QStringList{};
        QTest::newRow("title match ignores case") << "BACKUP" << false << true << "Backup finished" << "BACKUP" << QStringList{};
        QTest::newRow("child excerpt around a word") << "JKL" << false << true << "Letters"
                                                     << "efghi" + sp + "【JKL】" + sp + "mnopq"
                                                     << QStringList{"Backup finished", "Letters"};
        QTest::newRow("found near the start: excerpt from the first character")
            << "cd" << false << true << "Letters" << "ab" + sp + "【cd】" + sp + "efghijkl"
            << QStringList{"Backup finished", "Letters"};
        QTest::newRow("quoted word with a blank, then a title filter")
            << "\"line two\" Log" << false << true << "Log" << "one" + sp + sp + "【line two】" + sp << QStringList{"Log"};
        QTest::newRow("line break read as a full-width space") << "one　line Log" << false << true << "Log"
                                                               << sp + "【one　line】" + sp + " two" << QStringList{"Log"};
        QTest::newRow("title filter excludes every window") << "error Nothing" << false << false << "" << "" << QStringList{};
        QTest::newRow("title filter star searches all") << "occurred *" << false << true << "Log"
                                                        << "rror " + sp + "【occurred】" + sp
                                                        << QStringList{"Backup finished", "Letters", "Log"};
        QTest::newRow("star word: the first window passing the filter") << "* Log" << false << true << "Log" << "*" << QStringList{};
        QTest::newRow("three words never match") << "Backup finished now" << false << false << "" << "" << QStringList{};
        QTest::newRow("input value only with the browser box") << "secret" << false << false << "" << ""
                                                               << QStringList{"Backup finished", "Letters", "Log", "Browser"};
        QTest::newRow("input value of a web document") << "SECRET" << true << true << "Browser" << "Value=【SECRET】"
                                                       << QStringList{"Backup finished", "Letters", "Log", "Browser"};
        QTest::newRow("document text before its values") << "page" << true << true << "Browser"
                                                         << "the " + sp + "【page】" + sp + " body"
                                                         << QStringList{"Backup finished", "Letters", "Log", "Browser"};
        QTest::newRow("window without a title is skipped") << "\"hidden text\"" << false << false << "" << ""
                                                           << QStringList{"Backup finished", "Letters", "Log", "Browser"};
    }
    void findPhrase()
    {
        QFETCH(QString, spec);
        QFETCH(bool, browser);
        QFETCH(bool, found);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QStringList, searched);
        FakeDesktop desktop({
            {"Backup finished", {Text("all copied")}},
            {"Letters", {Text(kLetters)}},
            {"Log", {Text("one\r\nline two"), Text("an error occurred")}},
            {"Browser", {ChildText{"the page body", {"top secret value"}}}},
            {"", {Text("hidden text")}},
        });
        const PhraseMatch m = FindPhrase(spec, browser, desktop);
        QCOMPARE(m.found, found);
        QCOMPARE(m.windowTitle, title);
        QCOMPARE(m.matchedText, text);
        QCOMPARE(desktop.searched, searched);
    }

    // A window read only in part: what was read is found, but a phrase not
    // among it may be on show; a window the title filter leaves out does not count.
    void windowReadInPart_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<std::optional<bool>>("shown");
        QTest::newRow("found in the part read") << "row-0002" << std::optional<bool>(true);
        QTest::newRow("not found: cannot tell") << "absent" << std::optional<bool>();
        QTest::newRow("not found, large window filtered out") << "absent Log" << std::optional<bool>(false);
    }
    void windowReadInPart()
    {
        QFETCH(QString, spec);
        QFETCH(std::optional<bool>, shown);
        FakeDesktop desktop({{"Big list", {Text("row-0001"), Text("row-0002")}, false}, {"Log", {Text("an error occurred")}}});
        QCOMPARE(FindPhrase(spec, false, desktop).shown(), shown);
    }
};

QTEST_GUILESS_MAIN(TestPhraseMatch)
#include "tst_phrase_match.moc"
