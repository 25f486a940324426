#pragma once
// A pseudo-terminal pair kept open by a test: a serial device nobody else
// uses, for ports that must exist (and can be held busy) without a radio.
// path() is empty where the system has none.

#include <QString>

class TestPty {
public:
    TestPty();
    ~TestPty();

    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    QString path() const { return m_path; }  // the device, e.g. "/dev/pts/4"

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
