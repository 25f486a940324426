#pragma once
// Channel: one channel of the document as typed values (receive and transmit
// frequency in units of 10 Hz, the two tones, busy lock) over the 16 bytes of
// its record. Each field keeps its own stored bytes until that field is set
// to a different value, so an edit of one field never rewrites another, and a
// value set to what it already is changes no byte.

#include <QString>

#include <array>
#include <cstdint>

#include "codeplug/CellWords.h"
#include "codeplug/ImageLayout.h"

class Channel {
public:
    enum class Tone { Decode, Encode };

    // An empty record: 0xFF in every byte.
    Channel();
    static Channel fromRecord(const std::uint8_t* record);
    void writeRecord(std::uint8_t* record) const;
    const std::array<std::uint8_t, layout::kRowSize>& bytes() const { return m_bytes; }

    // A frequency is present when its most significant byte is neither 0x00
    // nor 0xFF; its value (units of 10 Hz) is 0 when absent.
    bool hasRx() const;
    bool hasTx() const;
    std::int64_t rx() const;
    std::int64_t tx() const;
    // Both frequencies present: the channel is in use.
    bool inUse() const;
    // The tone's text as a channel in use shows it (words.none for no tone).
    QString toneText(Tone which, const WordSet& words) const;
    bool hasTone(Tone which) const;
    bool busyLock() const;

    // units 0 empties the field (0xFF in its four bytes).
    void setRx(std::int64_t units);
    void setTx(std::int64_t units);
    // A tone-table text; any text that is neither a DCS code nor a number
    // (a no-tone word of any language, "") means no tone.
    void setTone(Tone which, const QString& text);
    void setBusyLock(bool on);

    // What cell col (1 to 5 of the channel table) shows for this channel.
    QString cellText(int col, const WordSet& words) const;

    bool operator==(const Channel& other) const = default;

private:
    static std::int64_t frequencyAt(const std::uint8_t* four);
    void setFrequency(int offset, std::int64_t units);

    std::array<std::uint8_t, layout::kRowSize> m_bytes;
};
