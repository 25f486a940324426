#include "codeplug/ChirpPlan.h"

#include <optional>

#include "codeplug/Codecs.h"
#include "codeplug/PlanCells.h"

namespace chirpplan {

using namespace planformat;
using channelplan::PlanError;
using channelplan::PlanRow;
using channelplan::Reason;

namespace {

enum class Kind { None, Ctcss, Dcs };

// One direction of a tone mode: what it carries and in which column.
struct Side {
    Kind kind = Kind::None;
    ChirpColumn column = ChirpColumnCount;
};

bool same(const QString& text, QLatin1StringView name)
{
    return text.compare(name, Qt::CaseInsensitive) == 0;
}

// The transmit side (before "->") reads rToneFreq / DtcsCode, the receive
// side cToneFreq / RxDtcsCode.
std::optional<Side> crossSide(const QString& text, bool transmit)
{
    if (text.isEmpty())
        return Side{};
    if (same(text, kCrossTone))
        return Side{Kind::Ctcss, transmit ? ChirpRToneFreq : ChirpCToneFreq};
    if (same(text, kCrossDtcs))
        return Side{Kind::Dcs, transmit ? ChirpDtcsCode : ChirpRxDtcsCode};
    return std::nullopt;
}

// A tone text of the channel table as CHIRP sees it.
struct Tone {
    Kind kind = Kind::None;
    QString value;  // CTCSS hertz, or the DCS code digits
    bool inverted = false;
};

Tone toneOf(const QString& text)
{
    if (text.isEmpty() || text == WordSet::fileWords().none)
        return Tone{};
    if (text.startsWith(QLatin1Char('D')) && text.size() >= 3)
        return Tone{Kind::Dcs, text.mid(1, text.size() - 2), text.endsWith(QLatin1Char('I'))};
    return Tone{Kind::Ctcss, text, false};
}

QString sideName(Kind kind)
{
    switch (kind) {
    case Kind::Ctcss:
        return kCrossTone;
    case Kind::Dcs:
        return kCrossDtcs;
    case Kind::None:
        break;
    }
    return QString();
}

// CHIRP writes MHz with six decimals; ours have five.
QString megahertz6(std::int64_t units)
{
    return codec::formatFrequency(units) + QLatin1Char('0');
}

}  // namespace

QString Header::name(ChirpColumn c) const
{
    const int i = at[c];
    if (i >= 0 && i < names.size() && !names.at(i).isEmpty())
        return names.at(i);
    return QString(kChirpColumnNames[c]);
}

HeaderKind readHeader(const QStringList& cells, Header* header, QString* missing)
{
    header->at.fill(-1);
    header->names.clear();
    header->width = 0;
    for (int i = 0; i < cells.size(); ++i) {
        const QString name = cells.at(i).trimmed();
        header->names << name;
        if (!name.isEmpty())
            header->width = i + 1;
        for (int c = 0; c < ChirpColumnCount; ++c) {
            if (header->at[c] < 0 && same(name, kChirpColumnNames[c]))
                header->at[c] = i;
        }
    }
    const bool location = header->at[ChirpLocation] >= 0;
    const bool frequency = header->at[ChirpFrequency] >= 0;
    if (!location && !frequency)
        return HeaderKind::NotChirp;
    if (!location || !frequency) {
        *missing = QString(kChirpColumnNames[location ? ChirpFrequency : ChirpLocation]);
        return HeaderKind::Incomplete;
    }
    // One tone column stands for both, as CHIRP reads it.
    if (header->at[ChirpRToneFreq] < 0)
        header->at[ChirpRToneFreq] = header->at[ChirpCToneFreq];
    else if (header->at[ChirpCToneFreq] < 0)
        header->at[ChirpCToneFreq] = header->at[ChirpRToneFreq];
    return HeaderKind::Chirp;
}

namespace {

// The cells of one row, read by column name, and the errors they give.
class RowReader {
public:
    RowReader(const QStringList& cells, int line, const Header& header, QList<PlanError>* errors)
        : m_cells(cells), m_line(line), m_header(header), m_errors(errors)
    {
    }

    QString cell(ChirpColumn c) const
    {
        const int i = m_header.at[c];
        return i >= 0 && i < m_cells.size() ? m_cells.at(i).trimmed() : QString();
    }

