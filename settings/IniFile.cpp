#include "settings/IniFile.h"

#include "codeplug/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <climits>
#include <memory>

#include <cstdlib>
#include <string>

#if defined(Q_OS_WIN)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#elif __has_include(<iconv.h>)
#  include <cerrno>
#  include <iconv.h>
#  define KQ517_HAVE_ICONV 1
#endif

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

namespace {

// White space trimmed from every line read: blanks, tabs, CR, LF.
bool isLineSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QByteArray trimLine(const QByteArray& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isLineSpace(s.at(b)))
        ++b;
    while (e > b && isLineSpace(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = dec.decode(bytes);
    (void)s;
    return !dec.hasError();
}

// Case folding of one name, letters only. In a name that is not UTF-8 (a GBK
// text written on Windows) the byte after a lead byte 0x81..0xFE is the second
// half of a double-byte character and keeps its value even when it looks like
// an ASCII letter.
QByteArray foldCase(const QByteArray& s)
{
    QByteArray out = s;
    const bool doubleBytes = !isValidUtf8(s);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out.at(i));
        if (doubleBytes && c >= 0x81 && c <= 0xFE && i + 1 < out.size()) {
            ++i;  // trail byte: unchanged
            continue;
        }
        out[i] = asciiLower(out.at(i));
    }
    return out;
}

// The file name part of a path (after the last separator).
qsizetype fileNameStart(const QString& path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#if defined(Q_OS_WIN)
    slash = qMax(slash, path.lastIndexOf(QLatin1Char('\\')));
    slash = qMax(slash, path.lastIndexOf(QLatin1Char(':')));
#endif
    return slash + 1;
}

// atoi of the last three characters of a file name: leading blanks skipped,
// an optional sign, digits up to the first other character; 0 without digits.
int backupNumber(const QString& name)
{
    const QString tail = name.right(3);
    qsizetype i = 0;
    while (i < tail.size() && (tail.at(i) == QLatin1Char(' ') || tail.at(i) == QLatin1Char('\t')
                               || tail.at(i) == QLatin1Char('\n') || tail.at(i) == QLatin1Char('\r')
                               || tail.at(i) == QLatin1Char('\v') || tail.at(i) == QLatin1Char('\f')))
        ++i;
    bool negative = false;
    if (i < tail.size() && (tail.at(i) == QLatin1Char('+') || tail.at(i) == QLatin1Char('-'))) {
        negative = tail.at(i) == QLatin1Char('-');
        ++i;
    }
    int n = 0;
    while (i < tail.size() && tail.at(i) >= QLatin1Char('0') && tail.at(i) <= QLatin1Char('9')) {
        n = n * 10 + (tail.at(i).unicode() - '0');
        ++i;
    }
    return negative ? -n : n;
}

QString& programDirectoryStorage()
{
    static QString dir;
    return dir;
}

// argv[0] as the process received it.
QString processArgv0()
{
    if (QCoreApplication::instance())
        return QCoreApplication::arguments().value(0);
#if defined(Q_OS_WIN)
    if (__argc > 0 && __wargv && __wargv[0])
        return QString::fromWCharArray(__wargv[0]);
    if (__argc > 0 && __argv && __argv[0])
        return QString::fromLocal8Bit(__argv[0]);
    return QString();
#else
    QFile f(QStringLiteral("/proc/self/cmdline"));
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray all = f.read(64 * 1024);
        const qsizetype nul = all.indexOf('\0');
        return QString::fromLocal8Bit(nul < 0 ? all : all.left(nul));
    }
    return QString();
#endif
}

#if defined(KQ517_HAVE_ICONV)
QString gbkViaIconv(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == iconv_t(-1))
        cd = iconv_open("UTF-8", "CP936");
    if (cd == iconv_t(-1))
        return QString::fromLatin1(bytes);
    QByteArray out;
    QByteArray in = bytes;
    char* inp = in.data();
    size_t inLeft = size_t(in.size());
    char buf[1024];
    while (inLeft > 0) {
        char* outp = buf;
        size_t outLeft = sizeof buf;
        const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        out.append(buf, qsizetype(outp - buf));
        if (r == size_t(-1) && errno != E2BIG) {
            // An invalid or incomplete sequence: show one replacement
            // character and go on with the next byte.
            out.append("\xEF\xBF\xBD");
            ++inp;
            --inLeft;
        }
    }
    iconv_close(cd);
    return QString::fromUtf8(out);
}
#endif

}  // namespace

// ---------------------------------------------------------------------------
// Text of a settings value
// ---------------------------------------------------------------------------

