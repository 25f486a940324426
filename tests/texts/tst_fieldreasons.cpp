// The texts of field programming come from the string tables alone: every
// reason the core can give renders in every module, the command line's
// English is the English module's, and rewording one language leaves the
// other as it was.

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>

#include "codeplug/ImageLayout.h"
#include "link/SeriesTally.h"
#include "tests/support/TestSupport.h"
#include "texts/FieldReasons.h"
#include "texts/ImageFileTexts.h"

namespace {

using texts::TextTable;

// table with every letter and sign of every text (placeholders aside) made
// its full-width form, so that a rendering shows which letters came from the
// table and which from the code.
TextTable fullWidth(const TextTable& table)
{
    QByteArray json = "{";
    for (int id : table.ids()) {
        QString text = table.text(id);
        for (QChar& c : text) {
            if (c.unicode() > 0x20 && c.unicode() < 0x7F && c != QLatin1Char('%') && !c.isDigit())
                c = QChar(c.unicode() - 0x21 + 0xFF01);
        }
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        if (json.size() > 1)
            json += ',';
        json += '"' + QByteArray::number(id) + "\":\"" + text.toUtf8() + '"';
    }
    return TextTable::fromJson(json + '}');
}

struct Sample {
    QString name;
    std::function<QString(const TextTable&)> render;
};

// Facts written without Latin letters, so that any letter in a rendering is
// the table's or a hard-coded one.
const QString kPort = QStringLiteral("٣");
const QString kDevice = QStringLiteral("/٤/٥");

PortOpenError portError(PortOpenError::Kind kind)
{
    PortOpenError error;
    error.kind = kind;
    error.name = kPort;
    error.device = kDevice;
    error.group = QStringLiteral("٦");
    error.systemText = QStringLiteral("٧");
    return error;
}

FieldResult failure(FieldResult::Failure kind, FieldStep step)
{
    FieldResult result;
    result.failure = kind;
    result.step = step;
    result.backupFolder = QStringLiteral("/٨");
    result.backupError = {ImageFileProblem::Kind::CannotSave, QStringLiteral("/٩"), QStringLiteral("٣"), 0};
    result.traceError = {TraceError::Kind::CannotWrite, QStringLiteral("/١"), QStringLiteral("٢")};
    result.differences = {BlockDifference{0x000}, BlockDifference{0x010}, BlockDifference{0x3C8}};
    return result;
}

QList<Sample> samples()
{
    QList<Sample> list;
    const auto add = [&list](const QString& name, std::function<QString(const TextTable&)> render) {
        list.append({name, std::move(render)});
    };

    // Every problem the image check reports, with every field it names.
    using Field = ImageProblem::Field;
    const QList<std::pair<ImageProblem::Kind, QList<Field>>> problems = {
        {ImageProblem::Kind::OptionOutOfRange,
         {Field::SquelchLevel, Field::TimeOutTimer, Field::ModelIndex, Field::BandIndex}},
        {ImageProblem::Kind::FrequencyNotDecimal, {Field::RxFrequency, Field::TxFrequency}},
        {ImageProblem::Kind::FrequencyOutsideBand, {Field::RxFrequency, Field::TxFrequency}},
        {ImageProblem::Kind::ToneNotListed, {Field::DecodeTone, Field::EncodeTone}},
    };
    for (const auto& [kind, fields] : problems) {
        for (Field field : fields) {
            ImageProblem problem;
            problem.kind = kind;
            problem.field = field;
            problem.channel = 3;
            problem.offset = 0x3C1;
            problem.value = 0xAB;
            problem.largest = 9;
            problem.high = 0x0A;
            problem.frequency = 9500000;
            problem.bandText = QStringLiteral("130 - 160");
            add(QStringLiteral("image problem %1/%2").arg(int(kind)).arg(int(field)),
                [problem](const TextTable& t) { return texts::imageProblem(problem, t); });
        }
    }

    // Every reason a port gives for refusing, busy in each of its forms.
    using Kind = PortOpenError::Kind;
    for (Kind kind : {Kind::UnknownName, Kind::NoDevice, Kind::NoPermission, Kind::Busy, Kind::System}) {
        const PortOpenError error = portError(kind);
        add(QStringLiteral("port %1").arg(int(kind)), [error](const TextTable& t) { return texts::openReason(error, t); });
    }
    PortOpenError held = portError(Kind::Busy);
    held.holders = {{41, QStringLiteral("٤")}, {42, QString()}};
    add(QStringLiteral("busy, holders known"), [held](const TextTable& t) { return texts::openReason(held, t); });
    PortOpenError lockFile = portError(Kind::Busy);
    lockFile.lockFilePid = 4711;
    add(QStringLiteral("busy, lock file"), [lockFile](const TextTable& t) { return texts::openReasonAlone(lockFile, t); });
    PortOpenError locked = held;
    locked.lockHeld = true;
    add(QStringLiteral("busy, locked"), [locked](const TextTable& t) { return texts::openReason(locked, t); });

    // Every way a session ends, in every step.
    for (FieldStep step : {FieldStep::Backup, FieldStep::Write, FieldStep::Verify, FieldStep::Read}) {
        add(QStringLiteral("step %1").arg(int(step)), [step](const TextTable& t) { return texts::stepName(step, t); });
        add(QStringLiteral("progress %1").arg(int(step)),
            [step](const TextTable& t) { return texts::stepProgress(step, t); });
        for (TransferResult transfer : {TransferResult::PortOpenFailed, TransferResult::CommunicationError,
                                        TransferResult::ModelMismatch, TransferResult::BlockFailure,
                                        TransferResult::Cancelled}) {
            FieldResult result = failure(FieldResult::Failure::Transfer, step);
            result.transfer = transfer;
            if (transfer == TransferResult::Cancelled)
                result.outcome = FieldResult::Outcome::Cancelled;
            if (transfer == TransferResult::PortOpenFailed)
                result.openError = portError(Kind::NoDevice);
            add(QStringLiteral("step %1 transfer %2").arg(int(step)).arg(int(transfer)),
                [result](const TextTable& t) { return texts::fieldResult(result, t); });
        }
    }
    for (FieldResult::Failure kind : {FieldResult::Failure::BackupFolder, FieldResult::Failure::BackupSave,
                                      FieldResult::Failure::VerifyDiffers, FieldResult::Failure::Trace}) {
        const FieldResult result = failure(kind, kind == FieldResult::Failure::VerifyDiffers ? FieldStep::Verify
                                                                                             : FieldStep::Backup);
        add(QStringLiteral("failure %1").arg(int(kind)), [result](const TextTable& t) { return texts::fieldResult(result, t); });
    }
    FieldResult oneBlock = failure(FieldResult::Failure::VerifyDiffers, FieldStep::Verify);
    oneBlock.differences = {BlockDifference{0x200}};
    add(QStringLiteral("one block differs"), [oneBlock](const TextTable& t) { return texts::fieldResult(oneBlock, t); });
    FieldResult done;
    done.outcome = FieldResult::Outcome::Succeeded;
    add(QStringLiteral("done"), [done](const TextTable& t) { return texts::fieldResult(done, t); });
    for (TraceError::Kind kind : {TraceError::Kind::CannotWrite, TraceError::Kind::Incomplete}) {
        const TraceError error{kind, QStringLiteral("/١"), QStringLiteral("٢")};
        add(QStringLiteral("trace %1").arg(int(kind)), [error](const TextTable& t) { return texts::traceError(error, t); });
    }
    add(QStringLiteral("caption"), [](const TextTable& t) { return texts::modelMismatchCaption(t); });

    // Every reason a .dat file is not read or saved.
    using FileKind = ImageFileProblem::Kind;
    for (FileKind kind : {FileKind::CannotOpen, FileKind::CannotRead, FileKind::TooShort, FileKind::CannotSave}) {
        const ImageFileProblem problem{kind, QStringLiteral("/٥"), QStringLiteral("٦"), 5};
        add(QStringLiteral("file %1").arg(int(kind)),
            [problem](const TextTable& t) { return texts::imageFileProblem(problem, t); });
    }

    // A series of one radio and of several.
    for (int radios : {1, 3}) {
        add(QStringLiteral("series of %1").arg(radios), [radios](const TextTable& t) {
            SeriesTally tally;
            FieldResult written;
            written.outcome = FieldResult::Outcome::Succeeded;
            for (int i = 0; i < radios; ++i)
                tally.add(written);
            return texts::seriesSummary(tally, t);
        });
    }
    return list;
}

}  // namespace

