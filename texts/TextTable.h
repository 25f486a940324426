#pragma once
// The texts a user reads, by the numeric ids of the language modules' string
// tables. Every text is rendered from the active table: the program makes it
// the loaded module's table, the command line keeps the built-in English one
// (the same resources/English/strings.json the English module is built from).

#include <QHash>
#include <QList>
#include <QString>

namespace texts {

// Ids from here on are the program's own texts (its messages, labels and
// words, once held in code in two versions); the ids below are the module's
// resources of old (menu prompts, the framework's texts, the port and input
// messages).
constexpr int kFirstOwnTextId = 61600;

class TextTable {
public:
    TextTable() = default;
    // The table of a module's strings.json ({"61448": "Out of range,...", ...}).
    // Values that are not strings are left out; error (when given) says why a
    // document could not be read at all, and the table is then empty.
    static TextTable fromJson(const QByteArray& json, QString* error = nullptr);
    // The English table built into every program.
    static const TextTable& english();
    // The table of a language as built into the program from
    // resources/<language>/strings.json (the name matched exactly), English
    // when the program has none of that name: for the texts said when the
    // language's module cannot be loaded.
    static TextTable builtIn(const QString& language);
    // The table a language module gives: the texts of its strings.json, and
    // the program's own texts (ids from kFirstOwnTextId) it lacks from the
    // program's built-in table of the language, English when it has none,
    // so that a module made before a text existed shows that text, never
    // nothing. With ownTextsBuiltIn (the module was found under another case
    // of its name) all of the program's own texts come from that table.
    static TextTable forModule(const QByteArray& json, const QString& language, bool ownTextsBuiltIn);

    QString text(int id) const { return m_texts.value(id); }  // "" when missing
    bool contains(int id) const { return m_texts.contains(id); }
    QList<int> ids() const;  // ascending
    bool isEmpty() const { return m_texts.isEmpty(); }
    void setText(int id, const QString& text) { m_texts.insert(id, text); }

private:
    QHash<int, QString> m_texts;
};

// The table texts are rendered from; the built-in English one until a
// language module is made active.
const TextTable& active();
void setActive(const TextTable& table);

// active().text(id); with arguments, %1, %2, ... replaced as QString::arg does.
QString text(int id);
template <typename... Args>
QString text(int id, const Args&... args)
{
    return active().text(id).arg(args...);
}

}  // namespace texts