    // The column as the file names it.
    void fail(ChirpColumn c, Reason reason, const QString& value)
    {
        m_errors->append(PlanError{m_line, m_header.name(c), reason, plancells::shownValue(value), 0, {}, {}});
    }

    // False, naming it at the cell that asks for it, when the header lacks column c.
    bool need(ChirpColumn c, ChirpColumn askedBy)
    {
        if (m_header.at[c] >= 0)
            return true;
        m_errors->append(
            PlanError{m_line, m_header.name(askedBy), Reason::MissingColumns, QString(kChirpColumnNames[c]), 0, {}, {}});
        return false;
    }

    // Frequency, Duplex and Offset to the receive and transmit frequencies.
    void readFrequencies(PlanRow& row, const modelband::BandLimits& limits);
    // Only the modes the radio works in.
    void readMode();
    // Tone, CrossMode, DtcsPolarity and the tone columns to the two tones.
    void readTones(PlanRow& row, const WordSet& words);

private:
    // A transmit frequency reached through Duplex and Offset that the band
    // refuses: the message names the cells the user wrote.
    void failOffset(Reason bad, const QString& duplex, std::int64_t tx)
    {
        const Reason reason = bad == Reason::OffStep ? Reason::OffsetOffStep : Reason::OffsetOutOfBand;
        m_errors->append(PlanError{m_line, m_header.name(ChirpOffset), reason,
                                   plancells::shownValue(cell(ChirpOffset)), 0, duplex, codec::formatFrequency(tx)});
    }