QString decodeSettingsText(const QByteArray& bytes)
{
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8.decode(bytes);
        if (!utf8.hasError())
            return s;
    }
    {
        QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
        if (gbk.isValid())
            return gbk.decode(bytes);
    }
#if defined(Q_OS_WIN)
    if (bytes.size() > 0 && bytes.size() < INT_MAX / 2) {
        const int n = MultiByteToWideChar(936, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
        if (n > 0) {
            std::wstring w(size_t(n), L'\0');
            MultiByteToWideChar(936, 0, bytes.constData(), int(bytes.size()), w.data(), n);
            return QString::fromStdWString(w);
        }
    }
    return QString::fromLocal8Bit(bytes);
#elif defined(KQ517_HAVE_ICONV)
    return gbkViaIconv(bytes);
#else
    return QString::fromLatin1(bytes);
#endif
}

// ---------------------------------------------------------------------------
// CIniFile
// ---------------------------------------------------------------------------

QIODevice* (*CIniFile::s_openForReadingHook)(const QString& path) = nullptr;

CIniFile::CIniFile(int growBy) : m_nGrowBy(growBy > 0 ? growBy : 1) {}

CIniFile::~CIniFile()
{
    Close();
}

void CIniFile::Close()
{
    if (m_bWriteOnClose)
        Save(m_bBackupOnClose);
    Clear();
}

QString CIniFile::programDirectory()
{
    const QString& set = programDirectoryStorage();
    if (!set.isEmpty())
        return set;
    return directoryOfStartPath(processArgv0());
}

QString CIniFile::directoryOfStartPath(const QString& startPath)
{
    qsizetype sep = startPath.lastIndexOf(QLatin1Char('/'));
#if defined(Q_OS_WIN)
    sep = qMax(sep, startPath.lastIndexOf(QLatin1Char('\\')));
#endif
    if (sep > 0)
        return startPath.left(sep);
    if (sep == 0)
        return QStringLiteral("/");
    return QDir::currentPath();
}

QString CIniFile::setProgramDirectory(const QString& dir)
{
    QString d = dir;
    while (d.size() > 1 && (d.endsWith(QLatin1Char('/')) || d.endsWith(QLatin1Char('\\'))))
        d.chop(1);
    QString previous = programDirectoryStorage();
    programDirectoryStorage() = d;
    return previous;
}

bool CIniFile::OpenInProgramDir(const QString& fileName, bool writeOnClose, bool reserved, bool noCase,
                                bool backupOnClose)
{
    QString dir = programDirectory();
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return Open(dir + fileName, writeOnClose, reserved, noCase, backupOnClose);
}

void CIniFile::growTo(int sectionIndex)
{
    while (sectionIndex >= m_keys.size()) {
        for (int i = 0; i < m_nGrowBy; ++i) {
            m_keys.append(nullptr);
            m_values.append(nullptr);
        }
    }
    while (m_sectionNames.size() <= sectionIndex)
        m_sectionNames.append(QByteArray());
    if (!m_keys[sectionIndex])
        m_keys[sectionIndex] = new QList<QByteArray>;
    if (!m_values[sectionIndex])
        m_values[sectionIndex] = new QList<QByteArray>;
}

