// The per-user store. Any AppName gives a file name of at most 255 bytes in
// the store's folder (no separator, no leading dot) where a value can be
// written and read back, and two different names never share a file. Any
// store file's contents: writing one value reads back and leaves the other
// values as they read before.
//
// Input: a mode byte; AppName mode: the AppName's bytes; contents mode: the
// value to write (name choice, number, text), then the file's bytes.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

QString configHome()
{
    static QTemporaryDir dir;
    static const bool set = qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    (void)set;
    return dir.path();
}

void appNameCase(const QByteArray& appName)
{
    const QString stem = UserStore::fileStem(appName);
    const QString name = stem + QStringLiteral(".conf");
    FUZZ_CHECK(name.toUtf8().size() + 7 <= 255, "the store's file name fits 255 bytes with a save's temporary name", name);
    FUZZ_CHECK(!stem.isEmpty() && !stem.startsWith(QLatin1Char('.')) && !stem.contains(QLatin1Char('/')),
                "the store's file stays in its folder", name);
    for (const QChar c : stem)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F, "no control character in the file name", name);

    // Two names that read differently never share a file.
    static QHash<QString, QString> seen;
    const QString text = decodeSettingsText(appName);
    const auto it = seen.constFind(stem);
    FUZZ_CHECK(it == seen.constEnd() || it.value() == text, "different names, different files",
                text + " / " + (it == seen.constEnd() ? QString() : it.value()));
    if (seen.size() > 100000)
        seen.clear();
    seen.insert(stem, text);

    UserStore store(appName);
    FUZZ_CHECK(store.location() == UserStore::folder() + '/' + name, "the store file is in the folder",
                store.location());
    store.write(QStringLiteral("com"), 3);
    store.write(QStringLiteral("com"), 4);
    FUZZ_CHECK(store.read(QStringLiteral("com"), 0u) == 4u, "a value is written and read back", name);
    QFile::remove(store.location());
}

void contentsCase(fuzz::Input& in)
{
    static const QString kNames[] = {QStringLiteral("com"), QStringLiteral("Type"), QStringLiteral("Field"),
                                     QStringLiteral("BackupFolder"), QStringLiteral("TraceFolder")};
    const int chosen = in.pick(5);
    const bool asText = in.pick(2) == 1;
    const std::uint32_t number = std::uint32_t(in.byte()) << 24 | in.byte() << 16 | in.byte() << 8 | in.byte();
    const QString text = in.shortText();

    UserStore store("KQ-517");
    QDir().mkpath(UserStore::folder());
    {
        QFile f(store.location());
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "the store file can be written");
        f.write(in.rest());
    }
    struct Read {
        bool number = false;
        std::uint32_t value = 0;
        bool text = false;
        QString string;
    };
    Read before[5];
    for (int i = 0; i < 5; ++i) {
        before[i].number = store.read(kNames[i], &before[i].value);
        before[i].text = store.readString(kNames[i], &before[i].string);
    }
    if (asText)
        store.writeString(kNames[chosen], text);
    else
        store.write(kNames[chosen], number);
    for (int i = 0; i < 5; ++i) {
        Read after;
        after.number = store.read(kNames[i], &after.value);
        after.text = store.readString(kNames[i], &after.string);
        if (i == chosen) {
            if (asText && UserStore::storableString(text))
                FUZZ_CHECK(after.text && after.string == text, "a text is written and read back", text);
            else if (!asText)
                FUZZ_CHECK(after.number && after.value == number, "a number is written and read back");
            continue;
        }
        FUZZ_CHECK(after.number == before[i].number && after.value == before[i].value
                        && after.text == before[i].text && after.string == before[i].string,
                    "writing one value keeps the others", kNames[i]);
    }
    QFile::remove(store.location());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    configHome();
    fuzz::Input in(data, size);
    if (in.pick(2) == 0)
        appNameCase(in.rest());
    else
        contentsCase(in);
    return 0;
}