    const QStringList& m_cells;
    int m_line;
    const Header& m_header;
    QList<PlanError>* m_errors;
};

void RowReader::readFrequencies(PlanRow& row, const modelband::BandLimits& limits)
{
    Reason reason = Reason::NotANumber;
    const std::optional<std::int64_t> rx = plancells::readMegahertz(cell(ChirpFrequency), &reason);
    if (!rx)
        fail(ChirpFrequency, reason, cell(ChirpFrequency));
    else if (const auto bad = plancells::checkFrequency(*rx, limits))
        fail(ChirpFrequency, *bad, codec::formatFrequency(*rx));

    const QString duplex = cell(ChirpDuplex);
    const bool split = same(duplex, kDuplexSplit);
    std::optional<std::int64_t> tx;
    bool checkTx = true;
    if (same(duplex, kDuplexSimplex)) {
        tx = rx;
        checkTx = false;  // already checked as the receive frequency
    } else if (same(duplex, kDuplexPlus) || same(duplex, kDuplexMinus) || split) {
        if (!need(ChirpOffset, ChirpDuplex))
            return;
        const std::optional<std::int64_t> offset = plancells::readMegahertz(cell(ChirpOffset), &reason);
        if (!offset)
            fail(ChirpOffset, reason, cell(ChirpOffset));
        else if (split)
            tx = offset;
        else if (rx)
            tx = same(duplex, kDuplexPlus) ? *rx + *offset : *rx - *offset;
    } else if (same(duplex, kDuplexOff)) {
        fail(ChirpDuplex, Reason::TransmitOff, duplex);
    } else {
        fail(ChirpDuplex, Reason::BadDuplex, duplex);
    }
    if (tx && checkTx) {
        if (const auto bad = plancells::checkFrequency(*tx, limits)) {
            if (split)
                fail(ChirpOffset, *bad, codec::formatFrequency(*tx));
            else
                failOffset(*bad, duplex, *tx);
        }
    }
    if (rx)
        row.rx = codec::formatFrequency(*rx);
    if (tx)
        row.tx = codec::formatFrequency(*tx);
}

void RowReader::readMode()
{
    const QString mode = cell(ChirpMode);
    if (mode.isEmpty())
        return;
    for (const QLatin1StringView known : kChirpModes) {
        if (same(mode, known))
            return;
    }
    fail(ChirpMode, Reason::BadMode, mode);
}

void RowReader::readTones(PlanRow& row, const WordSet& words)
{
    const QString mode = cell(ChirpTone);
    ChirpColumn modeColumn = ChirpTone;
    Side txSide;
    Side rxSide;
    if (same(mode, kToneNone)) {
        // no tone either way
    } else if (same(mode, kToneTone)) {
        txSide = Side{Kind::Ctcss, ChirpRToneFreq};
    } else if (same(mode, kToneTsql)) {
        txSide = rxSide = Side{Kind::Ctcss, ChirpCToneFreq};
    } else if (same(mode, kToneDtcs)) {
        txSide = rxSide = Side{Kind::Dcs, ChirpDtcsCode};
    } else if (same(mode, kToneCross)) {
        modeColumn = ChirpCrossMode;
        if (!need(ChirpCrossMode, ChirpTone))
            return;
        const QString cross = cell(ChirpCrossMode);
        const qsizetype arrow = cross.indexOf(kCrossArrow);
        const std::optional<Side> from = arrow < 0 ? std::nullopt : crossSide(cross.left(arrow).trimmed(), true);
        const std::optional<Side> to =
            arrow < 0 ? std::nullopt : crossSide(cross.mid(arrow + kCrossArrow.size()).trimmed(), false);
        if (!from || !to || (from->kind == Kind::None && to->kind == Kind::None)) {
            fail(ChirpCrossMode, Reason::BadCrossMode, cross);
            return;
        }
        txSide = *from;
        rxSide = *to;
    } else {
        fail(ChirpTone, Reason::BadToneMode, mode);
        return;
    }
    for (const Side& side : {txSide, rxSide}) {
        if (side.kind != Kind::None && !need(side.column, modeColumn))
            return;
    }

    QString polarity = QString(kChirpDefaultPolarity);
    if (txSide.kind == Kind::Dcs || rxSide.kind == Kind::Dcs) {
        const QString given = cell(ChirpDtcsPolarity).toUpper();
        if (!given.isEmpty())
            polarity = given;
        const auto letterOk = [](QChar c) {
            return c == QLatin1Char(kPolarityNormal) || c == QLatin1Char(kPolarityReversed);
        };
        if (polarity.size() != 2 || !letterOk(polarity.at(0)) || !letterOk(polarity.at(1))) {
            fail(ChirpDtcsPolarity, Reason::BadPolarity, cell(ChirpDtcsPolarity));
            return;
        }
    }
    // Both directions may read one cell (TSQL, DTCS, or one tone column
    // standing for both): one message for it is enough.
    const bool shared = txSide.kind != Kind::None && m_header.at[txSide.column] == m_header.at[rxSide.column];
    const auto toneFor = [&](const Side& side, QChar letter, bool report) {
        if (side.kind == Kind::None)
            return words.none;
        const QString value = cell(side.column);
        const QString text = side.kind == Kind::Ctcss
                                 ? plancells::ctcssText(value)
                                 : plancells::dcsText(value, letter == QLatin1Char(kPolarityReversed));
        if (text.isEmpty() && report)
            fail(side.column, Reason::BadTone, value);
        return text;
    };
    row.encode = toneFor(txSide, polarity.at(0), true);
    row.decode = toneFor(rxSide, polarity.at(1), !shared);
}

}  // namespace

bool readRow(const QStringList& cells, int line, const Header& header, const modelband::BandLimits& limits,
             const WordSet& words, PlanRow* row, QList<PlanError>* errors, QList<PlanError>* warnings)
{
    // As CHIRP does, a row shorter than the header is refused; the message
    // names the columns it lacks.
    if (cells.size() < header.width) {
        QStringList missing;
        for (qsizetype i = cells.size(); i < header.width; ++i) {
            if (!header.names.at(i).isEmpty())
                missing << header.names.at(i);
        }
        errors->append(PlanError{line, QString(), Reason::ShortRow, missing.join(QStringLiteral(", ")), 0, {}, {}});
        return false;
    }
    RowReader reader(cells, line, header, errors);
    // CHIRP skips a row without a frequency; so does the import, saying so.
    if (reader.cell(ChirpFrequency).isEmpty()) {
        warnings->append(PlanError{line, header.name(ChirpFrequency), Reason::NoFrequency, QString(), 0, {}, {}});
        return false;
    }
    *row = PlanRow();
    row->line = line;
    row->channel = plancells::channelNumber(reader.cell(ChirpLocation));
    if (row->channel == 0)
        reader.fail(ChirpLocation, Reason::BadChannel, reader.cell(ChirpLocation));
    reader.readFrequencies(*row, limits);
    reader.readMode();
    reader.readTones(*row, words);
    return true;
}

QList<channelplan::LeftOut> unwritable(const ChannelTable& table, int row)
{
    using channelplan::LeftOut;
    const QString rx = table.cell(row, ChannelTable::ColRx);
    const QString tx = table.cell(row, ChannelTable::ColTx);
    if (rx.isEmpty() && tx.isEmpty())
        return {};
    if (tx.isEmpty())
        return {LeftOut{row, ChannelTable::ColTx, Reason::NoTransmit, rx}};
    if (rx.isEmpty())
        return {LeftOut{row, ChannelTable::ColRx, Reason::NoReceive, tx}};
    // CHIRP reads a tone by its value: bytes that show another text (a code
    // off the list, "D1023N", or a CTCSS such as "860.0") would be refused by
    // it or read as another tone.
    QList<LeftOut> out;
    for (const int c : {ChannelTable::ColDecode, ChannelTable::ColEncode}) {
        const QString tone = table.cell(row, c);
        if (!plancells::isListedTone(tone))
            out << LeftOut{row, c, Reason::UnlistedTone, tone};
    }
    return out;
}

QStringList writeRow(const ChannelTable& table, int row)
{
    QStringList cells;
    for (int c = 0; c < ChirpColumnCount; ++c)
        cells << QString();
    const std::int64_t rx = codec::decimalProduct(table.cell(row, ChannelTable::ColRx), codec::kFrequencyFactor);
    const std::int64_t tx = codec::decimalProduct(table.cell(row, ChannelTable::ColTx), codec::kFrequencyFactor);

    cells[ChirpLocation] = QString::number(row);
    cells[ChirpFrequency] = megahertz6(rx);
    cells[ChirpDuplex] = tx == rx ? QString(kDuplexSimplex) : tx > rx ? QString(kDuplexPlus) : QString(kDuplexMinus);
    cells[ChirpOffset] = megahertz6(tx >= rx ? tx - rx : rx - tx);

    const Tone txTone = toneOf(table.cell(row, ChannelTable::ColEncode));
    const Tone rxTone = toneOf(table.cell(row, ChannelTable::ColDecode));
    cells[ChirpRToneFreq] = kChirpDefaultCtcss;
    cells[ChirpCToneFreq] = kChirpDefaultCtcss;
    cells[ChirpDtcsCode] = kChirpDefaultDcs;
    cells[ChirpRxDtcsCode] = kChirpDefaultDcs;
    cells[ChirpCrossMode] = kChirpDefaultCross;
    const QChar txLetter = QLatin1Char(txTone.inverted ? kPolarityReversed : kPolarityNormal);
    const QChar rxLetter = QLatin1Char(rxTone.inverted ? kPolarityReversed : kPolarityNormal);
    cells[ChirpDtcsPolarity] = QString(txLetter) + rxLetter;

    if (txTone.kind == Kind::Ctcss)
        cells[ChirpRToneFreq] = txTone.value;
    if (txTone.kind == Kind::Dcs)
        cells[ChirpDtcsCode] = txTone.value;
    if (rxTone.kind == Kind::Ctcss)
        cells[ChirpCToneFreq] = rxTone.value;
    if (rxTone.kind == Kind::Dcs)
        cells[ChirpRxDtcsCode] = rxTone.value;

    if (txTone.kind == Kind::None && rxTone.kind == Kind::None) {
        cells[ChirpTone] = kToneNone;
    } else if (txTone.kind == Kind::Ctcss && rxTone.kind == Kind::None) {
        cells[ChirpTone] = kToneTone;
    } else if (txTone.kind == Kind::Ctcss && rxTone.kind == Kind::Ctcss && txTone.value == rxTone.value) {
        cells[ChirpTone] = kToneTsql;
    } else if (txTone.kind == Kind::Dcs && rxTone.kind == Kind::Dcs && txTone.value == rxTone.value) {
        cells[ChirpTone] = kToneDtcs;
    } else {
        cells[ChirpTone] = kToneCross;
        cells[ChirpCrossMode] = sideName(txTone.kind) + kCrossArrow + sideName(rxTone.kind);
    }

    cells[ChirpMode] = kChirpMode;
    cells[ChirpTStep] = (rx % codec::kStep5k == 0) ? QStringLiteral("5.00") : QStringLiteral("6.25");
    return cells;
}

}  // namespace chirpplan