bool CIniFile::Open(const QString& path, bool writeOnClose, bool /*reserved*/, bool noCase,
                    bool backupOnClose)
{
    // 1. A file already open is written back (when changed) and let go.
    if (!m_strPath.isEmpty()) {
        Save(false);
        Clear();
    }

    // 2. The flags.
    m_bWriteOnClose = writeOnClose;
    m_bNoCase = noCase;
    m_bBackupOnClose = backupOnClose;

    // 3. Open the file, creating it empty when missing.
    std::unique_ptr<QIODevice> dev;
    if (s_openForReadingHook) {
        dev.reset(s_openForReadingHook(path));
    } else {
        auto f = std::make_unique<QFile>(path);
        bool ok;
        if (QFileInfo::exists(path))
            ok = f->open(QIODevice::ReadOnly);
        else
            ok = f->open(QIODevice::ReadWrite);  // creates, never truncates
        if (ok)
            dev = std::move(f);
    }
    if (!dev || !dev->isOpen() || !dev->isReadable())
        return false;

    // 4. Bind to the file; section 0 is the unnamed one.
    m_strPath = path;
    m_bReadFailed = false;
    m_nLastSection = 0;
    growTo(0);
    m_sectionNames[0] = QByteArray();

    // 5. Read line by line. A UTF-8 byte order mark at the very start (as
    // Windows editors write it) is not part of the first line; it is written
    // back at the next save.
    QByteArray pending;
    bool atEnd = false;
    bool atStart = true;
    while (!atEnd) {
        char buf[4096];
        const qint64 n = dev->read(buf, sizeof buf);
        if (n < 0) {
            m_bReadFailed = true;
            return false;
        }
        if (n == 0) {
            atEnd = true;
        } else {
            pending.append(buf, qsizetype(n));
        }
        if (atStart && (pending.size() >= 3 || atEnd)) {
            atStart = false;
            if (pending.startsWith("\xEF\xBB\xBF")) {
                m_bUtf8Bom = true;
                pending.remove(0, 3);
            }
        }
        if (atStart)
            continue;
        // Take every complete line (and the last one at the end).
        qsizetype start = 0;
        for (;;) {
            const qsizetype nl = pending.indexOf('\n', start);
            QByteArray raw;
            if (nl >= 0) {
                raw = pending.mid(start, nl - start);
                start = nl + 1;
            } else if (atEnd && start < pending.size()) {
                raw = pending.mid(start);
                start = pending.size();
            } else {
                break;
            }
            const QByteArray line = trimLine(raw);
            if (line.size() >= 2 && line.startsWith('[') && line.endsWith(']')) {
                ++m_nLastSection;
                growTo(m_nLastSection);
                m_sectionNames[m_nLastSection] = line.mid(1, line.size() - 2);
                continue;
            }
            QByteArray key, value;
            const qsizetype eq = line.indexOf('=');
            if (eq >= 0) {
                key = trimLine(line.left(eq));
                value = trimLine(line.mid(eq + 1));
            } else {
                key = line;
            }
            if (key.isEmpty())
                continue;
            const char first = key.at(0);
            if (first == ';' || first == '/' || first == '\\' || first == '*')
                continue;
            m_keys[m_nLastSection]->append(key);
            m_values[m_nLastSection]->append(value);
        }
        pending.remove(0, start);
    }

    // 6. The profile-file side effect of the original has no meaning here.
    return true;
}

int CIniFile::Compare(const QByteArray& a, const QByteArray& b) const
{
    if (!m_bNoCase)
        return a == b ? 0 : (a < b ? -1 : 1);
    const QByteArray fa = foldCase(a), fb = foldCase(b);
    return fa == fb ? 0 : (fa < fb ? -1 : 1);
}

int CIniFile::FindSection(const QByteArray& name) const
{
    if (m_strPath.isEmpty())
        return -1;
    for (int i = 0; i <= m_nLastSection && i < m_sectionNames.size(); ++i) {
        if (Compare(m_sectionNames.at(i), name) == 0)
            return i;
    }
    return -1;
}

int CIniFile::FindKey(int section, const QByteArray& key) const
{
    if (section < 0 || section >= m_keys.size() || !m_keys.at(section))
        return -1;
    const QList<QByteArray>& keys = *m_keys.at(section);
    for (qsizetype i = keys.size() - 1; i >= 0; --i) {
        if (Compare(keys.at(i), key) == 0)
            return int(i);
    }
    return -1;
}

QByteArray CIniFile::GetString(const QByteArray& section, const QByteArray& key,
                               const QByteArray& def) const
{
    const int s = FindSection(section);
    if (s < 0)
        return def;
    const int k = FindKey(s, key);
    if (k < 0)
        return def;
    QByteArray value = m_values.at(s)->at(k);
    qsizetype cut = value.indexOf("//");
    if (cut >= 0)
        value.truncate(cut);
    cut = value.indexOf("\t;");
    if (cut >= 0)
        value.truncate(cut);
    cut = value.indexOf("/*");
    if (cut >= 0)
        value.truncate(cut);
    return value;
}

QString CIniFile::GetText(const QByteArray& section, const QByteArray& key, const QString& def) const
{
    const int s = FindSection(section);
    if (s < 0 || FindKey(s, key) < 0)
        return def;
    return decodeSettingsText(GetString(section, key));
}

void CIniFile::SetString(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    if (m_strPath.isEmpty())
        return;
    int s = FindSection(section);
    if (s < 0) {
        s = m_nLastSection + 1;
        growTo(s);
        m_nLastSection = s;
        m_sectionNames[s] = section;
        m_bModified = true;
    }
    const int k = FindKey(s, key);
    if (k < 0) {
        m_keys[s]->append(key);
        m_values[s]->append(value);
        m_bModified = true;
    } else {
        QByteArray& old = (*m_values[s])[k];
        if (Compare(old, value) != 0)
            m_bModified = true;
        old = value;
    }
}

