// The settings file: whatever it holds, a save after an unrelated change
// keeps every value the file answered before, the new value is read back,
// and a second load and save gives the same bytes.
//
// Input: a mode byte (names with or without case), then the file's bytes.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "settings/IniFile.h"
#include "tests/fuzz/FuzzSupport.h"

// Friend of CIniFile: the sections and keys the store holds.
class IniFileInspector {
public:
    static QList<QByteArray> sectionNames(const CIniFile& f) { return f.m_sectionNames.mid(0, f.m_nLastSection + 1); }
    static QList<QByteArray> keys(const CIniFile& f, int s)
    {
        return (s < f.m_keys.size() && f.m_keys.at(s)) ? *f.m_keys.at(s) : QList<QByteArray>();
    }
};

namespace {

struct Answer {
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

QList<Answer> answers(const CIniFile& ini)
{
    QList<Answer> out;
    const QList<QByteArray> sections = IniFileInspector::sectionNames(ini);
    for (int s = 0; s < sections.size(); ++s) {
        for (const QByteArray& key : IniFileInspector::keys(ini, s))
            out.append({sections.at(s), key, ini.GetString(sections.at(s), key, "\x01missing")});
    }
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KQ-517.ini"));
    fuzz::Input in(data, size);
    const bool noCase = in.pick(2) == 0;
    FUZZ_CHECK(writeAll(path, in.rest()), "the file can be written");

    QList<Answer> before;
    {
        CIniFile ini(4);
        FUZZ_CHECK(ini.Open(path, true, true, noCase, false), "the file opens");
        before = answers(ini);
        // Two changes, so that the file is saved even when it held the
        // final value already (a value set to what it is saves nothing).
        ini.SetString("Ports", "COM1", "/dev/ttyUSB2");
        ini.SetString("Ports", "COM1", "/dev/ttyUSB1");
    }
    const QByteArray saved = readAll(path);
    {
        CIniFile ini(4);
        FUZZ_CHECK(ini.Open(path, false, true, noCase, false), "the saved file opens");
        for (const Answer& a : before) {
            // The new value replaces a COM1 of the first [Ports].
            const bool same = noCase ? a.section.compare("Ports", Qt::CaseInsensitive) == 0
                                           && a.key.compare("COM1", Qt::CaseInsensitive) == 0
                                     : a.section == "Ports" && a.key == "COM1";
            if (same)
                continue;
            const QByteArray now = ini.GetString(a.section, a.key, "\x01missing");
            FUZZ_CHECK(now == a.value, "a save keeps every value",
                        QStringLiteral("[%1] %2: %3 | %4\n")
                                .arg(QString::fromUtf8(a.section), QString::fromUtf8(a.key),
                                     QString::fromUtf8(a.value), QString::fromUtf8(now))
                            + QString::fromUtf8(saved));
        }
        FUZZ_CHECK(ini.GetString("Ports", "COM1") == "/dev/ttyUSB1", "the new value reads back",
                    QString::fromUtf8(saved));
    }
    {
        CIniFile ini(4);
        FUZZ_CHECK(ini.Open(path, true, true, noCase, false), "the saved file opens");
        ini.SetString("Ports", "COM1", "/dev/ttyUSB2");
        ini.SetString("Ports", "COM1", "/dev/ttyUSB1");
    }
    const QByteArray second = readAll(path);
    FUZZ_CHECK(second == saved, "a second save gives the same bytes",
                QString::fromUtf8(saved.toHex(' ')) + "\n" + QString::fromUtf8(second.toHex(' ')));
    return 0;
}
