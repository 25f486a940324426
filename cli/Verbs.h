#pragma once
// The command line's verbs in one table. main() only dispatches through it;
// the usage text, each verb's --help and the manual page are made from it.

#include <QList>
#include <QString>

#include "cli/VerbRecord.h"

// In the order the usage lists them.
const QList<const VerbRecord*>& verbs();
// nullptr when no verb has that name.
const VerbRecord* findVerb(const QString& name);
