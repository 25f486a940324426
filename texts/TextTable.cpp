#include "texts/TextTable.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>

namespace texts {

namespace {
TextTable& activeTable()
{
    static TextTable table = TextTable::english();
    return table;
}
}  // namespace

TextTable TextTable::fromJson(const QByteArray& json, QString* error)
{
    TextTable table;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        if (error)
            *error = parseError.error != QJsonParseError::NoError
                         ? QStringLiteral("%1 at offset %2").arg(parseError.errorString()).arg(parseError.offset)
                         : QStringLiteral("not a table of texts");
        return table;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (ok && it.value().isString())
            table.m_texts.insert(id, it.value().toString());
    }
    if (error)
        error->clear();
    return table;
}

const TextTable& TextTable::english()
{
    static const TextTable table = [] {
        QFile file(QStringLiteral(":/texts/English/strings.json"));
        return file.open(QIODevice::ReadOnly) ? fromJson(file.readAll()) : TextTable();
    }();
    return table;
}

TextTable TextTable::builtIn(const QString& language)
{
    if (language.isEmpty() || language.contains(QLatin1Char('/')))
        return english();
    QFile file(QStringLiteral(":/texts/%1/strings.json").arg(language));
    return file.open(QIODevice::ReadOnly) ? fromJson(file.readAll()) : english();
}

TextTable TextTable::forModule(const QByteArray& json, const QString& language, bool ownTextsBuiltIn)
{
    TextTable table = fromJson(json);
    const TextTable own = builtIn(language);
    for (auto it = own.m_texts.cbegin(); it != own.m_texts.cend(); ++it) {
        if (it.key() >= kFirstOwnTextId && (ownTextsBuiltIn || !table.contains(it.key())))
            table.setText(it.key(), it.value());
    }
    return table;
}

QList<int> TextTable::ids() const
{
    QList<int> ids = m_texts.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

const TextTable& active() { return activeTable(); }

void setActive(const TextTable& table) { activeTable() = table; }

QString text(int id) { return activeTable().text(id); }

}  // namespace texts
