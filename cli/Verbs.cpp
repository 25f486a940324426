#include "cli/Verbs.h"

#include "cli/Commands.h"

const QList<const VerbRecord*>& verbs()
{
    static const QList<const VerbRecord*> table = {&showVerb(),  &exportVerb(), &importVerb(), &diffVerb(),
                                                 &readVerb(),  &writeVerb(),  &portsVerb(),  &simVerb()};
    return table;
}

const VerbRecord* findVerb(const QString& name)
{
    for (const VerbRecord* verb : verbs())
        if (name == QLatin1String(verb->name))
            return verb;
    return nullptr;
}
