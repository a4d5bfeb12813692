#include "Verb.h"

const Verb* VerbGroup::find(const QString& verbName) const {
    for (const Verb& verb : verbs())
        if (verb.name == verbName)
            return &verb;
    return nullptr;
}

QString VerbGroup::verbNames() const {
    QStringList names;
    for (const Verb& verb : verbs())
        names << verb.name;
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" ou ") + last;
}