void CIniFile::MakeBackupName()
{
    const qsizetype nameStart = fileNameStart(m_strPath);
    const QString dirPart = m_strPath.left(nameStart);
    QString stem = m_strPath.mid(nameStart);
    const qsizetype dot = stem.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        stem.truncate(dot);

    // The pattern stem*.* (on Windows "*.*" also matches names without a dot).
    QDir dir(dirPart.isEmpty() ? QStringLiteral(".") : dirPart);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
#if defined(Q_OS_WIN)
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    int highest = 0;
    for (const QString& name : entries) {
        if (!name.startsWith(stem, cs))
            continue;
        highest = qMax(highest, backupNumber(name));
    }
    const int next = highest == INT_MAX ? highest : highest + 1;
    m_strBackupPath = m_strPath + QLatin1Char('.') + QString::asprintf("%.3d", next);
}

QString CIniFile::Save(bool makeBackup)
{
    if (!m_bModified || m_strPath.isEmpty())
        return QString();
    // Mended: contents that were only partly read never replace the file.
    if (m_bReadFailed)
        return QString();

    // A store whose file may not be written moves to its write path now,
    // with everything it holds.
    if (!m_strWritePath.isEmpty() && m_strWritePath != m_strPath) {
        if (!QDir().mkpath(QFileInfo(m_strWritePath).absolutePath()))
            return QString();
        m_strPath = m_strWritePath;
        m_strBackupPath.clear();
    }
    m_strWritePath.clear();

    if (makeBackup) {
        if (m_strBackupPath.isEmpty())
            MakeBackupName();
        QFile::remove(m_strBackupPath);
        QFile::copy(m_strPath, m_strBackupPath);  // a failed copy is ignored
    }

    // The text: sections in order, "[name]" for every section after the
    // unnamed first one (also "[]" for a header with an empty name, so its
    // pairs do not join the section before it when the file is read again),
    // "key=value" lines, CR LF line ends.
    QByteArray text;
    if (m_bUtf8Bom)
        text += "\xEF\xBB\xBF";
    for (int s = 0; s <= m_nLastSection && s < m_keys.size(); ++s) {
        if (s > 0) {
            text += '[';
            text += m_sectionNames.value(s);
            text += "]\r\n";
        }
        const QList<QByteArray>* keys = m_keys.at(s);
        const QList<QByteArray>* values = m_values.at(s);
        if (!keys || !values)
            continue;
        for (qsizetype i = 0; i < keys->size(); ++i) {
            text += keys->at(i);
            if (!keys->at(i).isEmpty())
                text += '=';
            text += values->value(i);
            text += "\r\n";
        }
    }

    // A line that begins with a byte order mark of its own (two files joined)
    // keeps its bytes only away from the start of the file: at the start the
    // next Open would take the mark for the file's and drop it, renaming the
    // key or turning the line into a section header. Comment and blank lines
    // before it are not written back, so an empty line goes first instead.
    const QByteArray bom("\xEF\xBB\xBF");
    if (!m_bUtf8Bom && text.startsWith(bom))
        text.prepend("\r\n");

    // A file that exists but may not be written is left alone (the original
    // could open it neither way).
    {
        const QFileInfo fi(m_strPath);
        if (fi.exists() && (!fi.isFile() || !fi.isWritable()))
            return QString();
    }

    // First way: write a new file and put it in place at once, so a failure
    // leaves the old file whole. Only a failure to put the new file in place
    // calls for the second way.
    bool notPutInPlace = false;
    if (writeFileAtomically(m_strPath, text, nullptr, &notPutInPlace))
        return m_strBackupPath;
    if (!notPutInPlace)
        return QString();

    // Second way: the existing file, rewritten from its first byte and cut
    // where the new text ends.
    if (!QFileInfo::exists(m_strPath))
        return QString();
    QFile in(m_strPath);
    if (!in.open(QIODevice::ReadWrite))
        return QString();
    if (in.write(text) != text.size() || !in.flush()) {
        in.close();
        return QString();
    }
    // A file that cannot be cut keeps the old tail: that is no successful save.
    const bool cut = in.resize(text.size());
    in.close();
    return cut ? m_strBackupPath : QString();
}

void CIniFile::setWritePath(const QString& path)
{
    if (!m_strPath.isEmpty())
        m_strWritePath = path;
}

void CIniFile::Clear()
{
    for (QList<QByteArray>* p : std::as_const(m_keys))
        delete p;
    for (QList<QByteArray>* p : std::as_const(m_values))
        delete p;
    m_keys.clear();
    m_values.clear();
    m_sectionNames.clear();
    m_nLastSection = 0;
    m_strPath.clear();
    m_strWritePath.clear();
    m_bModified = false;
    m_bReadFailed = false;
    m_bUtf8Bom = false;
}
