// The channel side of the text layer: every reason a plan is refused for has
// a text in every module, the cell words come from the modules, and values
// (cells, paths, names) go into texts as written.

#include <QFile>
#include <QRegularExpression>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "texts/CellTexts.h"
#include "texts/PlanReasons.h"
#include "texts/TextTable.h"

using channelplan::Reason;

namespace {

const modelband::BandLimits kBand{13000000, 16000000};

}  // namespace

class TestChannelTexts : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { texts::setActive(texts::TextTable::english()); }

    void everyReasonHasATextInEveryModule_data() { addModuleRows(); }

    void everyReasonHasATextInEveryModule()
    {
        QFETCH(QString, language);
        const texts::TextTable table = moduleTable(language);
        QVERIFY(!table.isEmpty());
        texts::setActive(table);
        QSet<QString> seen;
        // Reasons run from NotText to NoReceive, the last one.
        for (int r = int(Reason::NotText); r <= int(Reason::NoReceive); ++r) {
            const Reason reason = Reason(r);
            QVERIFY2(table.contains(texts::planReasonId(reason)), qPrintable(QString::number(r)));
            channelplan::PlanError error;
            error.reason = reason;
            error.value = QStringLiteral("v");
            const QString alone = texts::planErrorText(error, kBand);
            QVERIFY2(!alone.trimmed().isEmpty(), qPrintable(QString::number(r)));
            error.line = 4;
            error.column = QStringLiteral("Col");
            QVERIFY(texts::planErrorText(error, kBand).size() > alone.size());
            seen.insert(alone);
            const QString leftOut = texts::leftOutText(channelplan::LeftOut{5, ChannelTable::ColDecode, reason, "v"});
            QVERIFY(leftOut.contains(table.text(int(texts::IDS_CELL_HEADER_FIRST) + int(ChannelTable::ColDecode))));
        }
        // The reasons read apart (UnlistedTone and BadTone may say the same).
        QVERIFY(seen.size() >= int(Reason::NoReceive));
    }

    // Each id of the channel texts is in both modules, with the same placeholders.
    void channelIdsInBothModules() { checkIdsInBothModules(61600, 61799, 70); }

    // The CSV files are written in the English channel table's words.
    void englishWordsAreTheFileWords()
    {
        QCOMPARE(texts::wordSet(moduleTable(QStringLiteral("English"))), WordSet::fileWords());
        QCOMPARE(texts::wordSet(texts::TextTable::english()), WordSet::fileWords());
        const WordSet chinese = texts::wordSet(moduleTable(QStringLiteral("Chinese")));
        QVERIFY(chinese.none != WordSet::fileWords().none && chinese.on != WordSet::fileWords().on);
        // A table without the words falls back to English ones.
        QCOMPARE(texts::wordSet(texts::TextTable()), WordSet::fileWords());
    }

    // The built modules of the program directory give their words.
    void moduleWordsFromTheProgramDirectory()
    {
        const QList<WordSet> sets = texts::moduleWordSets(QStringLiteral(KQ517_PROGRAM_DIR));
        QVERIFY(sets.contains(moduleWords(QStringLiteral("Chinese"))));
        QVERIFY(sets.contains(WordSet::fileWords()));
        QVERIFY(texts::moduleWordSets(QStringLiteral(KQ517_SOURCE_DIR "/tests")).isEmpty());
    }

    // The module the program has loaded is read too, and stays loaded.
    void loadedModuleReadAsWell()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString chinese = dir.filePath(QStringLiteral("Chinese517.rcc"));
        QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/Chinese517.rcc"), chinese));
        QVERIFY(QResource::registerResource(chinese));
        const QList<WordSet> sets = texts::moduleWordSets(dir.path());
        QVERIFY(QFile::exists(QStringLiteral(":/lang/strings.json")));
        QVERIFY(QResource::unregisterResource(chinese));
        QCOMPARE(sets, QList<WordSet>{moduleWords(QStringLiteral("Chinese"))});
    }

    // A module of a third language reads cells in its own words.
    void thirdModuleGivesItsOwnWords()
    {
        const QList<WordSet> sets = texts::moduleWordSets(QStringLiteral(KQ517_THIRD_MODULE_DIR));
        QCOMPARE(sets.size(), 1);
        WordSet expected = WordSet::fileWords();
        expected.none = QStringLiteral("Nada");
        expected.on = QStringLiteral("Si");
        expected.off = QStringLiteral("Non");
        expected.headers[ChannelTable::ColLabel] = QStringLiteral("Canal");
        QCOMPARE(sets.first(), expected);

        const QString rows = QStringLiteral("Canal\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tBusy Lock\n"
                                            "1\t145.0\t\tnada\t67.0\tSi\n2\t146.0\t\tNone\tNADA\tnon\n");
        const channelplan::ParseResult plan = channelplan::parseTabSeparated(rows, kBand, CellWords(WordSet::fileWords(), sets));
        QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), kBand)));
        QCOMPARE(plan.rows.size(), 2);
        QCOMPARE(plan.rows.at(0).decode, QStringLiteral("None"));
        QCOMPARE(plan.rows.at(0).busy, QStringLiteral("Yes"));
        QCOMPARE(plan.rows.at(1).encode, QStringLiteral("None"));
        QCOMPARE(plan.rows.at(1).busy, QStringLiteral("No"));
        // Without the module its words are no cells.
        const channelplan::ParseResult english = channelplan::parseTabSeparated(rows, kBand, CellWords());
        QVERIFY(!english.ok());
        QCOMPARE(english.errors.first().reason, Reason::BadChannel);
    }

    void valuesGoInAsWritten_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("channel") << int(Reason::BadChannel) << "%1"
                                 << "line 5, CH: \"%1\" is not a channel from 1 to 16";
        QTest::newRow("cell count") << int(Reason::WrongCellCount) << "%2"
                                    << "line 5, CH: %2 cells, at most 6 expected";
        QTest::newRow("duplicate") << int(Reason::DuplicateChannel) << "%2" << "line 5, CH: channel %2 is already listed on line 3";
        QTest::newRow("band") << int(Reason::OutOfBand) << "%3" << "line 5, CH: %3 MHz is outside the band 130.00000 to 160.00000 MHz";
    }

    void valuesGoInAsWritten()
    {
        QFETCH(int, reason);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        const channelplan::PlanError error{5, QStringLiteral("CH"), Reason(reason), value, 3, {}, {}};
        QCOMPARE(texts::planErrorText(error, kBand), expected);
    }

    void mainTitle()
    {
        QCOMPARE(texts::mainTitle(QStringLiteral("Programmer"), QStringLiteral("KQ-517"), QStringLiteral("130 - 160MHz")),
                 QStringLiteral("Programmer  [ Type:KQ-517  Fre:130 - 160MHz ]"));
        QCOMPARE(texts::mainTitle(QStringLiteral("A%2"), QStringLiteral("M%3"), QStringLiteral("B%1")),
                 QStringLiteral("A%2  [ Type:M%3  Fre:B%1 ]"));
        QCOMPARE(texts::mainTitle(QString(), QString(), QString(), moduleTable(QStringLiteral("Chinese"))),
                 QStringLiteral("  [ 类型:  频率: ]"));
    }
};

QTEST_GUILESS_MAIN(TestChannelTexts)

#include "tst_channeltexts.moc"
