#pragma once
// The count of a series of radios written one after another (the program's
// Write to Several Radios, the command line's write --repeat): each radio is
// counted once, as written, written but failed its verify, or not written
// (the port, the handshake, the backup or the write itself failed, or it was
// cancelled).

#include <QString>

struct FieldResult;

class SeriesTally {
public:
    enum class Kind { Written, FailedVerify, NotWritten };
    static Kind kindOf(const FieldResult& result);

    void add(const FieldResult& result);
    int written() const { return m_written; }
    int failedVerify() const { return m_failedVerify; }
    int notWritten() const { return m_notWritten; }
    int radios() const { return m_written + m_failedVerify + m_notWritten; }
    bool allWritten() const { return m_failedVerify == 0 && m_notWritten == 0; }


private:
    int m_written = 0;
    int m_failedVerify = 0;
    int m_notWritten = 0;
};