class TestFieldReasons : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { texts::setActive(TextTable::english()); }

    void everyReasonRendersInEveryModule_data()
    {
        QTest::addColumn<int>("index");
        const QList<Sample> all = samples();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(qPrintable(all.at(i).name)) << i;
    }

    void everyReasonRendersInEveryModule()
    {
        QFETCH(int, index);
        const Sample sample = samples().at(index);
        const TextTable english = moduleTable("English");
        const TextTable chinese = moduleTable("Chinese");
        QVERIFY(!english.isEmpty() && !chinese.isEmpty());
        const QString inEnglish = sample.render(english);
        const QString inChinese = sample.render(chinese);
        QVERIFY2(!inEnglish.trimmed().isEmpty(), qPrintable(sample.name));
        QVERIFY2(!inChinese.trimmed().isEmpty(), qPrintable(sample.name));
        QVERIFY2(placeholders(inEnglish).isEmpty(), qPrintable(inEnglish));
        QVERIFY2(placeholders(inChinese).isEmpty(), qPrintable(inChinese));
        QVERIFY2(inEnglish != inChinese, qPrintable(inEnglish));
        // The command line's table is the English module's.
        QCOMPARE(sample.render(TextTable::english()), inEnglish);
    }

    // The file's name is quoted as it stands, a "%2" in it too, with the
    // length the file has and the one it needs.
    void imageFileProblemQuotesThePathAsItStands()
    {
        const ImageFileProblem shortFile{ImageFileProblem::Kind::TooShort, QStringLiteral("/tmp/file %2 5.dat"), {}, 5};
        QCOMPARE(texts::imageFileProblem(shortFile, moduleTable("English")),
                 QStringLiteral("\"/tmp/file %2 5.dat\" is 5 bytes long; a .dat file holds 1024 bytes"));
        const ImageFileProblem unsaved{ImageFileProblem::Kind::CannotSave, QStringLiteral("/tmp/%1.dat"),
                                       QStringLiteral("Disk full"), 0};
        QCOMPARE(texts::imageFileProblem(unsaved, moduleTable("English")),
                 QStringLiteral("Cannot save \"/tmp/%1.dat\": Disk full"));
        QCOMPARE(texts::imageFileProblem(ImageFileProblem{}, moduleTable("English")), QString());
    }

    void idsOfFieldTextsAgreeAcrossModules() { checkIdsInBothModules(61800, 61999, 60); }

    void everyWordComesFromTheTable_data() { everyReasonRendersInEveryModule_data(); }

    void everyWordComesFromTheTable()
    {
        QFETCH(int, index);
        const Sample sample = samples().at(index);
        // With the table's letters full-width, a Latin letter left in the
        // rendering was written in the code. Hex digits of offsets and
        // bytes are the image's own.
        QString shown = sample.render(fullWidth(moduleTable("English")));
        static const QRegularExpression hexNumbers(QStringLiteral("0x[0-9a-f]+|\\b[0-9a-f]{2}\\b"));
        shown.remove(hexNumbers);
        static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
        QVERIFY2(!shown.contains(latin), qPrintable(shown));
    }

    void rewordingEnglishLeavesChineseAsItWas_data() { everyReasonRendersInEveryModule_data(); }

    void rewordingEnglishLeavesChineseAsItWas()
    {
        QFETCH(int, index);
        const Sample sample = samples().at(index);
        const TextTable chinese = moduleTable("Chinese");
        const QString before = sample.render(chinese);
        // The English texts reworded, and made the active table too: the
        // Chinese rendering reads neither.
        const TextTable reworded = fullWidth(TextTable::english());
        texts::setActive(reworded);
        QCOMPARE(sample.render(chinese), before);
        QVERIFY(sample.render(reworded) != sample.render(TextTable::english()));
    }
};

QTEST_GUILESS_MAIN(TestFieldReasons)
#include "tst_fieldreasons.moc"
