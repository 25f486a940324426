#include "cli/Verbs.h"

#include "cli/Commands.h"

const QList<const VerbSpec*>& verbs()
{
    static const QList<const VerbSpec*> table = {&showVerb(),  &exportVerb(), &importVerb(), &diffVerb(),
                                                 &readVerb(),  &writeVerb(),  &portsVerb(),  &simVerb()};
    return table;
}

const VerbSpec* findVerb(const QString& name)
{
    for (const VerbSpec* verb : verbs())
        if (name == QLatin1String(verb->name))
            return verb;
    return nullptr;
}
